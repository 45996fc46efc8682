#include "picture/PictureIntegrity.h"

#include <cstdint>

namespace tessel {

namespace {

std::string bmpProblem(ByteView f) {
  if (f.size() < 54) return "the file ends inside its header";
  const std::uint64_t offset = getLe32(f.data() + 10);
  const std::uint32_t infoSize = getLe32(f.data() + 14);
  if (infoSize < 40) return {};  // an old core header: left to the decoder
  const auto width = static_cast<std::int32_t>(getLe32(f.data() + 18));
  const auto height = static_cast<std::int32_t>(getLe32(f.data() + 22));
  const std::uint16_t bits = getLe16(f.data() + 28);
  const std::uint32_t compression = getLe32(f.data() + 30);
  const bool plainRows = compression == 0 || compression == 3;  // BI_RGB, BI_BITFIELDS
  const bool knownDepth = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
  if (!plainRows || !knownDepth || width <= 0 || height == 0) return {};
  const std::uint64_t rows = height < 0 ? std::uint64_t(-std::int64_t(height)) : std::uint64_t(height);
  const std::uint64_t stride = (std::uint64_t(width) * bits + 31) / 32 * 4;
  const std::uint64_t needed = offset + stride * rows;
  if (f.size() >= needed) return {};
  return "the file ends after " + std::to_string(f.size()) + " of the " + std::to_string(needed) +
         " bytes its header declares";
}

// Walks the marker segments and the entropy-coded data of every scan up to
// the end-of-image marker.
std::string jpegProblem(ByteView f) {
  const std::size_t n = f.size();
  std::size_t at = 2;  // after SOI
  bool inScan = false;
  while (at < n) {
    if (inScan) {
      // Entropy-coded data: 0xFF is followed by 0x00 (a stuffed byte) or a
      // restart marker inside a scan; any other marker ends the scan.
      if (f[at] != 0xFF) {
        ++at;
        continue;
      }
      if (at + 1 >= n) break;
      const std::uint8_t next = f[at + 1];
      if (next == 0x00 || (next >= 0xD0 && next <= 0xD7) || next == 0xFF) {
        at += next == 0xFF ? 1 : 2;
        continue;
      }
      inScan = false;
    }
    if (f[at] != 0xFF) return {};  // not a marker where one must be: left to the decoder
    while (at < n && f[at] == 0xFF) ++at;  // fill bytes
    if (at >= n) break;
    const std::uint8_t marker = f[at++];
    if (marker == 0xD9) return {};  // end of image
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length
    if (at + 2 > n) break;
    const std::size_t length = getBe16(f.data() + at);
    if (length < 2) return {};
    at += length;
    if (marker == 0xDA) inScan = true;
  }
  return "the file ends before its end-of-image marker (a cut JPEG)";
}

}  // namespace

std::string TruncationProblem(ByteView file) {
  if (file.size() >= 2 && file[0] == 'B' && file[1] == 'M') return bmpProblem(file);
  if (file.size() >= 2 && file[0] == 0xFF && file[1] == 0xD8) return jpegProblem(file);
  return {};
}

}  // namespace tessel
