#pragma once
// File access with error reporting: short writes and close errors are
// reported and a partial file is removed, so that no file looks complete
// when it is not. A run writes through model/OutputWriter, which records
// each write in its report.
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>

#include "util/Bytes.h"

namespace tessel {

namespace fs = std::filesystem;

// Decides which writes fail as on a full disk. Tests pass one in; the
// program never does.
class WriteFaults {
 public:
  virtual ~WriteFaults() = default;
  // True when the next write of a part to `path` is to fail.
  virtual bool fails(const fs::path& path) const = 0;
};

// Writes the parts one after another into a new file beside `path`, which
// takes the place of whatever stood at `path` only once it is complete: on
// failure the earlier file (if any) stays, the partial one is removed and
// `error` (when given) says why.
bool WriteFile(const fs::path& path, std::initializer_list<ByteView> parts,
               std::string* error = nullptr, const WriteFaults* faults = nullptr);

// Byte copy of a regular file of any size, overwriting the target. A missing
// source is a quiet failure (returns false, `error` empty); a failed read or
// write removes the partial target and sets `error`.
bool CopyFileTo(const fs::path& from, const fs::path& to, std::string* error = nullptr,
              const WriteFaults* faults = nullptr);

// Reads a regular file into `buffer` (grown as needed, never shrunk) and
// gives the bytes read. A file larger than `limit` gives nothing, or with
// `truncate` its first `limit` bytes. Nothing when it cannot be read:
// `error` (when given) then holds the system's reason, where there is one.
std::optional<ByteView> ReadFileInto(const fs::path& path, Bytes& buffer, std::uint64_t limit,
                                     bool truncate = false, std::string* error = nullptr);

// The same into a buffer of the bytes read.
std::optional<Bytes> ReadFile(const fs::path& path, std::uint64_t limit = std::uint64_t(1) << 31,
                              bool truncate = false, std::string* error = nullptr);

// WriteFile that also gives the bytes written (`size`, when given).
bool WriteParts(const fs::path& path, std::initializer_list<ByteView> parts, std::string* error,
                const WriteFaults* faults, std::uint64_t* size);

// How a copy ended, for a caller that records each kind apart.
enum class CopyResult { Done, NoSource, ReadFailed, WriteFailed };

// CopyFileTo that says how it ended and gives the bytes written (`size`, when
// given); `stop` (set from any thread) ends it between two blocks.
CopyResult CopyInto(const fs::path& from, const fs::path& to, std::string* error,
                    const WriteFaults* faults, std::uint64_t* size,
                    const std::atomic<bool>* stop = nullptr);

}  // namespace tessel
