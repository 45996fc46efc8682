#pragma once
// tessel-cli inspect: the page of an output, or a check that writes nothing.
#include "cli/Command.h"

namespace tessel::cli {

class InspectCommand : public ParsedCommand {
 public:
  const char* name() const override { return "inspect"; }
  const char* synopsis() const override { return "inspect PATH (-o DIR | --check)"; }
  const char* summary() const override;

 protected:
  QString usageLine() const override;
  QString description() const override;
  QList<QCommandLineOption> options() const override;
  QList<Argument> arguments() const override;
  int execute(const QCommandLineParser& parser, CliIo& io) override;
};

}  // namespace tessel::cli
