#pragma once
// JPEG re-encoding through libjpeg: 3 components, JCS_RGB, the library's
// defaults (JFIF, 4:2:0, baseline, standard Huffman tables), the quality
// scaling of jpeg_set_quality with force-baseline, all tables written.
#include <QImage>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "util/Bytes.h"
#include "util/Report.h"

namespace tessel {

constexpr int kJpegQualityNormal = 90;
constexpr int kJpegQualityHigh = 100;

// Compresses `height` rows of `width` R,G,B pixels, `pitch` bytes apart, into
// a JPEG file held in memory (the same bytes a file destination gets). A
// library error (a side of 0 or above 65500, memory exhausted) gives nothing
// and, when `error` is given, the library's message.
std::optional<Bytes> EncodeJpegRows(const std::uint8_t* rgb, int width, int height,
                                    std::size_t pitch, int quality, std::string* error = nullptr);

// The picture (flattened to Format_RGB888, alpha dropped) as a JPEG file.
std::optional<Bytes> EncodeJpeg(const QImage& picture, int quality, std::string* error = nullptr);

// Encodes packed R,G,B rows (pitch width * 3) and writes them to `path`
// through writeOutput. A library error is a warning in the report and writes
// nothing. True when the file was written.
bool WriteJpegFile(const std::filesystem::path& path, const std::uint8_t* rgb, int width,
                   int height, int quality, Report& report);

// Encodes the picture and writes it to `path` through writeOutput, as
// WriteJpegFile does.
bool EncodeJpegFile(const QImage& picture, const std::filesystem::path& path, int quality,
                    Report& report);

}  // namespace tessel
