#pragma once
// The command line of tessel-cli.
#include <string>
#include <vector>

#include "convert/ConversionSettings.h"

namespace tessel::cli {

struct CliOptions {
  ConversionSettings settings;
  RunOptions run;
  bool yes = false;
  bool open = false;
  bool quiet = false;
  bool help = false;
  bool version = false;
  std::vector<std::string> overrides;  // --set NAME=VALUE, in order
};

// Parses the arguments after the program name. Returns false with a message
// in `error` on a usage error.
bool ParseArguments(const std::vector<std::string>& args, CliOptions& options, std::string& error);

std::string UsageText();

}  // namespace tessel::cli
