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

}  // namespace tessel
