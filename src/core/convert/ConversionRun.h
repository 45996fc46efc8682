#pragma once
// One conversion: scan, output tree, fonts, configuration, icons, pictures,
// marker file. Front ends build the settings, keep a Session between runs and
// plug in a Host.
#include <filesystem>
#include <string>

#include "convert/Host.h"
#include "model/OutputLayout.h"
#include "model/Session.h"
#include "model/Settings.h"
#include "model/SourceInventory.h"
#include "model/Report.h"

namespace tessel {

enum class RunOutcome {
  Completed,       // the new private/ is in place, the marker beside it, the output opened
  SourceInvalid,   // refused: the source folder does not exist
  NoPictures,      // refused: no picture and no icon library in the source
  PathsOverlap,    // refused: the source and the output overlap
  NoOutputFolder,  // refused: no Documents or home folder to write into
  OutputRefused,   // refused: the output root cannot be written, is in use by
                   // another run, or its private/ cannot (or may not) be removed
  NotConfirmed,    // Branch B: the device parameters were not confirmed
  Stopped,         // stopped by the user between two files
  WriteFailed,     // a file could not be written (or the output not put in place)
  // Every outcome but Completed leaves the previous output as it was.
};

// The counts a summary gives, made from the report at the end of a run, so
// that they agree with the files on disk.
struct RunTotals {
  int picturesFound = 0;       // picture files in the source
  int picturesConverted = 0;   // the screens: files in image/ and entries in the picture pack
  bool screensFromLibrary = false;  // the screens are the picture library's icons
  int picturesReplacedByLibrary = 0;  // source pictures the picture library stands in for
  int librariesFound = 0;
  int librariesConverted = 0;  // libraries with a .zico (or pictures) on disk
  int iconsConverted = 0;      // icons in the .zico files on disk
  int filesWritten = 0;        // distinct files on disk, the marker included
  int filesCopied = 0;         // inputs copied byte for byte (sounds, tables, configuration)
  int outputsReused = 0;       // outputs taken from the previous run's output unchanged
  int inputsSkipped = 0;
  int inputsReplaced = 0;
  int inputsIgnored = 0;       // of a kind this branch does not use
  int inputsNotUsed = 0;       // of a kind the display never uses
  int warnings = 0;
};

struct RunResult {
  RunOutcome outcome = RunOutcome::Completed;
  Branch branch = Branch::B;
  std::string branchReason;             // which tables decided the branch
  std::filesystem::path outputRoot;     // where the run wrote (or would have)
  std::filesystem::path privateFolder;
  int pictureCount = 0;  // pictures in the source
  int iconCount = 0;     // icon libraries in the source
  Report report;
  RunTotals totals;
};

RunResult ConversionRun(const ConversionSettings& settings, const RunOptions& options,
                        Session& session, Host& host);

}  // namespace tessel
