#include "cli/JsonReport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "cli/OptionNames.h"
#include "config/SetupOverrides.h"
#include "util/Paths.h"

namespace tessel::cli {

namespace {

QString JsonText(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }
QString JsonPath(const std::filesystem::path& p) { return JsonText(PathToUtf8(p)); }

// The outcome as a token, and for a refusal the token of its reason.
const char* OutcomeName(RunOutcome outcome) {
  switch (outcome) {
    case RunOutcome::Completed: return "completed";
    case RunOutcome::SourceInvalid:
    case RunOutcome::NoPictures:
    case RunOutcome::PathsOverlap:
    case RunOutcome::NoOutputFolder:
    case RunOutcome::OutputRefused: return "refused";
    case RunOutcome::NotConfirmed: return "not_confirmed";
    case RunOutcome::Stopped: return "stopped";
    case RunOutcome::WriteFailed: return "write_failed";
  }
  return "";
}

const char* RefusalName(RunOutcome outcome) {
  switch (outcome) {
    case RunOutcome::SourceInvalid: return "source_not_found";
    case RunOutcome::NoPictures: return "no_pictures";
    case RunOutcome::PathsOverlap: return "paths_overlap";
    case RunOutcome::NoOutputFolder: return "no_output_folder";
    case RunOutcome::OutputRefused: return "output_refused";
    default: return nullptr;
  }
}

// The settings by the names and words of their options.
QJsonObject SettingsObject(const ConvertOptions& o) {
  using namespace option;
  const ConversionSettings& s = o.settings;
  const auto word = [](const OptionName& option, int index) {
    return option.choices.at(index);
  };
  QJsonObject settings;
  settings[kRotation.jsonKey] = word(kRotation, static_cast<int>(s.rotationChoice));
  settings[kFormat.jsonKey] = word(kFormat, static_cast<int>(s.pictureFormat));
  settings[kFont.jsonKey] = word(kFont, s.fontChoice);
  settings[kFontDisplay.jsonKey] = word(kFontDisplay, static_cast<int>(s.fontDisplay));
  settings[kCompression.jsonKey] = word(kCompression, static_cast<int>(s.compression));
  settings[kDeripple.jsonKey] = s.deRipple;
  settings[kPack.jsonKey] = !s.singlePictureFiles;
  settings[kJobs.jsonKey] = o.run.jobs;
  settings[kNoReuse.jsonKey] = o.run.reuse;
  return settings;
}

QJsonObject ParametersObject(const SetupValues& values) {
  // The names and values of --set, one per parameter.
  QJsonObject parameters;
  const QString described = JsonText(DescribeSetupValues(values));
  for (const QString& line : described.split('\n', Qt::SkipEmptyParts)) {
    const qsizetype eq = line.indexOf('=');
    if (eq > 0) parameters[line.left(eq)] = line.mid(eq + 1);
  }
  return parameters;
}

}  // namespace

const char* KindName(InputKind kind) {
  switch (kind) {
    case InputKind::Picture: return "picture";
    case InputKind::IconLibrary: return "icon_library";
    case InputKind::Sound: return "sound";
    case InputKind::Table: return "table";
    case InputKind::ConfigText: return "register_text";
    case InputKind::BlockConfig: return "block_file";
    case InputKind::Other: return "other";
  }
  return "";
}

const char* FateName(InputFate fate) {
  switch (fate) {
    case InputFate::Unhandled: return "unhandled";
    case InputFate::Converted: return "converted";
    case InputFate::Copied: return "copied";
    case InputFate::Read: return "read";
    case InputFate::Replaced: return "replaced";
    case InputFate::StoodIn: return "picture_library";
    case InputFate::Ignored: return "ignored";
    case InputFate::NotUsed: return "not_used";
    case InputFate::Skipped: return "skipped";
  }
  return "";
}

QByteArray ReportJson(const ConvertOptions& options, const RunResult& result,
                      const std::optional<SetupValues>& confirmed, int exitStatus) {
  const Report& r = result.report;
  QJsonObject doc;
  doc["schema"] = kReportSchema;
  doc["tessel"] = TESSEL_VERSION;
  doc["source"] = JsonPath(options.settings.sourceFolder);
  doc["output"] = JsonPath(result.outputRoot);
  doc["outcome"] = OutcomeName(result.outcome);
  const char* refusal = RefusalName(result.outcome);
  doc["reason"] = refusal ? QJsonValue(refusal) : QJsonValue();
  doc["exitStatus"] = exitStatus;
  // A refused run chose no branch.
  const bool branched = !refusal && !result.branchReason.empty();
  doc["branch"] = branched ? QJsonValue(result.branch == Branch::A ? "A" : "B") : QJsonValue();
  doc["branchReason"] = branched ? QJsonValue(JsonText(result.branchReason)) : QJsonValue();
  doc["settings"] = SettingsObject(options);
  doc["deviceParameters"] = confirmed ? QJsonValue(ParametersObject(*confirmed)) : QJsonValue();

  QJsonArray inputs;
  for (const InputRecord& input : r.inputs) {
    QJsonObject o;
    o["path"] = JsonPath(input.path);
    o["kind"] = KindName(input.kind);
    o["fate"] = FateName(input.fate);
    if (!input.reason.empty()) o["reason"] = JsonText(input.reason);
    QJsonArray outputs;
    for (const auto& out : input.outputs) outputs.append(JsonPath(out));
    o["outputs"] = outputs;
    inputs.append(o);
  }
  doc["inputs"] = inputs;

  QJsonArray outputs;
  for (const OutputRecord& output : r.outputs) {
    QJsonObject o;
    o["path"] = JsonPath(output.path.lexically_relative(result.outputRoot));
    o["size"] = static_cast<double>(output.size);
    if (!output.input.empty()) o["input"] = JsonPath(output.input);
    if (output.icons > 0) o["icons"] = output.icons;
    if (output.reused) o["reused"] = true;
    outputs.append(o);
  }
  doc["outputs"] = outputs;

  QJsonArray warnings;
  for (std::size_t i = 0; i < r.warnings.size(); ++i) {
    QJsonObject o;
    o["text"] = JsonText(r.warnings[i]);
    if (i < r.warningInputs.size() && !r.warningInputs[i].empty()) {
      o["input"] = JsonPath(r.warningInputs[i]);
    }
    warnings.append(o);
  }
  doc["warnings"] = warnings;
  QJsonArray notes;
  for (const std::string& note : r.notes) notes.append(JsonText(note));
  doc["notes"] = notes;
  QJsonArray failures;
  for (const auto& failed : r.writeFailures) failures.append(JsonPath(failed));
  doc["writeFailures"] = failures;
  doc["fontMissing"] = r.fontMissing;

  const RunTotals& t = result.totals;
  QJsonObject totals;
  totals["picturesFound"] = t.picturesFound;
  totals["picturesConverted"] = t.picturesConverted;
  totals["screensFromLibrary"] = t.screensFromLibrary;
  totals["picturesReplacedByLibrary"] = t.picturesReplacedByLibrary;
  totals["librariesFound"] = t.librariesFound;
  totals["librariesConverted"] = t.librariesConverted;
  totals["iconsConverted"] = t.iconsConverted;
  totals["filesWritten"] = t.filesWritten;
  totals["filesCopied"] = t.filesCopied;
  totals["reused"] = t.outputsReused;
  totals["inputsSkipped"] = t.inputsSkipped;
  totals["inputsReplaced"] = t.inputsReplaced;
  totals["inputsIgnored"] = t.inputsIgnored;
  totals["inputsNotUsed"] = t.inputsNotUsed;
  totals["warnings"] = t.warnings;
  doc["totals"] = totals;
  return QJsonDocument(doc).toJson(QJsonDocument::Indented);
}

}  // namespace tessel::cli
