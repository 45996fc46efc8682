// The output lock: one run at a time in an output root, through a lock that
// never traps (a stale lock of an ended process is taken over).
#include <gtest/gtest.h>

#include <chrono>
#include <unistd.h>

#include "convert/OutputLock.h"
#include "support/TestSupport.h"
#include "util/Paths.h"
#include "util/Platform.h"

namespace tessel {
namespace {

using test::readText;
using test::lockOf;
using test::writeText;

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(OutputLockTest, ALockNeverTrapsAndEveryRefusalSaysWhatIsThere) {
  test::TempDir dir;
  const fs::path path = dir / ".tessel.lock";
  const std::string name = PathToUtf8(path);
  OutputLock lock;

  // Empty (a power cut right after it was made): stale.
  writeText(path, "");
  OutputLock::Attempt a = lock.acquire(path, false);
  EXPECT_TRUE(a.taken);
  EXPECT_TRUE(contains(a.note, "empty") && contains(a.note, name)) << a.note;
  // Held by a live run: refused, naming the process, the host and the file.
  OutputLock other;
  a = other.acquire(path, true);
  EXPECT_FALSE(a.taken);
  EXPECT_TRUE(contains(a.refusal, "process " + std::to_string(::getpid())) &&
              contains(a.refusal, MachineName()) && contains(a.refusal, name))
      << a.refusal;
  lock.release();
  EXPECT_FALSE(fs::exists(path));

  // Another machine's, five minutes old: it cannot be checked, so it holds
  // until taken over or an hour old.
  writeText(path, lockOf("far-away", 42, 5 * 60));
  a = lock.acquire(path, false);
  EXPECT_FALSE(a.taken);
  EXPECT_TRUE(a.mayTakeOver);
  EXPECT_TRUE(contains(a.refusal, "far-away") && contains(a.refusal, "5 min")) << a.refusal;
  EXPECT_TRUE(lock.acquire(path, true).taken);
  lock.release();
  writeText(path, lockOf("far-away", 42, 2 * 60 * 60));
  a = lock.acquire(path, false);
  EXPECT_TRUE(a.taken);
  EXPECT_TRUE(contains(a.note, "far-away") && contains(a.note, "120 min")) << a.note;
  lock.release();

  // A folder, a link or a FIFO at its path: refused at once, their kind named.
  const std::vector<std::pair<std::function<void()>, std::string>> obstacles = {
      {[&] { fs::create_directory(path); }, "a folder"},
      {[&] { fs::create_symlink(dir / "elsewhere", path); }, "a link"},
      {[&] { ::mkfifo(path.c_str(), 0600); }, "not a regular file"},
  };
  for (const auto& [make, kind] : obstacles) {
    make();
    a = lock.acquire(path, true);
    EXPECT_FALSE(a.taken) << kind;
    EXPECT_TRUE(contains(a.refusal, kind) && contains(a.refusal, name)) << a.refusal;
    fs::remove(path);
  }
}

}  // namespace
}  // namespace tessel
