#pragma once
// Icon libraries to .zico files, and the picture library's icons to screen
// pictures.
#include <vector>

#include "icon/IconBuild.h"
#include "model/OutputLayout.h"
#include "util/FileIO.h"

namespace tessel {

// Converts every library of `jobs`: icon/<number>.zico (the folder exists
// already), or for a picture library image/<id>.zbmp or .jpg per icon. Up to
// `threads` libraries are read, decoded and compressed side by side; files
// are written one library at a time in the jobs' order, so that of two
// libraries with one number the later one's file stays, whatever `threads`.
// Each is built within `work`'s limits and budget.
void ConvertIconLibraries(const std::vector<IconLibraryJob>& jobs,
                          const PictureEncoding& encoding, const OutputLayout& layout,
                          OutputWriter& out, int threads, const WorkLimits& work);

}  // namespace tessel
