// The short way to RGB565 rows (plain BMPs decoded from their bytes, 32-bit
// pixels packed in one pass) must give exactly what Qt's decoding and its
// conversion to RGB16 give: the .zbmp files and the picture pack are pinned
// to those bytes.
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
#include "picture/PictureConvert.h"
#include "picture/PictureLoad.h"
#include "picture/PicturePack.h"
#include "picture/Rgb565Load.h"
#include "picture/Zbmp.h"
#include "support/TestSupport.h"
#include "util/Paths.h"

namespace tessel {
namespace {

using test::TempDir;

void le(Bytes& b, std::uint32_t v, int n) {
  for (int i = 0; i < n; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

struct BmpShape {
  int width = 0;
  std::int32_t height = 0;  // negative: rows top-down
  std::uint32_t infoSize = 40;
  std::uint16_t planes = 1;
  std::uint16_t bits = 24;
  std::uint32_t compression = 0;
  int gap = 0;          // bytes between the headers and the pixels
  std::uint32_t colorsUsed = 0;
};

// A BMP written byte by byte; pixel bytes vary with position so that a
// swapped channel, a shifted row or a flipped picture shows.
Bytes makeBmp(const BmpShape& s) {
  const std::uint32_t rows = s.height < 0 ? std::uint32_t(-std::int64_t(s.height)) : s.height;
  const std::uint32_t stride = (std::uint32_t(s.width) * s.bits / 8 + 3) & ~3u;
  const std::uint32_t offset = 14 + s.infoSize + std::uint32_t(s.gap);
  Bytes b{'B', 'M'};
  le(b, offset + stride * rows, 4);
  le(b, 0, 4);
  le(b, offset, 4);
  le(b, s.infoSize, 4);
  le(b, std::uint32_t(s.width), 4);
  le(b, std::uint32_t(s.height), 4);
  le(b, s.planes, 2);
  le(b, s.bits, 2);
  le(b, s.compression, 4);
  le(b, 0, 4);
  le(b, 2835, 4);
  le(b, 2835, 4);
  le(b, s.colorsUsed, 4);
  le(b, 0, 4);
  b.resize(14 + s.infoSize, 0);
  b.resize(offset, 0x5A);
  for (std::uint32_t y = 0; y < rows; ++y) {
    for (std::uint32_t x = 0; x < stride; ++x) b.push_back(std::uint8_t(x * 37 + y * 101 + 7));
  }
  return b;
}

// Qt's way: decode, convert to RGB16, lay the rows out with zero padding.
Bytes qtRows(const QImage& image) {
  const QImage rgb16 = image.convertToFormat(QImage::Format_RGB16);
  const std::size_t stride = (std::size_t(rgb16.width()) * 2 + 3) & ~std::size_t(3);
  Bytes rows(stride * std::size_t(rgb16.height()), 0);
  for (int y = 0; y < rgb16.height(); ++y) {
    const auto* in = reinterpret_cast<const std::uint16_t*>(rgb16.constScanLine(y));
    for (int x = 0; x < rgb16.width(); ++x) {
      rows[std::size_t(y) * stride + std::size_t(x) * 2] = std::uint8_t(in[x]);
      rows[std::size_t(y) * stride + std::size_t(x) * 2 + 1] = std::uint8_t(in[x] >> 8);
    }
  }
  return rows;
}

TEST(ParallelRows, PackingMatchesQtsConversionForEveryColour) {
  // All 2^24 colours, with an alpha that changes along the row for ARGB32.
  QImage rgb(4096, 4096, QImage::Format_RGB32);
  for (int y = 0; y < 4096; ++y) {
    auto* p = reinterpret_cast<std::uint32_t*>(rgb.scanLine(y));
    for (int x = 0; x < 4096; ++x) p[x] = 0xFF000000u | std::uint32_t(y * 4096 + x);
  }
  EXPECT_EQ(Rgb565Rows(rgb), qtRows(rgb));
  QImage argb = rgb.convertToFormat(QImage::Format_ARGB32).copy(0, 0, 4096, 64);
  for (int y = 0; y < argb.height(); ++y) {
    auto* p = reinterpret_cast<std::uint32_t*>(argb.scanLine(y));
    for (int x = 0; x < argb.width(); ++x) p[x] = (p[x] & 0x00FFFFFFu) | (std::uint32_t(x) << 24);
  }
  EXPECT_EQ(Rgb565Rows(argb), qtRows(argb));
}

TEST(ParallelRows, OddWidthsAndOtherFormatsKeepZeroPadding) {
  for (int width : {1, 2, 3, 5, 6}) {
    const QImage picture = test::patternImage(width, 7);
    for (QImage::Format f : {QImage::Format_RGB32, QImage::Format_ARGB32, QImage::Format_RGB16,
                             QImage::Format_RGB888, QImage::Format_Indexed8}) {
      const QImage converted = picture.convertToFormat(f);
      const Bytes rows = Rgb565Rows(converted);
      EXPECT_EQ(rows, qtRows(converted)) << width << " format " << int(f);
    }
  }
}

TEST(ParallelRows, PlainBmpsDecodeAsQtDecodesThem) {
  const std::vector<BmpShape> shapes = {
      {.width = 4, .height = 3},
      {.width = 5, .height = 4},                    // three padding bytes per source row
      {.width = 1, .height = 1},
      {.width = 7, .height = -6},                   // top-down
      {.width = 6, .height = 5, .infoSize = 108},
      {.width = 3, .height = -2, .infoSize = 124},
      {.width = 9, .height = 2, .gap = 10},         // pixels further on than the headers end
      {.width = 3, .height = 3, .gap = 12, .colorsUsed = 3},  // a palette a 24-bit file ignores
  };
  for (const BmpShape& s : shapes) {
    const Bytes file = makeBmp(s);
    const LoadedPicture qt = LoadPictureData(ByteView(file));
    ASSERT_TRUE(qt.ok()) << s.width << "x" << s.height;
    const std::optional<Rgb565Picture> plain = DecodePlainBmp(ByteView(file));
    ASSERT_TRUE(plain.has_value()) << s.width << "x" << s.height;
    EXPECT_EQ(plain->width, qt.image.width());
    EXPECT_EQ(plain->height, qt.image.height());
    EXPECT_EQ(plain->rows, qtRows(qt.image)) << s.width << "x" << s.height << " header "
                                             << s.infoSize;
  }
}

TEST(ParallelRows, OtherBmpsAreLeftToTheGeneralWay) {
  auto declined = [](const Bytes& file) { return !DecodePlainBmp(ByteView(file)).has_value(); };
  EXPECT_TRUE(declined(makeBmp({.width = 4, .height = 4, .bits = 32})));
  EXPECT_TRUE(declined(makeBmp({.width = 4, .height = 4, .bits = 8})));
  EXPECT_TRUE(declined(makeBmp({.width = 4, .height = 4, .compression = 1})));
  EXPECT_TRUE(declined(makeBmp({.width = 4, .height = 4, .planes = 2})));
  EXPECT_TRUE(declined(makeBmp({.width = 4, .height = 4, .infoSize = 52})));
  EXPECT_TRUE(declined(makeBmp({.width = 0, .height = 4})));
  Bytes negativeWidth = makeBmp({.width = 4, .height = 4});
  negativeWidth[18] = 0xFC, negativeWidth[19] = 0xFF, negativeWidth[20] = 0xFF,
  negativeWidth[21] = 0xFF;
  EXPECT_TRUE(declined(negativeWidth));
  EXPECT_TRUE(declined(makeBmp({.width = 4, .height = 0})));
  Bytes huge = makeBmp({.width = 1, .height = 1});
  huge[22] = 0x00, huge[23] = 0x00, huge[24] = 0x00, huge[25] = 0x80;  // height INT_MIN
  EXPECT_TRUE(declined(huge));
  Bytes wide = makeBmp({.width = 1, .height = 1});
  wide[18] = 0x00, wide[19] = 0x00, wide[20] = 0x01, wide[21] = 0x00;  // 65536 wide
  EXPECT_TRUE(declined(wide));
  Bytes shortFile = makeBmp({.width = 5, .height = 5});
  shortFile.pop_back();  // the last row is one byte short
  EXPECT_TRUE(declined(shortFile));
  Bytes pixelsBeforeHeaders = makeBmp({.width = 2, .height = 2});
  pixelsBeforeHeaders[10] = 20;
  EXPECT_TRUE(declined(pixelsBeforeHeaders));
  Bytes offsetPastEnd = makeBmp({.width = 2, .height = 2});
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

TEST(ParallelRows, PlainJpegsDecodeAsQtDecodesThem) {
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
    const LoadedPicture qt = LoadPictureData(ByteView(file));
    ASSERT_TRUE(qt.ok()) << name;
    const std::optional<Rgb565Picture> plain = DecodePlainJpeg(ByteView(file));
    ASSERT_TRUE(plain.has_value()) << name;
    EXPECT_EQ(plain->width, qt.image.width()) << name;
    EXPECT_EQ(plain->height, qt.image.height()) << name;
    EXPECT_EQ(plain->rows, qtRows(qt.image)) << name;
  }
}

// Icons keep their rows without padding: odd widths show a slip.
TEST(ParallelRows, IconJpegsDecodeAsQtDecodesThem) {
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
      const std::optional<DecodedIcon> icon = DecodeIconPicture(ByteView(file));
      ASSERT_TRUE(icon.has_value());
      EXPECT_EQ(icon->width, w);
      EXPECT_EQ(icon->height, h);
      EXPECT_EQ(icon->pixels, expected) << w << "x" << h;
    }
  }
}

TEST(ParallelRows, OtherJpegsAreLeftToTheGeneralWay) {
  auto declined = [](const Bytes& file) { return !DecodePlainJpeg(ByteView(file)).has_value(); };
  EXPECT_TRUE(declined(libjpegFile(16, 16, 1, 1, JCS_CMYK, false, 0)));
  Bytes cut = libjpegFile(40, 40, 2, 2, JCS_YCbCr, false, 0);
  cut.resize(cut.size() / 2);  // libjpeg warns and makes up the rest
  EXPECT_TRUE(declined(cut));
  Bytes bad = libjpegFile(40, 40, 2, 2, JCS_YCbCr, false, 0);
  bad[bad.size() / 2] ^= 0xFF, bad[bad.size() / 2 + 1] ^= 0xFF;  // damaged data
  // Either declined or decoded as Qt decodes it.
  if (const auto decoded = DecodePlainJpeg(ByteView(bad))) {
    EXPECT_EQ(decoded->rows, qtRows(LoadPictureData(ByteView(bad)).image));
  }
  EXPECT_TRUE(declined(Bytes{0xFF, 0xD8, 0xFF, 0xD9}));
  EXPECT_TRUE(declined(Bytes{0xFF, 0xD8}));
  EXPECT_TRUE(declined(test::encodeImage(test::patternImage(4, 4), "BMP")));
}

// The deflate state each thread keeps gives zlib compress's bytes, call after
// call and on any thread.
TEST(ParallelRows, ReusedDeflateStateGivesCompressBytes) {
  auto reference = [](const Bytes& in) {
    uLongf length = compressBound(uLong(in.size()));
    Bytes out(length);
    EXPECT_EQ(compress(out.data(), &length, in.data(), uLong(in.size())), Z_OK);
    out.resize(length);
    return out;
  };
  auto viaThreadState = [](const Bytes& in) {
    Bytes out(in.size() + in.size() / 10 + 100);
    std::size_t written = 0;
    EXPECT_TRUE(ZlibCompressInto(ByteView(in), out.data(), out.size(), written));
    out.resize(written);
    return out;
  };
  std::vector<Bytes> inputs = {Bytes{}, Bytes(1, 0x42), Bytes(100000, 0x00)};
  Bytes noise(70000);
  std::uint32_t state = 12345;
  for (auto& b : noise) b = std::uint8_t((state = state * 1103515245u + 12345u) >> 24);
  inputs.push_back(noise);
  inputs.push_back(Rgb565Rows(test::patternImage(333, 77)));
  for (int round = 0; round < 2; ++round) {
    for (const Bytes& in : inputs) EXPECT_EQ(viaThreadState(in), reference(in)) << in.size();
  }
  std::thread other([&] {
    for (const Bytes& in : inputs) EXPECT_EQ(viaThreadState(in), reference(in)) << in.size();
  });
  other.join();
  // No room: false, and the next call is whole again.
  Bytes tiny(8);
  std::size_t written = 0;
  EXPECT_FALSE(ZlibCompressInto(ByteView(noise), tiny.data(), tiny.size(), written));
  EXPECT_EQ(viaThreadState(inputs.back()), reference(inputs.back()));
}

struct ParallelFilesTest : ::testing::Test {
  TempDir dir;
  ConversionSettings settings;
  void SetUp() override { settings.pictureFormat = kZbmp; }
};

// The short way for files, every rotation, against the general way: a
// picture Qt decodes, rotated and encoded from its 32-bit pixels.
TEST_F(ParallelFilesTest, FilesGiveTheBytesOfTheGeneralWay) {
  std::vector<fs::path> files;
  for (const BmpShape& s : {BmpShape{.width = 5, .height = 3}, BmpShape{.width = 6, .height = -4}}) {
    files.push_back(dir / ("plain" + std::to_string(files.size()) + ".bmp"));
    test::writeBytes(files.back(), ByteView(makeBmp(s)));
  }
  files.push_back(dir / "indexed.bmp");
  test::writeBytes(files.back(), ByteView(test::encodeImage(
                                     test::patternImage(7, 5).convertToFormat(QImage::Format_Indexed8), "BMP")));
  files.push_back(dir / "photo.jpg");
  test::writePicture(files.back(), 9, 6);
  files.push_back(dir / "named.bmp");  // a JPEG under a BMP name
  test::writeBytes(files.back(), ByteView(test::encodeImage(test::patternImage(5, 5), "JPG")));
  for (const fs::path& file : files) {
    const LoadedPicture loaded = LoadPicture(file);
    ASSERT_TRUE(loaded.ok()) << file;
    for (int rotation = 0; rotation < 4; ++rotation) {
      const QImage turned = RotatePicture(loaded.image, rotation);
      std::string error;
      const Rgb565Picture rows = LoadRgb565(file, rotation, error);
      EXPECT_TRUE(error.empty());
      EXPECT_EQ(rows.width, turned.width());
      EXPECT_EQ(rows.height, turned.height());
      EXPECT_EQ(rows.rows, qtRows(turned)) << file << " rotation " << rotation;

      const EncodedPicture encoded = EncodePictureFile(settings, file, rotation);
      const EncodedPicture general = EncodePicture(settings, loaded.image, rotation);
      ASSERT_TRUE(encoded.ok && general.ok);
      EXPECT_EQ(encoded.bytes, general.bytes) << file << " rotation " << rotation;
      EXPECT_EQ(encoded.width, general.width);
      const PackBlock block = EncodePackBlock(settings, file, rotation);
      ASSERT_TRUE(block.ok);
      EXPECT_EQ(test::inflate(ByteView(block.data), rows.rows.size()), rows.rows);
      EXPECT_EQ(block.width, turned.width());
      EXPECT_EQ(block.height, turned.height());
    }
  }
}

TEST_F(ParallelFilesTest, AFileThatDoesNotLoadGivesTheSameWarningBothWays) {
  const fs::path broken = dir / "7.bmp";
  Bytes file = makeBmp({.width = 4, .height = 4, .planes = 0});  // Qt refuses it too
  test::writeBytes(broken, ByteView(file));
  const LoadedPicture loaded = LoadPicture(broken);
  ASSERT_FALSE(loaded.ok());
  std::string error;
  EXPECT_FALSE(LoadRgb565(broken, 0, error).ok());
  EXPECT_EQ(error, loaded.error);
  const EncodedPicture encoded = EncodePictureFile(settings, broken, 0);
  EXPECT_FALSE(encoded.ok);
  EXPECT_EQ(encoded.warning, "skipped picture " + pathToUtf8(broken) + ": " + loaded.error);
  const PackBlock block = EncodePackBlock(settings, broken, 0);
  EXPECT_FALSE(block.ok);
  EXPECT_EQ(block.warning, encoded.warning);
  EXPECT_FALSE(LoadRgb565(dir / "missing.bmp", 0, error).ok());
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace tessel
