#include "model/RunRecord.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <string_view>

#include "util/FileIO.h"
#include "util/Paths.h"
#include "util/Text.h"

namespace tessel {

namespace {

constexpr int kMaxOutputs = 1 << 20;
constexpr int kMaxSourcesPerOutput = 4096;

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

namespace {

// A JSON text written as it goes: a record of many thousand outputs never
// stands as a tree of values in memory. Indented by four spaces, keys in
// the order the record keeps them (alphabetical, as a JSON object's are).
class JsonText {
 public:
  explicit JsonText(std::size_t expected) { text.reserve(expected); }
  Bytes text;

  void put(char c) { text.push_back(static_cast<std::uint8_t>(c)); }
  void put(std::string_view s) { text.insert(text.end(), s.begin(), s.end()); }

  void open(char bracket) {
    put(bracket);
    first_.push_back(true);
  }
  void close(char bracket) {
    const bool empty = first_.back();
    first_.pop_back();
    put('\n');
    if (!empty) text.insert(text.end(), 4 * first_.size(), ' ');
    put(bracket);
  }
  // The next member of the object open now ("key": ), or the next element
  // of the array open now (no key).
  void next() {
    if (!first_.back()) put(',');
    first_.back() = false;
    put('\n');
    text.insert(text.end(), 4 * first_.size(), ' ');
  }
  void next(const std::string& key) {
    next();
    string(key);
    put(": ");
  }
  void string(const std::string& value) {
    // As UTF-8: a byte that is not becomes U+FFFD, as a text read back would.
    const QByteArray utf8 = QString::fromStdString(value).toUtf8();
    put('"');
    for (const char c : utf8) {
      const auto u = static_cast<unsigned char>(c);
      if (c == '"' || c == '\\') {
        put('\\');
        put(c);
      } else if (u < 0x20) {
        static const char kHex[] = "0123456789abcdef";
        put("\\u00");
        put(kHex[u >> 4]);
        put(kHex[u & 15]);
      } else {
        put(c);
      }
    }
    put('"');
  }
  void number(std::int64_t value) { put(std::to_string(value)); }
  void member(const char* key, const std::string& value) { next(key), string(value); }
  void member(const char* key, std::int64_t value) { next(key), number(value); }

 private:
  std::vector<bool> first_;  // per open object or array: nothing in it yet
};

}  // namespace

Bytes RunRecordJson(const RunRecord& record) {
  // Some 450 to 600 bytes an output: the text is mostly made at its size.
  JsonText j(1024 + record.outputs.size() * 640);
  j.open('{');
  j.member("branch", record.branch);
  j.member("format", std::string("tessel-run"));
  j.next("outputs");
  j.open('{');
  for (const auto& [name, output] : record.outputs) {
    j.next(name);
    j.open('{');
    if (!output.hash.empty()) j.member("hash", output.hash);
    if (output.width > 0) j.member("height", output.height);
    if (!output.replaced.empty()) {
      j.next("replaced");
      j.open('[');
      for (const std::string& r : output.replaced) j.next(), j.string(r);
      j.close(']');
    }
    j.member("rotation", output.rotation);
    if (!output.hash.empty()) j.member("settings", output.settings);
    j.member("size", static_cast<std::int64_t>(output.size));
    j.next("sources");
    j.open('[');
    for (const RecordSource& s : output.sources) {
      j.next();
      j.open('{');
      if (!s.hash.empty()) j.member("bytes", static_cast<std::int64_t>(s.size));
      if (s.copied) j.next("copied"), j.put("true");
      j.member("file", s.file);
      if (!s.hash.empty()) j.member("hash", s.hash);
      if (s.icon >= 0) j.member("icon", s.icon);
      j.close('}');
    }
    j.close(']');
    if (output.width > 0) j.member("width", output.width);
    j.close('}');
  }
  j.close('}');
  j.member("program", record.program);
  j.member("source", record.source);
  j.member("version", record.version);
  j.close('}');
  j.put('\n');
  return std::move(j.text);
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
