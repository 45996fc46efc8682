#pragma once
// Whether a picture file holds all the data its own header promises. Qt and
// libjpeg decode a cut file all the same (black or grey rows where the data
// ends); a cut picture is refused instead.
#include <string>

#include "util/Bytes.h"

namespace tessel {

// Why the file ends before its pixel data does; empty when it does not, or
// when it is not a format whose end can be told (an uncompressed BMP whose
// rows reach past the end; a JPEG that ends before its end-of-image marker).
std::string TruncationProblem(ByteView file);

}  // namespace tessel
