#pragma once
// What the strict readers of the outputs share (.zbmp and JPEG pictures,
// .zico libraries, the picture pack): every inflate bounded by the size the
// header declares, RGB565 rows as a picture, blocks that must not share
// bytes. The readers are pure: every field is checked against the bytes
// given, and a fault comes back as one sentence without the file name
// ("entry 12 points past the end of the file"); the caller puts the file's
// name in front.
#include <QImage>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "util/Bytes.h"
#include "util/TextLines.h"

namespace tessel {

// Inflates a whole zlib stream that must give exactly `expected` bytes and
// end where `stream` ends. Never allocates more than `expected` bytes; a
// stream too short to hold that much (zlib cannot pass about 1032:1) is
// refused before anything is allocated. Nothing, with the reason in `error`,
// on any fault.
std::optional<Bytes> InflateExact(ByteView stream, std::uint64_t expected, std::string& error);

// RGB565 pixels (little-endian, rows `stride` bytes apart) as a picture of
// Format_RGB16. A null image when memory runs out.
QImage Rgb565Image(const std::uint8_t* rows, int width, int height, std::size_t stride);

// A picture file of the output, as its reader found it.
struct PictureReading {
  int width = 0, height = 0;
  bool compressed = false;  // .zbmp: zlib rows (false: raw rows)
  QImage image;             // when decoding was asked for and succeeded
  std::string error;        // empty when the file is sound
  bool ok() const { return error.empty(); }
};

// Blocks [offset, offset + size) given in any order: the position of each
// block that overlaps one before it in address order, with that other one.
std::map<std::size_t, std::size_t> OverlappingBlocks(
    const std::vector<std::pair<std::uint64_t, std::uint64_t>>& blocks);

}  // namespace tessel
