#pragma once
// The configuration steps the run calls: Branch A writes config.txt from the
// source; Branch B copies, reads the parameters, and writes them once they
// are confirmed.
#include <filesystem>

#include "config/SetupValues.h"
#include "convert/ConversionSettings.h"
#include "convert/RunValues.h"
#include "convert/SourceScan.h"
#include "util/Report.h"

namespace tessel {

// Branch A: copies configText to config.txt, else writes config.txt from the
// t5Config header (may set session.pictureLibraryNumber and iconRotation).
void WriteConfigBranchA(const ConversionSettings& settings, const SourceInventory& inventory,
                        const std::filesystem::path& privateFolder, Session& session,
                        Report& report);

// Branch B, before asking: table13 to config.bin, configText to config.txt.
void CopyConfigBranchB(const SourceInventory& inventory,
                       const std::filesystem::path& privateFolder, Report& report);

// Branch B: fills `values` from configText, else from the t5Config header;
// returns configKind; may set session.pictureLibraryNumber.
int ReadConfigBranchB(const SourceInventory& inventory, SetupValues& values, Session& session);

// Branch B, after confirmation: config.txt from the values. Returns false
// (and writes nothing) when values.baudIndex is outside baudRates.
bool WriteConfigBranchB(const SetupValues& values, int configKind, int fontDisplay,
                        const std::filesystem::path& privateFolder, Report& report);

}  // namespace tessel
