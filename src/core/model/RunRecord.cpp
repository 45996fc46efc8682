#include "model/RunRecord.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include "util/FileIO.h"
#include "util/Paths.h"
#include "util/Text.h"

namespace tessel {

namespace {

constexpr int kMaxOutputs = 1 << 20;
constexpr int kMaxSourcesPerOutput = 4096;

QString Q(const std::string& s) { return QString::fromStdString(s); }

bool IsWhole(const QJsonValue& v, double low, double high) {
  if (!v.isDouble()) return false;
  const double d = v.toDouble();
  return d >= low && d <= high && d == static_cast<double>(static_cast<std::int64_t>(d));
}

// A file of the source folder: a name, never a path (as this system spells
// paths: a backslash is a separator on Windows only).
bool PlainName(const QJsonValue& v) {
  if (!v.isString()) return false;
  const std::string name = v.toString().toStdString();
  const std::filesystem::path path = PathFromUtf8(name);
  return !name.empty() && name != "." && name != ".." && path.filename() == path &&
         !path.has_root_name();
}

}  // namespace

const RecordOutput* RunRecord::find(const std::string& output) const {
  const auto it = outputs.find(output);
  return it == outputs.end() ? nullptr : &it->second;
}

std::string PackEntryKey(int number) { return "bin/image.bin#" + std::to_string(number); }

Bytes RunRecordJson(const RunRecord& record) {
  QJsonObject outputs;
  for (const auto& [name, output] : record.outputs) {
    QJsonArray sources;
    for (const RecordSource& s : output.sources) {
      QJsonObject source{{"file", Q(s.file)}};
      if (s.icon >= 0) source["icon"] = s.icon;
      if (s.copied) source["copied"] = true;
      if (!s.hash.empty()) {
        source["bytes"] = static_cast<double>(s.size);
        source["hash"] = Q(s.hash);
      }
      sources.append(source);
    }
    QJsonObject o{{"sources", sources},
                  {"rotation", output.rotation},
                  {"size", static_cast<double>(output.size)}};
    if (!output.replaced.empty()) {
      QJsonArray replaced;
      for (const std::string& r : output.replaced) replaced.append(Q(r));
      o["replaced"] = replaced;
    }
    if (!output.hash.empty()) {
      o["settings"] = Q(output.settings);
      o["hash"] = Q(output.hash);
    }
    if (output.width > 0) {
      o["width"] = output.width;
      o["height"] = output.height;
    }
    outputs[Q(name)] = o;
  }
  const QJsonObject root{{"format", "tessel-run"},
                         {"version", record.version},
                         {"source", Q(record.source)},
                         {"branch", Q(record.branch)},
                         {"program", Q(record.program)},
                         {"outputs", outputs}};
  const QByteArray text = QJsonDocument(root).toJson(QJsonDocument::Indented);
  return Bytes(text.begin(), text.end());
}

std::optional<RunRecord> ParseRunRecord(ByteView json, std::string& error) {
  auto fail = [&](std::string why) -> std::optional<RunRecord> {
    error = std::move(why);
    return std::nullopt;
  };
  if (json.size() > kMaxRunRecordBytes) {
    return fail(trText("Record", "it is larger than %1 bytes").arg(kMaxRunRecordBytes));
  }
  QJsonParseError parsed;
  const QJsonDocument doc = QJsonDocument::fromJson(
      QByteArray::fromRawData(reinterpret_cast<const char*>(json.data()),
                              static_cast<qsizetype>(json.size())),
      &parsed);
  if (parsed.error != QJsonParseError::NoError) {
    return fail(trText("Record", "it is not JSON (%1 at byte %2)")
                    .arg(parsed.errorString())
                    .arg(parsed.offset));
  }
  const QJsonObject root = doc.object();
  if (!doc.isObject() || root.value("format").toString() != "tessel-run") {
    return fail(trText("Record", "it is not a run record"));
  }
  if (!IsWhole(root.value("version"), 1, 1 << 20)) {
    return fail(trText("Record", "it has no version"));
  }
  RunRecord record;
  record.version = root.value("version").toInt();
  record.source = root.value("source").toString().toStdString();
  record.branch = root.value("branch").toString().toStdString();
  record.program = root.value("program").toString().toStdString();
  const QJsonValue outputs = root.value("outputs");
  if (!outputs.isObject()) return fail(trText("Record", "it lists no outputs"));
  const QJsonObject list = outputs.toObject();
  if (list.size() > kMaxOutputs) {
    return fail(trText("Record", "it lists more than %1 outputs").arg(kMaxOutputs));
  }
  for (auto it = list.begin(); it != list.end(); ++it) {
    const std::string name = it.key().toStdString();
    const QJsonObject o = it.value().toObject();
    const QJsonValue sources = o.value("sources");
    if (!it.value().isObject() || !sources.isArray() || !IsWhole(o.value("rotation"), 0, 3) ||
        !IsWhole(o.value("size"), 0, 9007199254740992.0) ||
        sources.toArray().size() > kMaxSourcesPerOutput) {
      return fail(trText("Record", "its entry for %1 is not an output's").arg(name));
    }
    RecordOutput output;
    output.rotation = o.value("rotation").toInt();
    output.size = static_cast<std::uint64_t>(o.value("size").toDouble());
    output.settings = o.value("settings").toString().toStdString();
    output.hash = o.value("hash").toString().toStdString();
    if (IsWhole(o.value("width"), 1, 1 << 16) && IsWhole(o.value("height"), 1, 1 << 16)) {
      output.width = o.value("width").toInt();
      output.height = o.value("height").toInt();
    }
    for (const QJsonValue& v : sources.toArray()) {
      const QJsonObject s = v.toObject();
      if (!v.isObject() || !PlainName(s.value("file")) ||
          (s.contains("icon") && !IsWhole(s.value("icon"), 0, 65535)) ||
          (s.contains("bytes") && !IsWhole(s.value("bytes"), 0, 9007199254740992.0))) {
        return fail(trText("Record", "its entry for %1 names a source wrongly").arg(name));
      }
      output.sources.push_back({s.value("file").toString().toStdString(),
                                s.contains("icon") ? s.value("icon").toInt() : -1,
                                s.value("copied").toBool(),
                                static_cast<std::uint64_t>(s.value("bytes").toDouble()),
                                s.value("hash").toString().toStdString()});
    }
    const QJsonArray replaced = o.value("replaced").toArray();
    if (replaced.size() > kMaxSourcesPerOutput) {
      return fail(trText("Record", "its entry for %1 names a source wrongly").arg(name));
    }
    for (const QJsonValue& v : replaced) {
      if (!PlainName(v)) {
        return fail(trText("Record", "its entry for %1 names a source wrongly").arg(name));
      }
      output.replaced.push_back(v.toString().toStdString());
    }
    record.outputs.emplace(name, std::move(output));
  }
  return record;
}

std::optional<RunRecord> ReadRunRecord(const std::filesystem::path& outputRoot, std::string& error) {
  error.clear();
  const std::filesystem::path file = outputRoot / kRunRecordFileName;
  std::error_code ec;
  if (!std::filesystem::exists(std::filesystem::symlink_status(file, ec))) return std::nullopt;
  if (!std::filesystem::is_regular_file(file, ec)) {
    error = trText("Record", "it is not a regular file");
    return std::nullopt;
  }
  const std::optional<Bytes> bytes = ReadFile(file, kMaxRunRecordBytes + 1);
  if (!bytes) {
    error = trText("Record", "it cannot be read");
    return std::nullopt;
  }
  return ParseRunRecord(ByteView(*bytes), error);
}

}  // namespace tessel
