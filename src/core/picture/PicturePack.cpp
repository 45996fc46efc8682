#include "picture/PicturePack.h"

#include <system_error>

#include "picture/Jpeg.h"
#include "picture/PictureConvert.h"
#include "picture/PictureLoad.h"
#include "picture/Rgb565Load.h"
#include "picture/Zbmp.h"
#include "util/FileIO.h"
#include "util/Paths.h"

namespace tessel {

Bytes PackIndexEntry(std::uint16_t number, std::uint8_t dataKind, std::uint32_t address,
                     std::uint16_t width, std::uint16_t height, std::uint32_t length) {
  Bytes entry;
  entry.reserve(kPackEntrySize);
  putLe16(entry, number);
  entry.push_back(dataKind);
  putLe32(entry, address);
  putLe16(entry, width);
  putLe16(entry, height);
  putLe24(entry, length);
  putLe16(entry, 0);
  return entry;
}

PackBlock EncodePackBlock(const ConversionSettings& settings, const std::filesystem::path& path,
                          int runRotation) {
  PackBlock block;
  block.source = pathToUtf8(path);
  if (settings.pictureFormat == kZbmp && settings.deRipple == 0) {
    // Without de-ripple only the RGB565 rows are needed: the short way.
    std::string error;
    const Rgb565Picture picture = LoadRgb565(path, runRotation, error);
    if (!error.empty()) {
      block.warning = "skipped picture " + block.source + ": " + error;
      return block;
    }
    block.width = picture.width;
    block.height = picture.height;
    // Always the compressed stream, even when longer than the rows.
    std::optional<Bytes> stream;
    if (picture.ok()) stream = CompressRgb565(ByteView(picture.rows));
    if (!stream) {
      block.warning = "skipped picture " + block.source + ": cannot compress its pixels";
      return block;
    }
    block.dataKind = kPackZlibRgb565;
    block.data = std::move(*stream);
    block.ok = true;
    return block;
  }
  LoadedPicture loaded = LoadPicture(path);
  if (!loaded.ok()) {
    block.warning = "skipped picture " + block.source + ": " + loaded.error;
    return block;
  }
  const QImage picture =
      PreparePicture(std::move(loaded.image), settings.deRipple != 0, runRotation);
  block.width = picture.width();
  block.height = picture.height();
  if (settings.pictureFormat == kZbmp) {
    // Always the compressed stream, even when longer than the rows.
    const Bytes rows = Rgb565Rows(picture);
    std::optional<Bytes> stream;
    if (!rows.empty()) stream = CompressRgb565(rows);
    if (!stream) {
      block.warning = "skipped picture " + block.source + ": cannot compress its pixels";
      return block;
    }
    block.dataKind = kPackZlibRgb565;
    block.data = std::move(*stream);
  } else if (const int quality = JpegQualityFor(settings.pictureFormat); quality > 0) {
    std::string error;
    std::optional<Bytes> jpeg = EncodeJpeg(picture, quality, &error);
    if (!jpeg) {
      block.warning = "skipped picture " + block.source + ": " + error;
      return block;
    }
    block.dataKind = kPackJpeg;
    block.data = std::move(*jpeg);
  } else {
    block.warning = "skipped picture " + block.source + ": unknown picture format " +
                    std::to_string(settings.pictureFormat);
    return block;
  }
  block.ok = true;
  return block;
}

void PicturePack::append(int number, PackBlock block, Report& report) {
  const std::string name = block.source.empty() ? "picture " + std::to_string(number)
                                                : "picture " + block.source;
  if (!block.ok) {
    report.warn(block.warning.empty() ? "skipped " + name : block.warning);
    return;
  }
  if (number < 0 || number > 0xFFFF) {
    report.warn("skipped " + name + ": its number " + std::to_string(number) +
                " is outside 0..65535, the range of the picture pack");
    return;
  }
  if (block.width <= 0 || block.height <= 0 || block.width > 0xFFFF || block.height > 0xFFFF) {
    report.warn("skipped " + name + ": its size " + std::to_string(block.width) + " x " +
                std::to_string(block.height) + " does not fit the picture pack");
    return;
  }
  if (block.data.empty()) {
    report.warn("skipped " + name + ": no data");
    return;
  }
  if (block.data.size() > kPackMaxBlock) {
    report.warn("skipped " + name + ": its data of " + std::to_string(block.data.size()) +
                " bytes passes the picture pack's limit of " + std::to_string(kPackMaxBlock));
    return;
  }
  // The 32-bit address must not wrap.
  if (std::uint64_t(packBaseAddress) + offset_ + block.data.size() > 0xFFFFFFFFull) {
    report.warn("skipped " + name + ": the picture pack is full");
    return;
  }
  const std::size_t slot = std::size_t(number) * kPackEntrySize;
  if (entries_.size() < slot + kPackEntrySize) entries_.resize(slot + kPackEntrySize, 0);
  const Bytes entry = PackIndexEntry(
      static_cast<std::uint16_t>(number), block.dataKind, packBaseAddress + offset_,
      static_cast<std::uint16_t>(block.width), static_cast<std::uint16_t>(block.height),
      static_cast<std::uint32_t>(block.data.size()));
  std::copy(entry.begin(), entry.end(), entries_.begin() + std::ptrdiff_t(slot));
  data_.insert(data_.end(), block.data.begin(), block.data.end());
  offset_ += static_cast<std::uint32_t>(block.data.size());
}

void PicturePack::add(const std::filesystem::path& path, int number,
                      const ConversionSettings& settings, int runRotation, Report& report) {
  append(number, EncodePackBlock(settings, path, runRotation), report);
}

bool PicturePack::hasContent() const {
  return entries_.size() >= kPackEntrySize && !data_.empty();
}

bool PicturePack::write(const std::filesystem::path& privateFolder, Report& report) const {
  if (!hasContent()) return false;
  const std::filesystem::path bin = privateFolder / "bin";
  std::error_code ec;
  std::filesystem::create_directories(bin, ec);  // a failure shows in the writes below
  // Each file on its own: a failure of one does not stop the other.
  const bool indexWritten = writeOutput(report, bin / "image.idx", ByteView(entries_));
  const bool dataWritten = writeOutput(report, bin / "image.bin", ByteView(data_));
  if (!indexWritten || !dataWritten) return false;
  for (std::size_t at = 0; at + kPackEntrySize <= entries_.size(); at += kPackEntrySize) {
    if (entries_[at + 2] != 0) ++report.picturesWritten;  // a stored entry has a dataKind
  }
  return true;
}

}  // namespace tessel
