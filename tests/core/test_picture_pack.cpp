// The picture pack: bin/image.idx entries and the bin/image.bin blocks.
#include <gtest/gtest.h>

#include <QImage>
#include <random>

#include "picture/PictureLoad.h"
#include "picture/PicturePack.h"
#include "picture/Rgb565.h"
#include "support/TestSupport.h"
#include "picture/PackReader.h"
#include "picture/StrictRead.h"
#include "util/Zlib.h"

using namespace tessel;
using namespace tessel::test;

namespace {

EncodedPicture blockOf(const fs::path& path, PictureFormat format, int rotation = 0) {
  return EncodePictureFile(path, {format, false}, rotation, PictureTarget::PackBlock, WorkLimits());
}

Bytes entryAt(const PicturePack& pack, int number) {
  const auto begin = pack.index().begin() + std::ptrdiff_t(number) * 16;
  return Bytes(begin, begin + 16);
}

EncodedPicture fakeBlock(std::size_t size, int width = 10, int height = 10) {
  EncodedPicture block;
  block.ok = true;
  block.packKind = kPackZlibRgb565;
  block.width = width;
  block.height = height;
  block.bytes.assign(size, 0x5A);
  return block;
}

Bytes rows565(int w, int h) {
  Bytes rows(Rgb565Stride(std::uint64_t(w)) * std::uint64_t(h), 0);
  for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = std::uint8_t(i * 7 + 3);
  return rows;
}

// Whether the reader's fault holds `part` (a placeholder value, a name).
void expectFault(const std::string& error, const std::string& part, const char* what) {
  EXPECT_NE(error.find(part), std::string::npos) << what << ": got \"" << error << "\"";
}

TEST(PackRead, PackEntriesAreCheckedAgainstImageBin) {
  PicturePack pack;
  Report report;
  EncodedPicture block;
  block.ok = true;
  block.packKind = kPackZlibRgb565;
  block.width = 3;
  block.height = 2;
  block.bytes = *ZlibCompress(rows565(3, 2));
  pack.append(0, block, "a", report);
  pack.append(2, block, "b", report);  // slot 1 stays a gap
  const PackReading sound = ReadPack(pack.index(), pack.data(), true, Limits());
  ASSERT_TRUE(sound.ok());
  ASSERT_EQ(sound.entries.size(), 2u);
  EXPECT_EQ(sound.entries[1].number, 2);
  EXPECT_EQ(sound.entries[1].image, Rgb565Image(rows565(3, 2).data(), 3, 2, 8));

  auto patched = [&](std::size_t at, std::uint32_t value, int bytes) {
    Bytes b = pack.index();
    for (int i = 0; i < bytes; ++i) b.at(at + std::size_t(i)) = std::uint8_t(value >> (8 * i));
    return b;
  };
  auto errors = [&](const Bytes& index, ByteView data) {
    const PackReading r = ReadPack(index, data, false, Limits());
    std::string all;
    for (const std::string& e : r.errors) all += e;
    for (const PackEntry& e : r.entries) all += e.error;
    return all;
  };
  const std::size_t e2 = 32;
  expectFault(errors(patched(e2 + 3, packBaseAddress + 1000, 4), pack.data()),
              "entry 2 points past the end of image.bin", "address");
  expectFault(errors(patched(e2 + 3, 0x100, 4), pack.data()), "lies before 0x00B00000", "base");
  expectFault(errors(patched(e2, 7, 2), pack.data()), "entry 2 holds the number 7", "number");
  expectFault(errors(patched(e2 + 2, 0x05, 1), pack.data()), "has kind 0x05", "kind");
  expectFault(errors(patched(e2 + 3, packBaseAddress, 4), pack.data()),
              "entry 2 shares its data with entry 0", "overlap");
  expectFault(errors(patched(e2 + 9, 3, 2), pack.data()), "entry 2: its compressed data", "height");
  const Bytes cutBin(pack.data().begin(), pack.data().end() - 1);
  expectFault(errors(pack.index(), cutBin), "entry 2 points past the end of image.bin", "bin cut");
  Bytes ragged = pack.index();
  ragged.push_back(0);
  expectFault(errors(ragged, pack.data()), "not a whole number of 16-byte entries", "ragged");
}

}  // namespace

TEST(PicturePack, IndexEntryLayout) {
  EXPECT_EQ(PackIndexEntry(0x0102, kPackJpeg, 0x00B01234, 320, 240, 0x123456),
            (Bytes{0x02, 0x01, 0x08, 0x34, 0x12, 0xB0, 0x00, 0x40, 0x01, 0xF0, 0x00, 0x56, 0x34,
                   0x12, 0x00, 0x00}));
}

TEST(PicturePack, EntryBytesOfA320x240Jpeg) {
  TempDir dir;
  writePicture(dir / "1.bmp", 320, 240);
  const EncodedPicture block = blockOf(dir / "1.bmp", PictureFormat::Jpeg);
  ASSERT_TRUE(block.ok) << block.error;
  EXPECT_EQ(block.packKind, kPackJpeg);
  PicturePack pack;
  Report report;
  pack.append(1, block, "1.bmp", report);
  EXPECT_TRUE(report.warnings.empty());
  ASSERT_EQ(pack.index().size(), 32u);
  EXPECT_EQ(entryAt(pack, 0), Bytes(16, 0));
  const std::uint32_t n = std::uint32_t(block.bytes.size());
  ASSERT_LT(n, 1u << 24);
  EXPECT_EQ(entryAt(pack, 1),
            (Bytes{0x01, 0x00, 0x08, 0x00, 0x00, 0xB0, 0x00, 0x40, 0x01, 0xF0, 0x00,
                   std::uint8_t(n), std::uint8_t(n >> 8), std::uint8_t(n >> 16), 0x00, 0x00}));
  // The block is the JPEG file itself.
  EXPECT_EQ(pack.data(), block.bytes);
  EXPECT_EQ(QImage::fromData(pack.data().data(), int(pack.data().size())).size(), QSize(320, 240));
}

TEST(PicturePack, GapsAreZeroEntriesAndRotationGivesTheSize) {
  TempDir dir;
  PicturePack pack;
  Report report;
  for (int n : {0, 1, 3}) {
    const fs::path path = dir / (std::to_string(n) + ".bmp");
    writePicture(path, 8 + n, 6);
    pack.append(n, blockOf(path, PictureFormat::Zbmp, 3), path.filename().string(), report);
  }
  EXPECT_TRUE(report.warnings.empty());
  ASSERT_EQ(pack.index().size(), 64u);
  EXPECT_EQ(entryAt(pack, 2), Bytes(16, 0));
  for (int n : {0, 1, 3}) {
    const Bytes e = entryAt(pack, n);
    EXPECT_EQ(GetLe16(e.data()), n);
    EXPECT_EQ(e[2], 0x04);
    EXPECT_EQ(GetLe16(e.data() + 7), 6);  // turned by 270 degrees
    EXPECT_EQ(GetLe16(e.data() + 9), 8 + n);
  }
}

TEST(PicturePack, AddressesAdvanceByBlockLength) {
  TempDir dir;
  writePicture(dir / "5.bmp", 40, 30);
  writePicture(dir / "6.jpg", 17, 9);
  PicturePack pack;
  Report report;
  pack.append(5, blockOf(dir / "5.bmp", PictureFormat::Zbmp), "5.bmp", report);
  pack.append(6, blockOf(dir / "6.jpg", PictureFormat::Zbmp), "6.jpg", report);
  const Bytes e5 = entryAt(pack, 5), e6 = entryAt(pack, 6);
  const std::uint32_t len5 = GetLe24(e5.data() + 11), len6 = GetLe24(e6.data() + 11);
  EXPECT_EQ(GetLe32(e5.data() + 3), 0x00B00000u);
  EXPECT_EQ(GetLe32(e6.data() + 3), 0x00B00000u + len5);
  EXPECT_EQ(pack.data().size(), std::size_t(len5) + len6);
  // Each block is the bare zlib stream of the rows: no .zbmp header.
  const Bytes block5(pack.data().begin(), pack.data().begin() + len5);
  EXPECT_EQ(inflate(block5, 40 * 30 * 2), Rgb565Rows(LoadPicture(dir / "5.bmp", Limits()).image));
  const Bytes block6(pack.data().begin() + len5, pack.data().end());
  EXPECT_EQ(inflate(block6, 36 * 9), Rgb565Rows(LoadPicture(dir / "6.jpg", Limits()).image));
  EXPECT_EQ(report.picturesWritten, 0);  // counted when the pack is written
}

TEST(PicturePack, RepeatedNumberReplacesTheEntryAndKeepsBothBlocks) {
  TempDir dir;
  writePicture(dir / "7.bmp", 10, 10);
  writePicture(dir / "07.jpg", 12, 8);
  PicturePack pack;
  Report report;
  pack.append(7, blockOf(dir / "7.bmp", PictureFormat::JpegHigh), "7.bmp", report);
  const std::size_t first = pack.data().size();
  pack.append(7, blockOf(dir / "07.jpg", PictureFormat::JpegHigh), "07.jpg", report);
  ASSERT_EQ(pack.index().size(), 8u * 16);
  const Bytes e = entryAt(pack, 7);
  EXPECT_EQ(GetLe32(e.data() + 3), 0x00B00000u + first);
  EXPECT_EQ(GetLe16(e.data() + 7), 12);
  EXPECT_EQ(GetLe16(e.data() + 9), 8);
  EXPECT_EQ(pack.data().size(), first + GetLe24(e.data() + 11));
}

// Unlike a .zbmp file, which then stores the rows raw.
TEST(PicturePack, CompressedBlockIsKeptEvenWhenLongerThanTheRows) {
  QImage noise(32, 32, QImage::Format_RGB32);
  std::mt19937 rng(11);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) noise.setPixel(x, y, rng() | 0xFF000000u);
  }
  const Bytes bmp = build::encode(noise, "BMP");
  const EncodedPicture block = EncodePictureBytes(bmp, {PictureFormat::Zbmp, false}, 0,
                                                  PictureTarget::PackBlock, WorkLimits());
  ASSERT_TRUE(block.ok) << block.error;
  EXPECT_EQ(block.packKind, kPackZlibRgb565);
  EXPECT_GT(block.bytes.size(), 32u * 64);
  EXPECT_EQ(inflate(block.bytes, 32 * 64), Rgb565Rows(noise));

  const EncodedPicture file =
      EncodePictureBytes(bmp, {PictureFormat::Zbmp, false}, 0, PictureTarget::File, WorkLimits());
  ASSERT_TRUE(file.ok) << file.error;
  EXPECT_EQ(file.bytes.size(), 16u + 32 * 64);
}

TEST(PicturePack, BlocksThePackCannotHoldAreSkippedWithAWarning) {
  PicturePack pack;
  Report report;
  pack.append(-1, fakeBlock(10), "a.bmp", report);
  pack.append(65536, fakeBlock(10), "b.bmp", report);
  pack.append(2, fakeBlock(std::size_t(1) << 24), "c.bmp", report);
  pack.append(3, fakeBlock(10, 65536, 1), "d.bmp", report);
  pack.append(4, fakeBlock(10, 0, 1), "e.bmp", report);
  pack.append(5, fakeBlock(0), "f.bmp", report);
  TempDir dir;
  writeText(dir / "4.bmp", "not a bitmap");
  const EncodedPicture corrupt = blockOf(dir / "4.bmp", PictureFormat::Zbmp);
  ASSERT_FALSE(corrupt.ok);
  pack.append(6, corrupt, "4.bmp", report);

  ASSERT_EQ(report.warnings.size(), 7u);
  const char* names[] = {"a.bmp", "b.bmp", "c.bmp", "d.bmp", "e.bmp", "f.bmp", "4.bmp"};
  for (std::size_t i = 0; i < 7; ++i) {
    EXPECT_NE(report.warnings[i].find(names[i]), std::string::npos) << report.warnings[i];
  }
  EXPECT_NE(report.warnings[6].find(corrupt.error), std::string::npos) << report.warnings[6];
  EXPECT_TRUE(pack.index().empty());
  EXPECT_TRUE(pack.data().empty());
  EXPECT_FALSE(pack.hasContent());

  // The largest block that fits, and the largest number and size.
  pack.append(65535, fakeBlock(kPackMaxBlock, 65535, 65535), "g.bmp", report);
  EXPECT_EQ(report.warnings.size(), 7u);
  ASSERT_EQ(pack.index().size(), 65536u * 16);
  const Bytes last = entryAt(pack, 65535);
  EXPECT_EQ(Bytes(last.begin() + 7, last.end()),
            (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}));
}

TEST(PicturePack, WritesBothFilesOnlyWithContent) {
  TempDir dir;
  const OutputLayout layout(dir / "out");
  Report report;
  OutputWriter out(report);
  PicturePack empty;
  EXPECT_FALSE(empty.write(layout, out));
  EXPECT_FALSE(fs::exists(layout.binFolder()));

  writePicture(dir / "0.bmp", 16, 16);
  writePicture(dir / "2.jpg", 16, 8);
  PicturePack pack;
  pack.append(0, blockOf(dir / "0.bmp", PictureFormat::Zbmp), "0.bmp", report);
  pack.append(2, blockOf(dir / "2.jpg", PictureFormat::Jpeg), "2.jpg", report);
  ASSERT_TRUE(pack.hasContent());
  ASSERT_TRUE(pack.write(layout, out));
  EXPECT_EQ(listTree(layout.privateFolder()),
            (std::vector<std::string>{"bin/", "bin/image.bin", "bin/image.idx"}));
  EXPECT_EQ(readBytes(layout.packIndex()), pack.index());
  EXPECT_EQ(readBytes(layout.packData()), pack.data());
  EXPECT_EQ(report.picturesWritten, 2);
  EXPECT_EQ(report.filesWritten, 2);
}

TEST(PicturePack, FailedWriteLeavesNoFile) {
  TempDir dir;
  const OutputLayout layout(dir.path());
  writePicture(dir / "1.bmp", 16, 16);
  PicturePack pack;
  Report report;
  pack.append(1, blockOf(dir / "1.bmp", PictureFormat::Jpeg), "1.bmp", report);
  const FailingWrites faults("image.bin");
  OutputWriter out(report, &faults);
  EXPECT_FALSE(pack.write(layout, out));
  EXPECT_TRUE(fs::exists(layout.packIndex()));
  EXPECT_FALSE(fs::exists(layout.packData()));
  ASSERT_EQ(report.writeFailures.size(), 1u);
  EXPECT_EQ(report.writeFailures[0], layout.packData());
  EXPECT_EQ(report.picturesWritten, 0);
}
