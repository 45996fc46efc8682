#pragma once
// One conversion: scan, output tree, fonts, configuration, icons, pictures,
// marker file. Front ends build the settings, keep a Session between runs and
// plug in a Host.
#include <filesystem>

#include "convert/Host.h"
#include "model/OutputLayout.h"
#include "model/Session.h"
#include "model/Settings.h"
#include "model/SourceInventory.h"
#include "util/Report.h"

namespace tessel {

enum class RunOutcome {
  Completed,       // the marker file is written and the output opened
  SourceInvalid,   // refused: the source folder does not exist
  NoPictures,      // refused: no picture and no icon library in the source
  PathsOverlap,    // refused: the source and the output overlap
  NoOutputFolder,  // refused: no Documents or home folder to write into
  NotConfirmed,    // Branch B: the device parameters were not confirmed
};

struct RunResult {
  RunOutcome outcome = RunOutcome::Completed;
  Branch branch = Branch::B;
  std::filesystem::path outputRoot;     // where the run wrote (or would have)
  std::filesystem::path privateFolder;
  int pictureCount = 0;  // pictures in the source
  int iconCount = 0;     // icon libraries in the source
  Report report;
};

RunResult ConversionRun(const ConversionSettings& settings, const RunOptions& options,
                        Session& session, Host& host);

}  // namespace tessel
