// The limits a run and an inspection work within, given small so that small
// files pass them: what passes a limit is skipped with the fault that names
// it, what stays within it is taken, and the workers share one budget.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "icon/IconBuild.h"
#include "inspect/Inspection.h"
#include "picture/MemoryBudget.h"
#include "picture/PictureIntegrity.h"
#include "picture/PicturePipeline.h"
#include "support/RunFixture.h"
#include "util/Paths.h"

namespace tessel {
namespace {

using namespace build;
using test::RunFixture;
using test::writeBytes;
using test::writePicture;

// Whether one of `lines` names `file` and gives the sentence of `fault`.
bool says(const std::vector<std::string>& lines, const std::string& file, const LimitFault& fault) {
  const std::string sentence = LimitSentence(fault);
  return !sentence.empty() && std::any_of(lines.begin(), lines.end(), [&](const std::string& l) {
    return l.find(file) != std::string::npos && l.find(sentence) != std::string::npos;
  });
}

// A JPEG whose one scan is repeated: `scans` scans in all.
Bytes jpegOfScans(int scans) {
  const Bytes jpeg = encode(test::patternImage(16, 16), "JPG");
  std::size_t sos = 2;
  while (!(jpeg[sos] == 0xFF && jpeg[sos + 1] == 0xDA)) ++sos;
  Bytes many(jpeg.begin(), jpeg.begin() + std::ptrdiff_t(sos));
  for (int i = 0; i < scans; ++i) {
    many.insert(many.end(), jpeg.begin() + std::ptrdiff_t(sos), jpeg.end() - 2);
  }
  many.insert(many.end(), {0xFF, 0xD9});
  return many;
}

// A run-length BMP of one colour, one run a row (`width` up to 255): 66 bytes
// of data for 16 rows.
Bytes rleBmp(int width, int height) {
  Bytes rows;
  for (int y = 0; y < height; ++y) rows.insert(rows.end(), {std::uint8_t(width), 1, 0, 0});
  rows.insert(rows.end(), {0, 1});
  return bmpFile({.width = width, .height = height, .bits = 8, .compression = 1,
                  .colorsUsed = 2, .gap = {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0}, .pixels = rows});
}

Limits smallPictures() {
  Limits limits;
  limits.pictureSide = 64;
  limits.decodedBytes = 48 * 48 * 4;
  limits.jpegScans = 3;
  limits.rlePixelsPerByte = 3;
  return limits;
}

using LimitedRun = RunFixture;

TEST_F(LimitedRun, PicturesPastALimitAreSkippedWithItsFault) {
  options.limits = smallPictures();
  writePicture(source / "1.bmp", 24, 16);
  writePicture(source / "2.bmp", 64, 1);   // a side at the limit
  writePicture(source / "3.bmp", 65, 2);   // a side past it
  writePicture(source / "4.bmp", 2, 65);
  writePicture(source / "5.bmp", 48, 48);  // decoded bytes at the limit
  writePicture(source / "6.bmp", 49, 48);  // past it
  writeBytes(source / "7.jpg", test::patternJpeg(40, 60));
  writeBytes(source / "8.jpg", jpegOfScans(4));
  writeBytes(source / "9.bmp", rleBmp(16, 16));   // 256 pixels in 66 bytes
  writeBytes(source / "10.bmp", rleBmp(8, 16));   // 128 pixels in 66 bytes
  const std::uint64_t decoded = 48 * 48 * 4;
  for (const bool single : {true, false}) {
    settings.singlePictureFiles = single;
    const RunResult r = run();
    ASSERT_EQ(r.outcome, RunOutcome::Completed);
    EXPECT_EQ(r.report.picturesWritten, 4);
    const auto& w = r.report.warnings;
    EXPECT_EQ(w.size(), 6u) << single << ::testing::PrintToString(w);
    EXPECT_TRUE(says(w, "3.bmp", {LimitKind::PictureSide, 65, 2, 0, 64})) << single;
    EXPECT_TRUE(says(w, "4.bmp", {LimitKind::PictureSide, 2, 65, 0, 64})) << single;
    EXPECT_TRUE(says(w, "6.bmp", {LimitKind::DecodedBytes, 49, 48, 0, decoded})) << single;
    EXPECT_TRUE(says(w, "7.jpg", {LimitKind::DecodedBytes, 40, 60, 0, decoded})) << single;
    EXPECT_TRUE(says(w, "8.jpg", {LimitKind::JpegScans, 0, 0, 0, 3})) << single;
    EXPECT_TRUE(says(w, "9.bmp", {LimitKind::RlePixels, 16, 16, 66, 3})) << single;
    if (single) {
      EXPECT_EQ(test::listTree(priv / "image"),
                (std::vector<std::string>{"1.zbmp", "10.zbmp", "2.zbmp", "5.zbmp"}));
    }
  }
  EXPECT_FALSE(ContentFault(jpegOfScans(3), options.limits));
}

TEST_F(LimitedRun, LibrariesPastALimitAreSkippedWithItsFault) {
  const Bytes small = iclLibrary({test::patternJpeg(4, 4), test::patternJpeg(4, 4)});
  const Bytes large = iclLibrary({test::patternJpeg(12, 12)});  // 288 bytes of RGB565
  const Bytes many = iclLibrary(std::vector<Bytes>(8, test::patternJpeg(8, 8)));
  writeBytes(source / "30.icl", small);
  writeBytes(source / "31.icl", large);
  writeBytes(source / "32.icl", many);
  writeBytes(source / "33.ico", rawLibrary({icon(16, 1), icon(16, 2)}));  // 1024 bytes
  options.limits.iconLibraryBytes = std::max(small.size(), large.size());
  options.limits.iconPixelBytes = 200;
  ASSERT_GT(many.size(), options.limits.iconLibraryBytes);
  const RunResult r = run();
  ASSERT_EQ(r.outcome, RunOutcome::Completed);
  const auto& w = r.report.warnings;
  EXPECT_EQ(w.size(), 3u) << ::testing::PrintToString(w);
  const std::uint64_t bytes = options.limits.iconLibraryBytes;
  EXPECT_TRUE(says(w, "32.icl", {LimitKind::IconLibraryBytes, 0, 0, many.size(), bytes}));
  EXPECT_TRUE(says(w, "31.icl", {LimitKind::IconPixelBytes, 0, 0, 200, 200, true}));
  EXPECT_TRUE(says(w, "33.ico", {LimitKind::IconPixelBytes, 0, 0, 1024, 200}));
  EXPECT_EQ(test::listTree(priv / "icon"), (std::vector<std::string>{"30.zico"}));
}

TEST_F(LimitedRun, ABudgetSmallerThanAnyPictureStillConvertsEverythingOneAtATime) {
  test::fillProject(source, 4, false);
  options.jobs = 1;
  ASSERT_EQ(run().outcome, RunOutcome::Completed);
  const auto expected = test::treeSnapshot(priv);
  options.jobs = 4;
  options.limits.bytesInFlight = 1;
  options.reuse = false;
  ASSERT_EQ(run().outcome, RunOutcome::Completed);
  EXPECT_EQ(test::treeSnapshot(priv), expected);
}

// Workers handed one WorkLimits take their shares from one budget: with room
// for one picture, no two are decoded at once, whatever the threads.
// At the default limits, an input costs what its bytes make: a header that
// declares more is not believed.
TEST_F(LimitedRun, WorkFollowsTheFileNotTheHeader) {
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
  for (std::uint64_t i = 0; i <= Limits().jpegScans; ++i)
    many.insert(many.end(), jpeg.begin() + std::ptrdiff_t(sos), jpeg.end() - 2);
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

TEST(MemoryBudget, WorkersSharingABudgetHoldNoMoreThanItsRoom) {
  const Bytes picture = encode(test::patternImage(64, 64), "BMP");
  const std::uint64_t cost = 64 * 64 * kBytesPerPixelInFlight + picture.size();
  Limits limits;
  limits.bytesInFlight = cost;
  const WorkLimits work(limits);
  const PictureEncoding zbmp{PictureFormat::Zbmp, false};
  const Bytes alone = EncodePictureBytes(picture, zbmp, 0, PictureTarget::File, work).bytes;
  std::vector<std::thread> threads;
  std::vector<Bytes> out(4);
  for (std::size_t i = 0; i < out.size(); ++i) {
    threads.emplace_back([&, i] {
      for (int k = 0; k < 8; ++k) {
        out[i] = EncodePictureBytes(picture, zbmp, 0, PictureTarget::File, work).bytes;
      }
    });
  }
  for (std::thread& t : threads) t.join();
  for (const Bytes& bytes : out) EXPECT_EQ(bytes, alone);
  EXPECT_EQ(work.budget().peakShares(), 1);
  EXPECT_EQ(work.budget().peakBytes(), cost);

  // Room for two: two at once, never more bytes than the room.
  Limits roomy;
  roomy.bytesInFlight = 2 * cost;
  const WorkLimits two(roomy);
  {
    MemoryShare first(two.budget(), cost);
    std::thread([&] { MemoryShare second(two.budget(), cost); }).join();
  }
  EXPECT_EQ(two.budget().peakShares(), 2);
  EXPECT_EQ(two.budget().peakBytes(), 2 * cost);
}

// ---- the inspection ---------------------------------------------------------

using LimitedInspection = RunFixture;

TEST_F(LimitedInspection, FilesPastALimitAreFaultsThatNameIt) {
  writePicture(source / "1.bmp", 24, 16);
  writePicture(source / "3.bmp", 65, 2);
  writePicture(source / "6.bmp", 49, 48);
  const auto texts = [](const inspect::Inspection& i) {
    std::vector<std::string> out;
    for (const inspect::Problem& p : i.problems) {
      if (p.fault) out.push_back(p.text);
    }
    return out;
  };
  inspect::InspectOptions inspectOptions;
  inspectOptions.limits = smallPictures();
  const std::uint64_t decoded = 48 * 48 * 4;
  for (const bool single : {true, false}) {
    settings.singlePictureFiles = single;
    ASSERT_EQ(run().outcome, RunOutcome::Completed);
    // The fixture's font is no font: a fault whatever the limits.
    const std::size_t within = texts(inspect::InspectOutput(output)).size();
    const std::vector<std::string> faults =
        texts(inspect::InspectOutput(output, nullptr, inspectOptions));
    EXPECT_EQ(faults.size(), within + 2) << ::testing::PrintToString(faults);
    const std::string second = single ? "image/3.zbmp" : "entry 3";
    const std::string third = single ? "image/6.zbmp" : "entry 6";
    EXPECT_TRUE(says(faults, second, {LimitKind::PictureSide, 65, 2, 0, 64})) << single;
    EXPECT_TRUE(says(faults, third, {LimitKind::DecodedBytes, 49, 48, 0, decoded})) << single;
  }
  inspectOptions = {};
  inspectOptions.limits.inspectedTextBytes = 4;
  const std::uint64_t size = fs::file_size(priv / "config.txt");
  EXPECT_TRUE(says(texts(inspect::InspectOutput(output, nullptr, inspectOptions)), "config.txt",
                   {LimitKind::InspectedBytes, 0, 0, size, 4}));
}

// Counts what the inspection decodes.
struct CountImages : inspect::ImageSink {
  std::atomic<int> pictures{0}, icons{0};
  void picture(const inspect::PictureItem&, const QImage&) override { ++pictures; }
  void icon(const inspect::LibraryItem&, const inspect::IconItem&, const QImage&) override {
    ++icons;
  }
};

TEST_F(LimitedInspection, ABudgetSmallerThanAnyPictureStillDecodesEverything) {
  test::fillProject(source, 4, false);
  ASSERT_EQ(run().outcome, RunOutcome::Completed);
  CountImages all, tight;
  inspect::InspectOptions options;
  options.jobs = 4;
  const std::size_t problems = inspect::InspectOutput(output, &all, options).problems.size();
  options.limits.bytesInFlight = 1;
  EXPECT_EQ(inspect::InspectOutput(output, &tight, options).problems.size(), problems);
  EXPECT_GT(all.pictures, 4);
  EXPECT_GT(all.icons, 0);
  EXPECT_EQ(tight.pictures, all.pictures);
  EXPECT_EQ(tight.icons, all.icons);
}

}  // namespace
}  // namespace tessel
