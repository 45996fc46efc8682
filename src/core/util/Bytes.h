#pragma once
// Byte buffers and explicit little/big-endian access. Binary formats are
// read and written through these helpers, never by casting structs.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tessel {

using Bytes = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;

inline void PutLe16(Bytes& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void PutLe24(Bytes& out, std::uint32_t v) {
  PutLe16(out, v);
  out.push_back(static_cast<std::uint8_t>(v >> 16));
}
inline void PutLe32(Bytes& out, std::uint32_t v) {
  PutLe16(out, v);
  PutLe16(out, v >> 16);
}

inline std::uint16_t GetLe16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t GetLe24(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16);
}
inline std::uint32_t GetLe32(const std::uint8_t* p) {
  return GetLe24(p) | (std::uint32_t(p[3]) << 24);
}
inline std::uint16_t GetBe16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}
inline std::uint32_t GetBe24(const std::uint8_t* p) {
  return (std::uint32_t(p[0]) << 16) | (std::uint32_t(p[1]) << 8) | std::uint32_t(p[2]);
}
inline std::uint32_t GetBe32(const std::uint8_t* p) {
  return (std::uint32_t(p[0]) << 24) | GetBe24(p + 1);
}

// True when [offset, offset + length) lies inside a buffer of `size` bytes.
// Computed in 64 bits so that 32-bit offsets and lengths cannot wrap.
inline bool FitsIn(std::uint64_t offset, std::uint64_t length, std::uint64_t size) {
  return offset <= size && length <= size - offset;
}

}  // namespace tessel
