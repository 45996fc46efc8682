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

// Turned RGB565 rows made from the rows of the unturned picture as they are
// decoded: each row goes straight to its turned place (exact: pixels are
// moved, never resampled), the way Qt turns a picture by 90, 180 or 270
// degrees clockwise. Allocating the rows may throw std::bad_alloc.
class TurnedRows {
 public:
  // The picture is `width` x `height` before the turn by `rotation` (a
  // rotation code; anything but 1, 2 or 3 is none).
  TurnedRows(int width, int height, int rotation);

  // Where row y of the unturned picture may be written as it is (the turned
  // row when there is no turn), or null when it has to go through place().
  std::uint8_t* direct(int y);
  // Puts `count` rows of the unturned picture, from row y on, into their
  // turned places; the rows are `stride` bytes apart at `rows`, width * 2
  // bytes used of each.
  void place(int y, int count, const std::uint8_t* rows, std::size_t stride);
  // The turned picture; the object is spent.
  Rgb565Picture take();

 private:
  int width_, height_, rotation_;
  std::size_t stride_;  // of a turned row
  Bytes rows_;
};

}  // namespace tessel
