// The short way to RGB565 rows (plain BMPs and JPEGs decoded from their
// bytes, 32-bit pixels packed in one pass) must give exactly what Qt's
// decoding and its conversion to RGB16 give: the .zbmp files and the picture
// pack are pinned to those bytes.
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

// Qt's way: decode, convert to RGB16, keep Qt's rows (32-bit aligned) with
// their padding zeroed.
Bytes qtRows(const QImage& image) {
  const QImage rgb16 = image.convertToFormat(QImage::Format_RGB16);
  const std::size_t stride = std::size_t(rgb16.bytesPerLine());
  const std::size_t used = std::size_t(rgb16.width()) * 2;
  Bytes rows(stride * std::size_t(rgb16.height()), 0);
  for (int y = 0; y < rgb16.height(); ++y) {
    std::copy_n(rgb16.constScanLine(y), used, rows.begin() + std::ptrdiff_t(std::size_t(y) * stride));
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
  const Bytes expected = qtRows(rgb);
  EXPECT_EQ(Rgb565Rows(rgb), expected);
  // The same colours as the B,G,R bytes of a 24-bit BMP, packed in runs
  // whose lengths leave a remainder after the groups of pixels.
  const std::size_t colours = std::size_t(1) << 24;
  Bytes bgr(colours * 3);
  for (std::uint32_t c = 0; c < colours; ++c) {
    bgr[c * 3] = std::uint8_t(c), bgr[c * 3 + 1] = std::uint8_t(c >> 8), bgr[c * 3 + 2] = std::uint8_t(c >> 16);
  }
  Bytes packed(expected.size());
  for (std::size_t first = 0; first < colours; first += 4093) {
    PackRgb565FromBgr(bgr.data() + first * 3, std::min<std::size_t>(4093, colours - first),
                      packed.data() + first * 2);
  }
  EXPECT_EQ(packed, expected);
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
    EXPECT_EQ(plain->rows, qtRows(qt.image)) << name;
  }
}

TEST(ParallelRows, OtherBmpsAreLeftToTheGeneralWay) {
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
    const LoadedPicture qt = LoadPictureData(ByteView(file), Limits());
    ASSERT_TRUE(qt.ok()) << name;
    const std::optional<Rgb565Picture> plain = DecodePlainJpeg(ByteView(file), Limits());
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
      const std::optional<DecodedIcon> icon = DecodeIconPicture(ByteView(file), Limits());
      ASSERT_TRUE(icon.has_value());
      EXPECT_EQ(icon->width, w);
      EXPECT_EQ(icon->height, h);
      EXPECT_EQ(icon->pixels, expected) << w << "x" << h;
    }
  }
}

TEST(ParallelRows, OtherJpegsAreLeftToTheGeneralWay) {
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
    EXPECT_EQ(decoded->rows, qtRows(LoadPictureData(ByteView(bad), Limits()).image));
  }
  EXPECT_TRUE(declined(Bytes{0xFF, 0xD8, 0xFF, 0xD9}));
  EXPECT_TRUE(declined(Bytes{0xFF, 0xD8}));
  EXPECT_TRUE(declined(build::encode(test::patternImage(4, 4), "BMP")));
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
    Bytes out(*ZlibBound(in.size()));
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
    for (const Bytes& in : inputs) {
      EXPECT_EQ(viaThreadState(in), reference(in)) << in.size();
      const std::optional<Bytes> whole = ZlibCompress(ByteView(in));
      ASSERT_TRUE(whole) << in.size();
      EXPECT_EQ(*whole, reference(in)) << in.size();
    }
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

// Picture files and the same bytes in memory, every rotation, through the
// short way where it applies, against the general way: the picture Qt
// decodes, turned, as rows of Qt's RGB16 conversion.
TEST(ParallelRows, PicturesGiveTheRowsOfTheGeneralWay) {
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
      const Bytes rows = qtRows(turned);
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
