// One picture to one output file: loading and its limits, rotation,
// de-ripple, the format table, the rotation decision of a run, skipped
// pictures and failed writes.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageWriter>

#include "picture/Dither.h"
#include "picture/Jpeg.h"
#include "picture/PictureConvert.h"
#include "picture/PictureLoad.h"
#include "picture/Zbmp.h"
#include "support/TestSupport.h"
#include "util/FileIO.h"

using namespace tessel;
using namespace tessel::test;

namespace {

ConversionSettings settingsFor(int format, int deRipple = 0) {
  ConversionSettings s;
  s.pictureFormat = format;
  s.deRipple = deRipple;
  return s;
}

// A 4 x 2 picture with a distinct colour in each corner.
QImage cornerImage() {
  QImage image(4, 2, QImage::Format_RGB32);
  image.fill(qRgb(128, 128, 128));
  image.setPixel(0, 0, qRgb(255, 0, 0));    // top left: red
  image.setPixel(3, 0, qRgb(0, 255, 0));    // top right: green
  image.setPixel(0, 1, qRgb(0, 0, 255));    // bottom left: blue
  image.setPixel(3, 1, qRgb(255, 255, 0));  // bottom right: yellow
  return image;
}

// A BMP header (file and info header, 24 bits) announcing a size, without
// pixel data.
Bytes bmpHeader(std::uint32_t width, std::uint32_t height) {
  Bytes b = {'B', 'M'};
  putLe32(b, 54);
  putLe32(b, 0);
  putLe32(b, 54);
  putLe32(b, 40);
  putLe32(b, width);
  putLe32(b, height);
  putLe16(b, 1);
  putLe16(b, 24);
  putLe32(b, 0);
  putLe32(b, 0);
  putLe32(b, 2835);
  putLe32(b, 2835);
  putLe32(b, 0);
  putLe32(b, 0);
  return b;
}

QRgb zbmpPixel(const Bytes& file, int x, int y) {
  const int width = getLe16(file.data());
  const int height = getLe16(file.data() + 2);
  const std::size_t stride = Rgb565Stride(std::uint64_t(width));
  Bytes rows(file.begin() + 16, file.end());
  if (getLe16(file.data() + 4) == kZbmpCompressed) rows = inflate(rows, stride * std::size_t(height));
  const std::uint16_t v = getLe16(rows.data() + std::size_t(y) * stride + std::size_t(x) * 2);
  return qRgb((v >> 11) << 3, ((v >> 5) & 0x3F) << 2, (v & 0x1F) << 3);
}

}  // namespace

TEST(PictureLoad, BmpAndJpegFromFileAndFromBytes) {
  TempDir dir;
  writePicture(dir / "1.bmp", 30, 20);
  writePicture(dir / "2.jpg", 31, 21);
  const LoadedPicture bmp = LoadPicture(dir / "1.bmp");
  ASSERT_TRUE(bmp.ok()) << bmp.error;
  EXPECT_EQ(bmp.image.size(), QSize(30, 20));
  EXPECT_EQ(bmp.image.format(), QImage::Format_RGB32);
  EXPECT_EQ(bmp.image.pixel(5, 5), patternImage(30, 20).pixel(5, 5));
  const LoadedPicture jpg = LoadPicture(dir / "2.jpg");
  ASSERT_TRUE(jpg.ok()) << jpg.error;
  EXPECT_EQ(jpg.image.size(), QSize(31, 21));

  const LoadedPicture fromBytes = LoadPictureData(readBytes(dir / "1.bmp"));
  ASSERT_TRUE(fromBytes.ok());
  EXPECT_EQ(fromBytes.image, bmp.image);
}

TEST(PictureLoad, ContentDecidesNotTheExtension) {
  TempDir dir;
  writeBytes(dir / "5.bmp", encodeImage(patternImage(12, 7), "JPG", 90));
  writeBytes(dir / "6.jpg", encodeImage(patternImage(13, 8), "BMP"));
  const LoadedPicture jpegNamedBmp = LoadPicture(dir / "5.bmp");
  ASSERT_TRUE(jpegNamedBmp.ok()) << jpegNamedBmp.error;
  EXPECT_EQ(jpegNamedBmp.image.size(), QSize(12, 7));
  const LoadedPicture bmpNamedJpg = LoadPicture(dir / "6.jpg");
  ASSERT_TRUE(bmpNamedJpg.ok()) << bmpNamedJpg.error;
  EXPECT_EQ(bmpNamedJpg.image.size(), QSize(13, 8));
}

TEST(PictureLoad, ProgressiveJpegGreyJpegAndPaletteBmp) {
  QByteArray progressive;
  {
    QBuffer buffer(&progressive);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(true);
    ASSERT_TRUE(writer.write(patternImage(40, 30)));
  }
  const LoadedPicture p = LoadPictureData(ByteView(reinterpret_cast<const std::uint8_t*>(progressive.data()), std::size_t(progressive.size())));
  ASSERT_TRUE(p.ok()) << p.error;
  EXPECT_EQ(p.image.size(), QSize(40, 30));

  const Bytes grey = encodeImage(patternImage(16, 8).convertToFormat(QImage::Format_Grayscale8), "JPG", 90);
  const LoadedPicture g = LoadPictureData(grey);
  ASSERT_TRUE(g.ok()) << g.error;
  EXPECT_EQ(g.image.format(), QImage::Format_RGB32);

  QImage palette(9, 5, QImage::Format_Indexed8);
  palette.setColorTable({qRgb(0, 0, 0), qRgb(250, 10, 20)});
  palette.fill(1);
  const LoadedPicture i = LoadPictureData(encodeImage(palette, "BMP"));
  ASSERT_TRUE(i.ok()) << i.error;
  EXPECT_EQ(i.image.format(), QImage::Format_RGB32);
  EXPECT_EQ(i.image.pixel(8, 4), qRgb(250, 10, 20));
}

TEST(PictureLoad, RefusesPicturesPastTheLimits) {
  const LoadedPicture wide = LoadPictureData(bmpHeader(70000, 1));
  EXPECT_FALSE(wide.ok());
  EXPECT_NE(wide.error.find("65535"), std::string::npos) << wide.error;

  const LoadedPicture tall = LoadPictureData(bmpHeader(1, 65536));
  EXPECT_FALSE(tall.ok());
  EXPECT_NE(tall.error.find("65535"), std::string::npos) << tall.error;

  // 12000 x 12000 x 4 bytes is above 512 MiB; refused before any pixel is
  // read.
  const LoadedPicture huge = LoadPictureData(bmpHeader(12000, 12000));
  EXPECT_FALSE(huge.ok());
  EXPECT_NE(huge.error.find("MiB"), std::string::npos) << huge.error;
}

TEST(PictureLoad, GarbageAndMissingFilesAreNotPictures) {
  TempDir dir;
  EXPECT_FALSE(LoadPicture(dir / "missing.bmp").ok());
  writeText(dir / "1.bmp", "this is not a picture at all");
  const LoadedPicture garbage = LoadPicture(dir / "1.bmp");
  EXPECT_FALSE(garbage.ok());
  EXPECT_FALSE(garbage.error.empty());
  EXPECT_FALSE(LoadPictureData(ByteView()).ok());
}

TEST(Rotation, EveryCodeOnANonSquarePicture) {
  const QImage source = cornerImage();
  const QImage r0 = RotatePicture(source, 0);
  EXPECT_EQ(r0, source);

  const QImage r1 = RotatePicture(source, 1);  // 90 clockwise
  ASSERT_EQ(r1.size(), QSize(2, 4));
  EXPECT_EQ(r1.pixel(0, 0), qRgb(0, 0, 255));    // bottom left comes to the top left
  EXPECT_EQ(r1.pixel(1, 0), qRgb(255, 0, 0));    // top left comes to the top right
  EXPECT_EQ(r1.pixel(1, 3), qRgb(0, 255, 0));    // top right comes to the bottom right
  EXPECT_EQ(r1.pixel(0, 3), qRgb(255, 255, 0));  // bottom right comes to the bottom left

  const QImage r2 = RotatePicture(source, 2);
  ASSERT_EQ(r2.size(), QSize(4, 2));
  EXPECT_EQ(r2.pixel(0, 0), qRgb(255, 255, 0));
  EXPECT_EQ(r2.pixel(3, 0), qRgb(0, 0, 255));
  EXPECT_EQ(r2.pixel(0, 1), qRgb(0, 255, 0));
  EXPECT_EQ(r2.pixel(3, 1), qRgb(255, 0, 0));

  const QImage r3 = RotatePicture(source, 3);  // 270 clockwise
  ASSERT_EQ(r3.size(), QSize(2, 4));
  EXPECT_EQ(r3.pixel(0, 0), qRgb(0, 255, 0));
  EXPECT_EQ(r3.pixel(1, 0), qRgb(255, 255, 0));
  EXPECT_EQ(r3.pixel(0, 3), qRgb(255, 0, 0));
  EXPECT_EQ(r3.pixel(1, 3), qRgb(0, 0, 255));

  // Exact: no colour is blended anywhere.
  for (const QImage* r : {&r1, &r2, &r3}) {
    int grey = 0;
    for (int y = 0; y < r->height(); ++y) {
      for (int x = 0; x < r->width(); ++x) grey += r->pixel(x, y) == qRgb(128, 128, 128);
    }
    EXPECT_EQ(grey, 4);
  }
  EXPECT_EQ(RotatePicture(source, 4), source);
  EXPECT_EQ(RotatePicture(source, -1), source);
}

TEST(Rotation, OutputHeaderHasTheRotatedSize) {
  TempDir dir;
  writeBytes(dir / "7.bmp", encodeImage(cornerImage(), "BMP"));
  for (int code = 0; code < 4; ++code) {
    const EncodedPicture out = EncodePictureFile(settingsFor(kZbmp), dir / "7.bmp", code);
    ASSERT_TRUE(out.ok) << out.warning;
    const bool turned = code % 2 == 1;
    EXPECT_EQ(out.width, turned ? 2 : 4);
    EXPECT_EQ(out.height, turned ? 4 : 2);
    EXPECT_EQ(getLe16(out.bytes.data()), turned ? 2 : 4);
    EXPECT_EQ(getLe16(out.bytes.data() + 2), turned ? 4 : 2);
  }
  const EncodedPicture r1 = EncodePictureFile(settingsFor(kZbmp), dir / "7.bmp", 1);
  EXPECT_EQ(zbmpPixel(r1.bytes, 1, 0), qRgb(248, 0, 0));  // red, in RGB565
  EXPECT_EQ(zbmpPixel(r1.bytes, 0, 0), qRgb(0, 0, 248));
}

TEST(Convert, FormatTableNamesAndQualities) {
  TempDir dir;
  writePicture(dir / "src" / "12.bmp", 32, 24);
  fs::create_directories(dir / "out");
  for (int format : {kJpeg, kJpegHigh, kZbmp}) {
    Report report;
    ASSERT_TRUE(ConvertPictureFile(settingsFor(format), dir / "src" / "12.bmp", dir / "out", 12, 0, report));
    EXPECT_EQ(report.picturesWritten, 1);
    EXPECT_EQ(report.filesWritten, 1);
    EXPECT_TRUE(report.warnings.empty());
  }
  EXPECT_EQ(listTree(dir / "out"), (std::vector<std::string>{"12.jpg", "12.zbmp"}));
  // The last JPEG written was quality 100; re-encode at 90 to compare.
  const QImage picture = LoadPicture(dir / "src" / "12.bmp").image;
  EXPECT_EQ(readBytes(dir / "out" / "12.jpg"), *EncodeJpeg(picture, 100));
  EXPECT_EQ(readBytes(dir / "out" / "12.zbmp"), EncodeZbmp(picture));
  const EncodedPicture normal = EncodePictureFile(settingsFor(kJpeg), dir / "src" / "12.bmp", 0);
  ASSERT_TRUE(normal.ok);
  EXPECT_EQ(normal.extension, ".jpg");
  EXPECT_EQ(normal.bytes, *EncodeJpeg(picture, 90));

  const EncodedPicture unknown = EncodePictureFile(settingsFor(7), dir / "src" / "12.bmp", 0);
  EXPECT_FALSE(unknown.ok);
  EXPECT_FALSE(unknown.warning.empty());
}

TEST(Convert, DeRippleComesBeforeRotation) {
  const QImage source = patternImage(23, 11);
  const Bytes bmp = encodeImage(source, "BMP");
  const EncodedPicture out = EncodePictureData(settingsFor(kZbmp, 1), bmp, 1);
  ASSERT_TRUE(out.ok) << out.warning;

  QImage ditheredFirst = source;
  ApplyDeRipple(ditheredFirst);
  EXPECT_EQ(out.bytes, EncodeZbmp(RotatePicture(ditheredFirst, 1)));

  QImage rotatedFirst = RotatePicture(source, 1);
  ApplyDeRipple(rotatedFirst);
  EXPECT_NE(out.bytes, EncodeZbmp(rotatedFirst));

  // Without de-ripple the rows are the plain truncation.
  const EncodedPicture plain = EncodePictureData(settingsFor(kZbmp, 0), bmp, 1);
  EXPECT_EQ(plain.bytes, EncodeZbmp(RotatePicture(source, 1)));
  EXPECT_NE(plain.bytes, out.bytes);
}

TEST(Convert, CorruptPictureIsSkippedInEveryFormat) {
  TempDir dir;
  fs::create_directories(dir / "out");
  writeText(dir / "1.bmp", "BM garbage that is no bitmap");
  Bytes jpegStart = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10};
  jpegStart.insert(jpegStart.end(), 40, 0x5A);
  writeBytes(dir / "2.jpg", jpegStart);
  for (int format : {kJpeg, kJpegHigh, kZbmp}) {
    for (const char* name : {"1.bmp", "2.jpg"}) {
      Report report;
      EXPECT_FALSE(ConvertPictureFile(settingsFor(format), dir / name, dir / "out", 1, 0, report));
      ASSERT_EQ(report.warnings.size(), 1u) << name;
      EXPECT_NE(report.warnings[0].find(name), std::string::npos) << report.warnings[0];
      EXPECT_EQ(report.picturesWritten, 0);
      EXPECT_TRUE(report.writeFailures.empty());
    }
    const EncodedPicture data = EncodePictureData(settingsFor(format), jpegStart, 0);
    EXPECT_FALSE(data.ok);
    EXPECT_FALSE(data.warning.empty());
  }
  EXPECT_TRUE(listTree(dir / "out").empty());
}

TEST(Convert, FailedWriteLeavesNoFile) {
  TempDir dir;
  writePicture(dir / "3.bmp", 20, 10);
  fs::create_directories(dir / "out");
  for (int format : {kJpeg, kZbmp}) {
    setWriteFaultInjector([](const fs::path&) { return false; });
    Report report;
    const bool written = ConvertPictureFile(settingsFor(format), dir / "3.bmp", dir / "out", 3, 0, report);
    setWriteFaultInjector(nullptr);
    EXPECT_FALSE(written);
    EXPECT_EQ(report.picturesWritten, 0);
    EXPECT_EQ(report.filesWritten, 0);
    const fs::path target = dir / "out" / (format == kZbmp ? "3.zbmp" : "3.jpg");
    ASSERT_EQ(report.writeFailures.size(), 1u);
    EXPECT_EQ(report.writeFailures[0], target);
    EXPECT_FALSE(fs::exists(target));
  }
  EXPECT_TRUE(listTree(dir / "out").empty());
}

TEST(RunRotation, ChosenRotationNeedsNoPicture) {
  TempDir dir;
  ConversionSettings s;
  for (int choice = 1; choice <= 4; ++choice) {
    s.rotationChoice = choice;
    EXPECT_EQ(DecideRunRotation(s, dir / "missing.bmp", 0, 1), choice - 1);
  }
}

TEST(RunRotation, AutomaticTable) {
  TempDir dir;
  writePicture(dir / "portrait.bmp", 20, 30);
  writePicture(dir / "landscape.jpg", 30, 20);
  writePicture(dir / "square.bmp", 25, 25);
  ConversionSettings s;  // automatic
  const int portrait[4] = {0, 3, 0, 1};
  const int landscape[4] = {0, 0, 2, 2};
  for (int screen = 0; screen < 4; ++screen) {
    EXPECT_EQ(DecideRunRotation(s, dir / "portrait.bmp", 0, screen), portrait[screen]) << screen;
    EXPECT_EQ(DecideRunRotation(s, dir / "landscape.jpg", 0, screen), landscape[screen]) << screen;
    EXPECT_EQ(DecideRunRotation(s, dir / "square.bmp", 0, screen), landscape[screen]) << screen;
    for (int kind : {1, 4}) {
      EXPECT_EQ(DecideRunRotation(s, dir / "portrait.bmp", kind, screen), 0);
      EXPECT_EQ(DecideRunRotation(s, dir / "landscape.jpg", kind, screen), 0);
    }
  }
  // A portrait first picture and a screen turned by 90 degrees: 270.
  EXPECT_EQ(DecideRunRotation(s, dir / "portrait.bmp", 0, 1), 3);
}

TEST(RunRotation, PictureThatDoesNotLoadDecidesNothing) {
  TempDir dir;
  writeText(dir / "1.bmp", "no picture");
  ConversionSettings s;
  EXPECT_EQ(DecideRunRotation(s, dir / "1.bmp", 0, 1), std::nullopt);
  EXPECT_EQ(DecideRunRotation(s, dir / "1.bmp", 4, 1), std::nullopt);
  EXPECT_EQ(DecideRunRotation(s, dir / "missing.jpg", 0, 0), std::nullopt);
}
