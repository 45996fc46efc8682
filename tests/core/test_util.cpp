// File writing with failure reporting, folder deletion, path containment and
// the ordered pool.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "support/TestSupport.h"
#include "model/OutputWriter.h"
#include "util/FileIO.h"
#include "util/OrderedPool.h"
#include "util/Paths.h"
#include "model/Report.h"

namespace tessel {
namespace {

using test::TempDir;

TEST(FileIO, WriteReadAndCopy) {
  TempDir dir;
  const Bytes a{1, 2, 3}, b{4, 5};
  ASSERT_TRUE(writeFile(dir / "f.bin", {ByteView(a), ByteView(b)}));
  EXPECT_EQ(test::readBytes(dir / "f.bin"), (Bytes{1, 2, 3, 4, 5}));
  EXPECT_EQ(*readFile(dir / "f.bin"), (Bytes{1, 2, 3, 4, 5}));
  EXPECT_EQ(*readFile(dir / "f.bin", 2, true), (Bytes{1, 2}));  // the head only
  EXPECT_EQ(*readFile(dir / "f.bin", 64, true), (Bytes{1, 2, 3, 4, 5}));
  EXPECT_FALSE(readFile(dir / "f.bin", 4).has_value());  // over the limit
  // A kept buffer grows for a larger file and is not shrunk for a smaller one.
  Bytes buffer(100, 9);
  const auto view = readFileInto(dir / "f.bin", buffer, 64);
  ASSERT_TRUE(view);
  EXPECT_EQ(Bytes(view->begin(), view->end()), (Bytes{1, 2, 3, 4, 5}));
  EXPECT_EQ(buffer.size(), 100u);
  EXPECT_FALSE(readFile(dir.path()).has_value());        // a folder
  ASSERT_TRUE(copyFile(dir / "f.bin", dir / "g.bin"));
  EXPECT_EQ(test::readBytes(dir / "g.bin"), test::readBytes(dir / "f.bin"));
  // A longer file is truncated, not appended to.
  ASSERT_TRUE(writeFile(dir / "g.bin", {ByteView(b)}));
  EXPECT_EQ(test::readBytes(dir / "g.bin"), b);
}

TEST(FileIO, FailedWriteLeavesNoFileAndIsReported) {
  TempDir dir;
  const Bytes data(1000, 7);
  const test::FailingWrites faults("bad.bin");
  Report report;
  OutputWriter out(report, &faults);
  // A replacement that fails leaves the earlier file as it was.
  ASSERT_TRUE(writeFile(dir / "bad.bin", {ByteView(Bytes(10, 1))}));
  ASSERT_TRUE(out.write(dir / "good.bin", ByteView(data)));
  EXPECT_FALSE(out.write(dir / "bad.bin", ByteView(data)));
  EXPECT_EQ(test::readBytes(dir / "bad.bin"), Bytes(10, 1));
  EXPECT_EQ(test::listTree(dir.path()), (std::vector<std::string>{"bad.bin", "good.bin"}));
  ASSERT_EQ(report.writeFailures.size(), 1u);
  EXPECT_EQ(report.writeFailures[0], dir / "bad.bin");
  EXPECT_EQ(report.warnings.size(), 1u);
  // After a failure the writer writes nothing more.
  EXPECT_TRUE(out.halted());
  EXPECT_FALSE(out.write(dir / "later.bin", ByteView(data)));
  EXPECT_FALSE(fs::exists(dir / "later.bin"));
  EXPECT_EQ(report.filesWritten, 1);
}

TEST(FileIO, LargeCopiesStreamAndFailCleanly) {
  TempDir dir;
  Bytes big(3 * 1024 * 1024 + 123);
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<std::uint8_t>(i * 7 + (i >> 12));
  test::writeBytes(dir / "big.bin", big);
  ASSERT_TRUE(copyFile(dir / "big.bin", dir / "copy.bin"));
  EXPECT_EQ(test::readBytes(dir / "copy.bin"), big);
  // The disk fills up after the first block: no cut copy is left.
  const test::FailingWrites faults("", 1);
  Report report;
  OutputWriter out(report, &faults);
  EXPECT_FALSE(out.copy(dir / "big.bin", dir / "cut.bin"));
  EXPECT_FALSE(fs::exists(dir / "cut.bin"));
  EXPECT_EQ(report.writeFailures.size(), 1u);
}

TEST(FileIO, CopyOfMissingSourceIsQuiet) {
  TempDir dir;
  Report report;
  OutputWriter out(report);
  EXPECT_FALSE(out.copy(dir / "missing", dir / "x"));
  EXPECT_FALSE(out.copy(fs::path(), dir / "x"));
  test::writeText(dir / "src", "s");
  EXPECT_FALSE(out.copy(dir / "src", dir / "no-folder" / "x"));
  EXPECT_TRUE(report.warnings.empty());
  EXPECT_TRUE(report.writeFailures.empty());
}

#ifndef _WIN32
TEST(Paths, DeleteFolderTreeNeverFollowsLinks) {
  TempDir dir;
  const fs::path outside = dir / "outside";
  test::writeText(outside / "keep.txt", "precious");
  const fs::path priv = dir / "private";
  test::writeText(priv / "a" / "b.txt", "old");
  fs::create_directory_symlink(outside, priv / "link-to-outside");
  fs::create_symlink(outside / "keep.txt", priv / "a" / "file-link");
  EXPECT_TRUE(deleteFolderTree(priv));
  EXPECT_FALSE(fs::exists(fs::symlink_status(priv)));
  EXPECT_EQ(test::readText(outside / "keep.txt"), "precious");
  EXPECT_FALSE(deleteFolderTree(priv));  // gone already

  // The folder itself a link: the link goes, the target stays.
  fs::create_directory_symlink(outside, priv);
  EXPECT_TRUE(deleteFolderTree(priv));
  EXPECT_EQ(test::readText(outside / "keep.txt"), "precious");
}
#endif

TEST(Paths, DeleteFolderTreeHasNoPathLengthLimit) {
  TempDir dir;
  fs::path deep = dir / "private";
  for (int i = 0; i < 12; ++i) deep /= std::string(30, static_cast<char>('a' + i));
  test::writeText(deep / "f.txt", "x");
  ASSERT_GT(pathToUtf8(deep).size(), 300u);
  EXPECT_TRUE(deleteFolderTree(dir / "private"));
  EXPECT_FALSE(fs::exists(dir / "private"));
}

TEST(Paths, Inside) {
  TempDir dir;
  fs::create_directories(dir / "a" / "b");
  EXPECT_TRUE(pathIsInside(dir / "a" / "b", dir / "a"));
  EXPECT_TRUE(pathIsInside(dir / "a", dir / "a"));
  EXPECT_TRUE(pathIsInside(dir / "a" / "b" / ".." / "b", dir / "a/"));
  EXPECT_TRUE(pathIsInside(dir / "a" / "new" / "x", dir / "a"));  // not yet existing
  EXPECT_FALSE(pathIsInside(dir / "a", dir / "a" / "b"));
  EXPECT_FALSE(pathIsInside(dir / "ab", dir / "a"));
}

TEST(Paths, Utf8RoundTrip) {
  const std::string name = "拷贝private到SD卡根目录.txt";
  EXPECT_EQ(pathToUtf8(pathFromUtf8(name)), name);
  EXPECT_EQ(toQString(pathFromUtf8(name)), QString::fromUtf8(name.c_str()));
  EXPECT_EQ(pathToUtf8(toPath(QString::fromUtf8("数码管.ttf"))), "数码管.ttf");
}

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
      forEachOrdered<std::vector<int>>(
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
  EXPECT_THROW(forEachOrdered<int>(
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
