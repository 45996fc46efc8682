#include "cli/CliHost.h"

#include <QDir>
#include <QProcess>
#include <QString>
#include <iostream>

#include "config/SetupOverrides.h"
#include "util/Paths.h"

#ifdef _WIN32
#include <io.h>
#define TESSEL_ISATTY _isatty
#define TESSEL_FILENO _fileno
#else
#include <unistd.h>
#define TESSEL_ISATTY isatty
#define TESSEL_FILENO fileno
#endif

namespace tessel::cli {

bool isTerminal(std::FILE* stream) { return TESSEL_ISATTY(TESSEL_FILENO(stream)) != 0; }

CliHost::CliHost(bool yes, bool open, bool quiet, std::vector<std::string> overrides)
    : yes_(yes), open_(open), quiet_(quiet), overrides_(std::move(overrides)),
      stderrIsTerminal_(isTerminal(stderr)), stdinIsTerminal_(isTerminal(stdin)) {}

void CliHost::endProgressLine() {
  if (progressShown_) {
    std::fputs("\r\033[K", stderr);
    progressShown_ = false;
  }
}

void CliHost::showMessage(const std::string& text) {
  endProgressLine();
  std::fprintf(stderr, "tessel-cli: %s\n", text.c_str());
}

void CliHost::warning(const std::string& text) {
  if (quiet_) return;
  endProgressLine();
  std::fprintf(stderr, "warning: %s\n", text.c_str());
}

void CliHost::progress(int done, int total) {
  if (quiet_ || !stderrIsTerminal_ || total <= 0) return;
  std::fprintf(stderr, "\r\033[Kconverting %d/%d", done, total);
  std::fflush(stderr);
  progressShown_ = true;
}

bool CliHost::confirmSetup(SetupValues& values) {
  endProgressLine();
  for (const std::string& o : overrides_) {
    std::string error;
    if (!ApplySetupOverride(values, o, &error)) {
      std::fprintf(stderr, "tessel-cli: --set %s: %s\n", o.c_str(), error.c_str());
      overrideError_ = true;
      return false;
    }
  }
  if (values.baudIndex < 0 || values.baudIndex > 7) {
    std::fprintf(stderr,
                 "tessel-cli: the source configuration gives no valid baud rate (register 1 = "
                 "%d); give one with --set baud=RATE\n",
                 values.baudIndex);
    return false;
  }
  if (yes_) return true;
  if (!stdinIsTerminal_) {
    std::fputs(
        "tessel-cli: the device parameters need confirmation: run on a terminal, or pass "
        "--yes (with --set NAME=VALUE to correct them)\n",
        stderr);
    return false;
  }
  std::fprintf(stderr, "Device parameters read from the source:\n%s\nConfirm? [y/N] ",
               DescribeSetupValues(values).c_str());
  std::fflush(stderr);
  std::string answer;
  if (!std::getline(std::cin, answer)) return false;
  return answer == "y" || answer == "Y" || answer == "yes";
}

void CliHost::openFolder(const std::filesystem::path& folder) {
  if (!open_) return;
  const QString path = toQString(folder);
#if defined(_WIN32)
  QProcess::startDetached(QStringLiteral("explorer"), {QDir::toNativeSeparators(path)});
#elif defined(__APPLE__)
  QProcess::startDetached(QStringLiteral("open"), {path});
#else
  QProcess::startDetached(QStringLiteral("xdg-open"), {path});
#endif
}

}  // namespace tessel::cli
