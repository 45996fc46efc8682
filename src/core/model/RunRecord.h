#pragma once
// The run record: a small JSON file beside private/ in the output root
// (never inside it: private/ goes to the card) that says where each output
// came from. The run writes it when it finishes; inspect and the preview read
// it. One object per output, keyed by its path relative to private/ (a
// picture pack entry as "bin/image.bin#N"; the pack's two files are outputs
// with no source of their own, for their size and hash), so that later
// versions can add fields per output without changing the shape.
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "util/Bytes.h"

namespace tessel {

inline constexpr const char* kRunRecordFileName = ".tessel-run.json";
// Version 2 adds what a later run needs to reuse an output: the sources'
// sizes and content hashes, the settings that made it, the program's version
// and the output's own hash. A version-1 record reads, and reuses nothing.
inline constexpr int kRunRecordVersion = 2;
// The largest record read back; a record is a few hundred bytes per output.
inline constexpr std::uint64_t kMaxRunRecordBytes = std::uint64_t(64) << 20;

// One source of an output: a file of the source folder, or an icon of a
// library there (the picture library's screens).
struct RecordSource {
  std::string file;  // its name in the source folder: "12_status.bmp", "32_screen.icl"
  int icon = -1;     // the icon's id in that library, -1 for a whole file
  bool copied = false;  // copied byte for byte (config.txt, sounds, tables)
  std::uint64_t size = 0;  // the source file's bytes, when `hash` is set
  std::string hash;        // its content hash (ContentHash), empty when not known
};

struct RecordOutput {
  std::vector<RecordSource> sources;
  std::vector<std::string> replaced;  // source files that the same number replaced
  int rotation = 0;                   // rotation code the run turned it by
  std::uint64_t size = 0;             // bytes (a pack entry: its block)
  // For reuse: every setting that changes the output's bytes, and the
  // output's content hash; empty when not known (the output is never reused).
  std::string settings;
  std::string hash;
  int width = 0, height = 0;  // a picture's size after rotation, when known
};

struct RunRecord {
  int version = kRunRecordVersion;
  std::string source;  // the source folder, as the run was given it (UTF-8)
  std::string branch;  // "A" or "B"
  std::string program;  // the version of the program that wrote it
  std::map<std::string, RecordOutput> outputs;

  const RecordOutput* find(const std::string& output) const;
};

// The pack entry's key: "bin/image.bin#N".
std::string PackEntryKey(int number);

Bytes RunRecordJson(const RunRecord& record);
// Strict: the whole text must be the record's shape; nothing, with the
// reason in `error`, otherwise. Never reads more than kMaxRunRecordBytes.
std::optional<RunRecord> ParseRunRecord(ByteView json, std::string& error);
// The record in `outputRoot`, or nothing (no file: empty `error`).
std::optional<RunRecord> ReadRunRecord(const std::filesystem::path& outputRoot, std::string& error);

}  // namespace tessel
