#pragma once
// Icon libraries to .zico files, and the picture library's icons to screen
// pictures.
#include <vector>

#include "icon/IconBuild.h"
#include "model/OutputLayout.h"
#include "model/OutputWriter.h"
#include "util/FileIO.h"

namespace tessel {

// What a run may take from its previous output instead of building a
// library (a .zico whose library and settings did not change).
class IconLibraryReuse {
 public:
  virtual ~IconLibraryReuse() = default;
  // On a worker, once the bytes of library `job` (its index in the jobs) are
  // read: true when `built` was filled from the previous output.
  virtual bool take(std::size_t job, ByteView data, std::uint64_t fileSize,
                    BuiltIconLibrary& built) = 0;
  // On the same worker, when library `job` was built instead.
  virtual void built(std::size_t job, const BuiltIconLibrary& built) = 0;
  // On the calling thread, once the .zico of library `job` is written.
  virtual void written(std::size_t job, const fs::path& zico, bool reused) = 0;
};

// Converts every library of `jobs`: icon/<number>.zico (the folder exists
// already), or for a picture library image/<id>.zbmp or .jpg per icon. Up to
// `threads` libraries are read, decoded and compressed side by side; files
// are written one library at a time in the jobs' order, so that of two
// libraries with one number the later one's file stays, whatever `threads`.
// Each is built within `work`'s limits and budget. With `reuse`, a library's
// .zico may be taken from the previous output.
void ConvertIconLibraries(const std::vector<IconLibraryJob>& jobs,
                          const PictureEncoding& encoding, const OutputLayout& layout,
                          OutputWriter& out, int threads, const WorkLimits& work,
                          IconLibraryReuse* reuse = nullptr);

}  // namespace tessel
