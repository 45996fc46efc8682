// The one memory budget of a run: inputs made to take far more memory or
// time than their bytes justify are refused or wait their turn, whatever the
// number of workers, and a picture that does not fit is skipped.
#include <gtest/gtest.h>

#include <QProcess>
#include <chrono>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "icon/IconBuild.h"
#include "picture/PictureIntegrity.h"
#include "support/RunFixture.h"
#include "util/Paths.h"

// GCC names AddressSanitizer with __SANITIZE_ADDRESS__; clang with a feature.
#if defined(__SANITIZE_ADDRESS__)
#define TESSEL_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TESSEL_UNDER_ASAN 1
#endif
#endif

namespace tessel {
namespace {

using namespace build;
using test::readText;
using test::RunFixture;
using test::writeBytes;
using test::writeText;

// The largest resident size of any child this process has waited for, in KiB.
long childPeakKiB() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  return usage.ru_maxrss;
}

struct MemoryBudgetRun : RunFixture {
  void expectPeakOfOne(const Bytes& file, const std::vector<std::string>& names,
                       const std::string& last);
};

TEST_F(MemoryBudgetRun, OutOfMemorySkipsThePictureAndTheRunGoesOn) {
#if defined(TESSEL_UNDER_ASAN)
  GTEST_SKIP() << "AddressSanitizer keeps memory of its own: limits and peaks mean nothing here";
#endif
  writeBranchA();
  // 16000 x 8000 pixels of 24 bits: 384 MB of rows, sparse on disk.
  BmpShape huge;
  huge.width = 16000;
  huge.height = 8000;
  huge.pixels = Bytes();
  const Bytes header = bmpFile(huge);
  writeBytes(source / "3.bmp", ByteView(header));
  fs::resize_file(source / "3.bmp", header.size() + std::uint64_t(16000) * 3 * 8000);
  const test::CliRun r =
      test::runShell("ulimit -v 650000; exec " + cliCommand() + " -o " + test::shellQuoted(output));
  EXPECT_TRUE(r.status == 0 || r.status == 4) << r.status << r.err;
  EXPECT_TRUE(has("image/1.zbmp"));
}

TEST_F(MemoryBudgetRun, WorkFollowsTheFileNotTheHeader) {
  writeBranchA();
  // 154 bytes of run-length BMP declaring 65535 x 2048 pixels.
  Bytes rle = bmpFile({.width = 65535, .height = 2048, .bits = 8, .compression = 1,
                       .gap = Bytes(4 * 2, 0), .pixels = Bytes(154 - 62, 0)});
  ASSERT_EQ(rle.size(), 154u);
  writeBytes(source / "2.bmp", ByteView(rle));
  // An 8 x 8 picture in a 2 GiB file: only its rows are read.
  BmpShape eight;
  eight.width = 8;
  eight.height = 8;
  const Bytes small = bmpFile(eight);
  writeBytes(source / "3.bmp", ByteView(small));
  fs::resize_file(source / "3.bmp", std::uint64_t(2) << 30 | 1);
  // A JPEG of many scans: one scan of a progressive JPEG repeated.
  const Bytes jpeg = encode(test::patternImage(32, 32), "JPG");
  std::size_t sos = 2;
  while (!(jpeg[sos] == 0xFF && jpeg[sos + 1] == 0xDA)) ++sos;
  Bytes many(jpeg.begin(), jpeg.begin() + std::ptrdiff_t(sos));
  for (int i = 0; i <= kMaxJpegScans; ++i) many.insert(many.end(), jpeg.begin() + std::ptrdiff_t(sos), jpeg.end() - 2);
  many.insert(many.end(), {0xFF, 0xD9});
  writeBytes(source / "4.jpg", ByteView(many));
  const auto start = std::chrono::steady_clock::now();
  const RunResult r = run();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(input(r, "2.bmp")->fate, InputFate::Skipped);
  EXPECT_NE(input(r, "2.bmp")->reason.find("run-length"), std::string::npos);
  EXPECT_EQ(input(r, "4.jpg")->fate, InputFate::Skipped);
  EXPECT_NE(input(r, "4.jpg")->reason.find("scans"), std::string::npos);
  EXPECT_EQ(test::zbmpSize(priv / "image" / "3.zbmp"), std::make_pair(8, 8));
}

// A run-length BMP of one colour: 257 runs a row (about 1 MiB in all).
Bytes wideRle(std::int32_t width, std::int32_t height) {
  Bytes rows;
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t left = width; left > 0; left -= 255) {
      rows.push_back(std::uint8_t(std::min(left, 255)));
      rows.push_back(1);
    }
    rows.insert(rows.end(), {0, 0});
  }
  rows.insert(rows.end(), {0, 1});
  return bmpFile({.width = width, .height = height, .bits = 8, .compression = 1,
                  .colorsUsed = 2, .gap = {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0}, .pixels = rows});
}

// With -j 3, the source holding `file` as `names[0]`, then as every name:
// the peak stays near that of one, and the last one is converted to `last`.
void MemoryBudgetRun::expectPeakOfOne(const Bytes& file, const std::vector<std::string>& names,
                                const std::string& last) {
  writeBranchA();
  writeBytes(source / names[0], ByteView(file));
  const std::string convert = cliCommand() + " -j 3 -o " + test::shellQuoted(output);
  ASSERT_EQ(test::runShell(convert).status, 0);
  const long one = childPeakKiB();
  for (const std::string& name : names) writeBytes(source / name, ByteView(file));
  ASSERT_EQ(test::runShell(convert).status, 0);
  EXPECT_LT(childPeakKiB(), one * 3 / 2) << "one input: " << one << " KiB";
  EXPECT_TRUE(has(last));
}

TEST_F(MemoryBudgetRun, WorkersShareOneMemoryBudget) {
#if defined(TESSEL_UNDER_ASAN)
  GTEST_SKIP() << "AddressSanitizer keeps memory of its own: limits and peaks mean nothing here";
#endif
  expectPeakOfOne(wideRle(16384, 2048), {"2.bmp", "3.bmp", "4.bmp"}, "image/4.zbmp");
}

TEST_F(MemoryBudgetRun, IconsAreDecodedWithinTheOneMemoryBudget) {
#if defined(TESSEL_UNDER_ASAN)
  GTEST_SKIP() << "AddressSanitizer keeps memory of its own: limits and peaks mean nothing here";
#endif
  // A small library whose one icon decodes to 6000 x 6000 pixels.
  expectPeakOfOne(iclLibrary({test::solidJpeg(6000, 6000, Qt::gray)}),
                  {"40.icl", "41.icl", "42.icl"}, "icon/42.zico");
}

TEST_F(MemoryBudgetRun, UnderAMemoryLimitEveryJobCountConvertsTheSamePictures) {
#if defined(TESSEL_UNDER_ASAN)
  GTEST_SKIP() << "AddressSanitizer keeps memory of its own: limits and peaks mean nothing here";
#endif
  writeBranchA();
  // Four pictures of 3000 x 3000: one at a time fits in the limit, four at
  // once do not.
  const Bytes jpeg = test::patternJpeg(3000, 3000);
  for (int i = 2; i <= 5; ++i) writeBytes(source / (std::to_string(i) + ".jpg"), ByteView(jpeg));
  const std::string limited =
      "ulimit -v 300000; exec " + cliCommand() + " -o " + test::shellQuoted(output) + " -j ";
  const test::CliRun one = test::runShell(limited + "1");
  if (one.status != 0) GTEST_SKIP() << "one picture at a time does not fit here: " << one.err;
  const test::CliRun four = test::runShell(limited + "4");
  EXPECT_EQ(four.status, 0) << four.err;
  EXPECT_EQ(four.err, "");
  for (int i = 1; i <= 5; ++i) EXPECT_TRUE(has("image/" + std::to_string(i) + ".zbmp")) << i;
}

}  // namespace
}  // namespace tessel
