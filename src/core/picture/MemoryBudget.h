#pragma once
// The memory budget a run's (or an inspection's) workers take their
// pictures' and icon libraries' memory from (Limits::bytesInFlight), so that
// more workers do not multiply the peak. A worker waits for its share instead
// of failing; a share larger than the whole budget waits until it is alone.
// The run owns the budget and hands it to its workers with its limits
// (WorkLimits); nothing is shared between two runs.
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "model/Limits.h"

namespace tessel {

// What one decoded pixel costs on its way: 32 bits decoded, 32 bits turned or
// converted, 16 bits of rows, and the encoder's output.
constexpr std::uint64_t kBytesPerPixelInFlight = 10;

class MemoryBudget {
 public:
  explicit MemoryBudget(std::uint64_t bytes) : bytes_(bytes) {}
  MemoryBudget(const MemoryBudget&) = delete;
  MemoryBudget& operator=(const MemoryBudget&) = delete;

  // The most shares held at once so far, and the most bytes.
  int peakShares();
  std::uint64_t peakBytes();

 private:
  friend class MemoryShare;
  void take(std::uint64_t bytes, bool alone);
  void give(std::uint64_t bytes);
  int holders();

  const std::uint64_t bytes_;
  std::mutex mutex_;
  std::condition_variable freed_;
  std::uint64_t used_ = 0;
  int holders_ = 0;
  std::uint64_t peakBytes_ = 0;
  int peakShares_ = 0;
};

class MemoryShare {
 public:
  // Waits for `bytes` of `budget`; with `alone`, until no other share is
  // held at all (a second try after running out of memory beside others).
  explicit MemoryShare(MemoryBudget& budget, std::uint64_t bytes = 0, bool alone = false);
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
  MemoryBudget& budget_;
  std::uint64_t held_ = 0;
  bool holding_ = false;
  bool alone_ = false;
};

// What a run or an inspection hands its workers: the limits they work within
// and the one memory budget they share.
class WorkLimits {
 public:
  explicit WorkLimits(const Limits& limits = {}) : limits_(limits), budget_(limits.bytesInFlight) {}
  WorkLimits(const WorkLimits&) = delete;
  WorkLimits& operator=(const WorkLimits&) = delete;

  const Limits& limits() const { return limits_; }
  MemoryBudget& budget() const { return budget_; }

 private:
  const Limits limits_;
  mutable MemoryBudget budget_;
};

}  // namespace tessel
