#pragma once
// File access with error reporting. Every file a run writes goes through an
// OutputWriter, which reports short writes and close errors and removes a
// partial file, so that no output looks complete when it is not.
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>

#include "util/Bytes.h"
#include "util/Report.h"

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
bool writeFile(const fs::path& path, std::initializer_list<ByteView> parts,
               std::string* error = nullptr, const WriteFaults* faults = nullptr);

// Byte copy of a regular file of any size, overwriting the target. A missing
// source is a quiet failure (returns false, `error` empty); a failed read or
// write removes the partial target and sets `error`.
bool copyFile(const fs::path& from, const fs::path& to, std::string* error = nullptr,
              const WriteFaults* faults = nullptr);

// Reads a regular file into `buffer` (grown as needed, never shrunk) and
// gives the bytes read. A file larger than `limit` gives nothing, or with
// `truncate` its first `limit` bytes. Nothing when it cannot be read:
// `error` (when given) then holds the system's reason, where there is one.
std::optional<ByteView> readFileInto(const fs::path& path, Bytes& buffer, std::uint64_t limit,
                                     bool truncate = false, std::string* error = nullptr);

// The same into a buffer of the bytes read.
std::optional<Bytes> readFile(const fs::path& path, std::uint64_t limit = std::uint64_t(1) << 31,
                              bool truncate = false, std::string* error = nullptr);

// The one writer of a run's outputs: counts every file written in the
// report, records a failed write there (its path and a warning) and leaves no
// partial file.
class OutputWriter {
 public:
  // `stop` (set from any thread) ends the writing between two files, and a
  // copy between two blocks.
  explicit OutputWriter(Report& report, const WriteFaults* faults = nullptr,
                        const std::atomic<bool>* stop = nullptr)
      : report_(report), faults_(faults), stop_(stop) {}

  // Once a write has failed or the stop flag is set, nothing more is
  // written: every later write and copy returns false and records nothing.
  bool write(const fs::path& path, std::initializer_list<ByteView> parts);
  bool write(const fs::path& path, ByteView data) { return write(path, {data}); }
  // A missing source or a missing target folder is a quiet failure (false,
  // nothing recorded); a failed read or write is recorded like write's.
  bool copy(const fs::path& from, const fs::path& to);

  // True once a write failed or the stop flag was set (any thread may ask).
  bool halted() const { return failed_.load() || stopped(); }
  bool failed() const { return failed_.load(); }
  bool stopped() const { return stop_ && stop_->load(); }

  Report& report() { return report_; }
  void warn(std::string text, const fs::path& input = {}) {
    report_.warn(std::move(text), input);
  }

 private:
  void failed(const fs::path& path, std::string error);

  Report& report_;
  const WriteFaults* faults_;
  const std::atomic<bool>* stop_;
  std::atomic<bool> failed_{false};
};

}  // namespace tessel
