// The ordered pool: results in item order on the calling thread, within a
// bounded window, and exceptions reach the caller.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "support/TestSupport.h"
#include "util/OrderedPool.h"

namespace tessel {
namespace {

// Results reach the consumer in item order, on the calling thread (what lets
// a GUI update its progress bar from it), and the results waiting for a slow
// consumer never pass the window: memory stays bounded by the window, not by
// the number of items.
TEST(OrderedPool, InOrderOnTheCallerWithinTheWindow) {
  const std::thread::id caller = std::this_thread::get_id();
  for (int jobs : {1, 2, 4}) {
    for (int window : {1, 3, 8}) {
      std::atomic<int> produced{0}, consumed{0};
      std::atomic<bool> producedOnCaller{false};
      int mostAhead = 0;
      std::vector<int> order;
      ForEachOrdered<std::vector<int>>(
          60, jobs,
          [&](int i) {
            if (jobs > 1 && std::this_thread::get_id() == caller) producedOnCaller = true;
            ++produced;
            // Later items finish first now and then.
            std::this_thread::sleep_for(std::chrono::microseconds((60 - i) % 7 * 50));
            return std::vector<int>(16, i);
          },
          [&](int i, std::vector<int>&& v) {
            EXPECT_EQ(std::this_thread::get_id(), caller);
            mostAhead = std::max(mostAhead, produced.load() - consumed.load());
            std::this_thread::sleep_for(std::chrono::microseconds(200));  // a slow writer
            EXPECT_EQ(v.front(), i);
            order.push_back(i);
            ++consumed;
          },
          window);
      ASSERT_EQ(order.size(), 60u);
      for (int i = 0; i < 60; ++i) EXPECT_EQ(order[std::size_t(i)], i);
      EXPECT_FALSE(producedOnCaller);
      // Items started but not yet consumed (the one being consumed among
      // them): one thread works one item at a time, more within the window.
      EXPECT_LE(mostAhead, jobs == 1 ? 1 : window) << jobs << " jobs, window " << window;
    }
  }
}

TEST(OrderedPool, ExceptionsReachTheCaller) {
  EXPECT_THROW(ForEachOrdered<int>(
                   20, 3,
                   [](int i) {
                     if (i == 7) throw std::runtime_error("boom");
                     return i;
                   },
                   [](int, int&&) {}),
               std::runtime_error);
}

}  // namespace
}  // namespace tessel
