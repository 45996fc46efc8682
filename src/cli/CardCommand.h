#pragma once
// tessel-cli card: copies an output to an SD card and reads it back.
#include "cli/Command.h"

namespace tessel::cli {

class CardCommand : public ParsedCommand {
 public:
  const char* name() const override { return "card"; }
  const char* synopsis() const override { return "card OUTPUT_ROOT CARD_ROOT [--force] [--json]"; }
  const char* summary() const override;
  QString help(int columns) const override;

 protected:
  QString description() const override;
  QList<QCommandLineOption> options() const override;
  QList<Argument> arguments() const override;
  QString parserError(const QCommandLineParser& parser,
                      const QStringList& arguments) const override;
  int execute(const QCommandLineParser& parser, CliIo& io) override;
};

}  // namespace tessel::cli
