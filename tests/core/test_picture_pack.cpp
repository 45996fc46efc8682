// The picture pack: bin/image.idx entries and the bin/image.bin blocks.
#include <gtest/gtest.h>

#include <QImage>
#include <random>

#include "picture/Jpeg.h"
#include "picture/PictureLoad.h"
#include "picture/PicturePack.h"
#include "picture/Zbmp.h"
#include "support/TestSupport.h"
#include "util/FileIO.h"

using namespace tessel;
using namespace tessel::test;

namespace {

ConversionSettings settingsFor(int format) {
  ConversionSettings s;
  s.pictureFormat = format;
  s.singlePictureFiles = 0;
  return s;
}

Bytes entryAt(const PicturePack& pack, int number) {
  const auto begin = pack.index().begin() + std::ptrdiff_t(number) * 16;
  return Bytes(begin, begin + 16);
}

PackBlock fakeBlock(std::size_t size, std::uint8_t fill, int width = 10, int height = 10) {
  PackBlock block;
  block.ok = true;
  block.dataKind = kPackZlibRgb565;
  block.width = width;
  block.height = height;
  block.data.assign(size, fill);
  block.source = "fake.bmp";
  return block;
}

}  // namespace

TEST(PicturePack, EntryBytesOfA320x240Jpeg) {
  TempDir dir;
  writePicture(dir / "1.bmp", 320, 240);
  PicturePack pack;
  Report report;
  pack.add(dir / "1.bmp", 1, settingsFor(kJpeg), 0, report);
  EXPECT_TRUE(report.warnings.empty());
  ASSERT_EQ(pack.index().size(), 32u);
  EXPECT_EQ(entryAt(pack, 0), Bytes(16, 0));

  const QImage picture = LoadPicture(dir / "1.bmp").image;
  const Bytes jpeg = *EncodeJpeg(picture, kJpegQualityNormal);
  ASSERT_LT(jpeg.size(), std::size_t(1) << 24);
  const std::uint32_t n = std::uint32_t(jpeg.size());
  EXPECT_EQ(entryAt(pack, 1),
            (Bytes{0x01, 0x00, 0x08, 0x00, 0x00, 0xB0, 0x00, 0x40, 0x01, 0xF0, 0x00,
                   std::uint8_t(n), std::uint8_t(n >> 8), std::uint8_t(n >> 16), 0x00, 0x00}));
  EXPECT_EQ(pack.data(), jpeg);
}

TEST(PicturePack, IndexEntryLayout) {
  EXPECT_EQ(PackIndexEntry(1, kPackJpeg, 0x00B00000, 320, 240, 12345),
            (Bytes{0x01, 0x00, 0x08, 0x00, 0x00, 0xB0, 0x00, 0x40, 0x01, 0xF0, 0x00, 0x39, 0x30,
                   0x00, 0x00, 0x00}));
}

TEST(PicturePack, GapsAreZeroEntries) {
  TempDir dir;
  PicturePack pack;
  Report report;
  for (int n : {0, 1, 3}) {
    writePicture(dir / (std::to_string(n) + ".bmp"), 8 + n, 6);
    pack.add(dir / (std::to_string(n) + ".bmp"), n, settingsFor(kZbmp), 0, report);
  }
  ASSERT_EQ(pack.index().size(), 64u);
  EXPECT_EQ(entryAt(pack, 2), Bytes(16, 0));
  for (int n : {0, 1, 3}) {
    const Bytes e = entryAt(pack, n);
    EXPECT_EQ(getLe16(e.data()), n);
    EXPECT_EQ(e[2], 0x04);
    EXPECT_EQ(getLe16(e.data() + 7), 8 + n);
    EXPECT_EQ(getLe16(e.data() + 9), 6);
  }
}

TEST(PicturePack, AddressesAdvanceByBlockLength) {
  TempDir dir;
  writePicture(dir / "5.bmp", 40, 30);
  writePicture(dir / "6.jpg", 17, 9);
  PicturePack pack;
  Report report;
  pack.add(dir / "5.bmp", 5, settingsFor(kZbmp), 0, report);
  pack.add(dir / "6.jpg", 6, settingsFor(kZbmp), 0, report);
  const Bytes e5 = entryAt(pack, 5), e6 = entryAt(pack, 6);
  const std::uint32_t len5 = getLe24(e5.data() + 11), len6 = getLe24(e6.data() + 11);
  EXPECT_EQ(getLe32(e5.data() + 3), 0x00B00000u);
  EXPECT_EQ(getLe32(e6.data() + 3), 0x00B00000u + len5);
  EXPECT_EQ(pack.data().size(), std::size_t(len5) + len6);
  // Each block is the bare zlib stream of the rows: no .zbmp header.
  const QImage picture5 = LoadPicture(dir / "5.bmp").image;
  const Bytes block5(pack.data().begin(), pack.data().begin() + len5);
  EXPECT_EQ(inflate(block5, 40 * 30 * 2), Rgb565Rows(picture5));
  EXPECT_EQ(report.picturesWritten, 0);  // counted when the pack is written
}

TEST(PicturePack, RepeatedNumberReplacesTheEntryAndKeepsBothBlocks) {
  TempDir dir;
  writePicture(dir / "7.bmp", 10, 10);
  writePicture(dir / "07.jpg", 12, 8);
  PicturePack pack;
  Report report;
  pack.add(dir / "7.bmp", 7, settingsFor(kJpegHigh), 0, report);
  const std::size_t first = pack.data().size();
  pack.add(dir / "07.jpg", 7, settingsFor(kJpegHigh), 0, report);
  ASSERT_EQ(pack.index().size(), 8u * 16);
  const Bytes e = entryAt(pack, 7);
  EXPECT_EQ(getLe32(e.data() + 3), 0x00B00000u + first);
  EXPECT_EQ(getLe16(e.data() + 7), 12);
  EXPECT_EQ(getLe16(e.data() + 9), 8);
  EXPECT_EQ(pack.data().size(), first + getLe24(e.data() + 11));
}

TEST(PicturePack, CompressedBlockIsKeptEvenWhenLongerThanTheRows) {
  QImage noise(32, 32, QImage::Format_RGB32);
  std::mt19937 rng(11);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) noise.setPixel(x, y, rng() | 0xFF000000u);
  }
  TempDir dir;
  writeBytes(dir / "2.bmp", encodeImage(noise, "BMP"));
  const PackBlock block = EncodePackBlock(settingsFor(kZbmp), dir / "2.bmp", 0);
  ASSERT_TRUE(block.ok) << block.warning;
  EXPECT_EQ(block.dataKind, kPackZlibRgb565);
  EXPECT_GT(block.data.size(), 32u * 64);
  EXPECT_EQ(inflate(block.data, 32 * 64), Rgb565Rows(noise));
}

TEST(PicturePack, RotationGivesTheEntryItsSize) {
  TempDir dir;
  writePicture(dir / "1.bmp", 30, 20);
  PicturePack pack;
  Report report;
  pack.add(dir / "1.bmp", 1, settingsFor(kJpeg), 3, report);
  const Bytes e = entryAt(pack, 1);
  EXPECT_EQ(getLe16(e.data() + 7), 20);
  EXPECT_EQ(getLe16(e.data() + 9), 30);
}

TEST(PicturePack, UnfitPicturesAreSkippedWithAWarning) {
  PicturePack pack;
  Report report;
  pack.append(-1, fakeBlock(10, 1), report);
  pack.append(65536, fakeBlock(10, 1), report);
  pack.append(2, fakeBlock(std::size_t(1) << 24, 1), report);
  pack.append(3, fakeBlock(10, 1, 70000, 1), report);
  EXPECT_EQ(report.warnings.size(), 4u);
  EXPECT_TRUE(pack.index().empty());
  EXPECT_TRUE(pack.data().empty());
  EXPECT_FALSE(pack.hasContent());

  // The largest block that fits, and the largest number.
  pack.append(65535, fakeBlock((std::size_t(1) << 24) - 1, 2), report);
  EXPECT_EQ(report.warnings.size(), 4u);
  ASSERT_EQ(pack.index().size(), 65536u * 16);
  EXPECT_EQ(getLe24(entryAt(pack, 65535).data() + 11), 0xFFFFFFu);
}

TEST(PicturePack, CorruptPictureAddsNothing) {
  TempDir dir;
  writeText(dir / "4.bmp", "not a bitmap");
  for (int format : {kJpeg, kJpegHigh, kZbmp}) {
    PicturePack pack;
    Report report;
    pack.add(dir / "4.bmp", 4, settingsFor(format), 0, report);
    ASSERT_EQ(report.warnings.size(), 1u);
    EXPECT_NE(report.warnings[0].find("4.bmp"), std::string::npos);
    EXPECT_FALSE(pack.hasContent());
    EXPECT_TRUE(pack.index().empty());
  }
}

TEST(PicturePack, WritesBothFilesOnlyWithContent) {
  TempDir dir;
  PicturePack empty;
  Report report;
  EXPECT_FALSE(empty.write(dir / "private", report));
  EXPECT_FALSE(fs::exists(dir / "private" / "bin"));

  writePicture(dir / "0.bmp", 16, 16);
  writePicture(dir / "2.jpg", 16, 8);
  PicturePack pack;
  pack.add(dir / "0.bmp", 0, settingsFor(kZbmp), 0, report);
  pack.add(dir / "2.jpg", 2, settingsFor(kZbmp), 0, report);
  ASSERT_TRUE(pack.hasContent());
  fs::create_directories(dir / "private");
  ASSERT_TRUE(pack.write(dir / "private", report));
  EXPECT_EQ(listTree(dir / "private"), (std::vector<std::string>{"bin/", "bin/image.bin", "bin/image.idx"}));
  EXPECT_EQ(readBytes(dir / "private" / "bin" / "image.idx"), pack.index());
  EXPECT_EQ(readBytes(dir / "private" / "bin" / "image.bin"), pack.data());
  EXPECT_EQ(report.picturesWritten, 2);
  EXPECT_EQ(report.filesWritten, 2);
}

TEST(PicturePack, FailedWriteLeavesNoFile) {
  TempDir dir;
  writePicture(dir / "1.bmp", 16, 16);
  PicturePack pack;
  Report report;
  pack.add(dir / "1.bmp", 1, settingsFor(kJpeg), 0, report);
  setWriteFaultInjector([](const fs::path& path) { return path.filename() != "image.bin"; });
  EXPECT_FALSE(pack.write(dir.path(), report));
  setWriteFaultInjector(nullptr);
  EXPECT_TRUE(fs::exists(dir.path() / "bin" / "image.idx"));
  EXPECT_FALSE(fs::exists(dir.path() / "bin" / "image.bin"));
  ASSERT_EQ(report.writeFailures.size(), 1u);
  EXPECT_EQ(report.writeFailures[0], dir.path() / "bin" / "image.bin");
  EXPECT_EQ(report.picturesWritten, 0);
}
