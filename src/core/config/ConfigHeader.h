#pragma once
// The first 64 bytes of a configuration block file (t5*.cfg) and the layout
// markers that may appear in them.
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

#include "util/Bytes.h"

namespace tessel {

constexpr std::size_t kConfigHeaderSize = 64;
using ConfigHeader = std::array<std::uint8_t, kConfigHeaderSize>;

inline constexpr std::string_view kMarkerT5LC1 = "T5LC1";
inline constexpr std::string_view kMarkerT5C1 = "T5C1";
inline constexpr std::string_view kMarkerT5C2 = "T5C2";
inline constexpr std::string_view kMarkerT5C4 = "T5C4";

// The first 64 bytes of `head`; positions beyond its end read as 0.
ConfigHeader MakeConfigHeader(ByteView head);

// Reads the header of a block file. Nothing when the path is empty or the
// file cannot be opened; a shorter file is zero-filled.
std::optional<ConfigHeader> ReadConfigHeader(const std::filesystem::path& path);

// True when `marker` occurs in the header read as a zero-terminated text:
// the search ends at the first zero byte and never passes byte 63.
bool HasMarker(const ConfigHeader& header, std::string_view marker);

// Big-endian 16-bit value at `offset` (offset + 1 must lie in the header).
inline std::uint16_t HeaderBe16(const ConfigHeader& header, std::size_t offset) {
  return GetBe16(header.data() + offset);
}

}  // namespace tessel
