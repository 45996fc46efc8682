#include "picture/Dither.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace tessel {

namespace {

struct Error {
  std::int32_t c[3] = {0, 0, 0};  // red, green, blue
};

}  // namespace

void DitherToRgb565(const std::uint8_t* src, int width, int height, int srcPitch,
                    std::uint8_t* dst, int dstPitch) {
  if (width <= 0 || height <= 0) return;
  const std::size_t entries = std::size_t(width) + 2;  // a guard at each end
  std::vector<Error> cur(entries), next(entries);
  static constexpr int kShift[3] = {3, 2, 3};
  static constexpr int kMax[3] = {31, 63, 31};
  // Source byte of each channel (red, green, blue) within a B,G,R pixel.
  static constexpr int kSourceByte[3] = {2, 1, 0};

  for (int y = 0; y < height; ++y) {
    std::fill(next.begin(), next.end(), Error{});
    std::int32_t carry[3] = {0, 0, 0};
    const std::uint8_t* in = src + std::ptrdiff_t(y) * srcPitch;
    std::uint8_t* out = dst + std::ptrdiff_t(y) * dstPitch;
    for (int x = 0; x < width; ++x) {
      const std::size_t i = std::size_t(x) + 1;
      int q[3];
      for (int c = 0; c < 3; ++c) {
        const std::int32_t v = in[x * 3 + kSourceByte[c]] + (cur[i].c[c] + carry[c]) / 16;
        const std::int32_t k = std::clamp<std::int32_t>(v, 0, 255);
        q[c] = k >> kShift[c];
        const std::int32_t e = v - (q[c] * 255) / kMax[c];
        carry[c] = 7 * e;
        next[i - 1].c[c] += 3 * e;
        next[i].c[c] += 5 * e;
        next[i + 1].c[c] += e;
      }
      const unsigned value = unsigned(q[0]) << 11 | unsigned(q[1]) << 5 | unsigned(q[2]);
      out[x * 2] = static_cast<std::uint8_t>(value);
      out[x * 2 + 1] = static_cast<std::uint8_t>(value >> 8);
    }
    std::swap(cur, next);
  }
}

void ApplyDeRipple(QImage& picture) {
  if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0) return;
  const int width = picture.width();
  const int height = picture.height();

  // The 24-bit view in blue, green, red order, alpha flattened as the
  // encoders flatten it.
  const QImage bgr = picture.convertToFormat(QImage::Format_BGR888);
  if (bgr.isNull()) return;
  std::vector<std::uint8_t> rgb565(std::size_t(width) * std::size_t(height) * 2, 0);
  DitherToRgb565(bgr.constBits(), width, height, static_cast<int>(bgr.bytesPerLine()),
                 rgb565.data(), width * 2);

  const bool alpha = picture.hasAlphaChannel();
  QImage result = picture.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  if (result.isNull()) return;
  for (int y = 0; y < height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
    const std::uint8_t* row = rgb565.data() + std::size_t(y) * std::size_t(width) * 2;
    for (int x = 0; x < width; ++x) {
      const unsigned v = unsigned(row[x * 2]) | unsigned(row[x * 2 + 1]) << 8;
      const int a = alpha ? qAlpha(line[x]) : 0xFF;
      line[x] = qRgba(int(v >> 11) << 3, int((v >> 5) & 0x3F) << 2, int(v & 0x1F) << 3, a);
    }
  }
  picture = std::move(result);
}

}  // namespace tessel
