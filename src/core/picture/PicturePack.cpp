#include "picture/PicturePack.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "util/Paths.h"
#include "util/Text.h"

namespace tessel {

Bytes PackIndexEntry(std::uint16_t number, std::uint8_t dataKind, std::uint32_t address,
                     std::uint16_t width, std::uint16_t height, std::uint32_t length) {
  Bytes entry(kPackEntrySize, 0);
  const auto field = [&](std::size_t at, std::uint32_t value, int bytes) {
    for (int b = 0; b < bytes; ++b) entry[at + std::size_t(b)] = std::uint8_t(value >> (8 * b));
  };
  field(kPackNumberAt, number, 2);
  field(kPackKindAt, dataKind, 1);
  field(kPackAddressAt, address, 4);
  field(kPackWidthAt, width, 2);
  field(kPackHeightAt, height, 2);
  field(kPackLengthAt, length, 3);
  return entry;
}

bool PicturePack::append(int number, const EncodedPicture& block,
                         const std::filesystem::path& source, Report& report) {
  const auto skip = [&](const std::string& why) {
    report.warn(trText("Picture", "skipped picture %1: %2").arg(PathToUtf8(source)).arg(why), source);
    return false;
  };
  if (!block.ok) return skip(block.error);
  if (number < 0 || number > 0xFFFF) {
    return skip(trText("Picture", "its number %1 is outside 0..65535, the range of the picture pack")
                    .arg(number));
  }
  if (block.width <= 0 || block.height <= 0 || block.width > 0xFFFF || block.height > 0xFFFF) {
    return skip(trText("Picture", "its size %1 x %2 does not fit the picture pack")
                    .arg(block.width)
                    .arg(block.height));
  }
  if (block.bytes.empty()) return skip(trText("Picture", "no data"));
  if (block.bytes.size() > kPackMaxBlock) {
    return skip(trText("Picture", "its data of %1 bytes passes the picture pack's limit of %2")
                    .arg(block.bytes.size())
                    .arg(kPackMaxBlock));
  }
  // The 32-bit address must not wrap.
  if (std::uint64_t(packBaseAddress) + offset_ + block.bytes.size() > 0xFFFFFFFFull) {
    return skip(trText("Picture", "the picture pack is full"));
  }
  const std::size_t slot = std::size_t(number) * kPackEntrySize;
  if (entries_.size() < slot + kPackEntrySize) entries_.resize(slot + kPackEntrySize, 0);
  const Bytes entry = PackIndexEntry(
      static_cast<std::uint16_t>(number), block.packKind, packBaseAddress + offset_,
      static_cast<std::uint16_t>(block.width), static_cast<std::uint16_t>(block.height),
      static_cast<std::uint32_t>(block.bytes.size()));
  std::copy(entry.begin(), entry.end(), entries_.begin() + std::ptrdiff_t(slot));
  data_.insert(data_.end(), block.bytes.begin(), block.bytes.end());
  offset_ += static_cast<std::uint32_t>(block.bytes.size());
  return true;
}

bool PicturePack::reuse(Bytes index, Bytes data) {
  if (index.size() % kPackEntrySize != 0 || data.size() > 0xFFFFFFFFull - packBaseAddress) {
    return false;
  }
  entries_ = std::move(index);
  data_ = std::move(data);
  offset_ = static_cast<std::uint32_t>(data_.size());
  return true;
}

bool PicturePack::hasContent() const {
  return entries_.size() >= kPackEntrySize && !data_.empty();
}

bool PicturePack::write(const OutputLayout& layout, OutputWriter& out) const {
  if (!hasContent()) return false;
  std::error_code ec;
  std::filesystem::create_directories(layout.binFolder(), ec);  // a failure shows below
  // Each file on its own: a failure of one does not stop the other.
  const bool indexWritten = out.write(layout.packIndex(), ByteView(entries_));
  const bool dataWritten = out.write(layout.packData(), ByteView(data_));
  if (!indexWritten || !dataWritten) return false;
  for (std::size_t at = 0; at + kPackEntrySize <= entries_.size(); at += kPackEntrySize) {
    if (entries_[at + 2] != 0) {  // a stored entry has a dataKind
      ++out.report().picturesWritten;
      ++out.report().packEntries;
    }
  }
  return true;
}

}  // namespace tessel
