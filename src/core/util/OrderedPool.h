#pragma once
// Runs independent work items on a few threads and hands their results to a
// consumer on the calling thread in item order, so that what the consumer
// writes does not depend on the number of threads. At most `window` results
// are in flight at once, which bounds memory.
#include <algorithm>
#include <condition_variable>
#include <exception>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace tessel {

template <typename Result>
void ForEachOrdered(int count, int jobs, const std::function<Result(int)>& produce,
                    const std::function<void(int, Result&&)>& consume, int window = 0) {
  if (count <= 0) return;
  jobs = std::clamp(jobs, 1, count);
  if (jobs == 1) {
    for (int i = 0; i < count; ++i) consume(i, produce(i));
    return;
  }
  if (window <= 0) window = 2 * jobs;

  std::mutex mutex;
  std::condition_variable changed;
  std::map<int, std::optional<Result>> done;  // finished, not yet consumed
  std::exception_ptr failure;
  int nextToStart = 0;
  int nextToConsume = 0;
  bool stop = false;

  auto worker = [&] {
    for (;;) {
      int item;
      {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] {
          return stop || nextToStart >= count || nextToStart < nextToConsume + window;
        });
        if (stop || nextToStart >= count) return;
        item = nextToStart++;
      }
      std::optional<Result> result;
      try {
        result.emplace(produce(item));
      } catch (...) {
        std::lock_guard lock(mutex);
        if (!failure) failure = std::current_exception();
        stop = true;
        changed.notify_all();
        return;
      }
      std::lock_guard lock(mutex);
      done[item] = std::move(result);
      changed.notify_all();
    }
  };

  std::vector<std::thread> threads;
  threads.reserve(static_cast<std::size_t>(jobs));
  for (int t = 0; t < jobs; ++t) {
    // The system may give fewer threads than asked (under a memory limit,
    // say): the work goes on with those it gave.
    try {
      threads.emplace_back(worker);
    } catch (const std::exception&) {
      break;
    }
  }
  if (threads.empty()) {
    for (int i = 0; i < count; ++i) consume(i, produce(i));
    return;
  }

  std::exception_ptr consumeFailure;
  while (nextToConsume < count) {
    std::optional<Result> ready;
    {
      std::unique_lock lock(mutex);
      changed.wait(lock, [&] { return stop || done.count(nextToConsume) > 0; });
      if (stop && done.count(nextToConsume) == 0) break;
      ready = std::move(done[nextToConsume]);
      done.erase(nextToConsume);
    }
    try {
      consume(nextToConsume, std::move(*ready));
    } catch (...) {
      consumeFailure = std::current_exception();
      std::lock_guard lock(mutex);
      stop = true;
      changed.notify_all();
      break;
    }
    std::lock_guard lock(mutex);
    ++nextToConsume;
    changed.notify_all();
  }
  for (auto& t : threads) t.join();
  if (consumeFailure) std::rethrow_exception(consumeFailure);
  if (failure) std::rethrow_exception(failure);
}

}  // namespace tessel
