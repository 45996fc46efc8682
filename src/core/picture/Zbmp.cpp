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

namespace {

// One deflate state per thread, set up on first use and reset for each
// stream: allocating and clearing a fresh one per picture or icon costs as
// much as compressing a small icon.
class ThreadDeflater {
 public:
  ThreadDeflater() { ready_ = deflateInit(&stream_, Z_DEFAULT_COMPRESSION) == Z_OK; }
  ~ThreadDeflater() {
    if (ready_) deflateEnd(&stream_);
  }
  ThreadDeflater(const ThreadDeflater&) = delete;
  ThreadDeflater& operator=(const ThreadDeflater&) = delete;

  // All of `in` in one call, as compress does with room enough.
  bool run(ByteView in, std::uint8_t* out, std::size_t capacity, std::size_t& written) {
    if (!ready_ || deflateReset(&stream_) != Z_OK) return false;
    stream_.next_in = const_cast<Bytef*>(in.data());
    stream_.avail_in = static_cast<uInt>(in.size());
    stream_.next_out = out;
    stream_.avail_out = static_cast<uInt>(capacity);
    const int result = deflate(&stream_, Z_FINISH);
    written = static_cast<std::size_t>(stream_.total_out);
    return result == Z_STREAM_END;
  }

 private:
  z_stream stream_{};
  bool ready_ = false;
};

}  // namespace

bool ZlibCompressInto(ByteView in, std::uint8_t* out, std::size_t capacity, std::size_t& written) {
  written = 0;
  if (in.size() <= std::numeric_limits<uInt>::max() &&
      capacity <= std::numeric_limits<uInt>::max()) {
    thread_local ThreadDeflater deflater;
    return deflater.run(in, out, capacity, written);
  }
  // Larger than one deflate call takes: zlib's own loop.
  if (in.size() > std::numeric_limits<uLong>::max() ||
      capacity > std::numeric_limits<uLong>::max()) {
    return false;
  }
  uLongf outLen = static_cast<uLongf>(capacity);
  if (compress(out, &outLen, in.data(), static_cast<uLong>(in.size())) != Z_OK) return false;
  written = static_cast<std::size_t>(outLen);
  return true;
}

std::optional<Bytes> CompressRgb565(ByteView rows) {
  const double capacityD = static_cast<double>(rows.size()) * 1.1 + 100.0;
  if (capacityD >= static_cast<double>(std::numeric_limits<uLong>::max()) ||
      rows.size() > std::numeric_limits<uLong>::max()) {
    return std::nullopt;
  }
  const auto capacity = static_cast<std::size_t>(capacityD);
  Bytes out(capacity);
  std::size_t outLen = 0;
  if (!ZlibCompressInto(rows, out.data(), capacity, outLen)) return std::nullopt;
  out.resize(outLen);
  return out;
}

Bytes EncodeZbmpRows(int width, int height, ByteView rows) {
  if (rows.empty() || width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF) return {};
  // The stream goes into a buffer the thread keeps (of the size
  // CompressRgb565 would use), and only its bytes are copied into the file.
  constexpr std::size_t kKeptScratch = std::size_t(8) << 20;
  thread_local Bytes scratch;
  const double capacityD = static_cast<double>(rows.size()) * 1.1 + 100.0;
  std::size_t streamLength = 0;
  bool compressed = false;
  if (capacityD < static_cast<double>(std::numeric_limits<uLong>::max()) &&
      rows.size() <= std::numeric_limits<uLong>::max()) {
    const auto capacity = static_cast<std::size_t>(capacityD);
    if (scratch.size() < capacity) scratch.resize(capacity);
    // A stream strictly longer than the rows (or no stream) stores the rows raw.
    compressed = ZlibCompressInto(rows, scratch.data(), capacity, streamLength) &&
                 streamLength <= rows.size();
  }
  const ByteView payload = compressed ? ByteView(scratch.data(), streamLength) : rows;
  Bytes file;
  file.reserve(kZbmpHeaderSize + payload.size());
  putLe16(file, std::uint32_t(width));
  putLe16(file, std::uint32_t(height));
  putLe16(file, compressed ? kZbmpCompressed : kZbmpRaw);
  file.resize(kZbmpHeaderSize, 0);
  file.insert(file.end(), payload.begin(), payload.end());
  if (scratch.size() > kKeptScratch) Bytes().swap(scratch);
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
