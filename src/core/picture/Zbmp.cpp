#include "picture/Zbmp.h"

#include <algorithm>
#include <limits>
#include <zlib.h>

#include "util/FileIO.h"

namespace tessel {

void PackRgb565(const std::uint32_t* pixels, std::size_t count, std::uint8_t* out) {
  for (std::size_t x = 0; x < count; ++x) {
    const std::uint32_t c = pixels[x];
    const std::uint32_t v = ((c >> 8) & 0xF800u) | ((c >> 5) & 0x07E0u) | ((c >> 3) & 0x001Fu);
    out[x * 2] = static_cast<std::uint8_t>(v);
    out[x * 2 + 1] = static_cast<std::uint8_t>(v >> 8);
  }
}

void PackRgb565FromBgr(const std::uint8_t* bgr, std::size_t count, std::uint8_t* out) {
  for (std::size_t x = 0; x < count; ++x) {
    const std::uint32_t b = bgr[x * 3], g = bgr[x * 3 + 1], r = bgr[x * 3 + 2];
    const std::uint32_t v = ((r & 0xF8u) << 8) | ((g & 0xFCu) << 3) | (b >> 3);
    out[x * 2] = static_cast<std::uint8_t>(v);
    out[x * 2 + 1] = static_cast<std::uint8_t>(v >> 8);
  }
}

Bytes Rgb565Rows(const QImage& picture) {
  if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0) return {};
  const std::size_t width = std::size_t(picture.width());
  const std::size_t height = std::size_t(picture.height());
  const std::size_t stride = static_cast<std::size_t>(Rgb565Stride(width));
  const std::size_t used = width * 2;
  // One pass straight from the decoded pixels for the formats pictures are
  // loaded in (the same values Qt's conversion to RGB16 gives: each channel
  // truncated, alpha dropped); Qt converts the others first.
  const QImage::Format format = picture.format();
  const bool direct32 = format == QImage::Format_RGB32 || format == QImage::Format_ARGB32;
  QImage converted;
  if (!direct32 && format != QImage::Format_RGB16) {
    converted = picture.convertToFormat(QImage::Format_RGB16);
    if (converted.isNull()) return {};
  }
  const QImage& source = converted.isNull() ? picture : converted;
  Bytes rows(stride * height);
  for (std::size_t y = 0; y < height; ++y) {
    std::uint8_t* out = rows.data() + y * stride;
    if (direct32) {
      PackRgb565(reinterpret_cast<const std::uint32_t*>(source.constScanLine(int(y))), width, out);
    } else {
      const auto* in = reinterpret_cast<const std::uint16_t*>(source.constScanLine(int(y)));
      for (std::size_t x = 0; x < width; ++x) {
        out[x * 2] = static_cast<std::uint8_t>(in[x]);
        out[x * 2 + 1] = static_cast<std::uint8_t>(in[x] >> 8);
      }
    }
    std::fill(out + used, out + stride, std::uint8_t(0));  // the padding is zero
  }
  return rows;
}

std::optional<Bytes> CompressRgb565(ByteView rows) {
  const double capacityD = static_cast<double>(rows.size()) * 1.1 + 100.0;
  if (capacityD >= static_cast<double>(std::numeric_limits<uLong>::max()) ||
      rows.size() > std::numeric_limits<uLong>::max()) {
    return std::nullopt;
  }
  const auto capacity = static_cast<uLong>(capacityD);
  Bytes out(capacity);
  uLongf outLen = capacity;
  if (compress(out.data(), &outLen, rows.data(), static_cast<uLong>(rows.size())) != Z_OK) {
    return std::nullopt;
  }
  out.resize(outLen);
  return out;
}

Bytes EncodeZbmpRows(int width, int height, ByteView rows) {
  if (rows.empty() || width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF) return {};
  // The stream is compressed straight behind the header, into the same
  // buffer CompressRgb565 would use, so the pixels are not copied again.
  const double capacityD = static_cast<double>(rows.size()) * 1.1 + 100.0;
  Bytes file;
  bool compressed = false;
  if (capacityD < static_cast<double>(std::numeric_limits<uLong>::max()) &&
      rows.size() <= std::numeric_limits<uLong>::max()) {
    const auto capacity = static_cast<uLong>(capacityD);
    file.resize(kZbmpHeaderSize + capacity);
    uLongf outLen = capacity;
    // A stream strictly longer than the rows (or no stream) stores the rows raw.
    compressed = compress(file.data() + kZbmpHeaderSize, &outLen, rows.data(),
                          static_cast<uLong>(rows.size())) == Z_OK &&
                 outLen <= rows.size();
    if (compressed) file.resize(kZbmpHeaderSize + outLen);
  }
  if (!compressed) {
    file.assign(kZbmpHeaderSize, 0);
    file.insert(file.end(), rows.begin(), rows.end());
  }
  std::uint8_t* h = file.data();
  std::fill(h, h + kZbmpHeaderSize, std::uint8_t(0));
  const std::uint16_t flag = compressed ? kZbmpCompressed : kZbmpRaw;
  h[0] = static_cast<std::uint8_t>(width);
  h[1] = static_cast<std::uint8_t>(width >> 8);
  h[2] = static_cast<std::uint8_t>(height);
  h[3] = static_cast<std::uint8_t>(height >> 8);
  h[4] = static_cast<std::uint8_t>(flag);
  h[5] = static_cast<std::uint8_t>(flag >> 8);
  return file;
}

Bytes EncodeZbmp(const QImage& picture) {
  const Bytes rows = Rgb565Rows(picture);
  return EncodeZbmpRows(picture.width(), picture.height(), rows);
}

bool WriteZbmp(const QImage& picture, const std::filesystem::path& path, Report& report) {
  const Bytes file = EncodeZbmp(picture);
  if (file.empty()) return false;
  return writeOutput(report, path, ByteView(file));
}

}  // namespace tessel
