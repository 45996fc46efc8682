#pragma once
// What a run did, for the front ends to report: files written, inputs
// skipped with the reason, writes that failed. Nothing prints from the core:
// a listener hears each warning as it is recorded.
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace tessel {

struct Report {
  int picturesWritten = 0;   // picture outputs (.zbmp/.jpg files or pack entries)
  int iconsWritten = 0;      // icons stored in .zico files
  int filesWritten = 0;      // every output file, copies included
  std::vector<std::string> warnings;                 // skipped inputs, with reason
  std::vector<std::filesystem::path> writeFailures;  // outputs that could not be written

  // Called with every warning as it is recorded (on the thread that records
  // it: the run records only on its own thread).
  std::function<void(const std::string&)> onWarning;

  void warn(std::string text) {
    warnings.push_back(std::move(text));
    if (onWarning) onWarning(warnings.back());
  }
};

}  // namespace tessel
