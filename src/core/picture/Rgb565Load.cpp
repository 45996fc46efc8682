#include "picture/Rgb565Load.h"

#include <QImage>
#include <algorithm>
#include <cstdint>
#include <limits>

#include "picture/PictureLoad.h"
#include "picture/Zbmp.h"
#include "util/FileIO.h"

namespace tessel {

namespace {

constexpr std::size_t kFileHeaderSize = 14;

Rgb565Picture fromImage(const QImage& image) {
  Rgb565Picture out;
  out.rows = Rgb565Rows(image);
  if (out.ok()) {
    out.width = image.width();
    out.height = image.height();
  }
  return out;
}

}  // namespace

std::optional<Rgb565Picture> DecodePlainBmp(ByteView file) {
  if (file.size() < kFileHeaderSize + 40 || file[0] != 'B' || file[1] != 'M') return std::nullopt;
  const std::uint8_t* p = file.data();
  const std::uint64_t pixelOffset = getLe32(p + 10);
  const std::uint32_t infoSize = getLe32(p + 14);
  if (infoSize != 40 && infoSize != 108 && infoSize != 124) return std::nullopt;
  if (!fitsIn(kFileHeaderSize, infoSize, file.size())) return std::nullopt;
  const auto width = static_cast<std::int32_t>(getLe32(p + 18));
  const auto rawHeight = static_cast<std::int32_t>(getLe32(p + 22));
  const std::uint16_t planes = getLe16(p + 26);
  const std::uint16_t bits = getLe16(p + 28);
  const std::uint32_t compression = getLe32(p + 30);
  if (planes != 1 || bits != 24 || compression != 0) return std::nullopt;
  if (width <= 0 || rawHeight == 0 || rawHeight == std::numeric_limits<std::int32_t>::min()) {
    return std::nullopt;
  }
  const bool topDown = rawHeight < 0;
  const std::int32_t height = topDown ? -rawHeight : rawHeight;
  // The limits LoadPicture applies; a picture beyond them takes the general
  // way, which says why it is refused.
  if (width > kMaxPictureSide || height > kMaxPictureSide ||
      std::uint64_t(width) * std::uint64_t(height) * 4u > kMaxDecodedBytes) {
    return std::nullopt;
  }
  if (pixelOffset < kFileHeaderSize + infoSize) return std::nullopt;
  const std::uint64_t sourceStride = (std::uint64_t(width) * 3 + 3) & ~std::uint64_t(3);
  const std::uint64_t pixelBytes = sourceStride * std::uint64_t(height);
  // A short file would be decoded partly by the general way: leave it to it.
  if (!fitsIn(pixelOffset, pixelBytes, file.size())) return std::nullopt;

  Rgb565Picture out;
  out.width = width;
  out.height = height;
  const std::size_t stride = static_cast<std::size_t>(Rgb565Stride(std::uint64_t(width)));
  const std::size_t used = std::size_t(width) * 2;
  out.rows.resize(stride * std::size_t(height));
  for (std::int32_t y = 0; y < height; ++y) {
    const std::int32_t sourceRow = topDown ? y : height - 1 - y;
    const std::uint8_t* in = p + pixelOffset + std::size_t(sourceRow) * sourceStride;
    std::uint8_t* row = out.rows.data() + std::size_t(y) * stride;
    PackRgb565FromBgr(in, std::size_t(width), row);
    std::fill(row + used, row + stride, std::uint8_t(0));
  }
  return out;
}

Rgb565Picture LoadRgb565(const std::filesystem::path& path, int rotation, std::string& error) {
  error.clear();
  // Only a file that starts like a BMP is read whole here; a BMP this cannot
  // take is read again by the general way (rare: other depths, compression).
  const std::optional<Bytes> head = readFileHead(path, 2);
  if (head && head->size() == 2 && (*head)[0] == 'B' && (*head)[1] == 'M') {
    if (const std::optional<Bytes> data = readFile(path)) {
      if (std::optional<Rgb565Picture> plain = DecodePlainBmp(ByteView(*data))) {
        if (rotation < 1 || rotation > 3) return std::move(*plain);
        // Rotation moves pixels without touching their values, so the
        // 16-bit picture turns just as the 32-bit one would.
        const QImage view(plain->rows.data(), plain->width, plain->height,
                          static_cast<qsizetype>(Rgb565Stride(std::uint64_t(plain->width))),
                          QImage::Format_RGB16);
        Rgb565Picture turned = fromImage(RotatePicture(view, rotation));
        if (turned.ok()) return turned;
      }
    }
  }
  LoadedPicture loaded = LoadPicture(path);
  if (!loaded.ok()) {
    error = loaded.error;
    return {};
  }
  return fromImage(RotatePicture(loaded.image, rotation));
}

}  // namespace tessel
