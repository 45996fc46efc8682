// Hostile and oversized inputs: pictures that declare sizes past the limits,
// truncated pictures, icon libraries too large to read whole, and garbage
// for the configuration readers. Each gets a clear outcome: converted, or
// skipped with a warning that says why.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "config/SourceConfig.h"
#include "icon/IconBuild.h"
#include "picture/PictureLoad.h"
#include "picture/PicturePack.h"
#include "support/RunFixture.h"
#include "test_icon_fixtures.h"
#include "util/Paths.h"

namespace tessel {
namespace {

using namespace icontest;
using test::RunFixture;
using test::TempDir;
using test::writeBytes;
using test::writePicture;

void appendLe(Bytes& b, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b.push_back(std::uint8_t(v >> (8 * i)));
}

// A 24-bit BMP that declares width x height but holds only 64 pixel bytes.
Bytes declaredBmp(std::int32_t width, std::int32_t height) {
  Bytes b = {'B', 'M'};
  appendLe(b, 54 + 64, 4);
  appendLe(b, 0, 4);
  appendLe(b, 54, 4);
  appendLe(b, 40, 4);
  appendLe(b, std::uint32_t(width), 4);
  appendLe(b, std::uint32_t(height), 4);
  appendLe(b, 1, 2);
  appendLe(b, 24, 2);
  for (int i = 0; i < 6; ++i) appendLe(b, 0, 4);
  b.resize(b.size() + 64, 0x5A);
  return b;
}

bool anyContains(const std::vector<std::string>& lines, const std::string& a,
                 const std::string& b) {
  return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) {
    return l.find(a) != std::string::npos && l.find(b) != std::string::npos;
  });
}

// ---- pictures ---------------------------------------------------------------

using HugePictureRun = RunFixture;

TEST_F(HugePictureRun, DeclaredSizesPastTheLimitsAreSkippedWithAWarning) {
  writePicture(source / "1.bmp", 24, 16);
  writeBytes(source / "2.bmp", declaredBmp(70000, 2));      // a side past 65535
  writeBytes(source / "3.bmp", declaredBmp(2, 65536));
  writeBytes(source / "4.bmp", declaredBmp(12000, 12000));  // 576 MB decoded
  // So large that the decoder announces no size at all: still skipped.
  writeBytes(source / "5.bmp", declaredBmp(20000, 20000));
  for (int single : {1, 0}) {
    settings.singlePictureFiles = single;
    const RunResult r = run();
    ASSERT_EQ(r.outcome, RunOutcome::Completed);
    EXPECT_EQ(r.report.picturesWritten, 1);
    EXPECT_TRUE(r.report.writeFailures.empty());
    const auto& w = r.report.warnings;
    EXPECT_TRUE(anyContains(w, "2.bmp", "70000 x 2 pixels, larger than 65535")) << single;
    EXPECT_TRUE(anyContains(w, "3.bmp", "2 x 65536 pixels, larger than 65535")) << single;
    EXPECT_TRUE(anyContains(w, "4.bmp", "more than 512 MiB")) << single;
    EXPECT_TRUE(anyContains(w, "5.bmp", "skipped picture")) << single;
    if (single) {
      EXPECT_EQ(test::listTree(priv / "image"), (std::vector<std::string>{"1.zbmp"}));
    } else {
      // Only picture 1 is in the pack: entries 0 (empty) and 1.
      EXPECT_EQ(fs::file_size(priv / "bin" / "image.idx"), 2 * kPackEntrySize);
    }
  }
}

TEST(TruncatedPictures, DecodeToTheirDeclaredSizeOrAreRefused) {
  const QImage image = test::patternImage(37, 23);
  QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
  const std::vector<Bytes> files = {test::encodeImage(image, "BMP"),
                                    test::encodeImage(image, "JPG", 85),
                                    test::encodeImage(grey, "JPG", 60),
                                    test::encodeImage(image.convertToFormat(QImage::Format_Indexed8), "BMP")};
  for (const Bytes& whole : files) {
    for (std::size_t cut = 0; cut < whole.size(); cut += std::max<std::size_t>(1, whole.size() / 40)) {
      const Bytes part(whole.begin(), whole.begin() + std::ptrdiff_t(cut));
      const LoadedPicture p = LoadPictureData(ByteView(part));
      if (p.ok()) {
        EXPECT_EQ(p.image.size(), QSize(37, 23)) << cut;
      } else {
        EXPECT_FALSE(p.error.empty()) << cut;
      }
    }
  }
}

// ---- icon libraries ---------------------------------------------------------

// A file of `size` bytes beginning with `head`; the rest is a hole that
// takes no disk space.
void writeSparse(const fs::path& path, const Bytes& head, std::uint64_t size) {
  writeBytes(path, ByteView(head));
  fs::resize_file(path, size);
}

TEST(IconLibraryLimits, OversizedIclAndT5uicAreSkippedWithTheirSize) {
  TempDir dir;
  const Bytes jpeg = solidJpeg(8, 8, QColor(10, 200, 30));
  Bytes t5 = emptyT5uic();
  addT5uicJpeg(t5, 0, jpeg);
  const std::vector<std::pair<IconLayout, Bytes>> libraries = {
      {IconLayout::Icl, buildIcl(0, {iclSlot(splitAtScan(jpeg))})}, {IconLayout::T5uic, t5}};
  for (const auto& [layout, head] : libraries) {
    const fs::path path = dir / "1.icl";
    IconLibraryJob job{path, layout, false, 0};
    writeBytes(path, ByteView(head));
    ASSERT_EQ(BuildIconLibrary({}, job).zico.size(), 1u);  // the library itself is fine

    writeSparse(path, head, kMaxIconLibraryBytes + 1);
    const BuiltIconLibrary built = BuildIconLibrary({}, job);
    EXPECT_TRUE(built.missing);
    EXPECT_EQ(built.zico.size(), 0u);
    ASSERT_EQ(built.warnings.size(), 1u);
    EXPECT_NE(built.warnings[0].find(pathToUtf8(path)), std::string::npos);
    EXPECT_NE(built.warnings[0].find(std::to_string(kMaxIconLibraryBytes + 1) + " bytes"),
              std::string::npos)
        << built.warnings[0];
    EXPECT_NE(built.warnings[0].find("512 MiB"), std::string::npos);
  }
}

TEST(IconLibraryLimits, RawLibraryIsReadAsFarAsItsSlotsReachWhateverItsSize) {
  TempDir dir;
  Bytes head = emptyRaw();
  addRawIcon(head, 0, 2, 1, {0x1234, 0xABCD});
  // Slot 1: the last address a slot can hold and the largest block; its
  // pixels lie in the hole (zeros).
  setRawSlot(head, 1, 1023, 1023, 0xFFFFFF);
  // Slot 2 starts one word further than any slot can reach: not storable.
  const fs::path path = dir / "5.ico";
  // Larger than 2 GiB, the limit for reading a file whole.
  writeSparse(path, head, (std::uint64_t(1) << 31) + 4096);
  const BuiltIconLibrary built = BuildIconLibrary({}, {path, IconLayout::Raw, false, 0});
  EXPECT_FALSE(built.missing);
  EXPECT_TRUE(built.warnings.empty());
  ASSERT_EQ(built.zico.size(), 2u);
  EXPECT_EQ(built.zico.records()[0].id, 0);
  EXPECT_EQ(built.zico.records()[1].id, 1);
  EXPECT_EQ(built.zico.records()[1].width, 1023);
  // The farthest block ends exactly at the reach.
  EXPECT_EQ(2 * std::uint64_t(0xFFFFFF) + 2 * 1023 * 1023, kRawLibraryReach);
  const Bytes pixels = test::inflate(ByteView(built.zico.dataArea()).subspan(0, built.zico.records()[0].dataSize), 4);
  EXPECT_EQ(pixels, (Bytes{0x34, 0x12, 0xCD, 0xAB}));
}

// ---- configuration readers ----------------------------------------------------

TEST(ConfigGarbage, HeadersOfNoiseReadAsUnmarkedAndStayInRange) {
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    Bytes noise(round % 70);
    for (auto& b : noise) b = std::uint8_t(random() % 255 + 1);  // no zero: no end of text
    const ConfigHeader header = MakeConfigHeader(ByteView(noise));
    Session a, b;
    const RegisterSet set = DecodeRegisterSet(header, round % 5, a);
    SetupValues values;
    const int kind = ApplyConfigHeader(header, values, b);
    const bool t5lc1 = HasMarker(header, kMarkerT5LC1);
    EXPECT_EQ(set.layout == ConfigLayout::T5LC1, t5lc1);
    EXPECT_TRUE(kind == 0 || kind == 1 || kind == 4);
    EXPECT_GE(values.screenRotation, 0);
    EXPECT_LE(values.screenRotation, 3);
  }
}

TEST(ConfigGarbage, BinaryTextAndAnOverlongFileKeepTheirRegisters) {
  // Zero bytes, high bytes and stray carriage returns around real lines.
  const char raw[] = "\0\xFF\xFE R1=\xC0\r\r\nR2=1F\0junk\nR3=7\n";
  const std::string text(raw, sizeof raw - 1);
  const TextRegisters r = ParseRegisterText(
      ByteView(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
  EXPECT_EQ(r[1], 0u);     // the value does not parse: 0
  EXPECT_EQ(r[2], 0x1Fu);  // parsing stops at the zero byte
  EXPECT_EQ(r[3], 7u);

  // Megabytes of one line, then a real line: the reader keeps a bounded
  // piece of each line and still sees the last one.
  std::string big(4 << 20, 'F');
  big = "R5=" + big + "\nR1=06\n";
  const TextRegisters r2 = ParseRegisterText(
      ByteView(reinterpret_cast<const std::uint8_t*>(big.data()), big.size()));
  EXPECT_EQ(r2[5], 0xFFFFFFFFu);  // wraps to its low 32 bits
  EXPECT_EQ(r2[1], 6u);
}

}  // namespace
}  // namespace tessel
