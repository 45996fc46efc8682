#include "config/ConfigSteps.h"

#include "config/TargetConfig.h"
#include "util/Paths.h"
#include "util/Text.h"

namespace tessel {

namespace {

ByteView BytesOf(const std::string& text) {
  return ByteView(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

}  // namespace

BlockFindings WriteConfigBranchA(const SourceInventory& inventory, RotationChoice rotationChoice,
                                 FontDisplay fontDisplay, const OutputLayout& layout,
                                 OutputWriter& out) {
  if (!inventory.configText.empty()) {
    // With a register text nothing is generated, also when it cannot be
    // copied; a failed write is recorded by the writer itself.
    const std::size_t failuresBefore = out.report().writeFailures.size();
    if (!out.copy(inventory.configText, layout.configText()) &&
        out.report().writeFailures.size() == failuresBefore) {
      out.warn(trText("Config",
                      "skipped %1: cannot read the configuration text; no config.txt written")
                   .arg(PathToUtf8(inventory.configText)));
    }
    return {};
  }
  const auto registers = ReadRegisterSet(inventory.t5Config, rotationChoice);
  if (!registers) {
    if (!inventory.t5Config.empty()) {
      out.warn(trText("Config",
                      "skipped %1: cannot read the configuration file; no config.txt written")
                   .arg(PathToUtf8(inventory.t5Config)));
    }
    return {};
  }
  out.write(layout.configText(), BytesOf(FormatBranchA(*registers, fontDisplay)));
  return registers->findings;
}

void CopyConfigBranchB(const SourceInventory& inventory, const OutputLayout& layout,
                       OutputWriter& out) {
  if (!inventory.table13.empty()) out.copy(inventory.table13, layout.configBin());
  if (!inventory.configText.empty()) out.copy(inventory.configText, layout.configText());
}

bool WriteConfigBranchB(const SetupValues& values, int configKind, FontDisplay fontDisplay,
                        const OutputLayout& layout, OutputWriter& out) {
  const auto text = FormatBranchB(values, configKind, fontDisplay);
  if (!text) {
    out.warn(trText("Config",
                    "config.txt not written: baud index %1 is not one of the eight line speeds")
                 .arg(values.baudIndex));
    return false;
  }
  return out.write(layout.configText(), BytesOf(*text));
}

}  // namespace tessel
