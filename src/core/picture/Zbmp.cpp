#include "picture/Zbmp.h"

#include "picture/Rgb565.h"
#include "util/Text.h"
#include "util/Zlib.h"

namespace tessel {

Bytes EncodeZbmpRows(int width, int height, ByteView rows, Compression compression) {
  if (rows.empty() || width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF) return {};
  // A stream strictly longer than the rows (or no stream) stores the rows raw.
  const std::optional<Bytes> stream = ZlibCompress(rows, compression);
  const bool compressed = stream && stream->size() <= rows.size();
  const ByteView payload = compressed ? ByteView(*stream) : rows;
  Bytes file;
  file.reserve(kZbmpHeaderSize + payload.size());
  file.resize(kZbmpHeaderSize, 0);
  const auto field = [&](std::size_t at, std::uint16_t value) {
    file[at] = std::uint8_t(value);
    file[at + 1] = std::uint8_t(value >> 8);
  };
  field(kZbmpWidthAt, std::uint16_t(width));
  field(kZbmpHeightAt, std::uint16_t(height));
  field(kZbmpFlagAt, compressed ? kZbmpCompressed : kZbmpRaw);
  file.insert(file.end(), payload.begin(), payload.end());
  return file;
}

PictureReading ReadZbmp(ByteView file, bool decode, const Limits& limits) {
  PictureReading r;
  if (file.size() < kZbmpHeaderSize) {
    r.error = trText("Inspect", "it is %1 bytes, shorter than the 16-byte header").arg(file.size());
    return r;
  }
  r.width = GetLe16(file.data() + kZbmpWidthAt);
  r.height = GetLe16(file.data() + kZbmpHeightAt);
  const std::uint16_t flag = GetLe16(file.data() + kZbmpFlagAt);
  if (r.width == 0 || r.height == 0) {
    r.error = trText("Inspect", "its header gives a size of %1 x %2").arg(r.width).arg(r.height);
    return r;
  }
  if (flag != kZbmpCompressed && flag != kZbmpRaw) {
    r.error = trText("Inspect",
                     "its header's compression flag is %1, neither 0x00FF (zlib) nor 0x0000 (raw)")
                  .arg(HexText(flag, 4));
    return r;
  }
  for (std::size_t i = kZbmpZerosAt; i < kZbmpHeaderSize; ++i) {
    if (file[i] != 0) {
      r.error = trText("Inspect", "header byte %1 is %2, not zero").arg(i).arg(HexText(file[i], 2));
      return r;
    }
  }
  if (const LimitFault fault = PictureSizeFault(limits, r.width, r.height)) {
    r.error = LimitSentence(fault);
    return r;
  }
  r.compressed = flag == kZbmpCompressed;
  const std::uint64_t stride = Rgb565Stride(std::uint64_t(r.width));
  const std::uint64_t rowBytes = stride * std::uint64_t(r.height);
  const ByteView payload = file.subspan(kZbmpHeaderSize);
  if (!r.compressed) {
    if (payload.size() < rowBytes) {
      r.error = trText("Inspect",
                       "its raw rows are %1 bytes, %2 short of the %3 x %4 picture its header "
                       "declares (cut short?)")
                    .arg(payload.size())
                    .arg(rowBytes - payload.size())
                    .arg(r.width)
                    .arg(r.height);
      return r;
    }
    if (payload.size() > rowBytes) {
      r.error = trText("Inspect", "%1 bytes follow its last row").arg(payload.size() - rowBytes);
      return r;
    }
    if (decode) r.image = Rgb565Image(payload.data(), r.width, r.height, stride);
    return r;
  }
  std::optional<Bytes> rows = InflateExact(payload, rowBytes, r.error);
  if (!rows) return r;
  if (decode) r.image = Rgb565Image(rows->data(), r.width, r.height, stride);
  return r;
}

}  // namespace tessel
