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
#include "picture/PicturePipeline.h"
#include "support/RunFixture.h"
#include "util/Paths.h"

namespace tessel {
namespace {

using namespace build;
using test::RunFixture;
using test::TempDir;
using test::writeBytes;
using test::writePicture;

// A 24-bit BMP that declares width x height but holds only 64 pixel bytes.
Bytes declaredBmp(std::int32_t width, std::int32_t height) {
  BmpShape shape;
  shape.width = width;
  shape.height = height;
  shape.pixels = Bytes(64, 0x5A);
  return bmpFile(shape);
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
  BmpShape widest;  // 65535 on a side is still taken
  widest.width = 65535;
  widest.height = 1;
  writeBytes(source / "2.bmp", bmpFile(widest));
  writeBytes(source / "3.bmp", declaredBmp(65536, 2));  // a side past 65535
  writeBytes(source / "4.bmp", declaredBmp(2, 65536));
  writeBytes(source / "5.bmp", declaredBmp(12000, 12000));  // 576 MB decoded
  // So large that the decoder announces no size at all: still skipped.
  writeBytes(source / "6.bmp", declaredBmp(20000, 20000));
  for (bool single : {true, false}) {
    settings.singlePictureFiles = single;
    const RunResult r = run();
    ASSERT_EQ(r.outcome, RunOutcome::Completed);
    EXPECT_EQ(r.report.picturesWritten, 2);
    EXPECT_TRUE(r.report.writeFailures.empty());
    const auto& w = r.report.warnings;
    EXPECT_EQ(w.size(), 4u) << single;
    EXPECT_TRUE(anyContains(w, "3.bmp", "65536 x 2 pixels, larger than 65535")) << single;
    EXPECT_TRUE(anyContains(w, "4.bmp", "2 x 65536 pixels, larger than 65535")) << single;
    EXPECT_TRUE(anyContains(w, "5.bmp", "more than 512 MiB")) << single;
    EXPECT_TRUE(anyContains(w, "6.bmp", "skipped picture")) << single;
    if (single) {
      EXPECT_EQ(test::listTree(priv / "image"), (std::vector<std::string>{"1.zbmp", "2.zbmp"}));
      EXPECT_EQ(test::zbmpSize(priv / "image" / "2.zbmp"), std::make_pair(65535, 1));
    } else {
      // Pictures 1 and 2 are in the pack: entries 0 (empty), 1 and 2.
      const Bytes index = test::readBytes(priv / "bin" / "image.idx");
      ASSERT_EQ(index.size(), 3 * kPackEntrySize);
      EXPECT_EQ(getLe16(index.data() + 2 * kPackEntrySize + 7), 65535);
    }
  }
}

// Every cut of a picture either decodes to its declared size or is refused
// with a reason, the same whether the short way or Qt reads it.
TEST(TruncatedPictures, DecodeToTheirDeclaredSizeOrAreRefused) {
  const QImage image = test::patternImage(37, 23);
  const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
  const std::vector<Bytes> files = {encode(image.convertToFormat(QImage::Format_RGB888), "BMP"),
                                    encode(image, "JPG", 85), encode(grey, "JPG", 60),
                                    encode(image.convertToFormat(QImage::Format_Indexed8), "BMP")};
  const PictureEncoding zbmp{PictureFormat::Zbmp, false};
  for (const Bytes& whole : files) {
    for (std::size_t cut = 0; cut <= whole.size(); cut += std::max<std::size_t>(1, whole.size() / 40)) {
      const Bytes part(whole.begin(), whole.begin() + std::ptrdiff_t(cut));
      const LoadedPicture p = LoadPictureData(ByteView(part));
      const EncodedPicture e = EncodePictureBytes(ByteView(part), zbmp, 0, PictureTarget::File);
      EXPECT_EQ(e.ok, p.ok()) << cut;
      if (e.ok) {
        EXPECT_EQ(QSize(e.width, e.height), QSize(37, 23)) << cut;
        EXPECT_FALSE(e.bytes.empty()) << cut;
      } else {
        EXPECT_FALSE(e.error.empty()) << cut;
      }
      if (p.ok()) {
        EXPECT_EQ(p.image.size(), QSize(37, 23)) << cut;
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
  const Bytes jpeg = encode(icon(8, 3), "JPG", 95);
  Bytes t5 = emptyT5uic();
  addT5uicJpeg(t5, 0, jpeg);
  const std::vector<std::pair<IconLayout, Bytes>> libraries = {
      {IconLayout::Icl, buildIcl(0, {iclSlot(splitAtScan(jpeg))})}, {IconLayout::T5uic, t5}};
  for (const auto& [layout, head] : libraries) {
    const fs::path path = dir / "1.icl";
    IconLibraryJob job;
    job.path = path;
    job.layout = layout;
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
  IconLibraryJob job;
  job.path = path;
  job.layout = IconLayout::Raw;
  const BuiltIconLibrary built = BuildIconLibrary({}, job);
  EXPECT_FALSE(built.missing);
  EXPECT_TRUE(built.warnings.empty());
  ASSERT_EQ(built.zico.size(), 2u);
  EXPECT_EQ(built.zico.records()[0].id, 0);
  EXPECT_EQ(built.zico.records()[1].id, 1);
  EXPECT_EQ(built.zico.records()[1].width, 1023);
  const Bytes pixels = test::inflate(ByteView(built.zico.dataArea()).subspan(0, built.zico.records()[0].dataSize), 4);
  EXPECT_EQ(pixels, (Bytes{0x34, 0x12, 0xCD, 0xAB}));
}

// ---- configuration readers ----------------------------------------------------

// Noise with a marker planted somewhere, or none. The marker counts only
// when it lies whole before the first zero byte and inside the 64 bytes of
// the header.
TEST(ConfigGarbage, MarkersAreFoundInNoiseOnlyBeforeTheTextEnds) {
  const std::string_view markers[] = {{}, kMarkerT5LC1, kMarkerT5C1, kMarkerT5C2, kMarkerT5C4};
  std::mt19937 random(7);
  int found[5] = {};
  for (int round = 0; round < 1000; ++round) {
    Bytes noise(random() % 80);
    for (auto& b : noise) b = std::uint8_t(random() % 255 + 1);
    if (!noise.empty() && random() % 3 == 0) noise[random() % noise.size()] = 0;
    const int m = int(random() % 5);
    const std::string_view marker = markers[m];
    bool planted = false;
    if (!marker.empty() && noise.size() >= marker.size()) {
      const std::size_t at = random() % (noise.size() - marker.size() + 1);
      std::copy(marker.begin(), marker.end(), noise.begin() + std::ptrdiff_t(at));
      const std::size_t zero = std::size_t(std::find(noise.begin(), noise.end(), 0) - noise.begin());
      planted = at + marker.size() <= std::min(zero, kConfigHeaderSize);
    }
    const int seen = planted ? m : 0;
    found[seen] += 1;

    const ConfigHeader header = MakeConfigHeader(ByteView(noise));
    const auto choice = static_cast<RotationChoice>(round % 5);
    const RegisterSet set = DecodeRegisterSet(header, choice);
    SetupValues values;
    const SetupReading reading = ApplyConfigHeader(header, values);
    SCOPED_TRACE("round " + std::to_string(round));
    const bool t5lc1 = seen == 1;
    EXPECT_EQ(set.layout, t5lc1 ? ConfigLayout::T5LC1 : ConfigLayout::Unmarked);
    EXPECT_EQ(set.findings.pictureLibrary, t5lc1 ? std::optional<std::uint8_t>(header[8]) : std::nullopt);
    EXPECT_EQ(set.findings.iconRotation,
              t5lc1 ? std::optional<int>(FixedRotationCode(choice).value_or(header[5] & 3)) : std::nullopt);
    EXPECT_EQ(reading.pictureLibrary, set.findings.pictureLibrary);
    EXPECT_EQ(reading.configKind, seen == 2 || seen == 4 ? 4 : seen == 3 ? 1 : 0);
    if (seen == 0) {
      EXPECT_EQ(values.screenRotation, SetupValues().screenRotation);
    }
  }
  // Every marker was found in some rounds.
  for (int m = 0; m < 5; ++m) EXPECT_GT(found[m], 20) << markers[m];
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
