#include "icon/IconLibrary.h"

#include "util/Paths.h"
#include "util/Text.h"

namespace tessel {

namespace {

constexpr std::uint64_t kIclTableStart = 16;
constexpr std::uint64_t kIclRecordHeader = 10;    // 4 unused, head length, body length
constexpr std::uint64_t kIclSlotLimit = 0x40000;  // head + body at or above: skipped
constexpr std::uint16_t kIclCounterLimit = 1024;  // counter at or above: scan ends

constexpr int kT5uicSlots = 256;
constexpr std::uint64_t kT5uicSlotSize = 16;
constexpr std::uint64_t kT5uicSmallest = 10;  // data of this many bytes or fewer: skipped

constexpr int kRawSlots = 16384;
constexpr std::uint64_t kRawSlotSize = 8;

IconScanResult ScanIcl(ByteView data, const IconEntrySink& sink) {
  IconScanResult result;
  const std::uint64_t size = data.size();
  std::uint16_t remaining = GetBe16(data.data() + 13);
  for (std::uint64_t k = 0; remaining < kIclCounterLimit; ++k) {
    const std::uint64_t tableEntry = kIclTableStart + 4 * k;
    if (!FitsIn(tableEntry, 4, size)) {
      result.problem = trText("Icon", "offset table runs past the end of the file at slot %1").arg(k);
      break;
    }
    const std::uint64_t off = GetBe32(data.data() + tableEntry);
    if (!FitsIn(off, kIclRecordHeader, size)) break;  // the layout's own end of scan
    const std::uint64_t headLength = GetBe16(data.data() + off + 4);
    const std::uint64_t bodyLength = GetBe32(data.data() + off + 6);
    if (headLength + bodyLength >= kIclSlotLimit) continue;  // skipped: counter unchanged
    if (headLength == 0) {
      result.problem = trText("Icon", "slot %1 has an empty JPEG head").arg(k);
      break;
    }
    const std::uint64_t d = off + kIclRecordHeader;
    if (!FitsIn(d, headLength + bodyLength, size)) {
      result.problem = trText("Icon", "slot %1 reaches past the end of the file").arg(k);
      break;
    }
    remaining = static_cast<std::uint16_t>(remaining - 1);  // wraps from 0 to 65535
    IconEntry entry;
    entry.id = static_cast<int>(k);
    entry.jpeg = RebuildIclJpeg(data.subspan(d, headLength), data.subspan(d + headLength, bodyLength));
    sink(std::move(entry));
  }
  return result;
}

IconScanResult ScanT5uic(ByteView data, const IconEntrySink& sink) {
  IconScanResult result;
  const std::uint64_t size = data.size();
  for (int k = 0; k < kT5uicSlots; ++k) {
    const std::uint64_t slot = kT5uicSlotSize * static_cast<std::uint64_t>(k);
    // A library shorter than its slot table: the slots that are not in the
    // file cannot be read.
    if (!FitsIn(slot, 11, size)) {
      result.problem = trText("Icon", "slot table runs past the end of the file at slot %1").arg(k);
      break;
    }
    const std::uint64_t dataOffset = GetBe32(data.data() + slot + 4);
    const std::uint64_t dataLength = GetBe24(data.data() + slot + 8);
    if (!FitsIn(dataOffset, dataLength, size)) break;
    if (dataLength <= kT5uicSmallest) continue;
    IconEntry entry;
    entry.id = k;
    const ByteView jpeg = data.subspan(dataOffset, dataLength);
    entry.jpeg.assign(jpeg.begin(), jpeg.end());
    sink(std::move(entry));
  }
  return result;
}

IconScanResult ScanRaw(ByteView data, const IconEntrySink& sink) {
  const std::uint64_t size = data.size();
  for (int k = 0; k < kRawSlots; ++k) {
    const std::uint8_t* slot = data.data() + kRawSlotSize * static_cast<std::uint64_t>(k);
    const int width = slot[0] | ((slot[2] >> 6) & 0x3) << 8;
    const int height = slot[1] | ((slot[2] >> 4) & 0x3) << 8;
    const std::uint64_t start = 2 * std::uint64_t(GetBe24(slot + 3));
    const std::uint64_t length = std::uint64_t(width) * std::uint64_t(height) * 2;
    if (width == 0 || height == 0 || !FitsIn(start, length, size)) continue;
    IconEntry entry;
    entry.id = k;
    entry.width = width;
    entry.height = height;
    entry.pixels.resize(length);
    const std::uint8_t* from = data.data() + start;
    for (std::uint64_t i = 0; i < length; i += 2) {
      entry.pixels[i] = from[i + 1];
      entry.pixels[i + 1] = from[i];
    }
    sink(std::move(entry));
  }
  return {};
}

}  // namespace

Bytes RebuildIclJpeg(ByteView head, ByteView body) {
  const std::size_t headLength = head.size();
  // The first start-of-scan marker whose two bytes both lie in the head.
  std::size_t c = 0;
  while (c + 1 < headLength && !(head[c] == 0xFF && head[c + 1] == 0xDA)) ++c;

  Bytes out;
  // Marker not found, or its segment (by the declared length) does not lie
  // inside the head: the record is passed on as stored. Everything read
  // below stays inside the head.
  const bool found = c + 1 < headLength;
  std::size_t n = found && c + 3 < headLength ? head[c + 3] : 0;
  if (!found || c + 3 >= headLength || c + n + 2 > headLength) {
    out.reserve(headLength + body.size());
    out.insert(out.end(), head.begin(), head.end());
    out.insert(out.end(), body.begin(), body.end());
    return out;
  }
  // n is the low byte of the segment length; the high byte at c + 2 is kept
  // as it is. Strip the 0xFF fill bytes that end the segment.
  while (n > 2 && head[c + n + 1] == 0xFF) --n;
  out.reserve(c + n + 2 + body.size());
  out.insert(out.end(), head.begin(), head.begin() + static_cast<std::ptrdiff_t>(c + n + 2));
  // A declared length below 2 leaves the length byte itself out of the copy.
  if (n >= 2) out[c + 3] = static_cast<std::uint8_t>(n);
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

IconScanResult ReadIconLibrary(ByteView data, IconLayout layout, const IconEntrySink& sink) {
  const std::uint64_t shortest = layout == IconLayout::Raw ? kShortestRaw : kShortestIclOrT5uic;
  if (data.size() <= shortest) {
    IconScanResult missing;
    missing.missing = true;
    return missing;
  }
  switch (layout) {
    case IconLayout::Icl: return ScanIcl(data, sink);
    case IconLayout::T5uic: return ScanT5uic(data, sink);
    case IconLayout::Raw: return ScanRaw(data, sink);
  }
  return {};
}

IconLayout IconLayoutOf(const fs::path& path, bool t5uicProject) {
  if (t5uicProject) return IconLayout::T5uic;
  return AsciiLower(PathToUtf8(path.extension())) == ".icl" ? IconLayout::Icl : IconLayout::Raw;
}

bool IsT5uicProject(const fs::path& t5Config) {
  if (t5Config.empty()) return false;
  return AsciiLower(PathToUtf8(t5Config.filename())).find("t5uic") != std::string::npos;
}

}  // namespace tessel
