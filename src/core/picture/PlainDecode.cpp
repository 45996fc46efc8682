#include "picture/PlainDecode.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <new>

#include "picture/JpegError.h"

namespace tessel {

namespace {

constexpr std::size_t kFileHeaderSize = 14;

// Rows decoded at a time for a turned picture: enough for the turn to write
// runs of pixels, few enough to stay in the cache.
constexpr int kStripRows = 16;

}  // namespace

std::optional<Rgb565Picture> DecodePlainBmp(ByteView file, const Limits& limits, int rotation) {
  if (file.size() < kFileHeaderSize + 40 || file[0] != 'B' || file[1] != 'M') return std::nullopt;
  const std::uint8_t* p = file.data();
  const std::uint64_t pixelOffset = GetLe32(p + 10);
  const std::uint32_t infoSize = GetLe32(p + 14);
  if (infoSize != 40 && infoSize != 108 && infoSize != 124) return std::nullopt;
  if (!FitsIn(kFileHeaderSize, infoSize, file.size())) return std::nullopt;
  const auto width = static_cast<std::int32_t>(GetLe32(p + 18));
  const auto rawHeight = static_cast<std::int32_t>(GetLe32(p + 22));
  const std::uint16_t planes = GetLe16(p + 26);
  const std::uint16_t bits = GetLe16(p + 28);
  const std::uint32_t compression = GetLe32(p + 30);
  if (planes != 1 || bits != 24 || compression != 0) return std::nullopt;
  if (width <= 0 || rawHeight == 0 || rawHeight == std::numeric_limits<std::int32_t>::min()) {
    return std::nullopt;
  }
  const bool topDown = rawHeight < 0;
  const std::int32_t height = topDown ? -rawHeight : rawHeight;
  // The limits LoadPicture applies; a picture beyond them takes the general
  // way, which says why it is refused.
  if (!PictureSizeAllowed(limits, std::uint64_t(width), std::uint64_t(height))) return std::nullopt;
  if (pixelOffset < kFileHeaderSize + infoSize) return std::nullopt;
  const std::uint64_t sourceStride = (std::uint64_t(width) * 3 + 3) & ~std::uint64_t(3);
  const std::uint64_t pixelBytes = sourceStride * std::uint64_t(height);
  // A short file would be decoded partly by the general way: leave it to it.
  if (!FitsIn(pixelOffset, pixelBytes, file.size())) return std::nullopt;

  TurnedRows turned(width, height, rotation);
  auto sourceRow = [&](std::int32_t y) {
    return p + pixelOffset + std::size_t(topDown ? y : height - 1 - y) * sourceStride;
  };
  if (turned.direct(0)) {
    for (std::int32_t y = 0; y < height; ++y) {
      PackRgb565FromBgr(sourceRow(y), std::size_t(width), turned.direct(y));
    }
  } else {
    const std::size_t used = std::size_t(width) * 2;
    Bytes strip(used * kStripRows);
    for (std::int32_t y = 0; y < height; y += kStripRows) {
      const int count = std::min<std::int32_t>(kStripRows, height - y);
      for (int r = 0; r < count; ++r) {
        PackRgb565FromBgr(sourceRow(y + r), std::size_t(width), strip.data() + std::size_t(r) * used);
      }
      turned.place(y, count, strip.data(), used);
    }
  }
  return turned.take();
}

namespace {

// Everything the decompressor's callbacks touch (see JpegErrors).
struct JpegReadContext {
  JpegErrors errors;  // first
  jpeg_decompress_struct cinfo;
};

// The only function that calls setjmp. `turned` is made once the header is
// read; `strip` is a malloc'ed buffer of kStripRows decoded rows. False on any
// library error or warning, or when the picture is not one this way takes.
bool DecodeJpeg(JpegReadContext* ctx, ByteView file, const Limits& limits, int rotation,
                std::optional<TurnedRows>* turned, std::uint8_t** strip) {
  jpeg_decompress_struct& cinfo = ctx->cinfo;
  cinfo.err = InstallJpegErrors(ctx->errors);
  if (setjmp(ctx->errors.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, file.data(), static_cast<unsigned long>(file.size()));
  if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  const bool colour = cinfo.num_components == 3 && cinfo.jpeg_color_space == JCS_YCbCr;
  const bool grey = cinfo.num_components == 1 && cinfo.jpeg_color_space == JCS_GRAYSCALE;
  const std::uint64_t width = cinfo.image_width, height = cinfo.image_height;
  if ((!colour && !grey) || width == 0 || height == 0 ||
      !PictureSizeAllowed(limits, width, height)) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  // libjpeg writes 32-bit pixels (0xXXRRGGBB in the machine's order) with
  // its vectorised colour conversion, and we pack them: faster than its own
  // RGB565 output, and the same values (each channel truncated, as Qt's
  // conversion does).
  cinfo.out_color_space =
      std::endian::native == std::endian::little ? JCS_EXT_BGRX : JCS_EXT_XRGB;
  jpeg_start_decompress(&cinfo);
  if (cinfo.output_width != width || cinfo.output_height != height ||
      cinfo.output_components != 4) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  turned->emplace(int(width), int(height), rotation);
  const std::size_t decodedStride = std::size_t(width) * 4;
  *strip = static_cast<std::uint8_t*>(std::malloc(decodedStride * kStripRows));
  if (!*strip) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  JSAMPROW targets[kStripRows];
  for (int r = 0; r < kStripRows; ++r) targets[r] = *strip + std::size_t(r) * decodedStride;
  while (cinfo.output_scanline < cinfo.output_height) {
    const int y = int(cinfo.output_scanline);
    const int count = std::min<int>(kStripRows, int(height) - y);
    // libjpeg gives up to its own number of rows per call.
    int got = 0;
    while (got < count) {
      const JDIMENSION n = jpeg_read_scanlines(&cinfo, targets + got, JDIMENSION(count - got));
      if (n == 0) {
        jpeg_destroy_decompress(&cinfo);
        return false;
      }
      got += int(n);
    }
    // Packed into the rows, or in place (each packed row is shorter than its
    // 32-bit one) and then turned.
    for (int r = 0; r < count; ++r) {
      const auto* pixels = reinterpret_cast<const std::uint32_t*>(targets[r]);
      std::uint8_t* at = (*turned)->direct(y + r);
      PackRgb565(pixels, std::size_t(width), at ? at : targets[r]);
    }
    if (!(*turned)->direct(0)) (*turned)->place(y, count, *strip, decodedStride);
  }
  jpeg_finish_decompress(&cinfo);
  // A warning means libjpeg made something up (missing data, a bad marker):
  // the general way then decides what the picture is.
  const bool clean = ctx->errors.manager.num_warnings == 0;
  jpeg_destroy_decompress(&cinfo);
  return clean;
}

}  // namespace

std::optional<Rgb565Picture> DecodePlainJpeg(ByteView file, const Limits& limits, int rotation) {
  if (file.size() < 4 || file[0] != 0xFF || file[1] != 0xD8 ||
      file.size() > std::numeric_limits<unsigned long>::max()) {
    return std::nullopt;
  }
  auto* ctx = static_cast<JpegReadContext*>(std::calloc(1, sizeof(JpegReadContext)));
  if (!ctx) return std::nullopt;
  std::optional<TurnedRows> turned;
  std::uint8_t* strip = nullptr;
  bool ok = false;
  try {
    ok = DecodeJpeg(ctx, file, limits, rotation, &turned, &strip);
  } catch (const std::bad_alloc&) {
    // Only the rows' allocation throws, outside libjpeg's own calls.
    jpeg_destroy_decompress(&ctx->cinfo);
  }
  std::free(strip);
  std::free(ctx);
  if (!ok) return std::nullopt;
  return turned->take();
}

}  // namespace tessel
