#pragma once
// Icon libraries built byte by byte for the icon tests: ICL files from small
// JPEGs split at their start-of-scan segment, T5UIC slot tables and raw
// libraries. Every number inside a library is big-endian.
#include <QColor>
#include <QImage>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <vector>

#include "support/TestSupport.h"
#include "util/Bytes.h"

namespace tessel::icontest {

inline void putBe16(Bytes& b, std::size_t at, std::uint32_t v) {
  b.at(at) = std::uint8_t(v >> 8);
  b.at(at + 1) = std::uint8_t(v);
}
inline void putBe24(Bytes& b, std::size_t at, std::uint32_t v) {
  b.at(at) = std::uint8_t(v >> 16);
  putBe16(b, at + 1, v);
}
inline void putBe32(Bytes& b, std::size_t at, std::uint32_t v) {
  b.at(at) = std::uint8_t(v >> 24);
  putBe24(b, at + 1, v);
}
inline void appendBe16(Bytes& b, std::uint32_t v) {
  b.push_back(std::uint8_t(v >> 8));
  b.push_back(std::uint8_t(v));
}
inline void appendBe32(Bytes& b, std::uint32_t v) {
  appendBe16(b, v >> 16);
  appendBe16(b, v);
}

// A small JPEG made by Qt's encoder.
inline Bytes solidJpeg(int width, int height, QColor color) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(color);
  return test::encodeImage(image, "JPG", 95);
}
inline Bytes patternJpeg(int width, int height) {
  return test::encodeImage(test::patternImage(width, height), "JPG", 90);
}

// A JPEG cut in two after its start-of-scan segment, the way ICL records keep
// it. `fill` 0xFF bytes are added to the end of that segment (and counted in
// its length), and `junk` bytes after it, still inside the head.
struct SplitJpeg {
  Bytes head;
  Bytes body;
};
inline SplitJpeg splitAtScan(const Bytes& jpeg, int fill = 0, Bytes junk = {}) {
  std::size_t p = 2;  // after SOI: walk the marker segments
  while (true) {
    if (p + 4 > jpeg.size() || jpeg[p] != 0xFF) throw std::runtime_error("not a JPEG");
    const std::size_t length = (std::size_t(jpeg[p + 2]) << 8) | jpeg[p + 3];
    if (jpeg[p + 1] == 0xDA) break;
    p += 2 + length;
  }
  const std::size_t length = (std::size_t(jpeg[p + 2]) << 8) | jpeg[p + 3];
  const std::size_t end = p + 2 + length;
  SplitJpeg split;
  split.head.assign(jpeg.begin(), jpeg.begin() + std::ptrdiff_t(end));
  split.head.insert(split.head.end(), std::size_t(fill), 0xFF);
  putBe16(split.head, p + 2, std::uint32_t(length + std::size_t(fill)));
  split.head.insert(split.head.end(), junk.begin(), junk.end());
  split.body.assign(jpeg.begin() + std::ptrdiff_t(end), jpeg.end());
  return split;
}

// One ICL slot: a record with head and body, or only declared lengths (the
// record then holds no data, as for a slot that is skipped for its size).
struct IclSlot {
  Bytes head;
  Bytes body;
  std::optional<std::uint16_t> declaredHead;
  std::optional<std::uint32_t> declaredBody;
};
inline IclSlot iclSlot(const SplitJpeg& s) { return {s.head, s.body, {}, {}}; }
inline IclSlot iclSlotOfSize(std::uint16_t head, std::uint32_t body) {
  return {{}, {}, head, body};
}

// Header (count at bytes 13-14), offset table of one entry per slot, then the
// records in `order` (slot order when empty).
inline Bytes buildIcl(std::uint16_t count, const std::vector<IclSlot>& slots,
                      std::vector<std::size_t> order = {}) {
  if (order.empty()) {
    for (std::size_t i = 0; i < slots.size(); ++i) order.push_back(i);
  }
  Bytes file(16 + 4 * slots.size(), 0x00);
  for (std::size_t i = 0; i < 13; ++i) file[i] = std::uint8_t(0xA0 + i);  // not read
  putBe16(file, 13, count);
  file[15] = 0x5C;
  for (std::size_t k : order) {
    const IclSlot& s = slots[k];
    putBe32(file, 16 + 4 * k, std::uint32_t(file.size()));
    appendBe32(file, 0xDEADBEEF);  // not read
    appendBe16(file, s.declaredHead.value_or(std::uint16_t(s.head.size())));
    appendBe32(file, s.declaredBody.value_or(std::uint32_t(s.body.size())));
    file.insert(file.end(), s.head.begin(), s.head.end());
    file.insert(file.end(), s.body.begin(), s.body.end());
  }
  return file;
}

// T5UIC: 256 slots of 16 bytes, then whatever data is appended.
inline Bytes emptyT5uic() { return Bytes(4096, 0x00); }
inline void setT5uicSlot(Bytes& file, int k, std::uint32_t offset, std::uint32_t length) {
  putBe32(file, 16 * std::size_t(k) + 4, offset);
  putBe24(file, 16 * std::size_t(k) + 8, length);
}
// Appends a JPEG and points slot k at it.
inline void addT5uicJpeg(Bytes& file, int k, const Bytes& jpeg) {
  setT5uicSlot(file, k, std::uint32_t(file.size()), std::uint32_t(jpeg.size()));
  file.insert(file.end(), jpeg.begin(), jpeg.end());
}

// Raw: 16384 slots of 8 bytes, then pixel blocks.
constexpr std::size_t kRawTable = 131072;
inline Bytes emptyRaw() { return Bytes(kRawTable, 0x00); }
inline void setRawSlot(Bytes& file, int k, int width, int height, std::uint32_t address,
                       std::uint8_t lowBits = 0) {
  const std::size_t s = 8 * std::size_t(k);
  file.at(s) = std::uint8_t(width);
  file.at(s + 1) = std::uint8_t(height);
  file.at(s + 2) =
      std::uint8_t(((width >> 8) & 3) << 6 | ((height >> 8) & 3) << 4 | (lowBits & 0x0F));
  putBe24(file, s + 3, address);
}
// Appends big-endian pixels (padded to an even offset) and points slot k at
// them.
inline void addRawIcon(Bytes& file, int k, int width, int height,
                       const std::vector<std::uint16_t>& pixels) {
  if (file.size() % 2) file.push_back(0);
  setRawSlot(file, k, width, height, std::uint32_t(file.size() / 2));
  for (std::uint16_t v : pixels) appendBe16(file, v);
}

}  // namespace tessel::icontest
