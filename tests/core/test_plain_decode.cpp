// The short way to RGB565 rows: plain BMPs and JPEGs decoded from their
// bytes must give exactly what Qt's decoding and its conversion to RGB16
// give; anything else is left to the general way.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <cstdint>
#include <limits>
#include <thread>
#include <zlib.h>
// jpeglib.h expects size_t and FILE to be declared first.
#include <cstdio>
#include <jpeglib.h>

#include "icon/IconBuild.h"
#include "picture/PictureLoad.h"
#include "picture/PicturePipeline.h"
#include "picture/PlainDecode.h"
#include "picture/Rgb565.h"
#include "picture/Zbmp.h"
#include "support/TestSupport.h"
#include "util/Zlib.h"

namespace tessel {
namespace {

using test::TempDir;
using build::BmpShape;

// A BMP of width x height as bmpFile writes it, changed by `change`.
template <typename Change>
Bytes bmp(std::int32_t width, std::int32_t height, Change change) {
  BmpShape shape;
  shape.width = width;
  shape.height = height;
  change(shape);
  return build::bmpFile(shape);
}
Bytes bmp(std::int32_t width, std::int32_t height) {
  return bmp(width, height, [](BmpShape&) {});
}

TEST(PlainDecode, PlainBmpsDecodeAsQtDecodesThem) {
  const std::vector<std::pair<std::string, Bytes>> files = {
      {"4x3", bmp(4, 3)},
      {"5x4", bmp(5, 4)},  // three padding bytes per source row
      {"1x1", bmp(1, 1)},
      {"top-down", bmp(7, -6)},
      {"header 108", bmp(6, 5, [](BmpShape& s) { s.infoSize = 108; })},
      {"header 124 top-down", bmp(3, -2, [](BmpShape& s) { s.infoSize = 124; })},
      // Pixels further on than the headers end, once with a palette a 24-bit
      // file ignores.
      {"gap", bmp(9, 2, [](BmpShape& s) { s.gap = Bytes(10, 0x5A); })},
      {"palette", bmp(3, 3, [](BmpShape& s) {
         s.gap = Bytes(12, 0x5A);
         s.colorsUsed = 3;
       })},
  };
  for (const auto& [name, file] : files) {
    const LoadedPicture qt = LoadPictureData(ByteView(file), Limits());
    ASSERT_TRUE(qt.ok()) << name;
    const std::optional<Rgb565Picture> plain = DecodePlainBmp(ByteView(file), Limits());
    ASSERT_TRUE(plain.has_value()) << name;
    EXPECT_EQ(plain->width, qt.image.width()) << name;
    EXPECT_EQ(plain->height, qt.image.height()) << name;
    EXPECT_EQ(plain->rows, test::qtRgb565Rows(qt.image)) << name;
  }
}

TEST(PlainDecode, OtherBmpsAreLeftToTheGeneralWay) {
  auto declined = [](const Bytes& file) {
    return !DecodePlainBmp(ByteView(file), Limits()).has_value();
  };
  EXPECT_TRUE(declined(bmp(4, 4, [](BmpShape& s) { s.bits = 32; })));
  EXPECT_TRUE(declined(bmp(4, 4, [](BmpShape& s) { s.bits = 8; })));
  EXPECT_TRUE(declined(bmp(4, 4, [](BmpShape& s) { s.compression = 1; })));
  EXPECT_TRUE(declined(bmp(4, 4, [](BmpShape& s) { s.planes = 2; })));
  EXPECT_TRUE(declined(bmp(4, 4, [](BmpShape& s) { s.infoSize = 52; })));
  EXPECT_TRUE(declined(bmp(0, 4)));
  EXPECT_TRUE(declined(bmp(-4, 4, [](BmpShape& s) { s.pixels = Bytes(4 * 12, 0x11); })));
  EXPECT_TRUE(declined(bmp(4, 0)));
  Bytes huge = bmp(1, 1);
  huge[22] = 0x00, huge[23] = 0x00, huge[24] = 0x00, huge[25] = 0x80;  // height INT_MIN
  EXPECT_TRUE(declined(huge));
  Bytes wide = bmp(1, 1);
  wide[18] = 0x00, wide[19] = 0x00, wide[20] = 0x01, wide[21] = 0x00;  // 65536 wide
  EXPECT_TRUE(declined(wide));
  Bytes shortFile = bmp(5, 5);
  shortFile.pop_back();  // the last row is one byte short
  EXPECT_TRUE(declined(shortFile));
  Bytes pixelsBeforeHeaders = bmp(2, 2);
  pixelsBeforeHeaders[10] = 20;
  EXPECT_TRUE(declined(pixelsBeforeHeaders));
  Bytes offsetPastEnd = bmp(2, 2);
  offsetPastEnd[13] = 0xFF;
  EXPECT_TRUE(declined(offsetPastEnd));
  EXPECT_TRUE(declined(Bytes{'B', 'M'}));
  EXPECT_TRUE(declined(Bytes(60, 0)));
}

// A JPEG from libjpeg with the given sampling of the first component
// (h x v; the others 1 x 1), colour space and options.
Bytes libjpegFile(int width, int height, int h, int v, J_COLOR_SPACE space, bool progressive,
                  int restartRows) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  const int components = space == JCS_GRAYSCALE ? 1 : space == JCS_CMYK ? 4 : 3;
  cinfo.image_width = JDIMENSION(width);
  cinfo.image_height = JDIMENSION(height);
  cinfo.input_components = components;
  cinfo.in_color_space = space == JCS_GRAYSCALE ? JCS_GRAYSCALE : space == JCS_CMYK ? JCS_CMYK : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 85, TRUE);
  if (space == JCS_YCbCr) {
    cinfo.comp_info[0].h_samp_factor = h;
    cinfo.comp_info[0].v_samp_factor = v;
  }
  if (progressive) jpeg_simple_progression(&cinfo);
  cinfo.restart_in_rows = restartRows;
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<std::uint8_t> row(std::size_t(width) * std::size_t(components));
  while (cinfo.next_scanline < cinfo.image_height) {
    for (std::size_t i = 0; i < row.size(); ++i) {
      row[i] = std::uint8_t((i * 29 + cinfo.next_scanline * 53) ^ (i / 7 * 11));
    }
    JSAMPROW p = row.data();
    jpeg_write_scanlines(&cinfo, &p, 1);
  }
  jpeg_finish_compress(&cinfo);
  Bytes out(buffer, buffer + size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return out;
}

Bytes qtJpeg(const QImage& image, int quality, bool progressive) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "jpeg");
  writer.setQuality(quality);
  writer.setProgressiveScanWrite(progressive);
  EXPECT_TRUE(writer.write(image));
  return Bytes(bytes.begin(), bytes.end());
}

TEST(PlainDecode, PlainJpegsDecodeAsQtDecodesThem) {
  std::vector<std::pair<std::string, Bytes>> files;
  for (auto [w, h] : {std::pair{1, 1}, {17, 9}, {33, 31}, {64, 48}}) {
    const std::string size = std::to_string(w) + "x" + std::to_string(h);
    for (auto [sh, sv] : {std::pair{1, 1}, {2, 1}, {1, 2}, {2, 2}}) {
      std::string name = size;
      name += " sampling ";
      name += char('0' + sh);
      name += char('0' + sv);
      files.push_back({name, libjpegFile(w, h, sh, sv, JCS_YCbCr, false, 0)});
    }
    files.push_back({size + " progressive", libjpegFile(w, h, 2, 2, JCS_YCbCr, true, 0)});
    files.push_back({size + " restarts", libjpegFile(w, h, 2, 1, JCS_YCbCr, false, 1)});
    files.push_back({size + " grey", libjpegFile(w, h, 1, 1, JCS_GRAYSCALE, false, 0)});
    const QImage pattern = test::patternImage(w, h);
    files.push_back({size + " Qt q50", qtJpeg(pattern, 50, false)});
    files.push_back({size + " Qt q100 progressive", qtJpeg(pattern, 100, true)});
    files.push_back({size + " Qt grey", qtJpeg(pattern.convertToFormat(QImage::Format_Grayscale8), 90, false)});
  }
  for (const auto& [name, file] : files) {
    const LoadedPicture qt = LoadPictureData(ByteView(file), Limits());
    ASSERT_TRUE(qt.ok()) << name;
    const std::optional<Rgb565Picture> plain = DecodePlainJpeg(ByteView(file), Limits());
    ASSERT_TRUE(plain.has_value()) << name;
    EXPECT_EQ(plain->width, qt.image.width()) << name;
    EXPECT_EQ(plain->height, qt.image.height()) << name;
    EXPECT_EQ(plain->rows, test::qtRgb565Rows(qt.image)) << name;
  }
}

// Icons keep their rows without padding: odd widths show a slip.
TEST(PlainDecode, IconJpegsDecodeAsQtDecodesThem) {
  for (auto [w, h] : {std::pair{1, 1}, {3, 5}, {17, 9}, {16, 4}}) {
    for (const Bytes& file : {libjpegFile(w, h, 2, 2, JCS_YCbCr, false, 0),
                              libjpegFile(w, h, 1, 1, JCS_GRAYSCALE, true, 0),
                              libjpegFile(w, h, 1, 1, JCS_CMYK, false, 0)}) {
      QByteArray bytes(reinterpret_cast<const char*>(file.data()), qsizetype(file.size()));
      QImage qt;
      ASSERT_TRUE(qt.loadFromData(bytes));
      qt = qt.convertToFormat(QImage::Format_RGB16);
      Bytes expected;
      for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const std::uint16_t*>(qt.constScanLine(y));
        for (int x = 0; x < w; ++x) {
          expected.push_back(std::uint8_t(row[x]));
          expected.push_back(std::uint8_t(row[x] >> 8));
        }
      }
      const std::optional<DecodedIcon> icon = DecodeIconPicture(ByteView(file), Limits());
      ASSERT_TRUE(icon.has_value());
      EXPECT_EQ(icon->width, w);
      EXPECT_EQ(icon->height, h);
      EXPECT_EQ(icon->pixels, expected) << w << "x" << h;
    }
  }
}

TEST(PlainDecode, OtherJpegsAreLeftToTheGeneralWay) {
  auto declined = [](const Bytes& file) {
    return !DecodePlainJpeg(ByteView(file), Limits()).has_value();
  };
  EXPECT_TRUE(declined(libjpegFile(16, 16, 1, 1, JCS_CMYK, false, 0)));
  Bytes cut = libjpegFile(40, 40, 2, 2, JCS_YCbCr, false, 0);
  cut.resize(cut.size() / 2);  // libjpeg warns and makes up the rest
  EXPECT_TRUE(declined(cut));
  Bytes bad = libjpegFile(40, 40, 2, 2, JCS_YCbCr, false, 0);
  bad[bad.size() / 2] ^= 0xFF, bad[bad.size() / 2 + 1] ^= 0xFF;  // damaged data
  // Either declined or decoded as Qt decodes it.
  if (const auto decoded = DecodePlainJpeg(ByteView(bad), Limits())) {
    EXPECT_EQ(decoded->rows, test::qtRgb565Rows(LoadPictureData(ByteView(bad), Limits()).image));
  }
  EXPECT_TRUE(declined(Bytes{0xFF, 0xD8, 0xFF, 0xD9}));
  EXPECT_TRUE(declined(Bytes{0xFF, 0xD8}));
  EXPECT_TRUE(declined(build::encode(test::patternImage(4, 4), "BMP")));
}

// Picture files and the same bytes in memory, every rotation, through the
// short way where it applies, against the general way: the picture Qt
// decodes, turned, as rows of Qt's RGB16 conversion.
TEST(PlainDecode, PicturesGiveTheRowsOfTheGeneralWay) {
  TempDir dir;
  std::vector<fs::path> files;
  files.push_back(dir / "plain.bmp");
  test::writeBytes(files.back(), bmp(5, 3));
  files.push_back(dir / "top-down.bmp");
  test::writeBytes(files.back(), bmp(6, -4));
  files.push_back(dir / "indexed.bmp");
  test::writeBytes(files.back(),
                   build::encode(test::patternImage(7, 5).convertToFormat(QImage::Format_Indexed8), "BMP"));
  files.push_back(dir / "photo.jpg");
  test::writePicture(files.back(), 9, 6);
  files.push_back(dir / "named.bmp");  // a JPEG under a BMP name
  test::writeBytes(files.back(), build::encode(test::patternImage(5, 5), "JPG"));
  // Turned pictures go through in strips of rows: several, the last one short.
  files.push_back(dir / "tall.bmp");
  test::writeBytes(files.back(), bmp(7, 37));
  files.push_back(dir / "tall.jpg");
  test::writePicture(files.back(), 11, 43);
  const PictureEncoding zbmp{PictureFormat::Zbmp, false};
  for (const fs::path& file : files) {
    const LoadedPicture loaded = LoadPicture(file, Limits());
    ASSERT_TRUE(loaded.ok()) << file;
    const Bytes data = test::readBytes(file);
    for (int rotation = 0; rotation < 4; ++rotation) {
      const QImage turned = RotatePicture(loaded.image, rotation);
      const Bytes rows = test::qtRgb565Rows(turned);
      const EncodedPicture encoded =
          EncodePictureFile(file, zbmp, rotation, PictureTarget::File, WorkLimits());
      ASSERT_TRUE(encoded.ok) << file << " " << encoded.error;
      EXPECT_EQ(encoded.extension, ".zbmp");
      EXPECT_EQ(encoded.width, turned.width());
      EXPECT_EQ(encoded.height, turned.height());
      EXPECT_EQ(encoded.bytes, EncodeZbmpRows(turned.width(), turned.height(), rows))
          << file << " rotation " << rotation;
      EXPECT_EQ(EncodePictureBytes(data, zbmp, rotation, PictureTarget::File, WorkLimits()).bytes,
                encoded.bytes)
          << file << " rotation " << rotation;

      const EncodedPicture block =
          EncodePictureFile(file, zbmp, rotation, PictureTarget::PackBlock, WorkLimits());
      ASSERT_TRUE(block.ok) << file << " " << block.error;
      EXPECT_EQ(block.width, turned.width());
      EXPECT_EQ(block.height, turned.height());
      EXPECT_EQ(test::inflate(ByteView(block.bytes), rows.size()), rows)
          << file << " rotation " << rotation;
    }
  }
}

}  // namespace
}  // namespace tessel
