#include "icon/Zico.h"

#include <algorithm>
#include <limits>
#include <map>
#include <optional>

#include "picture/StrictRead.h"
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
  if (!FitsIn(dataArea_.size(), block->size(), std::numeric_limits<std::uint32_t>::max())) {
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
  if (!FitsIn(dataArea_.size(), record.dataSize, std::numeric_limits<std::uint32_t>::max())) {
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
  out.resize(kZicoHeaderSize + kZicoRecordSize * records.size(), 0);
  const auto field = [&](std::size_t at, std::uint32_t value, int bytes) {
    for (int b = 0; b < bytes; ++b) out[at + std::size_t(b)] = std::uint8_t(value >> (8 * b));
  };
  std::copy(kZicoMagic.begin(), kZicoMagic.end(), out.begin());
  field(kZicoIndexSizeAt, static_cast<std::uint32_t>(kZicoRecordSize * records.size()), 4);
  for (std::size_t i = 0; i < records.size(); ++i) {
    const ZicoRecord& r = records[i];
    const std::size_t at = kZicoHeaderSize + i * kZicoRecordSize;
    field(at + kZicoIdAt, r.id, 2);
    field(at + kZicoKindAt, r.kind, 2);
    field(at + kZicoWidthAt, r.width, 2);
    field(at + kZicoHeightAt, r.height, 2);
    field(at + kZicoOffsetAt, r.dataOffset, 4);
    field(at + kZicoSizeAt, r.dataSize, 4);
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

bool ZicoReading::ok() const {
  if (!error.empty()) return false;
  return std::all_of(icons.begin(), icons.end(), [](const ZicoIcon& i) { return i.error.empty(); });
}

ZicoReading ReadZico(ByteView file, bool decode, const WorkLimits& work,
                     const ZicoImageSink& each) {
  ZicoReading r;
  if (file.empty()) {
    r.empty = true;
    return r;
  }
  if (file.size() < kZicoHeaderSize) {
    r.error = trText("Inspect", "it is %1 bytes, shorter than the 8-byte header").arg(file.size());
    return r;
  }
  if (!std::equal(kZicoMagic.begin(), kZicoMagic.end(), file.begin())) {
    r.error = trText("Inspect", "it does not start with \"ZICO\"");
    return r;
  }
  const std::uint32_t indexSize = GetLe32(file.data() + kZicoIndexSizeAt);
  if (indexSize == 0) {
    r.error = trText("Inspect", "its index is empty (a library without icons is a 0-byte file)");
    return r;
  }
  if (indexSize % kZicoRecordSize != 0) {
    r.error = trText("Inspect", "its index size %1 is not a multiple of 16").arg(indexSize);
    return r;
  }
  if (!FitsIn(kZicoHeaderSize, indexSize, file.size())) {
    r.error = trText("Inspect", "its index of %1 bytes runs past the end of the file (%2 bytes)")
                  .arg(indexSize)
                  .arg(file.size());
    return r;
  }
  const std::size_t dataStart = kZicoHeaderSize + std::size_t(indexSize);
  const ByteView data = file.subspan(dataStart);
  const std::size_t count = indexSize / kZicoRecordSize;
  r.icons.resize(count);
  std::map<std::uint16_t, std::size_t> firstWithId;
  std::vector<std::pair<std::uint64_t, std::uint64_t>> blocks;
  std::vector<std::size_t> blockOwner;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* p = file.data() + kZicoHeaderSize + i * kZicoRecordSize;
    ZicoIcon& icon = r.icons[i];
    ZicoRecord& rec = icon.record;
    rec.id = GetLe16(p + kZicoIdAt);
    rec.kind = GetLe16(p + kZicoKindAt);
    rec.width = GetLe16(p + kZicoWidthAt);
    rec.height = GetLe16(p + kZicoHeightAt);
    rec.dataOffset = GetLe32(p + kZicoOffsetAt);
    rec.dataSize = GetLe32(p + kZicoSizeAt);
    if (const auto [it, fresh] = firstWithId.emplace(rec.id, i); !fresh) {
      icon.error = trText("Inspect", "entry %1 (id %2) repeats the id of entry %3")
                       .arg(i)
                       .arg(rec.id)
                       .arg(it->second);
    } else if (rec.kind != kZicoKind) {
      icon.error = trText("Inspect", "entry %1 (id %2) has kind %3, not 1")
                       .arg(i)
                       .arg(rec.id)
                       .arg(rec.kind);
    } else if (rec.width == 0 || rec.height == 0) {
      icon.error = trText("Inspect", "entry %1 (id %2) has a size of %3 x %4")
                       .arg(i)
                       .arg(rec.id)
                       .arg(rec.width)
                       .arg(rec.height);
    } else if (!FitsIn(rec.dataOffset, rec.dataSize, data.size())) {
      icon.error = trText("Inspect",
                          "entry %1 (id %2) points past the end of the file (its block of %3 "
                          "bytes at %4, the file %5 bytes)")
                       .arg(i)
                       .arg(rec.id)
                       .arg(rec.dataSize)
                       .arg(dataStart + std::uint64_t(rec.dataOffset))
                       .arg(file.size());
    } else {
      blocks.emplace_back(rec.dataOffset, rec.dataSize);
      blockOwner.push_back(i);
    }
  }
  for (const auto& [later, earlier] : OverlappingBlocks(blocks)) {
    ZicoIcon& icon = r.icons[blockOwner[later]];
    icon.error = trText("Inspect", "entry %1 (id %2) shares its data with entry %3")
                     .arg(blockOwner[later])
                     .arg(icon.record.id)
                     .arg(blockOwner[earlier]);
  }
  for (const std::size_t i : blockOwner) {
    ZicoIcon& icon = r.icons[i];
    if (!icon.error.empty()) continue;
    const ZicoRecord& rec = icon.record;
    std::string why;
    // The rows, and the picture made of them: a share of the budget taken
    // from the declared size before anything is inflated.
    const MemoryShare share(work.budget(),
                            std::uint64_t(rec.width) * rec.height * (decode ? 6 : 2));
    const std::optional<Bytes> pixels = InflateExact(
        data.subspan(rec.dataOffset, rec.dataSize), std::uint64_t(rec.width) * rec.height * 2, why);
    if (!pixels) {
      //: an icon library's entry, and what is wrong with its data
      icon.error = trText("Inspect", "entry %1 (id %2): %3").arg(i).arg(rec.id).arg(why);
      continue;
    }
    if (!decode) continue;
    QImage image = Rgb565Image(pixels->data(), rec.width, rec.height, std::size_t(rec.width) * 2);
    if (each) {
      each(i, rec, image);
    } else {
      icon.image = std::move(image);
    }
  }
  return r;
}

}  // namespace tessel
