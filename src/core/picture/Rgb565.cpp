#include "picture/Rgb565.h"

#include <algorithm>

#include "picture/PictureLoad.h"

namespace tessel {

void PackRgb565(const std::uint32_t* pixels, std::size_t count, std::uint8_t* out) {
  for (std::size_t x = 0; x < count; ++x) {
    const std::uint32_t c = pixels[x];
    const std::uint32_t v = ((c >> 8) & 0xF800u) | ((c >> 5) & 0x07E0u) | ((c >> 3) & 0x001Fu);
    out[x * 2] = static_cast<std::uint8_t>(v);
    out[x * 2 + 1] = static_cast<std::uint8_t>(v >> 8);
  }
}

void PackRgb565FromBgr(const std::uint8_t* bgr, std::size_t count, std::uint8_t* out) {
  for (std::size_t x = 0; x < count; ++x) {
    const std::uint32_t b = bgr[x * 3], g = bgr[x * 3 + 1], r = bgr[x * 3 + 2];
    const std::uint32_t v = ((r & 0xF8u) << 8) | ((g & 0xFCu) << 3) | (b >> 3);
    out[x * 2] = static_cast<std::uint8_t>(v);
    out[x * 2 + 1] = static_cast<std::uint8_t>(v >> 8);
  }
}

Bytes Rgb565Rows(const QImage& picture) {
  if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0) return {};
  const std::size_t width = std::size_t(picture.width());
  const std::size_t height = std::size_t(picture.height());
  const std::size_t stride = static_cast<std::size_t>(Rgb565Stride(width));
  const std::size_t used = width * 2;
  // One pass straight from the decoded pixels for the formats pictures are
  // loaded in (the same values Qt's conversion to RGB16 gives: each channel
  // truncated, alpha dropped); Qt converts the others first.
  const QImage::Format format = picture.format();
  const bool direct32 = format == QImage::Format_RGB32 || format == QImage::Format_ARGB32;
  QImage converted;
  if (!direct32 && format != QImage::Format_RGB16) {
    converted = picture.convertToFormat(QImage::Format_RGB16);
    if (converted.isNull()) return {};
  }
  const QImage& source = converted.isNull() ? picture : converted;
  Bytes rows(stride * height);
  for (std::size_t y = 0; y < height; ++y) {
    std::uint8_t* out = rows.data() + y * stride;
    if (direct32) {
      PackRgb565(reinterpret_cast<const std::uint32_t*>(source.constScanLine(int(y))), width, out);
    } else {
      const auto* in = reinterpret_cast<const std::uint16_t*>(source.constScanLine(int(y)));
      for (std::size_t x = 0; x < width; ++x) {
        out[x * 2] = static_cast<std::uint8_t>(in[x]);
        out[x * 2 + 1] = static_cast<std::uint8_t>(in[x] >> 8);
      }
    }
    std::fill(out + used, out + stride, std::uint8_t(0));  // the padding is zero
  }
  return rows;
}

Rgb565Picture RotateRgb565(const Rgb565Picture& picture, int rotation) {
  // Rotation moves pixels without touching their values, so the 16-bit
  // picture turns just as the 32-bit one would.
  const QImage view(picture.rows.data(), picture.width, picture.height,
                    static_cast<qsizetype>(Rgb565Stride(std::uint64_t(picture.width))),
                    QImage::Format_RGB16);
  const QImage turned = RotatePicture(view, rotation);
  Rgb565Picture out;
  out.rows = Rgb565Rows(turned);
  if (out.ok()) {
    out.width = turned.width();
    out.height = turned.height();
  }
  return out;
}

}  // namespace tessel
