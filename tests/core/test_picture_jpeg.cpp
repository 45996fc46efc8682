// JPEG re-encoding: the library's defaults at quality 90 and 100, read back
// from the written bytes, and the JPEG formats of the picture pipeline.
#include <gtest/gtest.h>

#include <QImage>
#include <array>
#include <cstdio>
#include <jpeglib.h>
#include <map>

#include "picture/Jpeg.h"
#include "picture/PicturePipeline.h"
#include "support/TestSupport.h"

using namespace tessel;
using namespace tessel::test;

namespace {

// Natural (row-major) index of each zigzag position.
constexpr std::array<int, 64> kZigzag = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
    41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
    30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

// The quality 90 tables: the standard tables of the JPEG standard (annex K)
// scaled by 20 %, natural order.
constexpr std::array<int, 64> kLuminance90 = {
    3,  2,  2,  3,  5,  8,  10, 12,  //
    2,  2,  3,  4,  5,  12, 12, 11,  //
    3,  3,  3,  5,  8,  11, 14, 11,  //
    3,  3,  4,  6,  10, 17, 16, 12,  //
    4,  4,  7,  11, 14, 22, 21, 15,  //
    5,  7,  11, 13, 16, 21, 23, 18,  //
    10, 13, 16, 17, 21, 24, 24, 20,  //
    14, 18, 19, 20, 22, 20, 21, 20};
constexpr std::array<int, 64> kChrominance90 = {
    3,  4,  5,  9,  20, 20, 20, 20,  //
    4,  4,  5,  13, 20, 20, 20, 20,  //
    5,  5,  11, 20, 20, 20, 20, 20,  //
    9,  13, 20, 20, 20, 20, 20, 20,  //
    20, 20, 20, 20, 20, 20, 20, 20,  //
    20, 20, 20, 20, 20, 20, 20, 20,  //
    20, 20, 20, 20, 20, 20, 20, 20,  //
    20, 20, 20, 20, 20, 20, 20, 20};

struct Component {
  int id, sampling, table;
};

// What the markers before the first scan say.
struct JpegInfo {
  bool jfif = false;
  int sofMarker = 0;  // 0xC0 baseline
  int width = 0, height = 0;
  std::vector<Component> components;
  std::map<int, std::array<int, 64>> tables;  // by table id, natural order
  bool restartInterval = false;
  bool ok = false;
};

JpegInfo parseJpeg(const Bytes& data) {
  JpegInfo info;
  if (data.size() < 4 || data[0] != 0xFF || data[1] != 0xD8) return info;
  std::size_t at = 2;
  while (at + 4 <= data.size()) {
    if (data[at] != 0xFF) return info;
    const int marker = data[at + 1];
    const std::size_t length = GetBe16(&data[at + 2]);
    if (at + 2 + length > data.size()) return info;
    const std::uint8_t* seg = &data[at + 4];
    const std::size_t segLength = length - 2;
    if (marker == 0xE0 && segLength >= 5 && std::string(reinterpret_cast<const char*>(seg), 5) == std::string("JFIF\0", 5)) {
      info.jfif = true;
    } else if (marker == 0xDB) {
      std::size_t p = 0;
      while (p < segLength) {
        const int precision = seg[p] >> 4, id = seg[p] & 0x0F;
        if (precision != 0) return info;
        std::array<int, 64> natural{};
        for (int k = 0; k < 64; ++k) natural[std::size_t(kZigzag[std::size_t(k)])] = seg[p + 1 + std::size_t(k)];
        info.tables[id] = natural;
        p += 65;
      }
    } else if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
      info.sofMarker = marker;
      info.height = GetBe16(seg + 1);
      info.width = GetBe16(seg + 3);
      const int count = seg[5];
      for (int c = 0; c < count; ++c) info.components.push_back({seg[6 + c * 3], seg[7 + c * 3], seg[8 + c * 3]});
    } else if (marker == 0xDD) {
      info.restartInterval = true;
    } else if (marker == 0xDA) {
      info.ok = true;
      return info;
    }
    at += 2 + length;
  }
  return info;
}

// The reference: the same compression written to a stdio file.
Bytes encodeThroughStdio(const fs::path& path, const QImage& picture, int quality) {
  const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  FILE* file = std::fopen(path.string().c_str(), "wb");
  if (!file) return {};
  jpeg_stdio_dest(&cinfo, file);
  cinfo.image_width = JDIMENSION(rgb.width());
  cinfo.image_height = JDIMENSION(rgb.height());
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(int(cinfo.next_scanline)));
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  std::fclose(file);
  jpeg_destroy_compress(&cinfo);
  return readBytes(path);
}

}  // namespace

TEST(Jpeg, Quality90TablesAndSampling) {
  const auto jpeg = EncodeJpeg(patternImage(64, 48), 90);
  ASSERT_TRUE(jpeg);
  const JpegInfo info = parseJpeg(*jpeg);
  ASSERT_TRUE(info.ok);
  EXPECT_TRUE(info.jfif);
  EXPECT_EQ(info.sofMarker, 0xC0);  // baseline sequential
  EXPECT_FALSE(info.restartInterval);
  EXPECT_EQ(info.width, 64);
  EXPECT_EQ(info.height, 48);
  ASSERT_EQ(info.components.size(), 3u);
  EXPECT_EQ(info.components[0].sampling, 0x22);  // luminance 2 x 2
  EXPECT_EQ(info.components[1].sampling, 0x11);
  EXPECT_EQ(info.components[2].sampling, 0x11);
  EXPECT_EQ(info.components[0].table, 0);
  EXPECT_EQ(info.components[1].table, 1);
  EXPECT_EQ(info.components[2].table, 1);
  ASSERT_EQ(info.tables.size(), 2u);
  EXPECT_EQ(info.tables.at(0), kLuminance90);
  EXPECT_EQ(info.tables.at(1), kChrominance90);

  // The file holds the entries in zigzag order: 16 11 12 14 12 10 16 14 of
  // the standard luminance table, scaled.
  const Bytes dqt = {0xFF, 0xDB};
  const auto at = std::search(jpeg->begin(), jpeg->end(), dqt.begin(), dqt.end());
  ASSERT_NE(at, jpeg->end());
  const std::size_t first = std::size_t(at - jpeg->begin()) + 5;  // marker, length, Pq/Tq
  ASSERT_EQ((*jpeg)[first - 1], 0x00);
  EXPECT_EQ(Bytes(jpeg->begin() + std::ptrdiff_t(first), jpeg->begin() + std::ptrdiff_t(first) + 8),
            (Bytes{3, 2, 2, 3, 2, 2, 3, 3}));
}

// The two JPEG formats of the dialog through the picture pipeline: quality 90
// and 100, the same file for a picture file and a pack block, turned.
TEST(Jpeg, PipelineFormatsPickTheirQuality) {
  const Bytes bmp = build::encode(patternImage(48, 32), "BMP");
  const EncodedPicture normal =
      EncodePictureBytes(bmp, {PictureFormat::Jpeg, false}, 1, PictureTarget::File, WorkLimits());
  ASSERT_TRUE(normal.ok) << normal.error;
  EXPECT_EQ(normal.extension, ".jpg");
  EXPECT_EQ(normal.width, 32);
  EXPECT_EQ(normal.height, 48);
  const JpegInfo info = parseJpeg(normal.bytes);
  ASSERT_TRUE(info.ok);
  EXPECT_EQ(info.width, 32);
  EXPECT_EQ(info.height, 48);
  ASSERT_EQ(info.tables.size(), 2u);
  EXPECT_EQ(info.tables.at(0), kLuminance90);

  const EncodedPicture high = EncodePictureBytes(bmp, {PictureFormat::JpegHigh, false}, 0,
                                                 PictureTarget::File, WorkLimits());
  ASSERT_TRUE(high.ok) << high.error;
  EXPECT_EQ(high.extension, ".jpg");
  const JpegInfo highInfo = parseJpeg(high.bytes);
  ASSERT_TRUE(highInfo.ok);
  ASSERT_EQ(highInfo.tables.size(), 2u);
  for (const auto& [id, table] : highInfo.tables) {
    for (int v : table) EXPECT_EQ(v, 1) << "table " << id;
  }

  const EncodedPicture block = EncodePictureBytes(bmp, {PictureFormat::Jpeg, false}, 1,
                                                  PictureTarget::PackBlock, WorkLimits());
  ASSERT_TRUE(block.ok) << block.error;
  EXPECT_EQ(block.packKind, kPackJpeg);
  EXPECT_EQ(block.bytes, normal.bytes);
}

TEST(Jpeg, SameBytesAsAFileWrite) {
  TempDir dir;
  const QImage picture = patternImage(57, 33);
  for (int quality : {90, 100}) {
    const auto jpeg = EncodeJpeg(picture, quality);
    ASSERT_TRUE(jpeg);
    EXPECT_EQ(*jpeg, encodeThroughStdio(dir / "reference.jpg", picture, quality));
  }
}

TEST(Jpeg, OddWidth) {
  const QImage picture = patternImage(101, 17);
  const auto jpeg = EncodeJpeg(picture, 100);
  ASSERT_TRUE(jpeg);
  const JpegInfo info = parseJpeg(*jpeg);
  EXPECT_EQ(info.width, 101);
  EXPECT_EQ(info.height, 17);
  const QImage decoded = QImage::fromData(jpeg->data(), int(jpeg->size()));
  ASSERT_EQ(decoded.size(), QSize(101, 17));
  // Rows are not shifted: a smooth region keeps its colour closely.
  for (int x : {0, 50, 100}) {
    const QRgb a = picture.pixel(x, 16), b = decoded.pixel(x, 16);
    EXPECT_NEAR(qRed(a), qRed(b), 24) << x;
    EXPECT_NEAR(qGreen(a), qGreen(b), 24) << x;
  }
}

TEST(Jpeg, AlphaPictureHasThreeComponents) {
  QImage picture(20, 10, QImage::Format_ARGB32);
  picture.fill(qRgba(10, 200, 30, 40));
  const auto jpeg = EncodeJpeg(picture, 90);
  ASSERT_TRUE(jpeg);
  const JpegInfo info = parseJpeg(*jpeg);
  ASSERT_TRUE(info.ok);
  EXPECT_EQ(info.components.size(), 3u);
  const QImage decoded = QImage::fromData(jpeg->data(), int(jpeg->size()));
  ASSERT_FALSE(decoded.isNull());
  EXPECT_FALSE(decoded.hasAlphaChannel());
  // The stored colour is kept (alpha dropped, nothing blended in).
  EXPECT_NEAR(qGreen(decoded.pixel(5, 5)), 200, 6);
}

TEST(Jpeg, LibraryErrorIsReportedNotFatal) {
  // Wider than the library's limit of 65500: jpeg_start_compress fails.
  const int width = 65535;
  std::vector<std::uint8_t> row(std::size_t(width) * 3, 0x80);
  std::string error;
  const auto jpeg = EncodeJpegRows(row.data(), width, 1, row.size(), 90, &error);
  EXPECT_FALSE(jpeg);
  EXPECT_NE(error.find("65500"), std::string::npos) << error;
  // The library is usable afterwards.
  EXPECT_TRUE(EncodeJpegRows(row.data(), 100, 1, row.size(), 90));

  EXPECT_FALSE(EncodeJpegRows(row.data(), 0, 1, 0, 90));
  EXPECT_FALSE(EncodeJpeg(QImage(), 90));

  // Through the pipeline: a picture the outputs take but JPEG cannot is not
  // encoded, and the library's message is the reason.
  build::BmpShape shape;
  shape.width = width;
  shape.height = 1;
  const Bytes wide = build::bmpFile(shape);
  const EncodedPicture encoded = EncodePictureBytes(wide, {PictureFormat::JpegHigh, false}, 0,
                                                    PictureTarget::File, WorkLimits());
  EXPECT_FALSE(encoded.ok);
  EXPECT_TRUE(encoded.bytes.empty());
  EXPECT_NE(encoded.error.find("65500"), std::string::npos) << encoded.error;
}

TEST(Jpeg, LargePictureGrowsTheBuffer) {
  // Noise at quality 100 is far larger than the first output buffer.
  QImage picture(300, 300, QImage::Format_RGB32);
  std::uint32_t state = 1;
  for (int y = 0; y < 300; ++y) {
    for (int x = 0; x < 300; ++x) {
      state = state * 1664525u + 1013904223u;
      picture.setPixel(x, y, state | 0xFF000000u);
    }
  }
  const auto jpeg = EncodeJpeg(picture, 100);
  ASSERT_TRUE(jpeg);
  EXPECT_GT(jpeg->size(), 2u * 64 * 1024);  // past two doublings of the first 64 KiB
  EXPECT_EQ((*jpeg)[jpeg->size() - 2], 0xFF);
  EXPECT_EQ((*jpeg)[jpeg->size() - 1], 0xD9);
  EXPECT_EQ(QImage::fromData(jpeg->data(), int(jpeg->size())).size(), QSize(300, 300));
}
