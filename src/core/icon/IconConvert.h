#pragma once
// Icon libraries to .zico files, and the picture library's icons to screen
// pictures.
#include <filesystem>

#include "convert/ConversionSettings.h"
#include "convert/RunValues.h"
#include "convert/SourceScan.h"
#include "util/Report.h"

namespace tessel {

// Converts every library of inventory.icons, in listing order, into
// privateFolder/icon/<n>.zico (the folder exists already), applying the
// picture-library rule with session.pictureLibraryNumber and
// session.pictureLibraryFolder.
void ConvertIconLibraries(const ConversionSettings& settings, const SourceInventory& inventory,
                          Branch branch, const std::filesystem::path& privateFolder,
                          Session& session, Report& report);

// The same with up to `jobs` libraries read, decoded and compressed side by
// side; files are still written one library at a time in listing order, so
// the output does not depend on `jobs`.
void ConvertIconLibraries(const ConversionSettings& settings, const SourceInventory& inventory,
                          Branch branch, const std::filesystem::path& privateFolder,
                          Session& session, Report& report, int jobs);

}  // namespace tessel
