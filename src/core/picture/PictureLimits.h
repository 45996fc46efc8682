#pragma once
// The sizes of picture the converter takes: both outputs store the sides as
// 16-bit numbers, and a decoded picture must fit in memory.
#include <cstdint>
#include <string>

#include "util/Text.h"

namespace tessel {

// Pictures wider or taller than this are refused.
constexpr int kMaxPictureSide = 65535;
// Pictures whose decoded size as 32-bit pixels passes this are refused.
constexpr std::uint64_t kMaxDecodedBytes = std::uint64_t(512) << 20;

// The memory the workers' pictures and icon libraries in flight may take
// together (MemoryBudget.h), so that more workers do not multiply the peak.
constexpr std::uint64_t kMemoryBudget = std::uint64_t(512) << 20;
// What one decoded pixel costs on its way: 32 bits decoded, 32 bits turned or
// converted, 16 bits of rows, and the encoder's output.
constexpr std::uint64_t kBytesPerPixelInFlight = 10;
// The first bytes of a picture file read to learn what the rest will cost
// (a JPEG's size lies after its metadata segments).
constexpr std::uint64_t kPictureHeadBytes = std::uint64_t(64) << 10;

// Why a picture of this size is refused; empty when it is taken.
inline std::string PictureSizeProblem(std::uint64_t width, std::uint64_t height) {
  if (width > std::uint64_t(kMaxPictureSide) || height > std::uint64_t(kMaxPictureSide)) {
    return trText("Picture", "picture is %1 x %2 pixels, larger than %3 on a side")
        .arg(width)
        .arg(height)
        .arg(kMaxPictureSide);
  }
  if (width * height * 4u > kMaxDecodedBytes) {
    return trText("Picture", "picture is %1 x %2 pixels, more than %3 MiB decoded")
        .arg(width)
        .arg(height)
        .arg(kMaxDecodedBytes >> 20);
  }
  return {};
}

inline bool PictureSizeAllowed(std::uint64_t width, std::uint64_t height) {
  return width <= std::uint64_t(kMaxPictureSide) && height <= std::uint64_t(kMaxPictureSide) &&
         width * height * 4u <= kMaxDecodedBytes;
}

}  // namespace tessel
