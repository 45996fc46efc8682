// tessel-cli: converts a DWIN project folder from the command line.
#include <QCoreApplication>
#include <chrono>
#include <cstdio>

#include "cli/CliHost.h"
#include "cli/CliOptions.h"
#include "convert/ConversionRun.h"
#include "util/Paths.h"

using namespace tessel;

namespace {

enum ExitStatus { kDone = 0, kRefused = 1, kUsage = 2, kNotConfirmed = 3, kWriteFailed = 4 };

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  setProgramFolder(toPath(QCoreApplication::applicationDirPath()));

  std::vector<std::string> args;
  // QCoreApplication::arguments() decodes the platform's argument encoding.
  const QStringList qargs = QCoreApplication::arguments();
  for (int i = 1; i < qargs.size(); ++i) args.push_back(qargs[i].toStdString());

  cli::CliOptions options;
  std::string error;
  if (!cli::ParseArguments(args, options, error)) {
    std::fprintf(stderr, "tessel-cli: %s\n\n%s", error.c_str(), cli::UsageText().c_str());
    return kUsage;
  }
  if (options.help) {
    std::fputs(cli::UsageText().c_str(), stdout);
    return kDone;
  }
  if (options.version) {
    std::printf("tessel-cli %s\n", TESSEL_VERSION);
    return kDone;
  }

  cli::CliHost host(options.yes, options.open, options.quiet, options.overrides);
  Session session;  // every invocation starts from the defaults
  const auto start = std::chrono::steady_clock::now();
  const RunResult result = ConversionRun(options.settings, options.run, session, host);
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
      if (host.overrideError()) return kUsage;
      std::fprintf(stderr, "tessel-cli: device parameters not confirmed; the run stopped in %s\n",
                   pathToUtf8(result.privateFolder).c_str());
      return kNotConfirmed;
    case RunOutcome::Completed:
      break;
  }

  const Report& r = result.report;
  for (const auto& failed : r.writeFailures) {
    std::fprintf(stderr, "tessel-cli: could not write %s\n", pathToUtf8(failed).c_str());
  }
  if (!options.quiet) {
    std::fprintf(stderr,
                 "Branch %s: %d of %d pictures, %d icons from %d libraries, %d files written, "
                 "%zu skipped, %.2f s\nOutput: %s\n",
                 result.branch == Branch::A ? "A" : "B", r.picturesWritten, result.pictureCount,
                 r.iconsWritten, result.iconCount, r.filesWritten,
                 r.warnings.size() - r.writeFailures.size(), seconds,
                 pathToUtf8(result.privateFolder).c_str());
  }
  return r.writeFailures.empty() ? kDone : kWriteFailed;
}
