#pragma once
// The short way to RGB565 rows for the .zbmp file and the picture pack: a
// plain 24-bit BMP or a plain JPEG is turned into rows from its bytes,
// without a 32-bit picture in between; every other picture goes through
// LoadPicture and RotatePicture. Both ways give the same rows.
#include <filesystem>
#include <optional>
#include <string>

#include "util/Bytes.h"

namespace tessel {

// A picture as RGB565 rows: Rgb565Stride(width) bytes each, top row first,
// pixels little-endian, the row padding zero.
struct Rgb565Picture {
  int width = 0;
  int height = 0;
  Bytes rows;
  bool ok() const { return !rows.empty(); }
};

// Decodes a BMP file held in memory when it is plain: a 40, 108 or 124-byte
// information header, one plane, 24 bits per pixel, no compression, a
// positive width, rows bottom-up or top-down, every row inside the file, and
// a size LoadPicture accepts. Nothing for any other file (the caller then
// takes the general way, which decodes it or says why not).
std::optional<Rgb565Picture> DecodePlainBmp(ByteView file);

// Decodes a JPEG held in memory straight to RGB565 rows when it is plain: a
// YCbCr or greyscale image libjpeg decodes without an error or a warning,
// within the sizes LoadPicture accepts. Nothing for any other file.
std::optional<Rgb565Picture> DecodePlainJpeg(ByteView file);

// Loads the picture at `path`, rotates it by `rotation` (see RotatePicture)
// and gives its RGB565 rows. When it cannot be loaded the rows are empty and
// `error` holds LoadPicture's reason; empty rows with no error mean it loaded
// but could not be converted (out of memory).
Rgb565Picture LoadRgb565(const std::filesystem::path& path, int rotation, std::string& error);

}  // namespace tessel
