#include "cli/CliOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <algorithm>
#include <iterator>
#include <array>
#include <thread>

#include "config/SetupOverrides.h"
#include "util/Paths.h"
#include "cli/HelpText.h"
#include "util/Text.h"

namespace tessel::cli {

namespace {

template <std::size_t N>
using Names = std::array<const char*, N>;

constexpr Names<5> kRotations = {"auto", "none", "90", "180", "270"};
constexpr Names<3> kFormats = {"jpeg", "jpeg-hq", "zbmp"};
constexpr Names<5> kFonts = {"ascii", "cjk", "segment", "segment-bold", "segment-italic"};
constexpr Names<2> kFontDisplays = {"vector", "bitmap"};
constexpr Names<2> kCompressions = {"default", "smallest"};

template <std::size_t N>
QString joined(const Names<N>& names) {
  QStringList list;
  for (const char* n : names) list << QString::fromUtf8(n);
  return list.join(QLatin1Char('|'));
}

// The index of `value` in `names`, or -1.
template <std::size_t N>
int indexOf(const QString& value, const Names<N>& names) {
  for (std::size_t i = 0; i < N; ++i) {
    if (value == QString::fromUtf8(names[i])) return static_cast<int>(i);
  }
  return -1;
}

const QString kProgram = QStringLiteral("tessel-cli");

// The commands, in the order the help lists them: the synopsis and what the
// command does.
struct CommandLine {
  const char* name;
  const char* synopsis;
  const char* summary;
};
constexpr CommandLine kCommands[] = {
    {"convert", "convert SOURCE [options]",
     QT_TRANSLATE_NOOP("Cli", "convert a DWIN project folder (DWIN_SET) into the SD-card layout")},
    {"inspect", "inspect PATH (-o DIR | --check)",
     QT_TRANSLATE_NOOP("Cli", "show (-o DIR) or check (--check) a converted output")},
    {"card", "card OUTPUT_ROOT CARD_ROOT [--force] [--json]",
     QT_TRANSLATE_NOOP("Cli", "copy an output to an SD card and read it back")},
    {"help", "help [COMMAND]",
     QT_TRANSLATE_NOOP("Cli", "show this text, or the options of a command")},
};

bool isCommand(const QString& name) {
  return std::any_of(std::begin(kCommands), std::end(kCommands),
                     [&](const CommandLine& c) { return name == QLatin1String(c.name); });
}

int helpWidth(int columns) { return columns > 0 ? columns : 80; }

// What `tessel-cli` alone prints: the synopsis of every command.
QString shortUsage() {
  const QString prefix = trText("Cli", "Usage: %1").arg("").toQString();
  QString text;
  for (const CommandLine& c : kCommands) {
    text += (text.isEmpty() ? prefix : QString(DisplayWidth(prefix), QLatin1Char(' '))) +
            kProgram + QLatin1Char(' ') + QLatin1String(c.synopsis) + QLatin1Char('\n');
  }
  return text;
}

QString generalHelp(int columns) {
  const int width = helpWidth(columns);
  QList<QPair<QString, QString>> commands;
  for (const CommandLine& c : kCommands) {
    commands.append({QLatin1String(c.synopsis), QCoreApplication::translate("Cli", c.summary)});
  }
  const QList<QCommandLineOption> options = {
      {{"h", "help"}, QCoreApplication::translate("Cli", "Show this text.")},
      {{"V", "version"}, QCoreApplication::translate("Cli", "Show the version.")},
      {"lang",
       QCoreApplication::translate(
           "Cli", "The language of the messages: zh or en (default: the system's)."),
       "LANG"}};
  return FormatHelp(trText("Cli", "Usage: %1").arg("tessel-cli COMMAND [options]").toQString(),
                    QCoreApplication::translate(
                        "Cli", "Converts DWIN display projects for KOVA_TFT displays."),
                    options, {}, width) +
         QLatin1Char('\n') + trText("Cli", "Commands:").toQString() + QLatin1Char('\n') +
         HelpTable(commands, width) + QLatin1Char('\n') +
         WrapText(QCoreApplication::translate(
                      "Cli", "tessel-cli help COMMAND (or tessel-cli COMMAND --help) shows the "
                             "options of a command."),
                  width) +
         QLatin1Char('\n');
}

// The descriptions are translated as the parser is made, after the language
// is known.
struct ConvertParser {
  QCommandLineParser parser;
  QCommandLineOption output{
      {"o", "output"},
      QCoreApplication::translate("Cli",
                                  "Output root (default: Documents/TESSEL); the run writes "
                                  "DIR/private/ and the marker file in DIR."),
      "DIR"};
  QCommandLineOption rotation{
      "rotation",
      trText("Cli", "Picture rotation, clockwise: %1 (default auto).")
          .arg(joined(kRotations))
          .toQString(),
      "ROTATION"};
  QCommandLineOption format{"format",
                            trText("Cli",
                                   "Picture format: %1 (JPEG at quality 90 or 100, or lossless "
                                   ".zbmp; default zbmp).")
                                .arg(joined(kFormats))
                                .toQString(),
                            "FORMAT"};
  QCommandLineOption font{
      "font",
      trText("Cli", "TrueType font for the target: %1 (default cjk).")
          .arg(joined(kFonts))
          .toQString(),
      "FONT"};
  QCommandLineOption fontDisplay{
      "font-display",
      trText("Cli",
             "Font display: %1 (default vector). vector: the display draws all text from the "
             "TrueType outlines, smoothed. bitmap: it draws small text with pixel glyphs, sharp "
             "and without smoothing, and large text as before; config.txt gets the font-mode "
             "line RFC=18 (no effect when config.txt is a copy of the source's register text).")
          .arg(joined(kFontDisplays))
          .toQString(),
      "MODE"};
  QCommandLineOption compression{
      "compression",
      trText("Cli",
             "Compression of .zbmp pictures, pack blocks and icons: %1. default: zlib at its "
             "default level (the default). smallest: files several percent smaller for the "
             "display to load, at several times the CPU.")
          .arg(joined(kCompressions))
          .toQString(),
      "LEVEL"};
  QCommandLineOption deripple{
      "deripple", QCoreApplication::translate("Cli",
                                              "Dither pictures to RGB565 before encoding (removes "
                                              "water ripples, compresses less).")};
  QCommandLineOption pack{
      "pack", QCoreApplication::translate(
                  "Cli", "Branch B: write the pictures as bin/image.idx + bin/image.bin.")};
  QCommandLineOption resources{
      "resources",
      QCoreApplication::translate(
          "Cli", "Folder with the TrueType files and pinyin.bin (default: the program's own)."),
      "DIR"};
  QCommandLineOption yes{
      {"y", "yes"},
      QCoreApplication::translate("Cli", "Accept the device parameters of Branch B as read.")};
  QCommandLineOption set{
      "set",
      QCoreApplication::translate(
          "Cli",
          "Correct one device parameter (repeatable): baud=RATE touch-file=on|off "
          "coordinate-notify=0|1 touch-file-notify=0|1 long-press=on|off touch-beep=0|1|2 "
          "screen-rotation=0|90|180|270 restore-text-background=on|off delayed-refresh=on|off."),
      "NAME=VALUE"};
  QCommandLineOption open{"open",
                          QCoreApplication::translate("Cli", "Open the output folder at the end.")};
  QCommandLineOption force{
      "force", QCoreApplication::translate(
                   "Cli", "Remove the output's private/ even when it holds files no run writes.")};
  QCommandLineOption noReuse{
      "no-reuse",
      QCoreApplication::translate("Cli",
                                  "Convert every file again, even those the previous run's "
                                  "output holds unchanged.")};
  QCommandLineOption jobs{{"j", "jobs"},
                          QCoreApplication::translate("Cli",
                                                      "Worker threads for pictures and icon "
                                                      "libraries (default: the number of cores)."),
                          "N"};
  QCommandLineOption quiet{{"q", "quiet"},
                           QCoreApplication::translate("Cli", "Print errors only.")};
  QCommandLineOption verbose{
      {"v", "verbose"},
      QCoreApplication::translate(
          "Cli", "Print a line per input and what became of it, and a line per output it made.")};
  QCommandLineOption json{
      "json", QCoreApplication::translate("Cli",
                                          "Print the run report as one JSON document on standard "
                                          "output (the lines for people stay on standard error).")};
  QCommandLineOption help{{"h", "help"}, QCoreApplication::translate("Cli", "Show this text.")};
  // Taken out of the arguments before they are parsed; here for the help.
  QCommandLineOption lang{
      "lang",
      QCoreApplication::translate(
          "Cli", "The language of the messages: zh or en (default: the system's)."),
      "LANG"};

  ConvertParser() {
    parser.addOptions(options());
    parser.addPositionalArgument("SOURCE", sourceText(), "convert SOURCE");
  }
  QList<QCommandLineOption> options() const {
    return {output, rotation, format, compression, font, fontDisplay, deripple, pack, resources,
            yes, set, open, force, noReuse, jobs, quiet, verbose, json, lang, help};
  }
  static QString sourceText() {
    return QCoreApplication::translate("Cli", "The DWIN project folder.");
  }
  QString helpText(int columns) const {
    return FormatHelp(
        trText("Cli", "Usage: %1").arg("tessel-cli convert SOURCE [options]").toQString(),
        QCoreApplication::translate(
            "Cli",
            "Converts a DWIN project folder (DWIN_SET) into the KOVA_TFT SD-card layout.\n\n"
            "Exit status: 0 done, 1 refused, 2 usage error, 3 parameters not confirmed, 4 the "
            "output is incomplete (some output could not be written)."),
        options(), {{QStringLiteral("SOURCE"), sourceText()}}, helpWidth(columns));
  }
};

Command usage(const QString& text, const char* command = "convert") {
  Command c;
  c.kind = Command::Usage;
  c.text = text.toStdString();
  c.command = command;
  return c;
}

template <std::size_t N>
bool pick(const QCommandLineParser& parser, const QCommandLineOption& option,
          const Names<N>& names, int& out, QString& error) {
  if (!parser.isSet(option)) return true;
  const QString value = parser.value(option);
  const int index = indexOf(value, names);
  if (index < 0) {
    error = trText("Cli", "--%1 takes %2, not '%3'")
                .arg(option.names().constLast())
                .arg(joined(names))
                .arg(value)
                .toQString();
    return false;
  }
  out = index;
  return true;
}

Command parseConvert(const QStringList& arguments, int columns) {
  ConvertParser p;
  QCommandLineParser& parser = p.parser;
  // The command stands where QCommandLineParser expects the program.
  if (!parser.parse(QStringList{kProgram} + arguments)) {
    return usage(ParserError(parser, arguments));
  }
  if (parser.isSet(p.help)) {
    Command c;
    c.kind = Command::Help;
    c.text = p.helpText(columns).toStdString();
    return c;
  }
  Command c;
  c.kind = Command::Convert;
  ConvertOptions& o = c.convert;
  const QStringList positional = parser.positionalArguments();
  if (positional.size() != 1) {
    return usage(positional.isEmpty()
                     ? QCoreApplication::translate("Cli", "convert needs the SOURCE folder")
                     : trText("Cli", "too many arguments: %1")
                           .arg(positional.mid(1).join(' '))
                           .toQString());
  }
  o.settings.sourceFolder = toPath(positional[0]);

  QString error;
  int rotation = static_cast<int>(o.settings.rotationChoice);
  int format = static_cast<int>(o.settings.pictureFormat);
  int fontDisplay = static_cast<int>(o.settings.fontDisplay);
  int compression = static_cast<int>(o.settings.compression);
  if (!pick(parser, p.rotation, kRotations, rotation, error) ||
      !pick(parser, p.compression, kCompressions, compression, error) ||
      !pick(parser, p.format, kFormats, format, error) ||
      !pick(parser, p.font, kFonts, o.settings.fontChoice, error) ||
      !pick(parser, p.fontDisplay, kFontDisplays, fontDisplay, error)) {
    return usage(error);
  }
  o.settings.rotationChoice = static_cast<RotationChoice>(rotation);
  o.settings.pictureFormat = static_cast<PictureFormat>(format);
  o.settings.fontDisplay = static_cast<FontDisplay>(fontDisplay);
  o.settings.compression = static_cast<Compression>(compression);
  o.settings.deRipple = parser.isSet(p.deripple);
  o.settings.singlePictureFiles = !parser.isSet(p.pack);

  if (parser.isSet(p.output)) {
    if (parser.value(p.output).isEmpty()) {
      return usage(QCoreApplication::translate("Cli", "--output needs a folder"));
    }
    o.run.outputRoot = toPath(parser.value(p.output));
  }
  if (parser.isSet(p.resources)) o.run.resourceFolder = toPath(parser.value(p.resources));
  o.run.jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  if (parser.isSet(p.jobs)) {
    bool ok = false;
    const int n = parser.value(p.jobs).toInt(&ok);
    if (!ok || n < 1 || n > 256) {
      return usage(trText("Cli", "--jobs takes a number from 1 to 256, not '%1'")
                       .arg(parser.value(p.jobs))
                       .toQString());
    }
    o.run.jobs = n;
  }
  // Every correction is checked now, before the run touches anything.
  SetupValues scratch;
  for (const QString& value : parser.values(p.set)) {
    std::string why;
    if (!ApplySetupOverride(scratch, value.toStdString(), &why)) {
      //: the value given to --set, and what is wrong with it
      return usage(trText("Cli", "--set %1: %2").arg(value).arg(why).toQString());
    }
    o.overrides.push_back(value.toStdString());
  }
  o.yes = parser.isSet(p.yes);
  o.open = parser.isSet(p.open);
  o.run.force = parser.isSet(p.force);
  o.run.reuse = !parser.isSet(p.noReuse);
  o.quiet = parser.isSet(p.quiet);
  o.verbose = parser.isSet(p.verbose);
  o.json = parser.isSet(p.json);
  if (o.quiet && o.verbose) {
    return usage(QCoreApplication::translate("Cli", "--quiet and --verbose exclude each other"));
  }
  return c;
}

}  // namespace

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

Command ParseCommandLine(const QStringList& arguments, int columns) {
  const QStringList rest = arguments.mid(1);
  if (rest.isEmpty()) {
    Command c;
    c.kind = Command::ShortUsage;
    c.text = shortUsage().toStdString();
    return c;
  }
  const QString& first = rest.front();
  if (first == QLatin1String("-h") || first == QLatin1String("--help") ||
      (first == QLatin1String("help") && rest.size() == 1)) {
    Command c;
    c.kind = Command::Help;
    c.text = generalHelp(columns).toStdString();
    return c;
  }
  if (first == QLatin1String("help")) {
    // help COMMAND: the command's own --help.
    if (rest.size() > 2 || !isCommand(rest[1]) || rest[1] == QLatin1String("help")) {
      return usage(trText("Cli", "help takes one of the commands, not '%1'")
                       .arg(rest.mid(1).join(' '))
                       .toQString(),
                   nullptr);
    }
    return ParseCommandLine({arguments.front(), rest[1], QStringLiteral("--help")}, columns);
  }
  if (first == QLatin1String("-V") || first == QLatin1String("--version") ||
      first == QLatin1String("version")) {
    Command c;
    c.kind = Command::Version;
    c.text = std::string("tessel-cli ") + TESSEL_VERSION + "\n";
    return c;
  }
  if (first == QLatin1String("convert")) return parseConvert(rest.mid(1), columns);
  if (first == QLatin1String("inspect")) {
    Command c;
    c.kind = Command::Inspect;
    c.inspectArguments = rest.mid(1);
    return c;
  }
  if (first == QLatin1String("card")) {
    Command c;
    c.kind = Command::Card;
    c.inspectArguments = rest.mid(1);
    return c;
  }
  if (first.startsWith(QLatin1Char('-'))) {
    return usage(trText("Cli", "unknown option '%1' before the command").arg(first).toQString(),
                 nullptr);
  }
  return usage(trText("Cli", "unknown command '%1'").arg(first).toQString(), nullptr);
}

}  // namespace tessel::cli
