#pragma once
// The command line of tessel-cli: the commands and their options.
#include <QStringList>
#include <string>
#include <vector>

#include "model/Settings.h"

namespace tessel::cli {

struct ConvertOptions {
  ConversionSettings settings;
  RunOptions run;
  bool yes = false;
  bool open = false;
  bool quiet = false;
  bool verbose = false;  // a line per input and what became of it
  bool json = false;     // the report as JSON on standard output
  std::vector<std::string> overrides;  // --set NAME=VALUE, in order, each checked
};

// What the arguments ask for.
struct Command {
  enum Kind { Usage, Help, Version, Convert, Inspect, Card };
  Kind kind = Usage;
  std::string text;  // Usage: what is wrong; Help: the help text
  ConvertOptions convert;
  QStringList inspectArguments;  // Inspect, Card: the arguments after the command
};

// Parses the arguments, the program name first.
Command ParseCommandLine(const QStringList& arguments);

}  // namespace tessel::cli
