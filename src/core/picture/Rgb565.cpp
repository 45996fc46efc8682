#include "picture/Rgb565.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace tessel {

void PackRgb565(const std::uint32_t* pixels, std::size_t count, std::uint8_t* out) {
  for (std::size_t x = 0; x < count; ++x) {
    const std::uint32_t c = pixels[x];
    const std::uint32_t v = ((c >> 8) & 0xF800u) | ((c >> 5) & 0x07E0u) | ((c >> 3) & 0x001Fu);
    if constexpr (std::endian::native == std::endian::little) {
      const auto low = static_cast<std::uint16_t>(v);  // one store, which vectorises
      std::memcpy(out + x * 2, &low, 2);
    } else {
      out[x * 2] = static_cast<std::uint8_t>(v);
      out[x * 2 + 1] = static_cast<std::uint8_t>(v >> 8);
    }
  }
}

namespace {

std::uint32_t BgrTo565(std::uint32_t b, std::uint32_t g, std::uint32_t r) {
  return ((r & 0xF8u) << 8) | ((g & 0xFCu) << 3) | (b >> 3);
}

}  // namespace

void PackRgb565FromBgr(const std::uint8_t* bgr, std::size_t count, std::uint8_t* out) {
  std::size_t x = 0;
  if constexpr (std::endian::native == std::endian::little) {
    // Four pixels at a time: three 32-bit loads, one 64-bit store.
    for (; x + 4 <= count; x += 4) {
      std::uint32_t w[3];
      std::memcpy(w, bgr + x * 3, 12);
      const std::uint64_t v =
          std::uint64_t(BgrTo565(w[0] & 0xFF, (w[0] >> 8) & 0xFF, (w[0] >> 16) & 0xFF)) |
          std::uint64_t(BgrTo565(w[0] >> 24, w[1] & 0xFF, (w[1] >> 8) & 0xFF)) << 16 |
          std::uint64_t(BgrTo565((w[1] >> 16) & 0xFF, w[1] >> 24, w[2] & 0xFF)) << 32 |
          std::uint64_t(BgrTo565((w[2] >> 8) & 0xFF, (w[2] >> 16) & 0xFF, w[2] >> 24)) << 48;
      std::memcpy(out + x * 2, &v, 8);
    }
  }
  for (; x < count; ++x) {
    const std::uint32_t v = BgrTo565(bgr[x * 3], bgr[x * 3 + 1], bgr[x * 3 + 2]);
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

TurnedRows::TurnedRows(int width, int height, int rotation)
    : width_(width), height_(height), rotation_(rotation >= 1 && rotation <= 3 ? rotation : 0) {
  const bool across = rotation_ == 1 || rotation_ == 3;
  stride_ = static_cast<std::size_t>(Rgb565Stride(std::uint64_t(across ? height : width)));
  rows_.resize(stride_ * std::size_t(across ? width : height));  // zero: the padding stays so
}

std::uint8_t* TurnedRows::direct(int y) {
  return rotation_ == 0 ? rows_.data() + std::size_t(y) * stride_ : nullptr;
}

void TurnedRows::place(int y, int count, const std::uint8_t* rows, std::size_t stride) {
  // Pixels move as two-byte units, whatever their byte order.
  auto move = [](std::uint8_t* to, const std::uint8_t* from) { std::memcpy(to, from, 2); };
  const std::size_t w = std::size_t(width_), h = std::size_t(height_);
  std::uint8_t* out = rows_.data();
  switch (rotation_) {
    case 0:  // (x, y) stays
      for (int r = 0; r < count; ++r) {
        std::memcpy(out + std::size_t(y + r) * stride_, rows + std::size_t(r) * stride, w * 2);
      }
      break;
    case 2:  // (x, y) -> (w - 1 - x, h - 1 - y)
      for (int r = 0; r < count; ++r) {
        const std::uint8_t* in = rows + std::size_t(r) * stride;
        std::uint8_t* to = out + (h - 1 - std::size_t(y + r)) * stride_ + (w - 1) * 2;
        for (std::size_t x = 0; x < w; ++x) move(to - x * 2, in + x * 2);
      }
      break;
    case 1:  // (x, y) -> (h - 1 - y, x): column x of the strip becomes part of row x
      for (std::size_t x = 0; x < w; ++x) {
        std::uint8_t* to = out + x * stride_ + (h - 1 - std::size_t(y)) * 2;
        for (int r = 0; r < count; ++r) move(to - std::size_t(r) * 2, rows + std::size_t(r) * stride + x * 2);
      }
      break;
    case 3:  // (x, y) -> (y, w - 1 - x)
      for (std::size_t x = 0; x < w; ++x) {
        std::uint8_t* to = out + (w - 1 - x) * stride_ + std::size_t(y) * 2;
        for (int r = 0; r < count; ++r) move(to + std::size_t(r) * 2, rows + std::size_t(r) * stride + x * 2);
      }
      break;
  }
}

Rgb565Picture TurnedRows::take() {
  const bool across = rotation_ == 1 || rotation_ == 3;
  Rgb565Picture out;
  out.width = across ? height_ : width_;
  out.height = across ? width_ : height_;
  out.rows = std::move(rows_);
  return out;
}

}  // namespace tessel
