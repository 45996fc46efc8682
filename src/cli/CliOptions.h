#pragma once
// The command line of tessel-cli: the commands and their options.
#include <QCommandLineParser>
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
  enum Kind { Usage, ShortUsage, Help, Version, Convert, Inspect, Card };
  Kind kind = Usage;
  std::string text;  // Usage: what is wrong; ShortUsage, Help: the text to print
  const char* command = nullptr;  // Usage: the command whose help to point at, if any
  ConvertOptions convert;
  QStringList inspectArguments;  // Inspect, Card: the arguments after the command
};

// Parses the arguments, the program name first; help is wrapped to
// `columns` (0: 80).
Command ParseCommandLine(const QStringList& arguments, int columns = 0);

// The parser's error (after it parsed `arguments`) in the shape of the
// program's own: lower case, no full stop, translated.
QString ParserError(const QCommandLineParser& parser, const QStringList& arguments);

}  // namespace tessel::cli
