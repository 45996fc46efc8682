#include "picture/MemoryBudget.h"

#include <condition_variable>
#include <mutex>

#include "picture/PictureLimits.h"

namespace tessel {

namespace {

class Budget {
 public:
  void take(std::uint64_t bytes, bool alone) {
    std::unique_lock lock(mutex_);
    freed_.wait(lock, [&] {
      return holders_ == 0 || (!alone && used_ + bytes <= kMemoryBudget);
    });
    used_ += bytes;
    ++holders_;
  }
  void give(std::uint64_t bytes) {
    {
      std::lock_guard lock(mutex_);
      used_ -= bytes;
      --holders_;
    }
    freed_.notify_all();
  }
  int holders() {
    std::lock_guard lock(mutex_);
    return holders_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable freed_;
  std::uint64_t used_ = 0;
  int holders_ = 0;
};

Budget& budget() {
  static Budget shared;
  return shared;
}

}  // namespace

MemoryShare::MemoryShare(std::uint64_t bytes, bool alone) : alone_(alone) { resize(bytes); }

MemoryShare::~MemoryShare() {
  if (holding_) budget().give(held_);
}

void MemoryShare::release() {
  if (holding_) budget().give(held_);
  holding_ = false;
}

void MemoryShare::resize(std::uint64_t bytes) {
  release();
  budget().take(bytes, alone_);
  held_ = bytes;
  holding_ = true;
}

bool MemoryShare::othersHold() const { return budget().holders() > (holding_ ? 1 : 0); }

}  // namespace tessel
