// What a run writes must not depend on how many threads encode: tessel-cli
// with -j 1 and -j 4 over projects where pictures and icon libraries share
// numbers (the later one in the listing wins, whichever finishes first), in
// every picture format and with the picture pack.
#include <gtest/gtest.h>

#include <map>

#include "support/TestSupport.h"
#include "util/Paths.h"

namespace tessel {
namespace {

using namespace build;
using test::TempDir;

// Every file below root with its bytes.
std::map<std::string, Bytes> snapshot(const fs::path& root) {
  std::map<std::string, Bytes> files;
  for (const std::string& rel : test::listTree(root)) {
    if (rel.back() != '/') files[rel] = test::readBytes(root / pathFromUtf8(rel));
  }
  return files;
}

struct ParallelOutputTest : ::testing::Test {
  TempDir dir;
  fs::path source = dir / "DWIN_SET";

  void SetUp() override {
    // Pictures of different sizes, so they take different times; 1.bmp and
    // 1.jpg share a number, as do 12.jpg and 12.bmp listed the other way.
    for (int i = 0; i < 16; ++i) {
      test::writePicture(source / (std::to_string(i) + (i % 3 ? ".bmp" : ".jpg")),
                         40 + 13 * (i % 5), 30 + 7 * (i % 4));
    }
    test::writePicture(source / "1.jpg", 64, 48);
    test::writePicture(source / "12.bmp", 31, 17);
    // Icon libraries: 5.icl and 5.ico share a number; 6.icl is large.
    std::vector<IclSlot> records;
    for (int k = 0; k < 3; ++k) records.push_back(iclSlot(splitAtScan(encode(test::patternImage(8 + k, 6), "JPG", 90))));
    test::writeBytes(source / "5.icl", ByteView(buildIcl(2, records)));
    Bytes raw = emptyRaw();
    addRawIcon(raw, 0, 3, 2, {0xF800, 0x07E0, 0x001F, 0xFFFF, 0x0000, 0x1234});
    addRawIcon(raw, 2, 1, 1, {0xABCD});
    test::writeBytes(source / "5.ico", ByteView(raw));
    std::vector<IclSlot> many;
    for (int k = 0; k < 40; ++k) many.push_back(iclSlot(splitAtScan(encode(test::patternImage(16 + k % 9, 12), "JPG", 90))));
    test::writeBytes(source / "6.icl", ByteView(buildIcl(39, many)));
  }

  // Converts with -j 1 and -j 4 and compares everything written.
  std::map<std::string, Bytes> convertBothWays(const std::vector<std::string>& extra) {
    std::map<std::string, Bytes> first;
    for (const char* jobs : {"1", "4"}) {
      const fs::path out = dir / (std::string("out") + jobs);
      std::vector<std::string> args = {"convert", pathToUtf8(source), "-o", pathToUtf8(out),
                                       "-y", "-q", "-j", jobs, "--resources", TESSEL_BIN_DIR};
      args.insert(args.end(), extra.begin(), extra.end());
      const test::CliRun run = test::runCli(args);
      EXPECT_EQ(run.status, 0) << run.err;
      std::map<std::string, Bytes> files = snapshot(out);
      if (first.empty()) first = files;
      else EXPECT_EQ(files, first) << "-j 4 against -j 1 with " << ::testing::PrintToString(extra);
    }
    return first;
  }
};

TEST_F(ParallelOutputTest, BranchBFilesAndPackAreTheSameForEveryJobCount) {
  test::writeText(source / "config.txt", "R1=07; 115200\nR2=00;\nR3=FF;\n");
  for (const char* format : {"zbmp", "jpeg", "jpeg-hq"}) {
    const auto files = convertBothWays({"--format", format});
    const std::string ext = std::string(format) == "zbmp" ? ".zbmp" : ".jpg";
    EXPECT_EQ(files.count("private/image/1" + ext), 1u);
    EXPECT_EQ(files.count("private/image/15" + ext), 1u);
    EXPECT_EQ(files.count("private/icon/5.zico"), 1u);
    EXPECT_EQ(files.count("private/icon/6.zico"), 1u);
  }
  for (const char* format : {"zbmp", "jpeg"}) {
    const auto files = convertBothWays({"--format", format, "--pack"});
    ASSERT_EQ(files.count("private/bin/image.bin"), 1u);
    EXPECT_EQ(files.at("private/bin/image.idx").size(), 16u * 16u);
    EXPECT_EQ(files.count("private/image/1.zbmp"), 0u);
  }
}

TEST_F(ParallelOutputTest, BranchAIsTheSameForEveryJobCount) {
  test::writeBytes(source / "13.bin", ByteView(Bytes(64, 0x13)));
  test::writeBytes(source / "14.bin", ByteView(Bytes(64, 0x14)));
  test::writeText(source / "config.txt", "R1=07; 115200\nR2=00;\nR3=FF;\n");
  for (const char* rotation : {"none", "90"}) {
    const auto files = convertBothWays({"--format", "zbmp", "--rotation", rotation});
    EXPECT_EQ(files.count("private/bin/14.bin"), 1u);
    EXPECT_EQ(files.count("private/image/12.zbmp"), 1u);
    EXPECT_EQ(files.count("private/icon/5.zico"), 1u);
  }
  convertBothWays({"--format", "zbmp", "--deripple"});
}

}  // namespace
}  // namespace tessel
