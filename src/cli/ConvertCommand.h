#pragma once
// tessel-cli convert: a project folder into the SD-card layout.
#include <string>
#include <vector>

#include "cli/Command.h"
#include "model/Settings.h"

namespace tessel::cli {

// What the options of convert ask for.
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

class ConvertCommand : public ParsedCommand {
 public:
  const char* name() const override { return "convert"; }
  const char* synopsis() const override { return "convert SOURCE [options]"; }
  const char* summary() const override;

 protected:
  QString description() const override;
  QList<QCommandLineOption> options() const override;
  QList<Argument> arguments() const override;
  int execute(const QCommandLineParser& parser, CliIo& io) override;

 private:
  int convert(const ConvertOptions& options, CliIo& io);
};

}  // namespace tessel::cli
