#include "picture/PackReader.h"

#include <algorithm>

#include "picture/Jpeg.h"
#include "picture/PicturePack.h"
#include "picture/Rgb565.h"
#include "picture/StrictRead.h"
#include "util/Text.h"

namespace tessel {

bool PackReading::ok() const {
  if (!errors.empty()) return false;
  return std::all_of(entries.begin(), entries.end(),
                     [](const PackEntry& e) { return e.error.empty(); });
}

PackReading ReadPackIndex(ByteView index, std::uint64_t dataSize) {
  PackReading r;
  // Each text starts with the file's name: the inspection puts bin/ before it.
  if (index.empty()) r.errors.push_back(trText("Inspect", "image.idx is empty"));
  if (index.size() % kPackEntrySize != 0) {
    r.errors.push_back(
        trText("Inspect", "image.idx is %1 bytes, not a whole number of 16-byte entries")
            .arg(index.size()));
  }
  if (dataSize == 0) r.errors.push_back(trText("Inspect", "image.bin is empty"));
  std::vector<std::pair<std::uint64_t, std::uint64_t>> blocks;
  std::vector<std::size_t> blockOwner;
  for (std::size_t slot = 0; slot + kPackEntrySize <= index.size(); slot += kPackEntrySize) {
    const std::uint8_t* p = index.data() + slot;
    if (std::all_of(p, p + kPackEntrySize, [](std::uint8_t b) { return b == 0; })) continue;
    PackEntry e;
    e.number = static_cast<int>(slot / kPackEntrySize);
    const std::uint16_t number = GetLe16(p + kPackNumberAt);
    e.kind = p[kPackKindAt];
    e.address = GetLe32(p + kPackAddressAt);
    e.width = GetLe16(p + kPackWidthAt);
    e.height = GetLe16(p + kPackHeightAt);
    e.length = GetLe24(p + kPackLengthAt);
    if (number != e.number) {
      e.error = trText("Inspect",
                       "entry %1 holds the number %2 (an entry's number is its place in image.idx)")
                    .arg(e.number)
                    .arg(number);
    } else if (e.kind != kPackZlibRgb565 && e.kind != kPackJpeg) {
      e.error = trText("Inspect", "entry %1 has kind %2, neither 0x04 (zlib rows) nor 0x08 (JPEG)")
                    .arg(e.number)
                    .arg(HexText(e.kind, 2));
    } else if (e.address < packBaseAddress) {
      e.error = trText("Inspect", "entry %1's address %2 lies before %3")
                    .arg(e.number)
                    .arg(HexText(e.address, 8))
                    .arg(HexText(packBaseAddress, 8));
    } else if (e.width == 0 || e.height == 0) {
      e.error = trText("Inspect", "entry %1 has a size of %2 x %3")
                    .arg(e.number)
                    .arg(e.width)
                    .arg(e.height);
    } else if (p[kPackZerosAt] != 0 || p[kPackZerosAt + 1] != 0) {
      e.error = trText("Inspect", "entry %1's last two bytes are not zero").arg(e.number);
    } else if (e.length == 0) {
      e.error = trText("Inspect", "entry %1 has no data").arg(e.number);
    } else if (!FitsIn(e.address - packBaseAddress, e.length, dataSize)) {
      e.error = trText("Inspect",
                       "entry %1 points past the end of image.bin (%2 bytes at %3, image.bin %4 "
                       "bytes)")
                    .arg(e.number)
                    .arg(e.length)
                    .arg(e.address - packBaseAddress)
                    .arg(dataSize);
    } else {
      blocks.emplace_back(e.address - packBaseAddress, e.length);
      blockOwner.push_back(r.entries.size());
    }
    r.entries.push_back(std::move(e));
  }
  for (const auto& [later, earlier] : OverlappingBlocks(blocks)) {
    PackEntry& e = r.entries[blockOwner[later]];
    e.error = trText("Inspect", "entry %1 shares its data with entry %2")
                  .arg(e.number)
                  .arg(r.entries[blockOwner[earlier]].number);
  }
  return r;
}

void ReadPackEntry(PackEntry& e, ByteView data, bool decode, const Limits& limits) {
  if (!e.error.empty()) return;
  if (e.address < packBaseAddress || !FitsIn(e.address - packBaseAddress, e.length, data.size())) {
    e.error = trText("Inspect", "entry %1 points past the end of image.bin").arg(e.number);
    return;
  }
  const ByteView block = data.subspan(e.address - packBaseAddress, e.length);
  if (e.kind == kPackJpeg) {
    PictureReading jpeg = ReadOutputJpeg(block, limits);
    if (!jpeg.ok()) {
      //: a pack's entry, and what is wrong with its data
      e.error = trText("Inspect", "entry %1: %2").arg(e.number).arg(jpeg.error);
    } else if (jpeg.width != e.width || jpeg.height != e.height) {
      e.error = trText("Inspect", "entry %1's JPEG is %2 x %3, its entry says %4 x %5")
                    .arg(e.number)
                    .arg(jpeg.width)
                    .arg(jpeg.height)
                    .arg(e.width)
                    .arg(e.height);
    } else if (decode) {
      e.image = std::move(jpeg.image);
    }
    return;
  }
  if (const LimitFault fault = PictureSizeFault(limits, e.width, e.height)) {
    e.error = trText("Inspect", "entry %1: %2").arg(e.number).arg(LimitSentence(fault));
    return;
  }
  const std::uint64_t stride = Rgb565Stride(std::uint64_t(e.width));
  std::string why;
  const std::optional<Bytes> rows = InflateExact(block, stride * std::uint64_t(e.height), why);
  if (!rows) {
    e.error = trText("Inspect", "entry %1: %2").arg(e.number).arg(why);
  } else if (decode) {
    e.image = Rgb565Image(rows->data(), e.width, e.height, stride);
  }
}

PackReading ReadPack(ByteView index, ByteView data, bool decode, const Limits& limits) {
  PackReading r = ReadPackIndex(index, data.size());
  for (PackEntry& e : r.entries) ReadPackEntry(e, data, decode, limits);
  return r;
}

}  // namespace tessel
