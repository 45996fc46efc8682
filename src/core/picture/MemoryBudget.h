#pragma once
// The one memory budget a run's workers take their pictures' and icon
// libraries' memory from (kMemoryBudget in PictureLimits.h), so that more
// workers do not multiply the peak. A worker waits for its share instead of
// failing; a share larger than the whole budget waits until it is alone.
#include <cstdint>

namespace tessel {

class MemoryShare {
 public:
  // Waits for `bytes` of the budget; with `alone`, until no other share is
  // held at all (a second try after running out of memory beside others).
  explicit MemoryShare(std::uint64_t bytes = 0, bool alone = false);
  ~MemoryShare();
  MemoryShare(const MemoryShare&) = delete;
  MemoryShare& operator=(const MemoryShare&) = delete;

  // Holds `bytes` from now on: what is held is given back first, so that a
  // worker never waits while it holds a share (no two wait on each other).
  void resize(std::uint64_t bytes);
  // Gives back what is held until the next resize (before another share is
  // taken on this thread: a worker holds one share at a time).
  void release();
  std::uint64_t bytes() const { return holding_ ? held_ : 0; }

  // Whether shares other than this one are held now.
  bool othersHold() const;

 private:
  std::uint64_t held_ = 0;
  bool holding_ = false;
  bool alone_ = false;
};

}  // namespace tessel
