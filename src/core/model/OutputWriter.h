#pragma once
// The one writer of a run's outputs: every file a run writes goes through it.
#include <atomic>
#include <filesystem>
#include <initializer_list>
#include <string>

#include "model/Report.h"
#include "util/Bytes.h"
#include "util/FileIO.h"

namespace tessel {

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
