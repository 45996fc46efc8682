// RGB565 rows, 32-bit pixels and BGR bytes packed in one pass, are exactly
// Qt's conversion to RGB16: the .zbmp files and the picture pack are pinned
// to those bytes.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cstdint>

#include "picture/Rgb565.h"
#include "support/TestSupport.h"

namespace tessel {
namespace {

TEST(Rgb565, PackingMatchesQtsConversionForEveryColour) {
  // All 2^24 colours, with an alpha that changes along the row for ARGB32.
  QImage rgb(4096, 4096, QImage::Format_RGB32);
  for (int y = 0; y < 4096; ++y) {
    auto* p = reinterpret_cast<std::uint32_t*>(rgb.scanLine(y));
    for (int x = 0; x < 4096; ++x) p[x] = 0xFF000000u | std::uint32_t(y * 4096 + x);
  }
  const Bytes expected = test::qtRgb565Rows(rgb);
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
  EXPECT_EQ(Rgb565Rows(argb), test::qtRgb565Rows(argb));
}

TEST(Rgb565, OddWidthsAndOtherFormatsKeepZeroPadding) {
  for (int width : {1, 2, 3, 5, 6}) {
    const QImage picture = test::patternImage(width, 7);
    for (QImage::Format f : {QImage::Format_RGB32, QImage::Format_ARGB32, QImage::Format_RGB16,
                             QImage::Format_RGB888, QImage::Format_Indexed8}) {
      const QImage converted = picture.convertToFormat(f);
      const Bytes rows = Rgb565Rows(converted);
      EXPECT_EQ(rows, test::qtRgb565Rows(converted)) << width << " format " << int(f);
    }
  }
}

}  // namespace
}  // namespace tessel
