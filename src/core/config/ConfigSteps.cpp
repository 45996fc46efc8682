#include "config/ConfigSteps.h"

#include "config/SourceConfig.h"
#include "config/TargetConfig.h"
#include "util/FileIO.h"
#include "util/Paths.h"

namespace tessel {

namespace {

ByteView bytesOf(const std::string& text) {
  return ByteView(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

}  // namespace

void WriteConfigBranchA(const ConversionSettings& settings, const SourceInventory& inventory,
                        const std::filesystem::path& privateFolder, Session& session,
                        Report& report) {
  const auto target = privateFolder / "config.txt";
  if (!inventory.configText.empty()) {
    // With a register text nothing is generated, also when it cannot be
    // copied; copyOutput records a failed write itself.
    const std::size_t failuresBefore = report.writeFailures.size();
    if (!copyOutput(report, inventory.configText, target) &&
        report.writeFailures.size() == failuresBefore) {
      report.warn("skipped " + pathToUtf8(inventory.configText) +
                  ": cannot read the configuration text; no config.txt written");
    }
    return;
  }
  const auto registers = ReadRegisterSet(inventory.t5Config, settings.rotationChoice, session);
  if (!registers) {
    if (!inventory.t5Config.empty()) {
      report.warn("skipped " + pathToUtf8(inventory.t5Config) +
                  ": cannot read the configuration file; no config.txt written");
    }
    return;
  }
  writeOutput(report, target, bytesOf(FormatBranchA(*registers, settings.fontDisplay)));
}

void CopyConfigBranchB(const SourceInventory& inventory,
                       const std::filesystem::path& privateFolder, Report& report) {
  if (!inventory.table13.empty()) copyOutput(report, inventory.table13, privateFolder / "config.bin");
  if (!inventory.configText.empty()) {
    copyOutput(report, inventory.configText, privateFolder / "config.txt");
  }
}

int ReadConfigBranchB(const SourceInventory& inventory, SetupValues& values, Session& session) {
  return ReadSetupValues(inventory.configText, inventory.t5Config, values, session);
}

bool WriteConfigBranchB(const SetupValues& values, int configKind, int fontDisplay,
                        const std::filesystem::path& privateFolder, Report& report) {
  const auto text = FormatBranchB(values, configKind, fontDisplay);
  if (!text) {
    report.warn("config.txt not written: baud index " + std::to_string(values.baudIndex) +
                " is not one of the eight line speeds");
    return false;
  }
  return writeOutput(report, privateFolder / "config.txt", bytesOf(*text));
}

}  // namespace tessel
