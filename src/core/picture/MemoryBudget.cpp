#include "picture/MemoryBudget.h"

#include <algorithm>

namespace tessel {

void MemoryBudget::take(std::uint64_t bytes, bool alone) {
  std::unique_lock lock(mutex_);
  freed_.wait(lock, [&] { return holders_ == 0 || (!alone && used_ + bytes <= bytes_); });
  used_ += bytes;
  ++holders_;
  peakBytes_ = std::max(peakBytes_, used_);
  peakShares_ = std::max(peakShares_, holders_);
}

void MemoryBudget::give(std::uint64_t bytes) {
  {
    std::lock_guard lock(mutex_);
    used_ -= bytes;
    --holders_;
  }
  freed_.notify_all();
}

int MemoryBudget::holders() {
  std::lock_guard lock(mutex_);
  return holders_;
}

int MemoryBudget::peakShares() {
  std::lock_guard lock(mutex_);
  return peakShares_;
}

std::uint64_t MemoryBudget::peakBytes() {
  std::lock_guard lock(mutex_);
  return peakBytes_;
}

MemoryShare::MemoryShare(MemoryBudget& budget, std::uint64_t bytes, bool alone)
    : budget_(budget), alone_(alone) {
  resize(bytes);
}

MemoryShare::~MemoryShare() {
  if (holding_) budget_.give(held_);
}

void MemoryShare::release() {
  if (holding_) budget_.give(held_);
  holding_ = false;
}

void MemoryShare::resize(std::uint64_t bytes) {
  release();
  budget_.take(bytes, alone_);
  held_ = bytes;
  holding_ = true;
}

bool MemoryShare::othersHold() const { return budget_.holders() > (holding_ ? 1 : 0); }

}  // namespace tessel
