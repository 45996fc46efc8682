#pragma once
// RGB565 rows, as the .zbmp file, the picture pack and the icon file store
// pixels: little-endian 16-bit values, each channel truncated to its top bits.
#include <QImage>
#include <cstdint>

#include "util/Bytes.h"

namespace tessel {

// Bytes of one RGB565 row: width * 2 rounded up to a multiple of 4.
constexpr std::uint64_t Rgb565Stride(std::uint64_t width) { return (width * 2 + 3) & ~std::uint64_t(3); }

// A picture as RGB565 rows: Rgb565Stride(width) bytes each, top row first,
// the row padding zero.
struct Rgb565Picture {
  int width = 0;
  int height = 0;
  Bytes rows;
  bool ok() const { return !rows.empty(); }
};

// `count` pixels (0xAARRGGBB, as Format_RGB32 and Format_ARGB32 hold them) as
// little-endian RGB565 at `out` (2 * count bytes): alpha dropped.
void PackRgb565(const std::uint32_t* pixels, std::size_t count, std::uint8_t* out);
// The same for `count` pixels of 3 bytes in the order blue, green, red.
void PackRgb565FromBgr(const std::uint8_t* bgr, std::size_t count, std::uint8_t* out);

// The picture's pixels as RGB565 rows (Format_RGB16 of the picture). Alpha
// is dropped. Empty for an empty picture or when memory runs out.
Bytes Rgb565Rows(const QImage& picture);

// The rows of a picture held as Rgb565Picture, turned by a rotation code
// (exact: pixels are moved, never resampled). Empty rows when memory runs out.
Rgb565Picture RotateRgb565(const Rgb565Picture& picture, int rotation);

}  // namespace tessel
