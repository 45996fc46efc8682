#pragma once
// tessel-cli as a function: the program calls it with its arguments and
// standard streams, the tests with their own.
#include <QStringList>

#include "cli/CliHost.h"

namespace tessel::cli {

enum ExitStatus {
  kDone = 0,
  kRefused = 1,       // the message says why; nothing was written
  kUsage = 2,         // the command line is wrong
  kNotConfirmed = 3,  // the device parameters were not confirmed
  kIncomplete = 4,    // a file (or standard output) could not be written, or no font
  // A run stopped by a signal ends with 128 + the signal: 130, 143, 129.
  kUnsound = 5,       // inspect: the output has faults
};

// Runs the command the arguments (program name first) ask for.
int RunCli(const QStringList& arguments, CliIo& io);

}  // namespace tessel::cli
