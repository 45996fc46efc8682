#pragma once
// A command of tessel-cli: its name, what it does, its arguments and
// options, and what it runs. The program (Cli.cpp) lists the commands; its
// synopsis and help are made from them, and every command's help by the one
// builder of HelpText.h.
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include "cli/CliHost.h"

namespace tessel::cli {

class Command {
 public:
  virtual ~Command() = default;

  // The word after tessel-cli.
  virtual const char* name() const = 0;
  // The command in the program's synopsis and help ("convert SOURCE
  // [options]"), and what it does in a line (translated when shown).
  virtual const char* synopsis() const = 0;
  virtual const char* summary() const = 0;

  // The command's own help, wrapped to `columns`.
  virtual QString help(int columns) const = 0;
  // Runs the command with the arguments after its name; the exit status.
  virtual int run(const QStringList& arguments, CliIo& io) = 0;
};

// A command whose options and positional arguments a parser reads: a usage
// error names what is wrong and points at the command's help, --help prints
// that help, anything else reaches execute().
class ParsedCommand : public Command {
 public:
  QString help(int columns) const override;
  int run(const QStringList& arguments, CliIo& io) final;

 protected:
  using Argument = QPair<QString, QString>;  // a positional argument and what it is

  // The first line of the help: by default tessel-cli and the synopsis.
  virtual QString usageLine() const;
  virtual QString description() const = 0;
  // In the order the help lists them; the hidden ones are parsed but not listed.
  virtual QList<QCommandLineOption> options() const = 0;
  virtual QList<Argument> arguments() const = 0;
  // The parser's error as the command says it (by default ParserError's shape).
  virtual QString parserError(const QCommandLineParser& parser,
                              const QStringList& arguments) const;
  // Runs once the arguments parsed and no help was asked for.
  virtual int execute(const QCommandLineParser& parser, CliIo& io) = 0;

  // Says what is wrong and where the help is; gives the usage status.
  int usage(CliIo& io, const QString& text) const;
  // The --lang and --help options every command lists last.
  static QCommandLineOption langOption(const QString& description);
  static QCommandLineOption helpOption();
  // A parser that knows the command's options and arguments.
  void describeTo(QCommandLineParser& parser) const;
};

// The help width for a terminal `columns` wide (0: unknown).
int HelpWidth(int columns);

// The parser's error (after it parsed `arguments`) in the shape of the
// program's own: lower case, no full stop, translated.
QString ParserError(const QCommandLineParser& parser, const QStringList& arguments);

}  // namespace tessel::cli
