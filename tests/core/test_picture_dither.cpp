// De-ripple: the integer error-diffusion dither to RGB565 and its
// application to a picture.
#include <gtest/gtest.h>

#include <QImage>
#include <array>
#include <vector>

#include "picture/Dither.h"

using namespace tessel;

namespace {

struct Rgb {
  int r, g, b;
};

// Dithers a width x height block of one colour (given as R,G,B) and returns
// the RGB565 values, packed rows.
std::vector<std::uint16_t> ditherFlat(int width, int height, Rgb colour, int srcPad = 0) {
  const int pitch = width * 3 + srcPad;
  std::vector<std::uint8_t> src(std::size_t(pitch) * height, 0xEE);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      std::uint8_t* p = src.data() + y * pitch + x * 3;
      p[0] = std::uint8_t(colour.b);
      p[1] = std::uint8_t(colour.g);
      p[2] = std::uint8_t(colour.r);
    }
  }
  std::vector<std::uint8_t> dst(std::size_t(width) * height * 2, 0);
  DitherToRgb565(src.data(), width, height, pitch, dst.data(), width * 2);
  std::vector<std::uint16_t> out;
  for (std::size_t i = 0; i < dst.size(); i += 2) out.push_back(std::uint16_t(dst[i] | dst[i + 1] << 8));
  return out;
}

Rgb widen(std::uint16_t v) { return {(v >> 11) << 3, ((v >> 5) & 0x3F) << 2, (v & 0x1F) << 3}; }

}  // namespace

TEST(Dither, FlatBlockOf40GivesRedCode5In231PixelsAnd4In25) {
  const auto out = ditherFlat(16, 16, {40, 40, 40});
  int five = 0, four = 0, other = 0;
  for (std::uint16_t v : out) {
    const int red = v >> 11;
    if (red == 5) ++five;
    else if (red == 4) ++four;
    else ++other;
  }
  EXPECT_EQ(five, 231);
  EXPECT_EQ(four, 25);
  EXPECT_EQ(other, 0);
  // The first pixel receives nothing: 40 >> 3 = 5.
  EXPECT_EQ(out[0] >> 11, 5);
}

TEST(Dither, RowOfFour100GivesSameValueEverywhere) {
  const auto out = ditherFlat(4, 1, {100, 100, 100});
  ASSERT_EQ(out.size(), 4u);
  for (std::uint16_t v : out) {
    const Rgb c = widen(v);
    EXPECT_EQ(c.r, 96);
    EXPECT_EQ(c.g, 100);
    EXPECT_EQ(c.b, 96);
  }
}

TEST(Dither, OnePixelIsTruncated) {
  const auto out = ditherFlat(1, 1, {123, 77, 255});
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0], 0x7A7F);  // red 15, green 19, blue 31
}

TEST(Dither, WhiteAndBlackStayUnchanged) {
  for (int value : {0, 255}) {
    const auto out = ditherFlat(7, 5, {value, value, value}, 3);
    const std::uint16_t expected = value ? 0xFFFF : 0x0000;
    for (std::uint16_t v : out) EXPECT_EQ(v, expected);
  }
}

// The codes of one channel (0 red, 1 green, 2 blue) after dithering `pixels`
// as rows of `width`.
std::vector<int> channelCodes(const std::vector<Rgb>& pixels, int width, int channel) {
  const int height = int(pixels.size()) / width;
  std::vector<std::uint8_t> src(pixels.size() * 3);
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    src[i * 3] = std::uint8_t(pixels[i].b);
    src[i * 3 + 1] = std::uint8_t(pixels[i].g);
    src[i * 3 + 2] = std::uint8_t(pixels[i].r);
  }
  std::vector<std::uint8_t> dst(pixels.size() * 2);
  DitherToRgb565(src.data(), width, height, width * 3, dst.data(), width * 2);
  std::vector<int> out;
  for (std::size_t i = 0; i < dst.size(); i += 2) {
    const int v = dst[i] | dst[i + 1] << 8;
    out.push_back(channel == 0 ? v >> 11 : channel == 1 ? (v >> 5) & 0x3F : v & 0x1F);
  }
  return out;
}

TEST(Dither, SumAbove255IsClampedButPassesItsWholeError) {
  // Red 7: code 0, error 7, carry 49 (-> +3). Red 255 + 3 = 258: clamped to
  // code 31, but the error passed on is 258 - 255 = 3, carry 21 (-> +1).
  // Red 247 + 1 = 248: code 31; without that error it would be 30.
  const auto red = channelCodes({{7, 0, 0}, {255, 0, 0}, {247, 0, 0}}, 3, 0);
  EXPECT_EQ(red, (std::vector<int>{0, 31, 31}));
}

TEST(Dither, ReceivedErrorsAreSummedThenDividedOnce) {
  // Green row 0 (3, 0, 3): errors 3, 1 (0 + 21 / 16), 3 (3 + 7 / 16).
  // Pixel (1, 1) receives 1 * 3 + 5 * 1 + 3 * 3 = 17 from above and the
  // carry 7 * 1 from (0, 1) (green 0 + 18 / 16 = 1, error 1): 24 / 16 = +1,
  // so green 3 becomes 4, code 1. Divided per contribution it would stay 3.
  const auto green = channelCodes({{0, 3, 0}, {0, 0, 0}, {0, 3, 0},  //
                                   {0, 0, 0}, {0, 3, 0}, {0, 0, 0}},
                                  3, 1);
  EXPECT_EQ(green, (std::vector<int>{0, 0, 0, 0, 1, 0}));
}

TEST(Dither, CarryDoesNotWrapIntoTheNextRow) {
  // Green row 0 (0, 7): (1, 0) gives code 1 (4), error 3; its carry 21 is
  // dropped at the end of the row. (0, 1) receives 3 * 3 = 9 from (1, 0):
  // green 3 + 9 / 16 = 3 -> code 0. Had the carry wrapped, 3 + 30 / 16 = 4
  // -> code 1.
  const auto green = channelCodes({{0, 0, 0}, {0, 7, 0}, {0, 3, 0}, {0, 0, 0}}, 2, 1);
  EXPECT_EQ(green[1], 1);
  EXPECT_EQ(green[2], 0);
}

TEST(Dither, NegativeSumsTruncateTowardZero) {
  // Red 250: code 31 (255), error -5, carry -35 -> -35 / 16 = -2 (not -3).
  // Red 250 - 2 = 248 -> code 31; with -3 it would be 247 -> code 30.
  const auto red = channelCodes({{250, 0, 0}, {250, 0, 0}}, 2, 0);
  EXPECT_EQ(red, (std::vector<int>{31, 31}));
}

// Every pixel takes its dithered value, widened by shifting; alpha stays, and
// so does the kind of picture.
TEST(DeRipple, PixelsTakeTheDitherOfTheBgrRowsAndKeepTheirAlpha) {
  for (QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32}) {
    const bool alpha = format == QImage::Format_ARGB32;
    QImage picture(21, 6, format);
    for (int y = 0; y < picture.height(); ++y) {
      for (int x = 0; x < picture.width(); ++x) {
        picture.setPixel(x, y, qRgba(40 + x, 100 + y * 3, 200 - x * 2, alpha ? (x * 20 + y) & 0xFF : 255));
      }
    }
    const QImage before = picture;
    // The stored colours, whatever the alpha: nothing is blended in.
    std::vector<std::uint8_t> bgr;
    for (int y = 0; y < 6; ++y) {
      for (int x = 0; x < 21; ++x) {
        const QRgb p = before.pixel(x, y);
        bgr.insert(bgr.end(), {std::uint8_t(qBlue(p)), std::uint8_t(qGreen(p)), std::uint8_t(qRed(p))});
      }
    }
    std::vector<std::uint8_t> expected(21 * 6 * 2);
    DitherToRgb565(bgr.data(), 21, 6, 21 * 3, expected.data(), 42);
    ApplyDeRipple(picture);
    ASSERT_EQ(picture.size(), before.size());
    EXPECT_EQ(picture.format(), format);
    for (int y = 0; y < 6; ++y) {
      for (int x = 0; x < 21; ++x) {
        const std::size_t i = std::size_t(y * 21 + x) * 2;
        const Rgb c = widen(std::uint16_t(expected[i] | expected[i + 1] << 8));
        const QRgb p = picture.pixel(x, y);
        EXPECT_EQ(qRed(p), c.r);
        EXPECT_EQ(qGreen(p), c.g);
        EXPECT_EQ(qBlue(p), c.b);
        EXPECT_EQ(qAlpha(p), qAlpha(before.pixel(x, y)));
      }
    }
  }
  QImage empty;
  ApplyDeRipple(empty);
  EXPECT_TRUE(empty.isNull());
}
