#pragma once
// The terminal host: messages and warnings on stderr, the device parameters
// confirmed by --yes, corrected by --set, or asked on a terminal.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "convert/Host.h"

namespace tessel::cli {

class CliHost : public Host {
 public:
  CliHost(bool yes, bool open, bool quiet, std::vector<std::string> overrides);

  void showMessage(const std::string& text) override;
  bool confirmSetup(SetupValues& values) override;
  void openFolder(const std::filesystem::path& folder) override;
  void progress(int done, int total) override;
  void warning(const std::string& text) override;

  // Set when --set named something wrong: a usage error found during the run.
  bool overrideError() const { return overrideError_; }
  void endProgressLine();

 private:
  bool yes_;
  bool open_;
  bool quiet_;
  std::vector<std::string> overrides_;
  bool overrideError_ = false;
  bool progressShown_ = false;
  bool stderrIsTerminal_;
  bool stdinIsTerminal_;
};

bool isTerminal(std::FILE* stream);

}  // namespace tessel::cli
