// The compressed bitmap file: header, RGB565 rows, zlib stream or raw rows.
#include <gtest/gtest.h>

#include <QImage>
#include <random>

#include "picture/Zbmp.h"
#include "support/TestSupport.h"
#include "util/FileIO.h"

using namespace tessel;
using namespace tessel::test;

namespace {

std::uint16_t rgb565(QRgb c) {
  return std::uint16_t((qRed(c) >> 3) << 11 | (qGreen(c) >> 2) << 5 | (qBlue(c) >> 3));
}

QImage noiseImage(int width, int height, unsigned seed) {
  QImage image(width, height, QImage::Format_RGB32);
  std::mt19937 rng(seed);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) image.setPixel(x, y, rng() | 0xFF000000u);
  }
  return image;
}

}  // namespace

TEST(Zbmp, StrideRoundsRowsUpToFourBytes) {
  EXPECT_EQ(Rgb565Stride(320), 640u);
  EXPECT_EQ(Rgb565Stride(101), 204u);
  EXPECT_EQ(Rgb565Stride(1), 4u);
  EXPECT_EQ(Rgb565Stride(2), 4u);
}

TEST(Zbmp, CompressedFileOf320x240) {
  const QImage source = patternImage(320, 240);
  const Bytes file = EncodeZbmp(source);
  ASSERT_GT(file.size(), 16u);
  const Bytes header(file.begin(), file.begin() + 16);
  EXPECT_EQ(header, (Bytes{0x40, 0x01, 0xF0, 0x00, 0xFF, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  const ByteView stream(file.data() + 16, file.size() - 16);
  const Bytes rows = inflate(stream, 153600);
  ASSERT_EQ(rows.size(), 153600u);
  for (int y = 0; y < 240; ++y) {
    for (int x = 0; x < 320; ++x) {
      const std::size_t at = std::size_t(y) * 640 + std::size_t(x) * 2;
      ASSERT_EQ(getLe16(rows.data() + at), rgb565(source.pixel(x, y))) << x << "," << y;
    }
  }
}

TEST(Zbmp, CompressedStreamIsZlibDefaultLevel) {
  const QImage source = patternImage(64, 48);
  const Bytes rows = Rgb565Rows(source);
  const auto stream = CompressRgb565(rows);
  ASSERT_TRUE(stream);
  ASSERT_GE(stream->size(), 2u);
  EXPECT_EQ((*stream)[0], 0x78);
  EXPECT_EQ((*stream)[1], 0x9C);  // default compression level
  EXPECT_EQ(inflate(*stream, rows.size()), rows);
}

TEST(Zbmp, OddWidthRowsArePaddedWithZeros) {
  const QImage source = patternImage(101, 10);
  const Bytes rows = Rgb565Rows(source);
  ASSERT_EQ(rows.size(), 2040u);
  for (int y = 0; y < 10; ++y) {
    const std::size_t rowStart = std::size_t(y) * 204;
    EXPECT_EQ(rows[rowStart + 202], 0);
    EXPECT_EQ(rows[rowStart + 203], 0);
    for (int x = 0; x < 101; ++x) {
      ASSERT_EQ(getLe16(rows.data() + rowStart + std::size_t(x) * 2), rgb565(source.pixel(x, y)));
    }
  }
  const Bytes file = EncodeZbmp(source);
  EXPECT_EQ(getLe16(file.data()), 101);
  EXPECT_EQ(getLe16(file.data() + 2), 10);
  const std::uint16_t flag = getLe16(file.data() + 4);
  const ByteView payload(file.data() + 16, file.size() - 16);
  if (flag == kZbmpCompressed) {
    EXPECT_EQ(inflate(payload, 2040), rows);
  } else {
    EXPECT_EQ(Bytes(payload.begin(), payload.end()), rows);
  }
  // The same input always gives the same bytes.
  EXPECT_EQ(EncodeZbmp(source), file);
}

TEST(Zbmp, NoiseIsStoredRaw) {
  const QImage source = noiseImage(64, 64, 7);
  const Bytes rows = Rgb565Rows(source);
  const auto stream = CompressRgb565(rows);
  ASSERT_TRUE(stream);
  ASSERT_GT(stream->size(), rows.size());
  const Bytes file = EncodeZbmp(source);
  ASSERT_EQ(file.size(), 16 + rows.size());
  EXPECT_EQ(file[4], 0x00);
  EXPECT_EQ(file[5], 0x00);
  for (int i = 6; i < 16; ++i) EXPECT_EQ(file[std::size_t(i)], 0);
  EXPECT_EQ(Bytes(file.begin() + 16, file.end()), rows);
}

TEST(Zbmp, CompressionCapacityFitsTheWorstCase) {
  // Capacity rows * 1.1 + 100 is above zlib's bound, so even incompressible
  // rows compress in one pass.
  std::mt19937 rng(3);
  Bytes rows(100000);
  for (auto& b : rows) b = std::uint8_t(rng());
  const auto stream = CompressRgb565(rows);
  ASSERT_TRUE(stream);
  EXPECT_EQ(inflate(*stream, rows.size()), rows);
  const auto empty = CompressRgb565(ByteView());
  ASSERT_TRUE(empty);
  EXPECT_FALSE(empty->empty());
}

TEST(Zbmp, AlphaIsDroppedFromTheRows) {
  QImage source(4, 2, QImage::Format_ARGB32);
  source.fill(qRgba(200, 100, 50, 0));
  const Bytes rows = Rgb565Rows(source);
  ASSERT_EQ(rows.size(), 16u);
  EXPECT_EQ(getLe16(rows.data()), rgb565(qRgb(200, 100, 50)));
}

TEST(Zbmp, EmptyPictureGivesNothing) {
  EXPECT_TRUE(EncodeZbmp(QImage()).empty());
  TempDir dir;
  Report report;
  EXPECT_FALSE(WriteZbmp(QImage(), dir / "1.zbmp", report));
  EXPECT_FALSE(fs::exists(dir / "1.zbmp"));
}

TEST(Zbmp, WriteGoesThroughWriteOutput) {
  TempDir dir;
  Report report;
  const QImage source = patternImage(30, 20);
  ASSERT_TRUE(WriteZbmp(source, dir / "4.zbmp", report));
  EXPECT_EQ(readBytes(dir / "4.zbmp"), EncodeZbmp(source));
  EXPECT_EQ(report.filesWritten, 1);

  setWriteFaultInjector([](const fs::path&) { return false; });
  Report failed;
  EXPECT_FALSE(WriteZbmp(source, dir / "5.zbmp", failed));
  setWriteFaultInjector(nullptr);
  EXPECT_FALSE(fs::exists(dir / "5.zbmp"));
  ASSERT_EQ(failed.writeFailures.size(), 1u);
  EXPECT_EQ(failed.writeFailures[0], dir / "5.zbmp");
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
  bool sawEqual = false, sawLonger = false;
  for (int k = 16; k <= 64; ++k) {
    const Bytes rows = rowsWith(k);
    const auto stream = CompressRgb565(rows);
    ASSERT_TRUE(stream);
    const Bytes file = EncodeZbmpRows(32, 1, rows);
    ASSERT_GE(file.size(), 16u);
    const ByteView payload(file.data() + 16, file.size() - 16);
    if (stream->size() == rows.size()) {
      sawEqual = true;
      EXPECT_EQ(getLe16(file.data() + 4), kZbmpCompressed) << k;
      EXPECT_EQ(Bytes(payload.begin(), payload.end()), *stream);
    } else if (stream->size() > rows.size()) {
      sawLonger = true;
      EXPECT_EQ(getLe16(file.data() + 4), kZbmpRaw) << k;
      EXPECT_EQ(Bytes(payload.begin(), payload.end()), rows);
    } else {
      EXPECT_EQ(getLe16(file.data() + 4), kZbmpCompressed) << k;
    }
  }
  EXPECT_TRUE(sawEqual);
  EXPECT_TRUE(sawLonger);
}
