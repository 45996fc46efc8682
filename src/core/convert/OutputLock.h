#pragma once
// One run at a time in an output root: a small lock file that names its
// holder (process, machine, program, start time). A lock never traps: what
// stands at its path is looked at without following a link or waiting, an
// empty or unreadable lock and one whose process has ended are stale, and a
// lock of another machine is stale after kForeignLockSeconds.
#include <cstdint>
#include <filesystem>
#include <string>

namespace tessel {

inline constexpr std::int64_t kForeignLockSeconds = 60 * 60;

class OutputLock {
 public:
  OutputLock() = default;
  ~OutputLock() { release(); }
  OutputLock(const OutputLock&) = delete;
  OutputLock& operator=(const OutputLock&) = delete;

  struct Attempt {
    bool taken = false;
    std::string refusal;   // why not, naming the lock file and its holder
    std::string note;      // a stale lock that was removed, and why it was stale
    bool mayTakeOver = false;  // held by a run that cannot be checked from here
    std::string holder;        // then: whose it is, for a question
  };

  // Takes the lock file `path`. With `takeOver`, a lock whose holder cannot
  // be checked (another machine's, within its age) is taken over too.
  Attempt acquire(const std::filesystem::path& path, bool takeOver);
  // Removes the lock file when this object holds it.
  void release();
  bool held() const { return held_; }

 private:
  std::filesystem::path path_;
  bool held_ = false;
};

}  // namespace tessel
