#pragma once
// The compressed bitmap file (.zbmp): a 16-byte header (width, height,
// compressed flag, ten zero bytes; little-endian) and the picture's RGB565
// rows, zlib-compressed, or raw when compression would make them longer.
#include <QImage>
#include <cstdint>
#include <filesystem>
#include <optional>

#include "util/Bytes.h"
#include "util/Report.h"

namespace tessel {

constexpr std::size_t kZbmpHeaderSize = 16;
constexpr std::uint16_t kZbmpCompressed = 0x00FF;
constexpr std::uint16_t kZbmpRaw = 0x0000;

// Bytes of one RGB565 row: width * 2 rounded up to a multiple of 4.
constexpr std::uint64_t Rgb565Stride(std::uint64_t width) { return (width * 2 + 3) & ~std::uint64_t(3); }

// `count` pixels (0xAARRGGBB, as Format_RGB32 and Format_ARGB32 hold them) as
// little-endian RGB565 at `out` (2 * count bytes): each channel truncated to
// its top bits, alpha dropped.
void PackRgb565(const std::uint32_t* pixels, std::size_t count, std::uint8_t* out);
// The same for `count` pixels of 3 bytes in the order blue, green, red.
void PackRgb565FromBgr(const std::uint8_t* bgr, std::size_t count, std::uint8_t* out);

// The picture's pixels as RGB565 rows (Format_RGB16 of the picture), top row
// first, Rgb565Stride(width) bytes each, pixels little-endian, the row
// padding zero. Alpha is dropped. Empty for an empty picture.
Bytes Rgb565Rows(const QImage& picture);

// The zlib stream `compress` makes at the default level, written to `out`
// (room for `capacity` bytes); its length goes to `written`. False when it
// does not fit or zlib fails. Each thread keeps one deflate state and resets
// it for every call instead of setting up a new one: the stream's bytes are
// the same.
bool ZlibCompressInto(ByteView in, std::uint8_t* out, std::size_t capacity, std::size_t& written);

// zlib `compress` at the default level into a buffer of rows * 1.1 + 100
// bytes. Nothing when zlib does not succeed.
std::optional<Bytes> CompressRgb565(ByteView rows);

// The whole .zbmp file for rows of a width x height picture: the compressed
// stream, or the raw rows when the stream would be strictly longer (or
// compression failed). Empty when there are no rows or a side passes 65535.
Bytes EncodeZbmpRows(int width, int height, ByteView rows);
// The whole .zbmp file of a (loaded, de-rippled, rotated) picture.
Bytes EncodeZbmp(const QImage& picture);

// Encodes the picture and writes it to `path` through writeOutput. Writes
// nothing for an empty picture. True when the file was written.
bool WriteZbmp(const QImage& picture, const std::filesystem::path& path, Report& report);

}  // namespace tessel
