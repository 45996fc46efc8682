#include "model/Report.h"

#include <algorithm>

#include "util/Paths.h"
#include "util/Text.h"

namespace tessel {

namespace fs = std::filesystem;

namespace {

// The record of `path` in `records` through `index`, which is made again
// when it no longer matches the list.
template <typename Record, typename Index>
Record* LookUp(std::vector<Record>& records, Index& index, const fs::path& path) {
  const auto hit = index.find(path);
  if (hit != index.end() && hit->second < records.size() && records[hit->second].path == path) {
    return &records[hit->second];
  }
  if (hit == index.end() && index.size() == records.size()) return nullptr;
  index.clear();
  for (std::size_t i = 0; i < records.size(); ++i) index.emplace(records[i].path, i);
  const auto again = index.find(path);
  return again == index.end() ? nullptr : &records[again->second];
}

}  // namespace

InputRecord* Report::findInput(const fs::path& path) { return LookUp(inputs, inputIndex_, path); }

InputRecord& Report::input(const fs::path& path, InputKind kind) {
  if (InputRecord* record = findInput(path)) return *record;
  inputs.push_back({path, kind, InputFate::Unhandled, {}, {}});
  inputIndex_.emplace(path, inputs.size() - 1);
  return inputs.back();
}

void Report::setFate(const fs::path& path, InputFate fate, std::string reason) {
  InputRecord* record = findInput(path);
  if (!record) return;  // not a source input (a font, say)
  record->fate = fate;
  if (!reason.empty()) record->reason = std::move(reason);
}

void Report::skipped(const fs::path& path, const std::string& reason) {
  setFate(path, InputFate::Skipped, reason);
  warn(reason, path);
}

void Report::madeFrom(const fs::path& in, const fs::path& output, InputFate fate, bool shared) {
  InputRecord* record = findInput(in);
  if (!record) return;
  OutputRecord* made = shared ? nullptr : this->output(output);
  if (made && !made->input.empty() && made->input != in) {
    // A later input wrote the same file: the earlier one is not used there.
    if (InputRecord* earlier = findInput(made->input)) {
      std::erase(earlier->outputs, output);
      if (earlier->outputs.empty()) {
        earlier->fate = InputFate::Replaced;
        earlier->reason =
            trText("Report", "replaced by %1, which has the same number").arg(PathToUtf8(in));
      }
      const fs::path shortName = output.parent_path().filename() / output.filename();
      warn(trText("Report", "same number: %1 is used for %2, %3 is not")
               .arg(PathToUtf8(in))
               .arg(PathToUtf8(shortName))
               .arg(PathToUtf8(earlier->path)),
           earlier->path);
    }
  }
  if (record->fate != InputFate::Replaced) record->fate = fate;
  if (std::find(record->outputs.begin(), record->outputs.end(), output) == record->outputs.end()) {
    record->outputs.push_back(output);
  }
  if (made) made->input = in;
}

OutputRecord* Report::output(const fs::path& path) {
  return LookUp(outputs, outputIndex_, path);
}

void Report::wrote(const fs::path& path, std::uint64_t size) {
  ++filesWritten;
  if (OutputRecord* record = output(path)) {
    record->size = size;
    return;
  }
  outputs.push_back({path, size, {}});
  outputIndex_.emplace(path, outputs.size() - 1);
}

void Report::outputsMoved(const fs::path& from, const fs::path& to) {
  const auto moved = [&](fs::path& path) {
    if (path == from) {
      path = to;
      return;
    }
    const fs::path relative = path.lexically_relative(from);
    if (!relative.empty() && *relative.begin() != "..") path = to / relative;
  };
  for (OutputRecord& record : outputs) moved(record.path);
  for (InputRecord& input : inputs) {
    for (fs::path& output : input.outputs) moved(output);
  }
  for (fs::path& failure : writeFailures) moved(failure);
  outputIndex_.clear();  // made again on the next lookup
  for (std::size_t i = 0; i < outputs.size(); ++i) outputIndex_.emplace(outputs[i].path, i);
}

void Report::outputsDiscarded(const std::string& reason) {
  outputs.clear();
  outputIndex_.clear();
  filesWritten = 0;
  picturesWritten = 0;
  iconsWritten = 0;
  packEntries = 0;
  for (InputRecord& input : inputs) {
    input.outputs.clear();
    if (input.fate == InputFate::Converted || input.fate == InputFate::Copied) {
      input.fate = InputFate::Unhandled;
      input.reason = reason;
    }
  }
}

}  // namespace tessel
