#include "picture/StrictRead.h"

#include <zlib.h>

#include <algorithm>
#include <limits>
#include <new>

#include "util/Text.h"

namespace tessel {

namespace {

// zlib's deflate cannot shrink data by more than about 1032:1.
constexpr std::uint64_t kMaxInflateRatio = 1040;

}  // namespace

std::map<std::size_t, std::size_t> OverlappingBlocks(
    const std::vector<std::pair<std::uint64_t, std::uint64_t>>& blocks) {
  std::vector<std::size_t> order(blocks.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return blocks[a].first < blocks[b].first; });
  std::map<std::size_t, std::size_t> found;
  std::uint64_t end = 0;
  std::size_t owner = 0;
  bool any = false;
  for (const std::size_t i : order) {
    const auto [offset, size] = blocks[i];
    if (any && offset < end) {
      found[std::max(i, owner)] = std::min(i, owner);
    }
    if (!any || offset + size > end) {
      end = offset + size;
      owner = i;
    }
    any = true;
  }
  return found;
}

std::optional<Bytes> InflateExact(ByteView stream, std::uint64_t expected, std::string& error) {
  if (stream.empty()) {
    error = trText("Inspect", "its compressed data is empty");
    return std::nullopt;
  }
  if (expected > std::uint64_t(stream.size()) * kMaxInflateRatio + 1024 ||
      expected > std::numeric_limits<uInt>::max() ||
      stream.size() > std::numeric_limits<uInt>::max()) {
    error = trText("Inspect",
                   "its %1 bytes of compressed data cannot hold the %2 bytes it declares")
                .arg(stream.size())
                .arg(expected);
    return std::nullopt;
  }
  Bytes out;
  try {
    out.resize(static_cast<std::size_t>(expected));
  } catch (const std::bad_alloc&) {
    error = trText("Inspect", "out of memory for its %1 bytes").arg(expected);
    return std::nullopt;
  }
  z_stream z{};
  if (inflateInit(&z) != Z_OK) {
    error = trText("Inspect", "zlib cannot start");
    return std::nullopt;
  }
  std::uint8_t spare = 0;
  z.next_in = const_cast<Bytef*>(stream.data());
  z.avail_in = static_cast<uInt>(stream.size());
  z.next_out = out.empty() ? &spare : out.data();
  z.avail_out = static_cast<uInt>(out.size());
  int rc = inflate(&z, Z_FINISH);
  if (rc != Z_STREAM_END && z.avail_out == 0 && (rc == Z_OK || rc == Z_BUF_ERROR)) {
    // Every declared byte is there: the stream must end now, without more.
    z.next_out = &spare;
    z.avail_out = 1;
    rc = inflate(&z, Z_FINISH);
    if (z.avail_out == 0) {
      inflateEnd(&z);
      error = trText("Inspect", "its compressed data holds more than the %1 bytes it declares")
                  .arg(expected);
      return std::nullopt;
    }
  }
  const std::uint64_t produced = expected - (z.next_out == &spare ? 0 : z.avail_out);
  const std::string message = z.msg ? z.msg : "";
  const uInt leftOver = z.avail_in;
  inflateEnd(&z);
  switch (rc) {
    case Z_STREAM_END:
      if (produced != expected) {
        error = trText("Inspect", "its compressed data holds %1 bytes, not the %2 it declares")
                    .arg(produced)
                    .arg(expected);
        return std::nullopt;
      }
      if (leftOver != 0) {
        error = trText("Inspect", "%1 bytes follow the end of its compressed data").arg(leftOver);
        return std::nullopt;
      }
      return out;
    case Z_OK:
    case Z_BUF_ERROR:
      error = trText("Inspect",
                     "its compressed data ends after %1 of the %2 bytes it declares (cut short?)")
                  .arg(produced)
                  .arg(expected);
      return std::nullopt;
    case Z_MEM_ERROR:
      error = trText("Inspect", "out of memory while inflating it");
      return std::nullopt;
    default:
      error = message.empty()
                  ? trText("Inspect", "its compressed data is damaged")
                  : trText("Inspect", "its compressed data is damaged (zlib: %1)").arg(message);
      return std::nullopt;
  }
}

QImage Rgb565Image(const std::uint8_t* rows, int width, int height, std::size_t stride) {
  QImage image(width, height, QImage::Format_RGB16);
  if (image.isNull()) return image;
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* in = rows + std::size_t(y) * stride;
    auto* out = reinterpret_cast<quint16*>(image.scanLine(y));
    for (int x = 0; x < width; ++x) out[x] = GetLe16(in + 2 * std::size_t(x));
  }
  return image;
}

}  // namespace tessel
