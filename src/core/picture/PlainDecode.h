#pragma once
// The short way to RGB565 rows for the .zbmp file and the picture pack: a
// plain 24-bit BMP or a plain JPEG is turned into rows from its bytes,
// without a 32-bit picture in between, and turned on the way when asked to.
// Every other picture goes through LoadPicture; both ways give the same rows.
#include <optional>

#include "model/Limits.h"
#include "picture/Rgb565.h"
#include "util/Bytes.h"

namespace tessel {

// Decodes a BMP file held in memory when it is plain: a 40, 108 or 124-byte
// information header, one plane, 24 bits per pixel, no compression, a
// positive width, rows bottom-up or top-down, every row inside the file, and
// a size the picture limits accept. Nothing for any other file (the caller
// then takes the general way, which decodes it or says why not). The rows are
// those of the picture turned by `rotation` (a rotation code, as
// RotatePicture turns).
std::optional<Rgb565Picture> DecodePlainBmp(ByteView file, const Limits& limits,
                                            int rotation = 0);

// Decodes a JPEG held in memory straight to RGB565 rows when it is plain: a
// YCbCr or greyscale image libjpeg decodes without an error or a warning,
// within the picture limits, turned by `rotation`. Nothing for any other file.
std::optional<Rgb565Picture> DecodePlainJpeg(ByteView file, const Limits& limits,
                                             int rotation = 0);

}  // namespace tessel
