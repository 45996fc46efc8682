// One picture through the pipeline: loading, rotation, de-ripple, and
// pictures that cannot be loaded. Picture files turned and encoded end to end
// are compared with the general way in test_parallel_rows.cpp.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImageWriter>

#include "picture/Dither.h"
#include "picture/PictureLoad.h"
#include "picture/PicturePipeline.h"
#include "picture/Rgb565.h"
#include "picture/Zbmp.h"
#include "support/TestSupport.h"

using namespace tessel;
using namespace tessel::test;

namespace {

constexpr PictureEncoding kZbmpPlain{PictureFormat::Zbmp, false};

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

// The rows a .zbmp file holds, read back from its bytes.
Bytes zbmpRows(const Bytes& file) {
  if (file.size() < kZbmpHeaderSize) return {};
  const std::size_t size =
      std::size_t(Rgb565Stride(GetLe16(file.data()))) * GetLe16(file.data() + 2);
  const Bytes payload(file.begin() + kZbmpHeaderSize, file.end());
  return GetLe16(file.data() + 4) == kZbmpCompressed ? inflate(payload, size) : payload;
}

}  // namespace

TEST(PictureLoad, BmpAndJpegFromFileOrBytesWhateverTheirName) {
  TempDir dir;
  writePicture(dir / "1.bmp", 30, 20);
  writeBytes(dir / "5.bmp", build::encode(patternImage(12, 7), "JPG", 90));
  writeBytes(dir / "6.jpg", build::encode(patternImage(13, 8), "BMP"));

  const LoadedPicture bmp = LoadPicture(dir / "1.bmp", Limits());
  ASSERT_TRUE(bmp.ok()) << bmp.error;
  EXPECT_EQ(bmp.image.size(), QSize(30, 20));
  EXPECT_EQ(bmp.image.format(), QImage::Format_RGB32);
  EXPECT_EQ(bmp.image.pixel(5, 5), patternImage(30, 20).pixel(5, 5));
  const LoadedPicture fromBytes = LoadPictureData(readBytes(dir / "1.bmp"), Limits());
  ASSERT_TRUE(fromBytes.ok());
  EXPECT_EQ(fromBytes.image, bmp.image);

  const LoadedPicture jpegNamedBmp = LoadPicture(dir / "5.bmp", Limits());
  ASSERT_TRUE(jpegNamedBmp.ok()) << jpegNamedBmp.error;
  EXPECT_EQ(jpegNamedBmp.image.size(), QSize(12, 7));
  const LoadedPicture bmpNamedJpg = LoadPicture(dir / "6.jpg", Limits());
  ASSERT_TRUE(bmpNamedJpg.ok()) << bmpNamedJpg.error;
  EXPECT_EQ(bmpNamedJpg.image.size(), QSize(13, 8));

  EXPECT_EQ(DecodedPictureSize(dir / "5.bmp", Limits()), QSize(12, 7));
  writeText(dir / "7.bmp", "no picture");
  EXPECT_EQ(DecodedPictureSize(dir / "7.bmp", Limits()), std::nullopt);
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
  const LoadedPicture p =
      LoadPictureData(ByteView(reinterpret_cast<const std::uint8_t*>(progressive.data()),
                               std::size_t(progressive.size())),
                      Limits());
  ASSERT_TRUE(p.ok()) << p.error;
  EXPECT_EQ(p.image.size(), QSize(40, 30));

  const Bytes grey = build::encode(patternImage(16, 8).convertToFormat(QImage::Format_Grayscale8), "JPG", 90);
  const LoadedPicture g = LoadPictureData(grey, Limits());
  ASSERT_TRUE(g.ok()) << g.error;
  EXPECT_EQ(g.image.format(), QImage::Format_RGB32);

  QImage palette(9, 5, QImage::Format_Indexed8);
  palette.setColorTable({qRgb(0, 0, 0), qRgb(250, 10, 20)});
  palette.fill(1);
  const LoadedPicture i = LoadPictureData(build::encode(palette, "BMP"), Limits());
  ASSERT_TRUE(i.ok()) << i.error;
  EXPECT_EQ(i.image.format(), QImage::Format_RGB32);
  EXPECT_EQ(i.image.pixel(8, 4), qRgb(250, 10, 20));
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

TEST(Convert, DeRippleComesBeforeRotation) {
  const QImage source = patternImage(23, 11);
  const Bytes bmp = build::encode(source, "BMP");
  const EncodedPicture out =
      EncodePictureBytes(bmp, {PictureFormat::Zbmp, true}, 1, PictureTarget::File, WorkLimits());
  ASSERT_TRUE(out.ok) << out.error;
  ASSERT_EQ(out.width, 11);
  const Bytes rows = zbmpRows(out.bytes);

  QImage ditheredFirst = source;
  ApplyDeRipple(ditheredFirst);
  EXPECT_EQ(rows, Rgb565Rows(RotatePicture(ditheredFirst, 1)));

  QImage rotatedFirst = RotatePicture(source, 1);
  ApplyDeRipple(rotatedFirst);
  EXPECT_NE(rows, Rgb565Rows(rotatedFirst));

  // Without de-ripple the rows differ: the dither did something.
  const EncodedPicture plain =
      EncodePictureBytes(bmp, kZbmpPlain, 1, PictureTarget::File, WorkLimits());
  ASSERT_TRUE(plain.ok) << plain.error;
  EXPECT_NE(zbmpRows(plain.bytes), rows);
}

// A picture that cannot be loaded gives the loader's reason, whichever way
// (the short way of the plain .zbmp, the general way) and target it takes,
// and no bytes.
TEST(Convert, UnloadablePictureGivesTheLoadersReasonEverywhere) {
  TempDir dir;
  writeText(dir / "1.bmp", "BM garbage that is no bitmap");
  Bytes jpegStart = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10};
  jpegStart.insert(jpegStart.end(), 40, 0x5A);
  writeBytes(dir / "2.jpg", jpegStart);
  build::BmpShape noPlanes;  // the short way declines it, Qt refuses it
  noPlanes.width = 4;
  noPlanes.height = 4;
  noPlanes.planes = 0;
  writeBytes(dir / "3.bmp", build::bmpFile(noPlanes));
  writeText(dir / "4.png", "");

  for (const char* name : {"1.bmp", "2.jpg", "3.bmp", "4.png", "missing.bmp"}) {
    const fs::path path = dir / name;
    const LoadedPicture loaded = LoadPicture(path, Limits());
    ASSERT_FALSE(loaded.ok()) << name;
    ASSERT_FALSE(loaded.error.empty()) << name;
    const Bytes data = fs::exists(path) ? readBytes(path) : Bytes();
    const std::string dataError = LoadPictureData(data, Limits()).error;
    for (PictureFormat format : {PictureFormat::Jpeg, PictureFormat::JpegHigh, PictureFormat::Zbmp}) {
      for (bool deRipple : {false, true}) {
        for (PictureTarget target : {PictureTarget::File, PictureTarget::PackBlock}) {
          const PictureEncoding encoding{format, deRipple};
          const EncodedPicture file = EncodePictureFile(path, encoding, 1, target, WorkLimits());
          EXPECT_FALSE(file.ok) << name;
          EXPECT_TRUE(file.bytes.empty()) << name;
          EXPECT_EQ(file.error, loaded.error) << name;
          const EncodedPicture bytes = EncodePictureBytes(data, encoding, 1, target, WorkLimits());
          EXPECT_FALSE(bytes.ok) << name;
          EXPECT_EQ(bytes.error, dataError) << name;
        }
      }
    }
  }
}

// Every cut of a picture either decodes to its declared size or is refused
// with a reason, the same whether the short way or Qt reads it.
TEST(TruncatedPictures, DecodeToTheirDeclaredSizeOrAreRefused) {
  const QImage image = test::patternImage(37, 23);
  const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
  const std::vector<Bytes> files = {
      build::encode(image.convertToFormat(QImage::Format_RGB888), "BMP"),
      build::encode(image, "JPG", 85), build::encode(grey, "JPG", 60),
      build::encode(image.convertToFormat(QImage::Format_Indexed8), "BMP")};
  const PictureEncoding zbmp{PictureFormat::Zbmp, false};
  for (const Bytes& whole : files) {
    for (std::size_t cut = 0; cut <= whole.size();
         cut += std::max<std::size_t>(1, whole.size() / 40)) {
      const Bytes part(whole.begin(), whole.begin() + std::ptrdiff_t(cut));
      const LoadedPicture p = LoadPictureData(ByteView(part), Limits());
      const EncodedPicture e =
          EncodePictureBytes(ByteView(part), zbmp, 0, PictureTarget::File, WorkLimits());
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
