#pragma once
// File access with error reporting. Every file the run writes goes through
// writeFile, which reports short writes and close errors and removes a
// partial file, so that no output looks complete when it is not.
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>

#include "util/Bytes.h"

namespace tessel {

namespace fs = std::filesystem;

// Writes the parts one after another into `path` (created or truncated).
// On failure the partial file is removed and `error` (when given) says why.
bool writeFile(const fs::path& path, std::initializer_list<ByteView> parts,
               std::string* error = nullptr);
inline bool writeFile(const fs::path& path, ByteView data, std::string* error = nullptr) {
  return writeFile(path, {data}, error);
}

// Reads a whole file. Returns nothing when it cannot be opened or read, or
// when it is larger than maxSize bytes.
std::optional<Bytes> readFile(const fs::path& path,
                              std::uint64_t maxSize = std::uint64_t(1) << 31);

// Reads at most `count` bytes from the start of a file. Nothing when the file
// cannot be opened.
std::optional<Bytes> readFileHead(const fs::path& path, std::size_t count);

// Byte copy of a regular file of any size, overwriting the target. A missing
// source is a quiet failure (returns false, `error` empty); a failed read or
// write removes the partial target and sets `error`.
bool copyFile(const fs::path& from, const fs::path& to, std::string* error = nullptr);

// Test hook: when set, writeFile asks it before each write; returning false
// makes that write fail as a full disk would. Not used by the program itself.
using WriteFaultInjector = std::function<bool(const fs::path&)>;
void setWriteFaultInjector(WriteFaultInjector injector);

}  // namespace tessel

namespace tessel {
struct Report;
// writeFile for outputs: counts the file in the report on success, records
// its path in report.writeFailures (with a warning) on failure.
bool writeOutput(Report& report, const fs::path& path, std::initializer_list<ByteView> parts);
inline bool writeOutput(Report& report, const fs::path& path, ByteView data) {
  return writeOutput(report, path, {data});
}
// copyFile for outputs: a missing source is quiet (false); a failed write is
// recorded like writeOutput's.
bool copyOutput(Report& report, const fs::path& from, const fs::path& to);
}  // namespace tessel
