// The compressed bitmap file: header, RGB565 rows, zlib stream or raw rows.
#include <gtest/gtest.h>

#include <QImage>
#include <random>

#include "picture/Rgb565.h"
#include "picture/Zbmp.h"
#include "support/TestSupport.h"
#include "util/Zlib.h"

using namespace tessel;
using namespace tessel::test;

namespace {

QImage noiseImage(int width, int height, unsigned seed) {
  QImage image(width, height, QImage::Format_RGB32);
  std::mt19937 rng(seed);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) image.setPixel(x, y, rng() | 0xFF000000u);
  }
  return image;
}

Bytes payloadOf(const Bytes& file) { return Bytes(file.begin() + 16, file.end()); }

// Whether the reader's fault holds `part` (a placeholder value, a name).
void expectFault(const std::string& error, const std::string& part, const char* what) {
  EXPECT_NE(error.find(part), std::string::npos) << what << ": got \"" << error << "\"";
}

TEST(ZbmpRead, ZbmpFaultsAreNamed) {
  // 15 x 8 pixels, stride 32: two bytes of padding in each row.
  Bytes rows(32 * 8);
  for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = std::uint8_t((i % 32) * 5);
  Bytes file = EncodeZbmpRows(15, 8, rows);
  ASSERT_EQ(file.at(4), 0xFF);  // compressed
  const PictureReading sound = ReadZbmp(file, true, Limits());
  ASSERT_TRUE(sound.ok()) << sound.error;
  // Row 7, column 14: bytes 7 * 32 + 28 and 29, low byte first.
  EXPECT_EQ(reinterpret_cast<const quint16*>(sound.image.constScanLine(7))[14],
            rows[252] | (rows[253] << 8));
  EXPECT_EQ(sound.image, Rgb565Image(rows.data(), 15, 8, 32));

  Bytes raw = file;
  raw.resize(16);
  raw[4] = raw[5] = 0;
  raw.insert(raw.end(), rows.begin(), rows.end());
  EXPECT_TRUE(ReadZbmp(raw, false, Limits()).ok());

  struct Damage {
    const char* what;
    Bytes bytes;
    const char* fault;
  };
  auto with = [](Bytes b, std::size_t at, std::uint8_t v) { b.at(at) = v; return b; };
  auto cut = [](Bytes b, std::size_t size) { b.resize(size); return b; };
  Bytes longer = file;
  longer.push_back(0);
  Bytes rawLonger = raw;
  rawLonger.push_back(0);
  const Damage damages[] = {
      {"header cut", cut(file, 10), "shorter than the 16-byte header"},
      {"zero width", with(with(file, 0, 0), 1, 0), "size of 0 x 8"},
      {"flag", with(file, 4, 0x01), "compression flag is 0x0001"},
      {"header byte", with(file, 9, 1), "header byte 9"},
      {"stream cut", cut(file, file.size() - 4), "compressed data"},
      {"bytes after stream", longer, "follow the end of its compressed data"},
      {"raw cut", cut(raw, raw.size() - 1), "1 short of the 15 x 8 picture"},
      {"raw longer", rawLonger, "1 bytes follow its last row"},
      {"height grown", with(file, 2, 9), "not the 288 it declares"},
  };
  for (const Damage& d : damages)
    expectFault(ReadZbmp(d.bytes, true, Limits()).error, d.fault, d.what);
}

}  // namespace

// Four pixels whose rows compress to more than their 8 bytes: the whole file
// is known byte for byte. Each channel keeps its top bits, pixels are stored
// low byte first, and a transparent pixel keeps its stored colour.
TEST(Zbmp, SmallPictureIsStoredRawByteForByte) {
  QImage picture(2, 2, QImage::Format_ARGB32);
  picture.setPixel(0, 0, qRgba(0xFF, 0x00, 0x00, 0xFF));
  picture.setPixel(1, 0, qRgba(0x00, 0xFF, 0x00, 0xFF));
  picture.setPixel(0, 1, qRgba(0x00, 0x00, 0xFF, 0xFF));
  picture.setPixel(1, 1, qRgba(0x12, 0x34, 0x56, 0x00));
  const Bytes file = EncodeZbmpRows(2, 2, Rgb565Rows(picture));
  EXPECT_EQ(file, (Bytes{0x02, 0x00, 0x02, 0x00, 0x00, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  //
                         0x00, 0xF8, 0xE0, 0x07,                                           //
                         0x1F, 0x00, 0xAA, 0x11}));
}

TEST(Zbmp, CompressedFileOf320x240) {
  const Bytes rows = Rgb565Rows(patternImage(320, 240));
  ASSERT_EQ(rows.size(), 320u * 240 * 2);
  const Bytes file = EncodeZbmpRows(320, 240, rows);
  ASSERT_GT(file.size(), 18u);
  EXPECT_EQ(Bytes(file.begin(), file.begin() + 16),
            (Bytes{0x40, 0x01, 0xF0, 0x00, 0xFF, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  const Bytes stream = payloadOf(file);
  EXPECT_LT(stream.size(), rows.size());
  EXPECT_EQ(stream[0], 0x78);
  EXPECT_EQ(stream[1], 0x9C);  // zlib's default level
  EXPECT_EQ(inflate(stream, rows.size()), rows);
}

// Pixel values against Qt's conversion: see test_parallel_rows.cpp.
TEST(Zbmp, OddWidthRowsArePaddedToFourBytesWithZeros) {
  // 101 pixels take 202 bytes, 204 with the padding; one pixel takes 4.
  EXPECT_EQ(Rgb565Rows(patternImage(1, 3)).size(), 12u);
  const Bytes rows = Rgb565Rows(patternImage(101, 10));
  ASSERT_EQ(rows.size(), 2040u);
  for (std::size_t rowStart = 0; rowStart < rows.size(); rowStart += 204) {
    EXPECT_EQ(rows[rowStart + 202], 0);
    EXPECT_EQ(rows[rowStart + 203], 0);
  }
  const Bytes file = EncodeZbmpRows(101, 10, rows);
  EXPECT_EQ(GetLe16(file.data()), 101);
  EXPECT_EQ(GetLe16(file.data() + 2), 10);
  ASSERT_EQ(GetLe16(file.data() + 4), kZbmpCompressed);
  EXPECT_EQ(inflate(payloadOf(file), 2040), rows);

  // A larger picture in between (its stream is longer than this one's) does
  // not change the bytes.
  EncodeZbmpRows(640, 480, Rgb565Rows(noiseImage(640, 480, 5)));
  EXPECT_EQ(EncodeZbmpRows(101, 10, rows), file);
}

TEST(Zbmp, NoiseIsStoredRaw) {
  const Bytes rows = Rgb565Rows(noiseImage(64, 64, 7));
  const auto stream = ZlibCompress(rows);
  ASSERT_TRUE(stream);
  ASSERT_GT(stream->size(), rows.size());
  const Bytes file = EncodeZbmpRows(64, 64, rows);
  ASSERT_EQ(file.size(), 16 + rows.size());
  EXPECT_EQ(Bytes(file.begin(), file.begin() + 16),
            (Bytes{0x40, 0x00, 0x40, 0x00, 0x00, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(payloadOf(file), rows);
}

TEST(Zbmp, EqualLengthKeepsTheStreamLongerStoresRaw) {
  // Rows of 64 bytes (one row of 32 pixels): k pseudo-random bytes then
  // zeros. Some k makes the stream exactly 64 bytes long, a larger one longer.
  auto rowsWith = [](int k) {
    Bytes rows(64, 0);
    std::uint32_t state = 12345;
    for (int i = 0; i < k; ++i) {
      state = state * 1103515245u + 12345u;
      rows[std::size_t(i)] = std::uint8_t(state >> 16);
    }
    return rows;
  };
  bool sawEqual = false, sawLonger = false, sawShorter = false;
  for (int k = 16; k <= 64; ++k) {
    const Bytes rows = rowsWith(k);
    const auto stream = ZlibCompress(rows);
    ASSERT_TRUE(stream);
    const Bytes file = EncodeZbmpRows(32, 1, rows);
    ASSERT_GE(file.size(), 16u);
    if (stream->size() <= rows.size()) {
      (stream->size() == rows.size() ? sawEqual : sawShorter) = true;
      EXPECT_EQ(GetLe16(file.data() + 4), kZbmpCompressed) << k;
      EXPECT_EQ(payloadOf(file), *stream) << k;
    } else {
      sawLonger = true;
      EXPECT_EQ(GetLe16(file.data() + 4), kZbmpRaw) << k;
      EXPECT_EQ(payloadOf(file), rows) << k;
    }
  }
  EXPECT_TRUE(sawEqual);
  EXPECT_TRUE(sawLonger);
  EXPECT_TRUE(sawShorter);
}

TEST(Zbmp, NoRowsOrASidePast65535GiveNothing) {
  EXPECT_TRUE(EncodeZbmpRows(0, 0, ByteView()).empty());
  EXPECT_TRUE(EncodeZbmpRows(4, 1, ByteView()).empty());
  const Bytes wide(std::size_t(Rgb565Stride(65536)), 0);
  EXPECT_TRUE(EncodeZbmpRows(65536, 1, wide).empty());
  EXPECT_TRUE(EncodeZbmpRows(1, 65536, Bytes(4 * 65536, 0)).empty());
  // The largest side still fits the header.
  const Bytes widest = EncodeZbmpRows(65535, 1, Bytes(std::size_t(Rgb565Stride(65535)), 0));
  ASSERT_GE(widest.size(), 16u);
  EXPECT_EQ(Bytes(widest.begin(), widest.begin() + 6),
            (Bytes{0xFF, 0xFF, 0x01, 0x00, 0xFF, 0x00}));
}
