#include "picture/PictureIntegrity.h"

#include <algorithm>
#include <cstdint>
#include "util/Text.h"

namespace tessel {

namespace {

std::string BmpProblem(ByteView f) {
  if (f.size() < 54) return trText("Picture", "the file ends inside its header");
  const std::uint64_t offset = GetLe32(f.data() + 10);
  const std::uint32_t infoSize = GetLe32(f.data() + 14);
  if (infoSize < 40) return {};  // an old core header: left to the decoder
  const auto width = static_cast<std::int32_t>(GetLe32(f.data() + 18));
  const auto height = static_cast<std::int32_t>(GetLe32(f.data() + 22));
  const std::uint16_t bits = GetLe16(f.data() + 28);
  const std::uint32_t compression = GetLe32(f.data() + 30);
  const bool plainRows = compression == 0 || compression == 3;  // BI_RGB, BI_BITFIELDS
  const bool knownDepth = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
  if (!plainRows || !knownDepth || width <= 0 || height == 0) return {};
  const std::uint64_t rows = height < 0 ? std::uint64_t(-std::int64_t(height)) : std::uint64_t(height);
  const std::uint64_t stride = (std::uint64_t(width) * bits + 31) / 32 * 4;
  const std::uint64_t needed = offset + stride * rows;
  if (f.size() >= needed) return {};
  return trText("Picture", "the file ends after %1 of the %2 bytes its header declares")
      .arg(f.size())
      .arg(needed);
}

struct JpegWalk {
  bool ended = false;  // the end-of-image marker was found
  std::uint64_t scans = 0;
  std::uint64_t width = 0, height = 0;  // from the first frame header
};

// Walks the marker segments and the entropy-coded data of every scan up to
// the end-of-image marker, or to the first scan past `maxScans`.
JpegWalk WalkJpeg(ByteView f, bool untilFirstScan = false,
                  std::uint64_t maxScans = UINT64_MAX) {
  JpegWalk walk;
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
    if (f[at] != 0xFF) {  // not a marker where one must be: left to the decoder
      walk.ended = true;
      return walk;
    }
    while (at < n && f[at] == 0xFF) ++at;  // fill bytes
    if (at >= n) break;
    const std::uint8_t marker = f[at++];
    if (marker == 0xD9) {  // end of image
      walk.ended = true;
      return walk;
    }
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length
    if (at + 2 > n) break;
    const std::size_t length = GetBe16(f.data() + at);
    if (length < 2) {
      walk.ended = true;
      return walk;
    }
    const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
                       marker != 0xCC;
    if (frame && walk.width == 0 && at + 7 <= n) {
      walk.height = GetBe16(f.data() + at + 3);
      walk.width = GetBe16(f.data() + at + 5);
    }
    at += length;
    if (marker == 0xDA) {
      if (untilFirstScan) return walk;
      inScan = true;
      if (++walk.scans > maxScans) {
        walk.ended = true;
        return walk;
      }
    }
  }
  return walk;
}

std::string JpegProblem(ByteView f) {
  if (WalkJpeg(f).ended) return {};
  return trText("Picture", "the file ends before its end-of-image marker (a cut JPEG)");
}

// The run-length BMP's declared pixels against its data.
LimitFault RleFault(ByteView f, const Limits& limits) {
  if (f.size() < 54 || GetLe32(f.data() + 14) < 40) return {};
  const std::uint32_t compression = GetLe32(f.data() + 30);
  if (compression != 1 && compression != 2) return {};  // BI_RLE8, BI_RLE4
  const auto width = static_cast<std::int32_t>(GetLe32(f.data() + 18));
  const auto height = static_cast<std::int32_t>(GetLe32(f.data() + 22));
  if (width <= 0 || height == 0) return {};
  const std::uint64_t rows = height < 0 ? std::uint64_t(-std::int64_t(height)) : std::uint64_t(height);
  const std::uint64_t offset = GetLe32(f.data() + 10);
  const std::uint64_t data = offset < f.size() ? f.size() - offset : 0;
  const std::uint64_t pixels = std::uint64_t(width) * rows;
  if (pixels <= limits.rlePixelsPerByte * std::max<std::uint64_t>(data, 1)) return {};
  return {LimitKind::RlePixels, std::uint64_t(width), rows, data, limits.rlePixelsPerByte};
}

}  // namespace

LimitFault ContentFault(ByteView file, const Limits& limits) {
  if (file.size() >= 2 && file[0] == 'B' && file[1] == 'M') return RleFault(file, limits);
  if (file.size() >= 2 && file[0] == 0xFF && file[1] == 0xD8) {
    // Past the limit the count no longer matters.
    if (WalkJpeg(file, false, limits.jpegScans).scans > limits.jpegScans) {
      LimitFault fault;
      fault.kind = LimitKind::JpegScans;
      fault.limit = limits.jpegScans;
      return fault;
    }
  }
  return {};
}

std::uint64_t PictureReadLength(ByteView f, std::uint64_t fileSize) {
  if (f.size() < 54 || f[0] != 'B' || f[1] != 'M' || GetLe32(f.data() + 14) < 40) return fileSize;
  const auto width = static_cast<std::int32_t>(GetLe32(f.data() + 18));
  const auto height = static_cast<std::int32_t>(GetLe32(f.data() + 22));
  const std::uint16_t bits = GetLe16(f.data() + 28);
  const std::uint32_t compression = GetLe32(f.data() + 30);
  const bool plainRows = compression == 0 || compression == 3;
  const bool knownDepth = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
  if (!plainRows || !knownDepth || width <= 0 || height == 0) return fileSize;
  const std::uint64_t rows = height < 0 ? std::uint64_t(-std::int64_t(height)) : std::uint64_t(height);
  const std::uint64_t stride = (std::uint64_t(width) * bits + 31) / 32 * 4;
  const std::uint64_t needed = std::uint64_t(GetLe32(f.data() + 10)) + stride * rows;
  return std::min(needed, fileSize);
}

std::pair<std::uint64_t, std::uint64_t> DeclaredPictureSize(ByteView f) {
  if (f.size() >= 26 && f[0] == 'B' && f[1] == 'M') {
    const auto width = static_cast<std::int32_t>(GetLe32(f.data() + 18));
    const auto height = static_cast<std::int32_t>(GetLe32(f.data() + 22));
    if (width <= 0 || height == 0) return {0, 0};
    return {std::uint64_t(width), height < 0 ? std::uint64_t(-std::int64_t(height))
                                             : std::uint64_t(height)};
  }
  if (f.size() >= 2 && f[0] == 0xFF && f[1] == 0xD8) {
    const JpegWalk walk = WalkJpeg(f, true);
    return {walk.width, walk.height};
  }
  return {0, 0};
}

std::string TruncationProblem(ByteView file) {
  if (file.size() >= 2 && file[0] == 'B' && file[1] == 'M') return BmpProblem(file);
  if (file.size() >= 2 && file[0] == 0xFF && file[1] == 0xD8) return JpegProblem(file);
  return {};
}

}  // namespace tessel
