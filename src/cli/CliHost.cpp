#include "cli/CliHost.h"

#include <QDir>
#include <QProcess>
#include <QString>
#include <istream>
#include <ostream>

#include "cli/OptionNames.h"
#include "config/Baud.h"
#include "config/SetupOverrides.h"
#include "util/Paths.h"
#include "util/Text.h"

namespace tessel::cli {

CliHost::CliHost(CliIo& io, bool yes, bool open, bool quiet, std::vector<std::string> overrides)
    : io_(io), yes_(yes), open_(open), quiet_(quiet), overrides_(std::move(overrides)) {}

void CliHost::endProgressLine() {
  if (progressShown_) {
    io_.err << "\r\033[K";
    progressShown_ = false;
  }
}

void CliHost::showMessage(const std::string& text) {
  endProgressLine();
  io_.err << "tessel-cli: " << Printable(text) << '\n';
}

void CliHost::systemMessage(Message message, const std::filesystem::path& about,
                            const std::filesystem::path& other) {
  showMessage(MessageAbout(message, about, other));
}

void CliHost::warning(const std::string& text) {
  if (quiet_) return;
  endProgressLine();
  io_.err << "tessel-cli: " << trText("Cli", "warning: %1").arg(Printable(text)).str() << '\n';
}

void CliHost::progress(int done, int total) {
  if (quiet_ || !io_.errIsTerminal || total <= 0) return;
  io_.err << "\r\033[K" << trText("Cli", "converting %1/%2").arg(done).arg(total).str()
          << std::flush;
  progressShown_ = true;
}

void CliHost::note(const std::string& text) {
  if (quiet_) return;
  endProgressLine();
  io_.err << "tessel-cli: " << Printable(text) << '\n';
}

bool CliHost::canConfirmSetup() {
  if (yes_ || io_.inIsTerminal) return true;
  io_.err << "tessel-cli: "
          << trText("Cli",
                    "the device parameters need confirmation: run on a terminal, or pass "
                    "%1 (with %2 NAME=VALUE to correct them)")
                 .arg(option::kYes.flag())
                 .arg(option::kSet.flag())
                 .str()
          << '\n';
  return false;
}

bool CliHost::confirmSetup(SetupValues& values) {
  endProgressLine();
  // The corrections were checked when the command line was read.
  for (const std::string& o : overrides_) ApplySetupOverride(values, o, nullptr);
  if (!IsBaudIndex(values.baudIndex)) {
    io_.err << "tessel-cli: "
            << trText("Cli",
                      "the source configuration gives no valid baud rate (register 1 = %1); "
                      "give one with %2 baud=RATE")
                   .arg(values.baudIndex)
                   .arg(option::kSet.flag())
                   .str()
            << '\n';
    return false;
  }
  if (yes_) {
    confirmed_ = values;
    return true;
  }
  if (!canConfirmSetup()) return false;
  io_.err << trText("Cli", "Device parameters read from the source:").str() << '\n'
          << DescribeSetupValues(values) << '\n'
          //: the answer is y or yes, as typed in English
          << trText("Cli", "Confirm? [y/N] ").str() << std::flush;
  std::string answer;
  if (!std::getline(io_.in, answer)) return false;
  if (answer != "y" && answer != "Y" && answer != "yes") return false;
  confirmed_ = values;
  return true;
}

void CliHost::openFolder(const std::filesystem::path& folder) {
  if (!open_) return;
  const QString path = ToQString(folder);
#if defined(_WIN32)
  QProcess::startDetached(QStringLiteral("explorer"), {QDir::toNativeSeparators(path)});
#elif defined(__APPLE__)
  QProcess::startDetached(QStringLiteral("open"), {path});
#else
  QProcess::startDetached(QStringLiteral("xdg-open"), {path});
#endif
}

}  // namespace tessel::cli
