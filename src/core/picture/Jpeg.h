#pragma once
// JPEG re-encoding through libjpeg: 3 components, JCS_RGB, the library's
// defaults (JFIF, 4:2:0, baseline, standard Huffman tables), the quality
// scaling of jpeg_set_quality with force-baseline, all tables written.
#include <QImage>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "model/Limits.h"
#include "picture/StrictRead.h"
#include "util/Bytes.h"

namespace tessel {

// Compresses `height` rows of `width` R,G,B pixels, `pitch` bytes apart, into
// a JPEG file held in memory (the same bytes a file destination gets). A
// library error (a side of 0 or above 65500, memory exhausted) gives nothing
// and, when `error` is given, the library's message.
std::optional<Bytes> EncodeJpegRows(const std::uint8_t* rgb, int width, int height,
                                    std::size_t pitch, int quality, std::string* error = nullptr);

// The picture (flattened to Format_RGB888, alpha dropped) as a JPEG file.
std::optional<Bytes> EncodeJpeg(const QImage& picture, int quality, std::string* error = nullptr);

// A JPEG file as the outputs hold it: start and end markers, a size within
// the picture limits, a decoder that takes it. Always decoded (a JPEG is
// only sound when it decodes).
PictureReading ReadOutputJpeg(ByteView file, const Limits& limits);

}  // namespace tessel
