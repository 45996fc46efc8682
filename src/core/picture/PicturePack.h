#pragma once
// The picture pack of Branch B: bin/image.idx and bin/image.bin.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "convert/ConversionSettings.h"
#include "util/Bytes.h"
#include "util/Report.h"

namespace tessel {

constexpr std::uint32_t packBaseAddress = 0x00B00000;

// One picture's block, encoded and ready to append.
struct PackBlock {
  bool ok = false;
  std::string warning;
  std::uint8_t dataKind = 0;  // 0x04 zlib RGB565 rows, 0x08 JPEG file
  int width = 0, height = 0;
  Bytes data;
  std::string source;  // the picture's path, for warnings
};

// The 16 bytes of one index entry: number LE16, dataKind, address LE32,
// width LE16, height LE16, length LE24, two zero bytes.
Bytes PackIndexEntry(std::uint16_t number, std::uint8_t dataKind, std::uint32_t address,
                     std::uint16_t width, std::uint16_t height, std::uint32_t length);

// Loads, de-ripples, rotates and encodes one picture for the pack. Pure.
PackBlock EncodePackBlock(const ConversionSettings& settings, const std::filesystem::path& path,
                          int runRotation);

constexpr std::uint8_t kPackZlibRgb565 = 0x04;
constexpr std::uint8_t kPackJpeg = 0x08;
constexpr std::size_t kPackEntrySize = 16;
// The 24-bit length field holds blocks up to this size.
constexpr std::size_t kPackMaxBlock = (std::size_t(1) << 24) - 1;

class PicturePack {
 public:
  // Appends the block as picture `number`; a block the pack cannot hold
  // (number outside 0..65535, too large) is skipped with a warning.
  void append(int number, PackBlock block, Report& report);
  // Encodes and appends in one go.
  void add(const std::filesystem::path& path, int number, const ConversionSettings& settings,
           int runRotation, Report& report);
  bool hasContent() const;
  const Bytes& index() const { return entries_; }
  const Bytes& data() const { return data_; }
  // Writes privateFolder/bin/image.idx and image.bin when hasContent(),
  // creating bin/, each through writeOutput. Returns true when both were
  // written; then every stored picture counts in report.picturesWritten.
  bool write(const std::filesystem::path& privateFolder, Report& report) const;

 private:
  Bytes entries_;
  Bytes data_;
  std::uint32_t offset_ = 0;
};

}  // namespace tessel
