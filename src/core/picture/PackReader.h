#pragma once
// Reading the picture pack (bin/image.idx and bin/image.bin) back, strictly
// (picture/StrictRead.h): the reader of what PicturePack writes.
#include <QImage>
#include <cstdint>
#include <string>
#include <vector>

#include "model/Limits.h"
#include "util/Bytes.h"

namespace tessel {

struct PackEntry {
  int number = 0;             // its slot: offset in image.idx / 16
  std::uint8_t kind = 0;      // 0x04 zlib RGB565 rows, 0x08 JPEG
  std::uint32_t address = 0;
  int width = 0, height = 0;
  std::uint32_t length = 0;
  QImage image;
  std::string error;          // naming the entry ("entry 5 ...")
};

struct PackReading {
  std::vector<PackEntry> entries;  // the slots that are not gaps
  std::vector<std::string> errors;  // faults of the files as a whole
  bool ok() const;
};

// The index checked against image.bin's size: every entry's fields, its
// block inside image.bin, no two blocks sharing bytes. Nothing is inflated.
PackReading ReadPackIndex(ByteView index, std::uint64_t dataSize);
// Checks one entry's block (that ReadPackIndex found sound) in `data`,
// image.bin's bytes: inflated to the entry's size, or a JPEG of that size.
// Sets the entry's error, or its image when `decode` asks for it.
// A size past the limits is a fault.
void ReadPackEntry(PackEntry& entry, ByteView data, bool decode, const Limits& limits);
// Both: the index, then every entry.
PackReading ReadPack(ByteView index, ByteView data, bool decode, const Limits& limits);

}  // namespace tessel
