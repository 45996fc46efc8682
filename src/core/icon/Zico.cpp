#include "icon/Zico.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "util/Zlib.h"
#include "util/Text.h"

namespace tessel {

bool ZicoBuilder::add(int id, int width, int height, ByteView pixels, std::string* error) {
  auto fail = [&](const Text& why) {
    if (error) *error = why.str();
    return false;
  };
  if (id < 0 || id > 0xFFFF) return fail(trText("Icon", "icon number does not fit the icon file"));
  if (width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF) {
    return fail(trText("Icon", "icon size does not fit the icon file"));
  }
  if (pixels.size() != std::uint64_t(width) * std::uint64_t(height) * 2) {
    return fail(trText("Icon", "pixel data does not match the icon size"));
  }
  std::optional<Bytes> block = ZlibCompress(pixels, compression);
  if (!block) return fail(trText("Icon", "cannot compress icon pixels"));
  if (!fitsIn(dataArea_.size(), block->size(), std::numeric_limits<std::uint32_t>::max())) {
    return fail(trText("Icon", "icon file would exceed 4 GiB"));
  }
  ZicoRecord record;
  record.id = static_cast<std::uint16_t>(id);
  record.width = static_cast<std::uint16_t>(width);
  record.height = static_cast<std::uint16_t>(height);
  record.dataOffset = static_cast<std::uint32_t>(dataArea_.size());
  record.dataSize = static_cast<std::uint32_t>(block->size());
  dataArea_.insert(dataArea_.end(), block->begin(), block->end());
  records_.push_back(record);
  return true;
}

bool ZicoBuilder::addCopy(int id, std::size_t index, std::string* error) {
  if (index >= records_.size()) {
    if (error) *error = trText("Icon", "no such icon");
    return false;
  }
  if (id < 0 || id > 0xFFFF) {
    if (error) *error = trText("Icon", "icon number does not fit the icon file");
    return false;
  }
  ZicoRecord record = records_[index];
  if (!fitsIn(dataArea_.size(), record.dataSize, std::numeric_limits<std::uint32_t>::max())) {
    if (error) *error = trText("Icon", "icon file would exceed 4 GiB");
    return false;
  }
  record.id = static_cast<std::uint16_t>(id);
  const std::size_t from = record.dataOffset;
  record.dataOffset = static_cast<std::uint32_t>(dataArea_.size());
  dataArea_.resize(dataArea_.size() + record.dataSize);
  std::copy_n(dataArea_.begin() + std::ptrdiff_t(from), record.dataSize,
              dataArea_.begin() + std::ptrdiff_t(record.dataOffset));
  records_.push_back(record);
  return true;
}

Bytes EncodeZicoHeader(const std::vector<ZicoRecord>& records) {
  Bytes out;
  if (records.empty()) return out;
  out.reserve(8 + kZicoRecordSize * records.size());
  for (const char c : {'Z', 'I', 'C', 'O'}) out.push_back(static_cast<std::uint8_t>(c));
  putLe32(out, static_cast<std::uint32_t>(kZicoRecordSize * records.size()));
  for (const ZicoRecord& r : records) {
    putLe16(out, r.id);
    putLe16(out, r.kind);
    putLe16(out, r.width);
    putLe16(out, r.height);
    putLe32(out, r.dataOffset);
    putLe32(out, r.dataSize);
  }
  return out;
}

Bytes EncodeZico(const std::vector<ZicoRecord>& records, ByteView dataArea) {
  Bytes out = EncodeZicoHeader(records);
  if (!records.empty()) out.insert(out.end(), dataArea.begin(), dataArea.end());
  return out;
}

bool WriteZico(OutputWriter& out, const fs::path& zicoPath, const std::vector<ZicoRecord>& records,
               ByteView dataArea) {
  const Bytes header = EncodeZicoHeader(records);
  if (records.empty()) return out.write(zicoPath, ByteView{});
  return out.write(zicoPath, {ByteView(header), dataArea});
}

}  // namespace tessel
