#pragma once
// Whether a picture file holds all the data its own header promises. Qt and
// libjpeg decode a cut file all the same (black or grey rows where the data
// ends); a cut picture is refused instead.
#include <cstdint>
#include <string>
#include <utility>

#include "model/Limits.h"
#include "util/Bytes.h"

namespace tessel {

// Why the file ends before its pixel data does; empty when it does not, or
// when it is not a format whose end can be told (an uncompressed BMP whose
// rows reach past the end; a JPEG that ends before its end-of-image marker).
std::string TruncationProblem(ByteView file);

// Why the file would take far more work than its bytes justify: a
// run-length BMP declaring more pixels than its data can hold
// (LimitKind::RlePixels), a JPEG of more scans than the limits take
// (LimitKind::JpegScans). No fault when neither.
LimitFault ContentFault(ByteView file, const Limits& limits);

// The bytes of a picture file worth reading, from its first bytes `head`
// (up to 54) and its size: an uncompressed BMP needs no byte after its last
// row; everything else is read whole.
std::uint64_t PictureReadLength(ByteView head, std::uint64_t fileSize);

// The width and height a BMP or JPEG header declares; 0 x 0 when unknown.
std::pair<std::uint64_t, std::uint64_t> DeclaredPictureSize(ByteView file);

}  // namespace tessel
