#include "picture/Zbmp.h"

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
  putLe16(file, std::uint32_t(width));
  putLe16(file, std::uint32_t(height));
  putLe16(file, compressed ? kZbmpCompressed : kZbmpRaw);
  file.resize(kZbmpHeaderSize, 0);
  file.insert(file.end(), payload.begin(), payload.end());
  return file;
}

}  // namespace tessel
