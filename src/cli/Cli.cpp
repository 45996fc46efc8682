#include "cli/Cli.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <new>
#include <ostream>

#include "cli/CliOptions.h"
#include "cli/JsonReport.h"
#include "cli/Inspect.h"
#include "convert/ConversionRun.h"
#include "util/Paths.h"

namespace tessel::cli {

namespace {

int exitStatusOf(const RunResult& result) {
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
      return kIncomplete;
    case RunOutcome::Completed:
      break;
  }
  const Report& r = result.report;
  return r.writeFailures.empty() && !r.fontMissing ? kDone : kIncomplete;
}

void printVerbose(const Report& report, std::ostream& err) {
  for (const InputRecord& input : report.inputs) {
    err << printable(pathToUtf8(input.path.filename())) << ": " << KindName(input.kind) << ", "
        << FateName(input.fate);
    for (const auto& output : input.outputs) err << " -> " << printable(pathToUtf8(output));
    if (!input.reason.empty()) err << " (" << printable(input.reason) << ')';
    err << '\n';
  }
}

int convert(const ConvertOptions& options, CliIo& io) {
  CliHost host(io, options.yes, options.open, options.quiet, options.overrides);
  host.setForce(options.run.force);
  Session session;  // every invocation starts from the defaults
  const auto start = std::chrono::steady_clock::now();
  RunResult result;
  try {
    result = ConversionRun(options.settings, options.run, session, host);
  } catch (const std::bad_alloc&) {
    host.endProgressLine();
    io.err << "tessel-cli: out of memory: the run stopped, its output is incomplete\n";
    return kIncomplete;
  } catch (const std::exception& e) {
    host.endProgressLine();
    io.err << "tessel-cli: the run stopped (" << e.what() << "), its output is incomplete\n";
    return kIncomplete;
  }
  host.endProgressLine();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  Report& r = result.report;
  if (result.outcome == RunOutcome::Completed && result.branch == Branch::A &&
      !options.overrides.empty()) {
    const std::string text =
        "--set has no effect: a Branch A project takes its device parameters from its own "
        "configuration";
    r.warn(text);
    host.warning(text);
    ++result.totals.warnings;
  }
  const int status = exitStatusOf(result);
  if (options.json) {
    const QByteArray json = ReportJson(options, result, host.confirmed(), status);
    io.out.write(json.constData(), json.size());
  }
  if (result.outcome == RunOutcome::NotConfirmed) {
    io.err << "tessel-cli: device parameters not confirmed; the run stopped in "
           << printable(pathToUtf8(result.privateFolder)) << '\n';
  }
  if (status == kRefused || status == kNotConfirmed) return status;
  if (result.outcome == RunOutcome::Stopped) {
    io.err << "tessel-cli: the run was stopped; its output is incomplete\n";
    return status;
  }

  if (options.quiet) {
    // Errors only: what could not be written, and a missing font.
    for (std::size_t i = 0; i < r.warnings.size(); ++i) {
      const bool failure = std::find(r.writeFailures.begin(), r.writeFailures.end(),
                                     r.warningInputs[i]) != r.writeFailures.end();
      if (failure) io.err << "tessel-cli: " << printable(r.warnings[i]) << '\n';
    }
    return status;
  }
  if (options.verbose) printVerbose(r, io.err);
  const RunTotals& t = result.totals;
  char line[512];
  std::snprintf(line, sizeof line,
                "Branch %s: %d of %d pictures, %d icons in %d of %d libraries, %d files written, "
                "%d skipped, %d replaced, %d ignored, %d warnings, %.2f s\n",
                result.branch == Branch::A ? "A" : "B", t.picturesConverted, t.picturesFound,
                t.iconsConverted, t.librariesConverted, t.librariesFound, t.filesWritten,
                t.inputsSkipped, t.inputsReplaced, t.inputsIgnored, t.warnings, seconds);
  io.err << line;
  if (options.verbose) io.err << "Branch " << (result.branch == Branch::A ? "A" : "B")
                              << " because " << result.branchReason << '\n';
  io.err << "Output: " << printable(pathToUtf8(result.privateFolder)) << '\n';
  return status;
}

}  // namespace

int RunCli(const QStringList& givenArguments, CliIo& io) {
  QStringList arguments = givenArguments;
  const LanguageArgument lang = TakeLanguageArgument(arguments);
  UseLanguage(lang.language ? lang.language : io.language);
  if (lang.bad) {
    io.err << "tessel-cli: " << lang.errorText().toStdString() << "\nsee tessel-cli --help\n";
    return kUsage;
  }
  const Command command = ParseCommandLine(arguments);
  switch (command.kind) {
    case Command::Usage:
      io.err << "tessel-cli: " << command.text << "\nsee tessel-cli convert --help\n";
      return kUsage;
    case Command::Help:
    case Command::Version:
      io.out << command.text;
      return kDone;
    case Command::Inspect:
      return RunInspect(command.inspectArguments, io);
    case Command::Convert:
      break;
  }
  return convert(command.convert, io);
}

}  // namespace tessel::cli
