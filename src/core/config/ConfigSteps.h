#pragma once
// The configuration steps the run calls: Branch A writes config.txt from the
// source; Branch B copies, and writes the parameters once they are confirmed
// (ReadSetupValues reads them).
#include "config/SourceConfig.h"
#include "model/OutputLayout.h"
#include "model/OutputWriter.h"
#include "model/Settings.h"
#include "model/SourceInventory.h"
#include "util/FileIO.h"

namespace tessel {

// Branch A: copies configText to config.txt, else writes config.txt from the
// t5Config header. Returns what a T5LC1 header named (nothing otherwise).
BlockFindings WriteConfigBranchA(const SourceInventory& inventory, RotationChoice rotationChoice,
                                 FontDisplay fontDisplay, const OutputLayout& layout,
                                 OutputWriter& out);

// Branch B, before asking: table13 to config.bin, configText to config.txt.
void CopyConfigBranchB(const SourceInventory& inventory, const OutputLayout& layout,
                       OutputWriter& out);

// Branch B, after confirmation: config.txt from the values. Returns false
// (and writes nothing) when values.baudIndex is outside baudRates.
bool WriteConfigBranchB(const SetupValues& values, int configKind, FontDisplay fontDisplay,
                        const OutputLayout& layout, OutputWriter& out);

}  // namespace tessel
