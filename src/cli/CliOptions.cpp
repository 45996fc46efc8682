#include "cli/CliOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <algorithm>
#include <array>
#include <thread>

#include "config/SetupOverrides.h"
#include "util/Paths.h"
#include "util/Text.h"

namespace tessel::cli {

namespace {

template <std::size_t N>
using Names = std::array<const char*, N>;

constexpr Names<5> kRotations = {"auto", "none", "90", "180", "270"};
constexpr Names<3> kFormats = {"jpeg", "jpeg-hq", "zbmp"};
constexpr Names<5> kFonts = {"ascii", "cjk", "segment", "segment-bold", "segment-italic"};
constexpr Names<2> kFontDisplays = {"vector", "bitmap"};

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

QString generalHelp() {
  return QCoreApplication::translate(
      "Cli",
      "usage: tessel-cli COMMAND [options]\n"
      "\n"
      "Converts DWIN display projects for KOVA_TFT displays.\n"
      "\n"
      "commands:\n"
      "  convert SOURCE    convert a DWIN project folder (DWIN_SET) into the SD-card layout\n"
      "  inspect PATH      show (-o DIR) or check (--check) a converted output\n"
      "  card OUTPUT_ROOT CARD_ROOT\n"
      "                    copy an output to an SD card and read it back\n"
      "\n"
      "tessel-cli COMMAND --help shows the options of a command.\n"
      "options: -h, --help   show this text;  --version   show the version;\n"
      "         --lang zh|en   the language of the messages (default: the system's)\n");
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
      trText("Cli", "Font display: %1 (bitmap adds the font-mode line; default vector).")
          .arg(joined(kFontDisplays))
          .toQString(),
      "MODE"};
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
  QCommandLineOption jobs{{"j", "jobs"},
                          QCoreApplication::translate("Cli",
                                                      "Worker threads for pictures and icon "
                                                      "libraries (default: the number of cores)."),
                          "N"};
  QCommandLineOption quiet{{"q", "quiet"},
                           QCoreApplication::translate("Cli", "Print errors only.")};
  QCommandLineOption verbose{
      {"v", "verbose"},
      QCoreApplication::translate("Cli", "Print a line per input and what became of it.")};
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
    parser.setApplicationDescription(QCoreApplication::translate(
        "Cli",
        "Converts a DWIN project folder (DWIN_SET) into the KOVA_TFT SD-card layout.\n\n"
        "Exit status: 0 done, 1 refused, 2 usage error, 3 parameters not confirmed,\n"
        "4 the output is incomplete (some output could not be written)."));
    parser.addOptions({output, rotation, format, font, fontDisplay, deripple, pack, resources,
                       yes, set, open, force, jobs, quiet, verbose, json, lang, help});
    parser.addPositionalArgument(
        "SOURCE", QCoreApplication::translate("Cli", "The DWIN project folder."), "convert SOURCE");
  }
};

Command usage(const QString& text) {
  Command c;
  c.kind = Command::Usage;
  c.text = text.toStdString();
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

Command parseConvert(const QStringList& arguments) {
  ConvertParser p;
  QCommandLineParser& parser = p.parser;
  // The command stands where QCommandLineParser expects the program.
  if (!parser.parse(QStringList{kProgram} + arguments)) {
    return usage(parser.errorText());
  }
  if (parser.isSet(p.help)) {
    Command c;
    c.kind = Command::Help;
    // Qt's first line names the running program; ours names the command.
    const QString text = parser.helpText();
    c.text = (trText("Cli", "Usage: %1 convert SOURCE [options]").arg(kProgram).toQString() +
              text.mid(text.indexOf(QLatin1Char('\n'))))
                 .toStdString();
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
  if (!pick(parser, p.rotation, kRotations, rotation, error) ||
      !pick(parser, p.format, kFormats, format, error) ||
      !pick(parser, p.font, kFonts, o.settings.fontChoice, error) ||
      !pick(parser, p.fontDisplay, kFontDisplays, fontDisplay, error)) {
    return usage(error);
  }
  o.settings.rotationChoice = static_cast<RotationChoice>(rotation);
  o.settings.pictureFormat = static_cast<PictureFormat>(format);
  o.settings.fontDisplay = static_cast<FontDisplay>(fontDisplay);
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
  o.quiet = parser.isSet(p.quiet);
  o.verbose = parser.isSet(p.verbose);
  o.json = parser.isSet(p.json);
  if (o.quiet && o.verbose) {
    return usage(QCoreApplication::translate("Cli", "--quiet and --verbose exclude each other"));
  }
  return c;
}

}  // namespace

Command ParseCommandLine(const QStringList& arguments) {
  const QStringList rest = arguments.mid(1);
  if (rest.isEmpty()) return usage(QCoreApplication::translate("Cli", "missing command: convert"));
  const QString& first = rest.front();
  if (first == QLatin1String("-h") || first == QLatin1String("--help")) {
    Command c;
    c.kind = Command::Help;
    c.text = generalHelp().toStdString();
    return c;
  }
  if (first == QLatin1String("--version")) {
    Command c;
    c.kind = Command::Version;
    c.text = std::string("tessel-cli ") + TESSEL_VERSION + "\n";
    return c;
  }
  if (first == QLatin1String("convert")) return parseConvert(rest.mid(1));
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
  return usage(trText("Cli", "unknown command '%1' (the commands are convert, inspect and card)")
                   .arg(first)
                   .toQString());
}

}  // namespace tessel::cli
