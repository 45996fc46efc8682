#include "util/Report.h"

#include <algorithm>

#include "util/Paths.h"
#include "util/Text.h"

namespace tessel {

namespace fs = std::filesystem;

namespace {

InputRecord* find(std::vector<InputRecord>& inputs, const fs::path& path) {
  const auto at = std::find_if(inputs.begin(), inputs.end(),
                               [&](const InputRecord& r) { return r.path == path; });
  return at == inputs.end() ? nullptr : &*at;
}

}  // namespace

InputRecord& Report::input(const fs::path& path, InputKind kind) {
  if (InputRecord* record = find(inputs, path)) return *record;
  inputs.push_back({path, kind, InputFate::Unhandled, {}, {}});
  return inputs.back();
}

void Report::setFate(const fs::path& path, InputFate fate, std::string reason) {
  InputRecord* record = find(inputs, path);
  if (!record) return;  // not a source input (a font, say)
  record->fate = fate;
  if (!reason.empty()) record->reason = std::move(reason);
}

void Report::skipped(const fs::path& path, const std::string& reason) {
  setFate(path, InputFate::Skipped, reason);
  warn(reason, path);
}

void Report::madeFrom(const fs::path& in, const fs::path& output, InputFate fate, bool shared) {
  InputRecord* record = find(inputs, in);
  if (!record) return;
  auto made = std::find_if(outputs.begin(), outputs.end(),
                           [&](const OutputRecord& r) { return r.path == output; });
  if (shared) made = outputs.end();
  if (made != outputs.end() && !made->input.empty() && made->input != in) {
    // A later input wrote the same file: the earlier one is not used there.
    if (InputRecord* earlier = find(inputs, made->input)) {
      std::erase(earlier->outputs, output);
      if (earlier->outputs.empty()) {
        earlier->fate = InputFate::Replaced;
        earlier->reason =
            trText("Report", "replaced by %1, which has the same number").arg(pathToUtf8(in));
      }
      const fs::path shortName = output.parent_path().filename() / output.filename();
      warn(trText("Report", "same number: %1 is used for %2, %3 is not")
               .arg(pathToUtf8(in))
               .arg(pathToUtf8(shortName))
               .arg(pathToUtf8(earlier->path)),
           earlier->path);
    }
  }
  if (record->fate != InputFate::Replaced) record->fate = fate;
  if (std::find(record->outputs.begin(), record->outputs.end(), output) == record->outputs.end()) {
    record->outputs.push_back(output);
  }
  if (made != outputs.end()) made->input = in;
}

OutputRecord* Report::output(const fs::path& path) {
  const auto at = std::find_if(outputs.begin(), outputs.end(),
                               [&](const OutputRecord& r) { return r.path == path; });
  return at == outputs.end() ? nullptr : &*at;
}

void Report::wrote(const fs::path& path, std::uint64_t size) {
  ++filesWritten;
  for (OutputRecord& record : outputs) {
    if (record.path == path) {
      record.size = size;
      return;
    }
  }
  outputs.push_back({path, size, {}});
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
}

void Report::outputsDiscarded(const std::string& reason) {
  outputs.clear();
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
