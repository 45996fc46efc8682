#pragma once
// The compressed bitmap file (.zbmp): a 16-byte header (width, height,
// compressed flag, ten zero bytes; little-endian) and the picture's RGB565
// rows, zlib-compressed, or raw when compression would make them longer.
#include <cstdint>

#include "model/Limits.h"
#include "picture/StrictRead.h"
#include "util/Bytes.h"
#include "util/Zlib.h"

namespace tessel {

constexpr std::size_t kZbmpHeaderSize = 16;
// Where the header's fields lie; the bytes from kZbmpZerosAt on are zero.
constexpr std::size_t kZbmpWidthAt = 0;
constexpr std::size_t kZbmpHeightAt = 2;
constexpr std::size_t kZbmpFlagAt = 4;
constexpr std::size_t kZbmpZerosAt = 6;
constexpr std::uint16_t kZbmpCompressed = 0x00FF;
constexpr std::uint16_t kZbmpRaw = 0x0000;

// The whole .zbmp file for the RGB565 rows of a width x height picture: the
// compressed stream, or the raw rows when the stream would be strictly
// longer (or compression failed). Empty when there are no rows or a side
// passes 65535.
Bytes EncodeZbmpRows(int width, int height, ByteView rows,
                     Compression compression = Compression::Default);

// A .zbmp file: the 16-byte header, then the rows (stride (w*2+3)&~3) raw or
// as one zlib stream.
// A size past the limits is a fault (LimitSentence).
PictureReading ReadZbmp(ByteView file, bool decode, const Limits& limits);

}  // namespace tessel
