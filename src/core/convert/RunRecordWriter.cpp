#include "convert/RunRecordWriter.h"

#include <algorithm>

#include "model/SourceInventory.h"
#include "util/FileIO.h"
#include "util/Paths.h"

namespace tessel {

namespace fs = std::filesystem;

namespace {

std::string nameOf(const fs::path& path) { return pathToUtf8(path.filename()); }

// The inputs whose place the output of `number` in this folder took: the
// replaced ones of the same kind and number, and, for the picture library's
// screens, the picture files it stood in for.
std::vector<std::string> replacedFor(const Report& report, InputKind kind, int number,
                                     bool pictureLibrary) {
  std::vector<std::string> out;
  for (const InputRecord& input : report.inputs) {
    if (FileNumber(input.path) != number) continue;
    const bool replaced = input.fate == InputFate::Replaced && input.kind == kind;
    const bool stoodIn = pictureLibrary && input.fate == InputFate::StoodIn &&
                         input.kind == InputKind::Picture;
    if (replaced || stoodIn) out.push_back(nameOf(input.path));
  }
  return out;
}

}  // namespace

RunRecord BuildRunRecord(const RunResult& result, const fs::path& sourceFolder,
                         const RecordRotations& rotations) {
  RunRecord record;
  std::error_code ec;
  const fs::path absolute = fs::absolute(sourceFolder, ec);
  record.source = pathToUtf8(ec ? sourceFolder : absolute.lexically_normal());
  record.branch = result.branch == Branch::A ? "A" : "B";
  const Report& report = result.report;
  const OutputLayout layout(result.outputRoot);
  auto kindOf = [&](const fs::path& input) {
    const auto it = std::find_if(report.inputs.begin(), report.inputs.end(),
                                 [&](const InputRecord& r) { return r.path == input; });
    return it == report.inputs.end() ? InputKind::Other : it->kind;
  };
  for (const OutputRecord& made : report.outputs) {
    if (made.input.empty()) continue;  // the fonts, the marker
    std::string relative = pathToUtf8(made.path.lexically_relative(layout.privateFolder()));
    std::replace(relative.begin(), relative.end(), '\\', '/');
    if (relative.empty() || relative.starts_with("..")) continue;
    if (made.path == layout.packIndex() || made.path == layout.packData()) continue;
    const InputKind kind = kindOf(made.input);
    RecordOutput output;
    output.size = made.size;
    const bool inImages = made.path.parent_path() == layout.imageFolder();
    const int number = FileNumber(made.path);
    if (inImages && kind == InputKind::IconLibrary) {
      // A screen of the picture library: the icon of its number.
      output.sources.push_back({nameOf(made.input), number, false});
      output.rotation = rotations.pictureLibrary;
      output.replaced = replacedFor(report, InputKind::Picture, number, true);
    } else {
      const InputRecord* input = nullptr;
      for (const InputRecord& r : report.inputs) {
        if (r.path == made.input) input = &r;
      }
      output.sources.push_back(
          {nameOf(made.input), -1, input != nullptr && input->fate == InputFate::Copied});
      if (inImages) output.rotation = rotations.pictures;
      if (inImages || kind == InputKind::IconLibrary) {
        output.replaced = replacedFor(report, kind, number, false);
      }
    }
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
    output.sources.push_back({nameOf(input.path), -1, false});
    output.rotation = rotations.pictures;
    output.replaced = replacedFor(report, InputKind::Picture, number, false);
    record.outputs[PackEntryKey(number)] = std::move(output);
  }
  return record;
}

bool WriteRunRecord(const RunResult& result, const fs::path& sourceFolder,
                    const RecordRotations& rotations, const fs::path& file, OutputWriter& out) {
  const Bytes json = RunRecordJson(BuildRunRecord(result, sourceFolder, rotations));
  return out.write(file, ByteView(json));
}

}  // namespace tessel
