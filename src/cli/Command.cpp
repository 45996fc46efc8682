#include "cli/Command.h"

#include <QCoreApplication>
#include <ostream>

#include "cli/Cli.h"
#include "cli/HelpText.h"
#include "cli/OptionNames.h"
#include "util/Text.h"

namespace tessel::cli {

int HelpWidth(int columns) { return columns > 0 ? columns : 80; }

QString ParsedCommand::usageLine() const {
  return QStringLiteral("tessel-cli ") + QLatin1String(synopsis());
}

QString ParsedCommand::help(int columns) const {
  return FormatHelp(trText("Cli", "Usage: %1").arg(usageLine()).toQString(), description(),
                    options(), arguments(), HelpWidth(columns));
}

QString ParsedCommand::parserError(const QCommandLineParser& parser,
                                   const QStringList& arguments) const {
  return ParserError(parser, arguments);
}

void ParsedCommand::describeTo(QCommandLineParser& parser) const {
  parser.addOptions(options());
  for (const Argument& argument : arguments()) {
    parser.addPositionalArgument(argument.first, argument.second);
  }
}

int ParsedCommand::run(const QStringList& arguments, CliIo& io) {
  QCommandLineParser parser;
  describeTo(parser);
  // The command stands where QCommandLineParser expects the program.
  if (!parser.parse(QStringList{QStringLiteral("tessel-cli")} + arguments)) {
    return usage(io, parserError(parser, arguments));
  }
  if (parser.isSet(option::kHelp.longName())) {
    io.out << help(io.columns).toStdString();
    return kDone;
  }
  return execute(parser, io);
}

int ParsedCommand::usage(CliIo& io, const QString& text) const {
  io.err << "tessel-cli: " << text.toStdString() << '\n'
         << trText("Cli", "see tessel-cli %1 --help").arg(name()).str() << '\n';
  return kUsage;
}

QCommandLineOption ParsedCommand::langOption(const QString& description) {
  // Taken out of the arguments before they are parsed; here for the help.
  return option::kLang.make(description, QStringLiteral("LANG"));
}

QCommandLineOption ParsedCommand::helpOption() {
  return option::kHelp.make(QCoreApplication::translate("Cli", "Show this text."));
}

QString ParserError(const QCommandLineParser& parser, const QStringList& arguments) {
  const QStringList unknown = parser.unknownOptionNames();
  if (!unknown.isEmpty()) {
    QStringList shown;
    for (const QString& name : unknown) {
      shown << QLatin1Char('\'') + QString(name.size() == 1 ? "-" : "--") + name +
                   QLatin1Char('\'');
    }
    return trText("Cli", "unknown option %1").arg(shown.join(QStringLiteral(", "))).toQString();
  }
  // Qt's other two errors, in the words of ours. (Qt's own texts, looked up
  // as Qt does; not texts of the program's translation.)
  static constexpr char kQt[] = "QCommandLineParser";
  static constexpr char kMissing[] = "Missing value after '%1'.";
  static constexpr char kUnexpected[] = "Unexpected value after '%1'.";
  const QString error = parser.errorText();
  for (QString name : arguments) {
    if (!name.startsWith(QLatin1Char('-'))) continue;
    name = name.section(QLatin1Char('='), 0, 0);
    if (error == QCoreApplication::translate(kQt, kMissing).arg(name)) {
      return trText("Cli", "%1 needs a value").arg(name).toQString();
    }
    if (error == QCoreApplication::translate(kQt, kUnexpected).arg(name)) {
      return trText("Cli", "%1 takes no value").arg(name).toQString();
    }
  }
  // Anything else in the same shape: lower case, no full stop.
  QString text = error;
  if (!text.isEmpty() && text.at(0).isUpper() && (text.size() < 2 || !text.at(1).isUpper())) {
    text[0] = text.at(0).toLower();
  }
  while (text.endsWith(QLatin1Char('.')) || text.endsWith(QChar(0x3002))) text.chop(1);
  return text;
}

}  // namespace tessel::cli
