#include "cli/Cli.h"

#include <QCoreApplication>
#include <cerrno>
#include <ostream>
#include <system_error>
#include <vector>

#include "cli/CardCommand.h"
#include "cli/ConvertCommand.h"
#include "cli/HelpText.h"
#include "cli/InspectCommand.h"
#include "cli/OptionNames.h"
#include "util/Text.h"

namespace tessel::cli {

namespace {

const QString kProgram = QStringLiteral("tessel-cli");

// help [COMMAND]: the program's help, or the help of a command.
class HelpCommand : public Command {
 public:
  explicit HelpCommand(const std::vector<Command*>& commands) : commands_(commands) {}
  const char* name() const override { return "help"; }
  const char* synopsis() const override { return "help [COMMAND]"; }
  const char* summary() const override {
    return QT_TRANSLATE_NOOP("Cli", "show this text, or the options of a command");
  }
  QString help(int columns) const override;
  int run(const QStringList& arguments, CliIo& io) override;

 private:
  const std::vector<Command*>& commands_;  // every command, this one too
};

// The commands, in the order the help lists them.
class Program {
 public:
  Program() : help_(commands_) { commands_ = {&convert_, &inspect_, &card_, &help_}; }
  const std::vector<Command*>& commands() const { return commands_; }
  Command* find(const QString& name) const {
    for (Command* command : commands_) {
      if (name == QLatin1String(command->name())) return command;
    }
    return nullptr;
  }
  Command& help() { return help_; }

 private:
  std::vector<Command*> commands_;
  ConvertCommand convert_;
  InspectCommand inspect_;
  CardCommand card_;
  HelpCommand help_;
};

QString HelpCommand::help(int columns) const {
  const int width = HelpWidth(columns);
  QList<QPair<QString, QString>> rows;
  for (const Command* c : commands_) {
    rows.append({QLatin1String(c->synopsis()), QCoreApplication::translate("Cli", c->summary())});
  }
  const QList<QCommandLineOption> options = {
      option::kHelp.make(QCoreApplication::translate("Cli", "Show this text.")),
      option::kVersion.make(QCoreApplication::translate("Cli", "Show the version.")),
      option::kLang.make(
          QCoreApplication::translate(
              "Cli", "The language of the messages: zh or en (default: the system's)."),
          QStringLiteral("LANG"))};
  return FormatHelp(trText("Cli", "Usage: %1").arg("tessel-cli COMMAND [options]").toQString(),
                    QCoreApplication::translate(
                        "Cli", "Converts DWIN display projects for KOVA_TFT displays."),
                    options, {}, width) +
         QLatin1Char('\n') + trText("Cli", "Commands:").toQString() + QLatin1Char('\n') +
         HelpTable(rows, width) + QLatin1Char('\n') +
         WrapText(QCoreApplication::translate(
                      "Cli", "tessel-cli help COMMAND (or tessel-cli COMMAND --help) shows the "
                             "options of a command."),
                  width) +
         QLatin1Char('\n');
}

// A mistake before a command has its arguments: the help of the program.
int ProgramUsage(CliIo& io, const QString& text) {
  io.err << "tessel-cli: " << text.toStdString() << '\n'
         << trText("Cli", "see tessel-cli help").str() << '\n';
  return kUsage;
}

int HelpCommand::run(const QStringList& arguments, CliIo& io) {
  if (arguments.isEmpty()) {
    io.out << help(io.columns).toStdString();
    return kDone;
  }
  // help COMMAND: the command's own --help.
  for (Command* command : commands_) {
    if (arguments.size() == 1 && command != this &&
        arguments[0] == QLatin1String(command->name())) {
      return command->run({option::kHelp.flag()}, io);
    }
  }
  return ProgramUsage(io, trText("Cli", "help takes one of the commands, not '%1'")
                              .arg(arguments.join(' '))
                              .toQString());
}

// What `tessel-cli` alone prints: the synopsis of every command.
QString ProgramSynopsis(const std::vector<Command*>& commands) {
  const QString prefix = trText("Cli", "Usage: %1").arg("").toQString();
  QString text;
  for (const Command* c : commands) {
    text += (text.isEmpty() ? prefix : QString(DisplayWidth(prefix), QLatin1Char(' '))) +
            kProgram + QLatin1Char(' ') + QLatin1String(c->synopsis()) + QLatin1Char('\n');
  }
  return text;
}

// What was written to standard output reached it (a full disk or /dev/full
// loses it only when the stream is flushed); else a message, and a status
// that is not 0.
int CheckedOutput(CliIo& io, int status) {
  io.out.flush();
  if (!io.out.fail()) return status;
  // The reason of the write that failed; a second try at what is still
  // buffered gives it afresh.
  int error = errno;
  io.out.clear();
  errno = 0;
  io.out.flush();
  if (errno != 0) error = errno;
  io.out.setstate(std::ios::badbit);
  io.err << "tessel-cli: "
         << trText("Cli", "cannot write to standard output: %1")
                .arg(error != 0 ? std::generic_category().message(error)
                                : trText("Cli", "the write failed").str())
                .str()
         << '\n';
  return status == kDone ? kIncomplete : status;
}

int RunCommand(QStringList arguments, CliIo& io) {
  const LanguageArgument lang = TakeLanguageArgument(arguments);
  UseLanguage(lang.language ? lang.language : io.language);
  if (lang.bad) {
    io.err << "tessel-cli: " << lang.errorText().toStdString() << '\n'
           << trText("Cli", "see tessel-cli help").str() << '\n';
    return kUsage;
  }
  Program program;
  const QStringList rest = arguments.mid(1);
  if (rest.isEmpty()) {
    io.err << ProgramSynopsis(program.commands()).toStdString()
           << trText("Cli", "see tessel-cli help").str() << '\n';
    return kUsage;
  }
  const QString& first = rest.front();
  if (option::kHelp.isSpelled(first)) return program.help().run({}, io);
  if (first == QLatin1String("version") || option::kVersion.isSpelled(first)) {
    io.out << "tessel-cli " << TESSEL_VERSION << '\n';
    return kDone;
  }
  if (Command* command = program.find(first)) return command->run(rest.mid(1), io);
  if (first.startsWith(QLatin1Char('-'))) {
    return ProgramUsage(
        io, trText("Cli", "unknown option '%1' before the command").arg(first).toQString());
  }
  return ProgramUsage(io, trText("Cli", "unknown command '%1'").arg(first).toQString());
}

}  // namespace

int RunCli(const QStringList& arguments, CliIo& io) {
  return CheckedOutput(io, RunCommand(arguments, io));
}

}  // namespace tessel::cli
