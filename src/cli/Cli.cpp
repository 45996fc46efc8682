#include "cli/Cli.h"

#include <chrono>
#include <cstdio>
#include <new>
#include <ostream>

#include "cli/CliOptions.h"
#include "cli/Inspect.h"
#include "convert/ConversionRun.h"
#include "util/Paths.h"

namespace tessel::cli {

namespace {

int convert(const ConvertOptions& options, CliIo& io) {
  CliHost host(io, options.yes, options.open, options.quiet, options.overrides);
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

  switch (result.outcome) {
    case RunOutcome::SourceInvalid:
    case RunOutcome::NoPictures:
    case RunOutcome::PathsOverlap:
    case RunOutcome::NoOutputFolder:
      return kRefused;
    case RunOutcome::NotConfirmed:
      io.err << "tessel-cli: device parameters not confirmed; the run stopped in "
             << pathToUtf8(result.privateFolder) << '\n';
      return kNotConfirmed;
    case RunOutcome::Completed:
      break;
  }

  const Report& r = result.report;
  for (const auto& failed : r.writeFailures) {
    io.err << "tessel-cli: could not write " << pathToUtf8(failed) << '\n';
  }
  if (!options.quiet) {
    char line[512];
    std::snprintf(line, sizeof line,
                  "Branch %s: %d of %d pictures, %d icons from %d libraries, %d files written, "
                  "%zu skipped, %.2f s\n",
                  result.branch == Branch::A ? "A" : "B", r.picturesWritten, result.pictureCount,
                  r.iconsWritten, result.iconCount, r.filesWritten,
                  r.warnings.size() - r.writeFailures.size(), seconds);
    io.err << line << "Output: " << pathToUtf8(result.privateFolder) << '\n';
  }
  return r.writeFailures.empty() ? kDone : kIncomplete;
}

}  // namespace

int RunCli(const QStringList& arguments, CliIo& io) {
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
