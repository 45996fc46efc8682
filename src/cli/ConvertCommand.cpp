#include "cli/ConvertCommand.h"

#include <QCoreApplication>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <new>
#include <optional>
#include <ostream>
#include <set>
#include <thread>

#include "cli/Cli.h"
#include "cli/JsonReport.h"
#include "cli/OptionNames.h"
#include "config/SetupOverrides.h"
#include "convert/ConversionRun.h"
#include "convert/RunSummary.h"
#include "util/Paths.h"
#include "util/Platform.h"
#include "util/Text.h"

namespace tessel::cli {

namespace {

int ExitStatusOf(const RunResult& result, int signal) {
  switch (result.outcome) {
    case RunOutcome::SourceInvalid:
    case RunOutcome::NoPictures:
    case RunOutcome::PathsOverlap:
    case RunOutcome::NoOutputFolder:
    case RunOutcome::OutputRefused:
      return kRefused;
    case RunOutcome::NotConfirmed:
      return kNotConfirmed;
    case RunOutcome::Stopped:
      return signal != 0 ? StopSignals::exitStatus(signal) : kIncomplete;
    case RunOutcome::WriteFailed:
      return kIncomplete;
    case RunOutcome::Completed:
      break;
  }
  const Report& r = result.report;
  return r.writeFailures.empty() && !r.fontMissing ? kDone : kIncomplete;
}

// The kinds and fates of the inputs as people read them (the JSON report
// keeps KindName and FateName).
std::string KindText(InputKind kind) {
  switch (kind) {
    case InputKind::Picture: return trText("Cli", "picture");
    case InputKind::IconLibrary: return trText("Cli", "icon library");
    case InputKind::Sound: return trText("Cli", "sound");
    case InputKind::Table: return trText("Cli", "table");
    case InputKind::ConfigText: return trText("Cli", "register text");
    case InputKind::BlockConfig: return trText("Cli", "block file");
    case InputKind::Other: return trText("Cli", "other");
  }
  return {};
}

std::string FateText(InputFate fate) {
  switch (fate) {
    case InputFate::Unhandled: return trText("Cli", "not handled");
    case InputFate::Converted: return trText("Cli", "converted");
    case InputFate::Copied: return trText("Cli", "copied");
    case InputFate::Read: return trText("Cli", "read");
    case InputFate::Replaced: return trText("Cli", "replaced");
    case InputFate::StoodIn: return trText("Cli", "replaced by the picture library");
    case InputFate::Ignored: return trText("Cli", "ignored");
    case InputFate::NotUsed: return trText("Cli", "not used by the display");
    case InputFate::Skipped: return trText("Cli", "skipped");
  }
  return {};
}

// One line per input, then one per output it made, below the output root:
// a picture library of 48 screens gives 48 short lines, not one long one.
void PrintVerbose(const Report& report, const std::filesystem::path& outputRoot,
                  std::ostream& err) {
  std::set<std::filesystem::path> reused;
  for (const OutputRecord& output : report.outputs) {
    if (output.reused) reused.insert(output.path);
  }
  for (const InputRecord& input : report.inputs) {
    //: --verbose: an input's name, its kind and what became of it
    std::string line = trText("Cli", "%1: %2, %3")
                           .arg(Printable(PathToUtf8(input.path.filename())))
                           .arg(KindText(input.kind))
                           .arg(FateText(input.fate));
    if (!input.reason.empty()) {
      //: --verbose: an input's line, and why it was skipped, ignored or replaced
      line = trText("Cli", "%1 (%2)").arg(line).arg(Printable(input.reason));
    }
    err << line << '\n';
    for (const auto& output : input.outputs) {
      const std::filesystem::path shown = output.lexically_relative(outputRoot);
      const std::string name = Printable(PathToUtf8(shown.empty() ? output : shown));
      err << "  -> "
          << (reused.contains(output)
                  //: --verbose: an output taken unchanged from the previous run's output
                  ? trText("Cli", "%1 (reused)").arg(name).str()
                  : name)
          << '\n';
    }
  }
}

// The warnings about outputs that could not be written.
void PrintWriteFailures(const Report& r, std::ostream& err) {
  for (std::size_t i = 0; i < r.warnings.size(); ++i) {
    const bool failure = std::find(r.writeFailures.begin(), r.writeFailures.end(),
                                   r.warningInputs[i]) != r.writeFailures.end();
    if (failure) err << "tessel-cli: " << Printable(r.warnings[i]) << '\n';
  }
}

}  // namespace

const char* ConvertCommand::summary() const {
  return QT_TRANSLATE_NOOP("Cli", "convert a DWIN project folder (DWIN_SET) into the SD-card layout");
}

QString ConvertCommand::description() const {
  return QCoreApplication::translate(
      "Cli",
      "Converts a DWIN project folder (DWIN_SET) into the KOVA_TFT SD-card layout.\n\n"
      "Exit status: 0 done, 1 refused, 2 usage error, 3 parameters not confirmed, 4 the "
      "output is incomplete (some output could not be written).");
}

QList<ParsedCommand::Argument> ConvertCommand::arguments() const {
  return {{QStringLiteral("SOURCE"), QCoreApplication::translate("Cli", "The DWIN project folder.")}};
}

// The descriptions are translated as the options are made, after the
// language is known.
QList<QCommandLineOption> ConvertCommand::options() const {
  using namespace option;
  return {
      kOutput.make(QCoreApplication::translate(
                       "Cli",
                       "Output root (default: Documents/TESSEL); the run writes "
                       "DIR/private/ and the marker file in DIR."),
                   "DIR"),
      kRotation.make(trText("Cli", "Picture rotation, clockwise: %1 (default auto).")
                         .arg(kRotation.choices.joined())
                         .toQString(),
                     "ROTATION"),
      kFormat.make(trText("Cli",
                          "Picture format: %1 (JPEG at quality 90 or 100, or lossless "
                          ".zbmp; default zbmp).")
                       .arg(kFormat.choices.joined())
                       .toQString(),
                   "FORMAT"),
      kCompression.make(
          trText("Cli",
                 "Compression of .zbmp pictures, pack blocks and icons: %1. default: zlib at its "
                 "default level (the default). smallest: files several percent smaller for the "
                 "display to load, at several times the CPU.")
              .arg(kCompression.choices.joined())
              .toQString(),
          "LEVEL"),
      kFont.make(trText("Cli", "TrueType font for the target: %1 (default cjk).")
                     .arg(kFont.choices.joined())
                     .toQString(),
                 "FONT"),
      kFontDisplay.make(
          trText("Cli",
                 "Font display: %1 (default vector). vector: the display draws all text from the "
                 "TrueType outlines, smoothed. bitmap: it draws small text with pixel glyphs, "
                 "sharp and without smoothing, and large text as before; config.txt gets the "
                 "font-mode line RFC=18 (no effect when config.txt is a copy of the source's "
                 "register text).")
              .arg(kFontDisplay.choices.joined())
              .toQString(),
          "MODE"),
      kDeripple.make(QCoreApplication::translate("Cli",
                                                 "Dither pictures to RGB565 before encoding "
                                                 "(removes water ripples, compresses less).")),
      kPack.make(QCoreApplication::translate(
          "Cli", "Branch B: write the pictures as bin/image.idx + bin/image.bin.")),
      kResources.make(QCoreApplication::translate("Cli",
                                                  "Folder with the TrueType files and pinyin.bin "
                                                  "(default: the program's own)."),
                      "DIR"),
      kYes.make(
          QCoreApplication::translate("Cli", "Accept the device parameters of Branch B as read.")),
      kSet.make(QCoreApplication::translate(
                    "Cli",
                    "Correct one device parameter (repeatable): baud=RATE touch-file=on|off "
                    "coordinate-notify=0|1 touch-file-notify=0|1 long-press=on|off "
                    "touch-beep=0|1|2 screen-rotation=0|90|180|270 "
                    "restore-text-background=on|off delayed-refresh=on|off."),
                "NAME=VALUE"),
      kOpen.make(QCoreApplication::translate("Cli", "Open the output folder at the end.")),
      kForce.make(QCoreApplication::translate(
          "Cli", "Remove the output's private/ even when it holds files no run writes.")),
      kNoReuse.make(QCoreApplication::translate("Cli",
                                                "Convert every file again, even those the "
                                                "previous run's output holds unchanged.")),
      kJobs.make(QCoreApplication::translate("Cli",
                                             "Worker threads for pictures and icon libraries "
                                             "(default: the number of cores)."),
                 "N"),
      kQuiet.make(QCoreApplication::translate("Cli", "Print errors only.")),
      kVerbose.make(QCoreApplication::translate(
          "Cli", "Print a line per input and what became of it, and a line per output it made.")),
      kJson.make(QCoreApplication::translate("Cli",
                                             "Print the run report as one JSON document on "
                                             "standard output (the lines for people stay on "
                                             "standard error).")),
      langOption(QCoreApplication::translate(
          "Cli", "The language of the messages: zh or en (default: the system's).")),
      helpOption(),
  };
}

namespace {

// The index of the option's value among its choices into `out`, when it is
// given; false and the error when it is none of them.
bool Pick(const QCommandLineParser& parser, const OptionName& option, int& out, QString& error) {
  if (!parser.isSet(option.longName())) return true;
  const QString value = parser.value(option.longName());
  const int index = option.choices.indexOf(value);
  if (index < 0) {
    error = trText("Cli", "--%1 takes %2, not '%3'")
                .arg(option.longName())
                .arg(option.choices.joined())
                .arg(value)
                .toQString();
    return false;
  }
  out = index;
  return true;
}

}  // namespace

int ConvertCommand::execute(const QCommandLineParser& parser, CliIo& io) {
  using namespace option;
  const auto isSet = [&](const OptionName& o) { return parser.isSet(o.longName()); };
  const auto value = [&](const OptionName& o) { return parser.value(o.longName()); };
  ConvertOptions o;
  const QStringList positional = parser.positionalArguments();
  if (positional.size() != 1) {
    return usage(io, positional.isEmpty()
                         ? QCoreApplication::translate("Cli", "convert needs the SOURCE folder")
                         : trText("Cli", "too many arguments: %1")
                               .arg(positional.mid(1).join(' '))
                               .toQString());
  }
  o.settings.sourceFolder = ToPath(positional[0]);

  QString error;
  int rotation = static_cast<int>(o.settings.rotationChoice);
  int format = static_cast<int>(o.settings.pictureFormat);
  int fontDisplay = static_cast<int>(o.settings.fontDisplay);
  int compression = static_cast<int>(o.settings.compression);
  if (!Pick(parser, kRotation, rotation, error) ||
      !Pick(parser, kCompression, compression, error) ||
      !Pick(parser, kFormat, format, error) ||
      !Pick(parser, kFont, o.settings.fontChoice, error) ||
      !Pick(parser, kFontDisplay, fontDisplay, error)) {
    return usage(io, error);
  }
  o.settings.rotationChoice = static_cast<RotationChoice>(rotation);
  o.settings.pictureFormat = static_cast<PictureFormat>(format);
  o.settings.fontDisplay = static_cast<FontDisplay>(fontDisplay);
  o.settings.compression = static_cast<Compression>(compression);
  o.settings.deRipple = isSet(kDeripple);
  o.settings.singlePictureFiles = !isSet(kPack);

  if (isSet(kOutput)) {
    if (value(kOutput).isEmpty()) {
      return usage(io, trText("Cli", "%1 needs a folder").arg(kOutput.flag()).toQString());
    }
    o.run.outputRoot = ToPath(value(kOutput));
  }
  if (isSet(kResources)) o.run.resourceFolder = ToPath(value(kResources));
  o.run.jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  if (isSet(kJobs)) {
    bool ok = false;
    const int n = value(kJobs).toInt(&ok);
    if (!ok || n < 1 || n > 256) {
      return usage(io, trText("Cli", "%1 takes a number from 1 to 256, not '%2'")
                           .arg(kJobs.flag())
                           .arg(value(kJobs))
                           .toQString());
    }
    o.run.jobs = n;
  }
  // Every correction is checked now, before the run touches anything.
  SetupValues scratch;
  for (const QString& correction : parser.values(kSet.longName())) {
    std::string why;
    if (!ApplySetupOverride(scratch, correction.toStdString(), &why)) {
      //: --set, the value given to it, and what is wrong with the value
      return usage(io, trText("Cli", "%1 %2: %3")
                           .arg(kSet.flag())
                           .arg(correction)
                           .arg(why)
                           .toQString());
    }
    o.overrides.push_back(correction.toStdString());
  }
  o.yes = isSet(kYes);
  o.open = isSet(kOpen);
  o.run.force = isSet(kForce);
  o.run.reuse = !isSet(kNoReuse);
  o.quiet = isSet(kQuiet);
  o.verbose = isSet(kVerbose);
  o.json = isSet(kJson);
  if (o.quiet && o.verbose) {
    return usage(io, trText("Cli", "%1 and %2 exclude each other")
                         .arg(kQuiet.flag())
                         .arg(kVerbose.flag())
                         .toQString());
  }
  return convert(o, io);
}

// Runs the conversion and says what became of it.
int ConvertCommand::convert(const ConvertOptions& options, CliIo& io) {
  CliHost host(io, options.yes, options.open, options.quiet, options.overrides);
  host.setForce(options.run.force);
  Session session;  // every invocation starts from the defaults
  const auto start = std::chrono::steady_clock::now();
  // A signal stops the run between two files; the previous output stays.
  std::atomic<bool> stop{false};
  std::optional<StopSignals> signals;
  RunOptions run = options.run;
  if (io.handleSignals) {
    signals.emplace(stop);
    run.stop = &stop;
  }
  RunResult result;
  try {
    result = ConversionRun(options.settings, run, session, host);
  } catch (const std::bad_alloc&) {
    host.endProgressLine();
    io.err << "tessel-cli: "
           << trText("Cli", "out of memory: the run stopped, its output is incomplete").str()
           << '\n';
    return kIncomplete;
  } catch (const std::exception& e) {
    host.endProgressLine();
    io.err << "tessel-cli: "
           << trText("Cli", "the run stopped (%1), its output is incomplete").arg(e.what()).str()
           << '\n';
    return kIncomplete;
  }
  host.endProgressLine();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  Report& r = result.report;
  if (result.outcome == RunOutcome::Completed && result.branch == Branch::A &&
      !options.overrides.empty()) {
    const std::string text = trText("Cli",
                                    "%1 has no effect: a Branch A project takes its device "
                                    "parameters from its own configuration")
                                 .arg(option::kSet.flag());
    r.warn(text);
    host.warning(text);
    ++result.totals.warnings;
  }
  const int signal = signals ? signals->signal() : 0;
  signals.reset();
  const int status = ExitStatusOf(result, signal);
  const std::string privateFolder = Printable(PathToUtf8(result.privateFolder));
  if (options.json) {
    const QByteArray json = ReportJson(options, result, host.confirmed(), status);
    io.out.write(json.constData(), json.size());
  }
  if (result.outcome == RunOutcome::NotConfirmed) {
    io.err << "tessel-cli: "
           << trText("Cli", "device parameters not confirmed; %1 is as it was")
                  .arg(privateFolder)
                  .str()
           << '\n';
  }
  if (host.lockTakeoverOffered()) {
    io.err << "tessel-cli: "
           << trText("Cli", "if no run is writing there, %1 takes the lock over")
                  .arg(option::kForce.flag())
                  .str()
           << '\n';
  }
  if (status == kRefused || status == kNotConfirmed) return status;
  if (result.outcome == RunOutcome::Stopped) {
    io.err << "tessel-cli: "
           << (signal != 0 ? trText("Cli", "stopped by %1; %2 is as it was")
                                 .arg(StopSignals::name(signal))
                                 .arg(privateFolder)
                           : trText("Cli", "the run was stopped; %1 is as it was").arg(privateFolder))
                  .str()
           << '\n';
    return status;
  }
  if (result.outcome == RunOutcome::WriteFailed) {
    // The failures were printed as warnings; with -q they are printed here.
    if (options.quiet) PrintWriteFailures(r, io.err);
    io.err << "tessel-cli: "
           << trText("Cli", "the output could not be written; %1 is as it was")
                  .arg(privateFolder)
                  .str()
           << '\n';
    return status;
  }

  if (options.quiet) {
    // Errors only: what could not be written, and a missing font.
    PrintWriteFailures(r, io.err);
    return status;
  }
  if (options.verbose) PrintVerbose(r, result.outputRoot, io.err);
  // One text per branch, so that each reads as a whole sentence.
  Text summary = result.branch == Branch::A ? trText("Cli", "Branch A: %1, %2 s")
                                            : trText("Cli", "Branch B: %1, %2 s");
  summary.arg(CountsPhrase(result.totals)).arg(seconds, 2);
  io.err << summary.str() << '\n';
  if (options.verbose) {
    io.err << (result.branch == Branch::A
                   ? trText("Cli", "Branch A because %1").arg(result.branchReason)
                   : trText("Cli", "Branch B because %1").arg(result.branchReason))
                  .str()
           << '\n';
  }
  io.err << trText("Cli", "Output: %1").arg(Printable(PathToUtf8(result.privateFolder))).str()
         << '\n';
  return status;
}


}  // namespace tessel::cli
