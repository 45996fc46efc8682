#include "picture/Zbmp.h"

#include <limits>
#include <zlib.h>

#include "util/FileIO.h"

namespace tessel {

Bytes Rgb565Rows(const QImage& picture) {
  if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0) return {};
  const QImage rgb16 = picture.format() == QImage::Format_RGB16
                           ? picture
                           : picture.convertToFormat(QImage::Format_RGB16);
  if (rgb16.isNull()) return {};
  const std::size_t width = std::size_t(rgb16.width());
  const std::size_t height = std::size_t(rgb16.height());
  const std::size_t stride = static_cast<std::size_t>(Rgb565Stride(width));
  Bytes rows(stride * height, 0);  // the padding stays zero
  for (std::size_t y = 0; y < height; ++y) {
    const auto* in = reinterpret_cast<const std::uint16_t*>(rgb16.constScanLine(int(y)));
    std::uint8_t* out = rows.data() + y * stride;
    for (std::size_t x = 0; x < width; ++x) {
      out[x * 2] = static_cast<std::uint8_t>(in[x]);
      out[x * 2 + 1] = static_cast<std::uint8_t>(in[x] >> 8);
    }
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
  const std::optional<Bytes> stream = CompressRgb565(rows);
  // A stream strictly longer than the rows (or no stream) stores the rows raw.
  const bool raw = !stream || stream->size() > rows.size();
  const ByteView payload = raw ? rows : ByteView(*stream);
  Bytes file;
  file.reserve(kZbmpHeaderSize + payload.size());
  putLe16(file, std::uint32_t(width));
  putLe16(file, std::uint32_t(height));
  putLe16(file, raw ? kZbmpRaw : kZbmpCompressed);
  file.resize(kZbmpHeaderSize, 0);
  file.insert(file.end(), payload.begin(), payload.end());
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
