#pragma once
// What a step did, for the front ends to report: files written, inputs
// skipped with the reason, writes that failed. Nothing prints from the core.
#include <filesystem>
#include <string>
#include <vector>

namespace tessel {

struct Report {
  int picturesWritten = 0;   // picture outputs (.zbmp/.jpg files or pack entries)
  int iconsWritten = 0;      // icons stored in .zico files
  int filesWritten = 0;      // every output file, copies included
  std::vector<std::string> warnings;                 // skipped inputs, with reason
  std::vector<std::filesystem::path> writeFailures;  // outputs that could not be written

  void warn(std::string text) { warnings.push_back(std::move(text)); }
  void merge(const Report& other) {
    picturesWritten += other.picturesWritten;
    iconsWritten += other.iconsWritten;
    filesWritten += other.filesWritten;
    warnings.insert(warnings.end(), other.warnings.begin(), other.warnings.end());
    writeFailures.insert(writeFailures.end(), other.writeFailures.begin(),
                         other.writeFailures.end());
  }
};

}  // namespace tessel
