#include "cli/Cli.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <new>
#include <optional>
#include <ostream>
#include <system_error>
#include <set>

#include "cli/CliOptions.h"
#include "cli/JsonReport.h"
#include "cli/Inspect.h"
#include "cli/Card.h"
#include "convert/ConversionRun.h"
#include "convert/RunSummary.h"
#include "util/Paths.h"
#include "util/Platform.h"
#include "util/Text.h"

namespace tessel::cli {

namespace {

int exitStatusOf(const RunResult& result, int signal) {
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
std::string kindText(InputKind kind) {
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

std::string fateText(InputFate fate) {
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
void printVerbose(const Report& report, const std::filesystem::path& outputRoot,
                  std::ostream& err) {
  std::set<std::filesystem::path> reused;
  for (const OutputRecord& output : report.outputs) {
    if (output.reused) reused.insert(output.path);
  }
  for (const InputRecord& input : report.inputs) {
    //: --verbose: an input's name, its kind and what became of it
    std::string line = trText("Cli", "%1: %2, %3")
                           .arg(printable(pathToUtf8(input.path.filename())))
                           .arg(kindText(input.kind))
                           .arg(fateText(input.fate));
    if (!input.reason.empty()) {
      //: --verbose: an input's line, and why it was skipped, ignored or replaced
      line = trText("Cli", "%1 (%2)").arg(line).arg(printable(input.reason));
    }
    err << line << '\n';
    for (const auto& output : input.outputs) {
      const std::filesystem::path shown = output.lexically_relative(outputRoot);
      const std::string name = printable(pathToUtf8(shown.empty() ? output : shown));
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
void printWriteFailures(const Report& r, std::ostream& err) {
  for (std::size_t i = 0; i < r.warnings.size(); ++i) {
    const bool failure = std::find(r.writeFailures.begin(), r.writeFailures.end(),
                                   r.warningInputs[i]) != r.writeFailures.end();
    if (failure) err << "tessel-cli: " << printable(r.warnings[i]) << '\n';
  }
}

int convert(const ConvertOptions& options, CliIo& io) {
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
                                    "--set has no effect: a Branch A project takes its device "
                                    "parameters from its own configuration");
    r.warn(text);
    host.warning(text);
    ++result.totals.warnings;
  }
  const int signal = signals ? signals->signal() : 0;
  signals.reset();
  const int status = exitStatusOf(result, signal);
  const std::string privateFolder = printable(pathToUtf8(result.privateFolder));
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
           << trText("Cli", "if no run is writing there, --force takes the lock over").str()
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
    if (options.quiet) printWriteFailures(r, io.err);
    io.err << "tessel-cli: "
           << trText("Cli", "the output could not be written; %1 is as it was")
                  .arg(privateFolder)
                  .str()
           << '\n';
    return status;
  }

  if (options.quiet) {
    // Errors only: what could not be written, and a missing font.
    printWriteFailures(r, io.err);
    return status;
  }
  if (options.verbose) printVerbose(r, result.outputRoot, io.err);
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
  io.err << trText("Cli", "Output: %1").arg(printable(pathToUtf8(result.privateFolder))).str()
         << '\n';
  return status;
}

// What was written to standard output reached it (a full disk or /dev/full
// loses it only when the stream is flushed); else a message, and a status
// that is not 0.
int checkedOutput(CliIo& io, int status) {
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

int runCommand(const QStringList& givenArguments, CliIo& io);

}  // namespace

int RunCli(const QStringList& arguments, CliIo& io) {
  return checkedOutput(io, runCommand(arguments, io));
}

namespace {

int runCommand(const QStringList& givenArguments, CliIo& io) {
  QStringList arguments = givenArguments;
  const LanguageArgument lang = TakeLanguageArgument(arguments);
  UseLanguage(lang.language ? lang.language : io.language);
  if (lang.bad) {
    io.err << "tessel-cli: " << lang.errorText().toStdString() << '\n'
           << trText("Cli", "see tessel-cli help").str() << '\n';
    return kUsage;
  }
  const Command command = ParseCommandLine(arguments, io.columns);
  switch (command.kind) {
    case Command::Usage:
      io.err << "tessel-cli: " << command.text << '\n'
             << (command.command ? trText("Cli", "see tessel-cli %1 --help").arg(command.command)
                                 : trText("Cli", "see tessel-cli help"))
                    .str()
             << '\n';
      return kUsage;
    case Command::ShortUsage:
      io.err << command.text << trText("Cli", "see tessel-cli help").str() << '\n';
      return kUsage;
    case Command::Help:
    case Command::Version:
      io.out << command.text;
      return kDone;
    case Command::Inspect:
      return RunInspect(command.inspectArguments, io);
    case Command::Card:
      return RunCard(command.inspectArguments, io);
    case Command::Convert:
      break;
  }
  return convert(command.convert, io);
}

}  // namespace

}  // namespace tessel::cli
