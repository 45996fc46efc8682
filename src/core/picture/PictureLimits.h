#pragma once
// The sizes of picture the converter takes: both outputs store the sides as
// 16-bit numbers, and a decoded picture must fit in memory.
#include <cstdint>
#include <string>

namespace tessel {

// Pictures wider or taller than this are refused.
constexpr int kMaxPictureSide = 65535;
// Pictures whose decoded size as 32-bit pixels passes this are refused.
constexpr std::uint64_t kMaxDecodedBytes = std::uint64_t(512) << 20;

// Why a picture of this size is refused; empty when it is taken.
inline std::string PictureSizeProblem(std::uint64_t width, std::uint64_t height) {
  const std::string size = std::to_string(width) + " x " + std::to_string(height) + " pixels";
  if (width > std::uint64_t(kMaxPictureSide) || height > std::uint64_t(kMaxPictureSide)) {
    return "picture is " + size + ", larger than " + std::to_string(kMaxPictureSide) + " on a side";
  }
  if (width * height * 4u > kMaxDecodedBytes) {
    return "picture is " + size + ", more than " + std::to_string(kMaxDecodedBytes >> 20) +
           " MiB decoded";
  }
  return {};
}

inline bool PictureSizeAllowed(std::uint64_t width, std::uint64_t height) {
  return width <= std::uint64_t(kMaxPictureSide) && height <= std::uint64_t(kMaxPictureSide) &&
         width * height * 4u <= kMaxDecodedBytes;
}

}  // namespace tessel
