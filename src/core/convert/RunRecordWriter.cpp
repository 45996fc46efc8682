#include "convert/RunRecordWriter.h"

#include <algorithm>
#include <map>

#include "model/SourceInventory.h"
#include "util/FileIO.h"
#include "util/Paths.h"

namespace tessel {

namespace fs = std::filesystem;

namespace {

std::string NameOf(const fs::path& path) { return PathToUtf8(path.filename()); }

// The inputs a run did not use, by number: those a later input of the same
// number replaced, and the picture files the picture library stood in for.
struct Unused {
  std::map<std::pair<InputKind, int>, std::vector<std::string>> replaced;
  std::map<int, std::vector<std::string>> stoodIn;

  explicit Unused(const Report& report) {
    for (const InputRecord& input : report.inputs) {
      if (input.fate == InputFate::Replaced) {
        replaced[{input.kind, FileNumber(input.path)}].push_back(NameOf(input.path));
      } else if (input.fate == InputFate::StoodIn && input.kind == InputKind::Picture) {
        stoodIn[FileNumber(input.path)].push_back(NameOf(input.path));
      }
    }
  }
  std::vector<std::string> of(InputKind kind, int number, bool pictureLibrary) const {
    std::vector<std::string> out;
    if (const auto it = replaced.find({kind, number}); it != replaced.end()) out = it->second;
    if (pictureLibrary) {
      if (const auto it = stoodIn.find(number); it != stoodIn.end()) {
        out.insert(out.end(), it->second.begin(), it->second.end());
      }
    }
    return out;
  }
};

// What output `key` was made from (its one source's size and hash, the
// settings, its own hash and size), when the run knows it.
void AddFacts(RecordOutput& output, const MadeFactsMap* madeFacts, const std::string& key) {
  if (!madeFacts) return;
  const auto facts = madeFacts->find(key);
  if (facts == madeFacts->end() || facts->second.hash.empty()) return;
  output.sources[0].size = facts->second.sourceSize;
  output.sources[0].hash = facts->second.sourceHash;
  output.settings = facts->second.settings;
  output.hash = facts->second.hash;
  output.width = facts->second.width;
  output.height = facts->second.height;
}

}  // namespace

RunRecord BuildRunRecord(const RunResult& result, const fs::path& sourceFolder,
                         const RecordRotations& rotations, const MadeFactsMap* madeFacts) {
  RunRecord record;
  record.program = TESSEL_VERSION;
  std::error_code ec;
  const fs::path absolute = fs::absolute(sourceFolder, ec);
  record.source = PathToUtf8(ec ? sourceFolder : absolute.lexically_normal());
  record.branch = result.branch == Branch::A ? "A" : "B";
  const Report& report = result.report;
  const OutputLayout layout(result.outputRoot);
  std::map<fs::path, const InputRecord*> inputs;
  for (const InputRecord& input : report.inputs) inputs.emplace(input.path, &input);
  const Unused unused(report);
  for (const OutputRecord& made : report.outputs) {
    if (made.path == layout.packIndex() || made.path == layout.packData()) {
      // The pack's files: their own size and hash; the pictures in them are
      // its entries, below.
      const std::string relative = RecordKey(made.path, layout.privateFolder());
      if (!madeFacts) continue;
      if (const auto facts = madeFacts->find(relative);
          facts != madeFacts->end() && !facts->second.hash.empty()) {
        RecordOutput output;
        output.size = made.size;
        output.settings = facts->second.settings;
        output.hash = facts->second.hash;
        record.outputs[relative] = std::move(output);
      }
      continue;
    }
    if (made.input.empty()) continue;  // the fonts, the marker
    const auto found = inputs.find(made.input);
    if (found == inputs.end()) continue;
    const InputRecord& input = *found->second;
    std::string relative = PathToUtf8(made.path.lexically_relative(layout.privateFolder()));
    std::replace(relative.begin(), relative.end(), '\\', '/');
    if (relative.empty() || relative.starts_with("..")) continue;
    RecordOutput output;
    output.size = made.size;
    const bool inImages = made.path.parent_path() == layout.imageFolder();
    const int number = FileNumber(made.path);
    if (inImages && input.kind == InputKind::IconLibrary) {
      // A screen of the picture library: the icon of its number.
      output.sources.push_back({NameOf(made.input), number, false, 0, {}});
      output.rotation = rotations.pictureLibrary;
      output.replaced = unused.of(InputKind::Picture, number, true);
    } else {
      output.sources.push_back({NameOf(made.input), -1, input.fate == InputFate::Copied, 0, {}});
      if (inImages) output.rotation = rotations.pictures;
      if (inImages || input.kind == InputKind::IconLibrary) {
        output.replaced = unused.of(input.kind, number, false);
      }
    }
    if (output.sources.size() == 1) AddFacts(output, madeFacts, relative);
    record.outputs[relative] = std::move(output);
  }
  // The picture pack: one entry per picture stored in it.
  for (const InputRecord& input : report.inputs) {
    if (input.kind != InputKind::Picture) continue;
    if (std::find(input.outputs.begin(), input.outputs.end(), layout.packData()) ==
        input.outputs.end()) {
      continue;
    }
    RecordOutput output;
    const int number = FileNumber(input.path);
    output.sources.push_back({NameOf(input.path), -1, false, 0, {}});
    output.rotation = rotations.pictures;
    output.replaced = unused.of(InputKind::Picture, number, false);
    AddFacts(output, madeFacts, PackEntryKey(number));
    record.outputs[PackEntryKey(number)] = std::move(output);
  }
  return record;
}

bool WriteRunRecord(const RunResult& result, const fs::path& sourceFolder,
                    const RecordRotations& rotations, const fs::path& file, OutputWriter& out,
                    const MadeFactsMap* made) {
  const Bytes json = RunRecordJson(BuildRunRecord(result, sourceFolder, rotations, made));
  return out.write(file, ByteView(json));
}

}  // namespace tessel
