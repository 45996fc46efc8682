// Files written whole or not at all: a failed write leaves no partial file
// and is reported, copies stream and fail cleanly, a missing source is quiet.
#include <gtest/gtest.h>

#include "model/OutputWriter.h"
#include "model/Report.h"
#include "support/TestSupport.h"
#include "util/FileIO.h"
#include "util/Paths.h"

namespace tessel {
namespace {

using test::TempDir;

TEST(FileIO, WriteReadAndCopy) {
  TempDir dir;
  const Bytes a{1, 2, 3}, b{4, 5};
  ASSERT_TRUE(WriteFile(dir / "f.bin", {ByteView(a), ByteView(b)}));
  EXPECT_EQ(test::readBytes(dir / "f.bin"), (Bytes{1, 2, 3, 4, 5}));
  EXPECT_EQ(*ReadFile(dir / "f.bin"), (Bytes{1, 2, 3, 4, 5}));
  EXPECT_EQ(*ReadFile(dir / "f.bin", 2, true), (Bytes{1, 2}));  // the head only
  EXPECT_EQ(*ReadFile(dir / "f.bin", 64, true), (Bytes{1, 2, 3, 4, 5}));
  EXPECT_FALSE(ReadFile(dir / "f.bin", 4).has_value());  // over the limit
  // A kept buffer grows for a larger file and is not shrunk for a smaller one.
  Bytes buffer(100, 9);
  const auto view = ReadFileInto(dir / "f.bin", buffer, 64);
  ASSERT_TRUE(view);
  EXPECT_EQ(Bytes(view->begin(), view->end()), (Bytes{1, 2, 3, 4, 5}));
  EXPECT_EQ(buffer.size(), 100u);
  EXPECT_FALSE(ReadFile(dir.path()).has_value());        // a folder
  ASSERT_TRUE(CopyFileTo(dir / "f.bin", dir / "g.bin"));
  EXPECT_EQ(test::readBytes(dir / "g.bin"), test::readBytes(dir / "f.bin"));
  // A longer file is truncated, not appended to.
  ASSERT_TRUE(WriteFile(dir / "g.bin", {ByteView(b)}));
  EXPECT_EQ(test::readBytes(dir / "g.bin"), b);
}

TEST(FileIO, FailedWriteLeavesNoFileAndIsReported) {
  TempDir dir;
  const Bytes data(1000, 7);
  const test::FailingWrites faults("bad.bin");
  Report report;
  OutputWriter out(report, &faults);
  // A replacement that fails leaves the earlier file as it was.
  ASSERT_TRUE(WriteFile(dir / "bad.bin", {ByteView(Bytes(10, 1))}));
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
  ASSERT_TRUE(CopyFileTo(dir / "big.bin", dir / "copy.bin"));
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

}  // namespace
}  // namespace tessel
