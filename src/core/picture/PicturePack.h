#pragma once
// The picture pack of Branch B: bin/image.idx and bin/image.bin.
#include <cstdint>
#include <filesystem>
#include <string>

#include "model/OutputLayout.h"
#include "model/OutputWriter.h"
#include "picture/PicturePipeline.h"
#include "util/Bytes.h"
#include "util/FileIO.h"

namespace tessel {

constexpr std::uint32_t packBaseAddress = 0x00B00000;
constexpr std::size_t kPackEntrySize = 16;
// Where an index entry's fields lie (PackIndexEntry); its last two bytes are zero.
constexpr std::size_t kPackNumberAt = 0;   // LE16
constexpr std::size_t kPackKindAt = 2;     // one byte: kPackZlibRgb565 or kPackJpeg
constexpr std::size_t kPackAddressAt = 3;  // LE32, from packBaseAddress on
constexpr std::size_t kPackWidthAt = 7;    // LE16
constexpr std::size_t kPackHeightAt = 9;   // LE16
constexpr std::size_t kPackLengthAt = 11;  // LE24
constexpr std::size_t kPackZerosAt = 14;
// The 24-bit length field holds blocks up to this size.
constexpr std::size_t kPackMaxBlock = (std::size_t(1) << 24) - 1;

// The 16 bytes of one index entry: number LE16, dataKind, address LE32,
// width LE16, height LE16, length LE24, two zero bytes.
Bytes PackIndexEntry(std::uint16_t number, std::uint8_t dataKind, std::uint32_t address,
                     std::uint16_t width, std::uint16_t height, std::uint32_t length);

class PicturePack {
 public:
  // Appends a block (EncodePicture... with PictureTarget::PackBlock) as
  // picture `number` and returns true; `source` names it in warnings. A
  // block the pack cannot hold (number outside 0..65535, too large) is
  // skipped with a warning, as is one that was not encoded. A later block of
  // the same number takes the index entry.
  bool append(int number, const EncodedPicture& block, const std::filesystem::path& source,
              Report& report);
  // Takes a whole pack written before (by a run whose pictures and settings
  // were these): its index and data as they are. False, and the pack
  // unchanged, when they cannot be a pack's.
  bool reuse(Bytes index, Bytes data);
  bool hasContent() const;
  const Bytes& index() const { return entries_; }
  const Bytes& data() const { return data_; }
  // Writes image.idx and image.bin when hasContent(), creating bin/. Returns
  // true when both were written; then every stored picture counts in
  // report.picturesWritten.
  bool write(const OutputLayout& layout, OutputWriter& out) const;

 private:
  Bytes entries_;
  Bytes data_;
  std::uint32_t offset_ = 0;
};

}  // namespace tessel
