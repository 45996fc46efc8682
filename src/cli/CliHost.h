#pragma once
// The terminal host: messages and warnings on the error stream, the device
// parameters confirmed by --yes, corrected by --set, or asked on a terminal.
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "convert/Host.h"
#include "util/Language.h"

namespace tessel::cli {

// Where the command line reads and writes, so that it runs the same in a
// test as on a terminal.
struct CliIo {
  std::ostream& out;
  std::ostream& err;
  std::istream& in;
  bool errIsTerminal = false;  // progress lines only on a terminal
  bool inIsTerminal = false;   // asked for confirmation only on a terminal
  // The language when --lang names none (the program: the system's). None:
  // the texts as the sources write them.
  std::optional<Language> language;
  int columns = 0;  // the terminal's width for help texts; 0: 80 columns
  // Ctrl-C, SIGTERM and SIGHUP stop a conversion between two files (the
  // program; tests that run it in their own process leave this off).
  bool handleSignals = false;
};

class CliHost : public Host {
 public:
  CliHost(CliIo& io, bool yes, bool open, bool quiet, std::vector<std::string> overrides);

  void showMessage(const std::string& text) override;
  void systemMessage(Message message, const std::filesystem::path& about,
                     const std::filesystem::path& other) override;
  bool confirmSetup(SetupValues& values) override;
  bool canConfirmSetup() override;
  void note(const std::string& text) override;
  void openFolder(const std::filesystem::path& folder) override;
  void progress(int done, int total) override;
  void warning(const std::string& text) override;
  // Answered from --force: without it a private/ holding foreign entries stays.
  bool confirmRemoval(const std::filesystem::path&, const std::filesystem::path&) override {
    return force_;
  }
  void setForce(bool force) { force_ = force; }
  // Without --force (which has taken the lock over already): remembered, so
  // that the refusal can say what --force would do.
  bool confirmLockTakeover(const std::filesystem::path&, const std::string&) override {
    lockTakeoverOffered_ = true;
    return false;
  }
  bool lockTakeoverOffered() const { return lockTakeoverOffered_; }

  void endProgressLine();

  // The values as the user confirmed them, when they were.
  const std::optional<SetupValues>& confirmed() const { return confirmed_; }

 private:
  CliIo& io_;
  bool yes_;
  bool open_;
  bool quiet_;
  std::vector<std::string> overrides_;
  bool progressShown_ = false;
  bool force_ = false;
  bool lockTakeoverOffered_ = false;
  std::optional<SetupValues> confirmed_;
};

}  // namespace tessel::cli
