#include "inspect/PagePng.h"

#include <zlib.h>

#include <limits>
#include <memory>
#include <new>

namespace tessel::inspect {

namespace {

void Put32(Bytes& out, std::uint32_t v) {
  out.push_back(std::uint8_t(v >> 24));
  out.push_back(std::uint8_t(v >> 16));
  out.push_back(std::uint8_t(v >> 8));
  out.push_back(std::uint8_t(v));
}

// A chunk: length, type, data, CRC of type and data.
void Chunk(Bytes& out, const char* type, const std::uint8_t* data, std::size_t size) {
  Put32(out, static_cast<std::uint32_t>(size));
  const std::size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  if (size) out.insert(out.end(), data, data + size);
  const uLong crc = crc32(0, out.data() + start, static_cast<uInt>(out.size() - start));
  Put32(out, static_cast<std::uint32_t>(crc));
}

}  // namespace

Bytes EncodePagePng(const QImage& image) {
  if (image.isNull()) return {};
  try {
    // RGB565 (the outputs' own pixels) is expanded here, as Qt expands it
    // (each field's high bits repeated below it); other formats through Qt.
    const bool rgb16 = image.format() == QImage::Format_RGB16;
    // 32-bit pixels are read as they are (their alpha left out, as the
    // outputs leave it out).
    const bool rgb32 = image.format() == QImage::Format_RGB32 ||
                       image.format() == QImage::Format_ARGB32;
    const QImage rgb = rgb16 || rgb32 || image.format() == QImage::Format_RGB888
                           ? image
                           : image.convertToFormat(QImage::Format_RGB888);
    if (rgb.isNull()) return {};
    const std::size_t w = static_cast<std::size_t>(rgb.width());
    const std::size_t h = static_cast<std::size_t>(rgb.height());
    const std::size_t rowBytes = w * 3 + 1;
    if (h > std::numeric_limits<uInt>::max() / 2 / rowBytes) return {};
    // Every byte is written below: no need to clear them first.
    std::unique_ptr<std::uint8_t[]> filtered(new std::uint8_t[rowBytes * h]);
    const std::size_t filteredSize = rowBytes * h;
    for (std::size_t y = 0; y < h; ++y) {
      std::uint8_t* out = filtered.get() + y * rowBytes;
      out[0] = 1;  // Sub: each byte less the byte of the pixel to its left
      std::uint8_t* px = out + 1;
      if (rgb16) {
        const auto* in = reinterpret_cast<const std::uint16_t*>(rgb.constScanLine(static_cast<int>(y)));
        std::uint8_t last[3] = {0, 0, 0};
        for (std::size_t x = 0; x < w; ++x) {
          const std::uint16_t v = in[x];
          const std::uint8_t r5 = v >> 11, g6 = (v >> 5) & 0x3F, b5 = v & 0x1F;
          const std::uint8_t r = std::uint8_t(r5 << 3 | r5 >> 2), g = std::uint8_t(g6 << 2 | g6 >> 4),
                             b = std::uint8_t(b5 << 3 | b5 >> 2);
          px[3 * x] = std::uint8_t(r - last[0]);
          px[3 * x + 1] = std::uint8_t(g - last[1]);
          px[3 * x + 2] = std::uint8_t(b - last[2]);
          last[0] = r;
          last[1] = g;
          last[2] = b;
        }
      } else if (rgb32) {
        const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(static_cast<int>(y)));
        QRgb last = 0;
        for (std::size_t x = 0; x < w; ++x) {
          px[3 * x] = std::uint8_t(qRed(in[x]) - qRed(last));
          px[3 * x + 1] = std::uint8_t(qGreen(in[x]) - qGreen(last));
          px[3 * x + 2] = std::uint8_t(qBlue(in[x]) - qBlue(last));
          last = in[x];
        }
      } else {
        const std::uint8_t* in = rgb.constScanLine(static_cast<int>(y));
        for (std::size_t i = 0; i < 3 && i < w * 3; ++i) px[i] = in[i];
        for (std::size_t i = 3; i < w * 3; ++i) px[i] = std::uint8_t(in[i] - in[i - 3]);
      }
    }
    z_stream z{};
    if (deflateInit2(&z, 1, Z_DEFLATED, 15, 8, Z_RLE) != Z_OK) return {};
    const uLong bound = deflateBound(&z, static_cast<uLong>(filteredSize));
    std::unique_ptr<std::uint8_t[]> packed(new std::uint8_t[bound]);
    z.next_in = filtered.get();
    z.avail_in = static_cast<uInt>(filteredSize);
    z.next_out = packed.get();
    z.avail_out = static_cast<uInt>(bound);
    const int status = deflate(&z, Z_FINISH);
    const std::size_t packedSize = z.total_out;
    deflateEnd(&z);
    if (status != Z_STREAM_END) return {};

    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    png.reserve(packedSize + 64);
    Bytes header;
    Put32(header, static_cast<std::uint32_t>(w));
    Put32(header, static_cast<std::uint32_t>(h));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, filters, no interlace
    Chunk(png, "IHDR", header.data(), header.size());
    Chunk(png, "IDAT", packed.get(), packedSize);
    Chunk(png, "IEND", nullptr, 0);
    return png;
  } catch (const std::bad_alloc&) {
    return {};
  }
}

}  // namespace tessel::inspect
