#include "picture/Zbmp.h"

#include "util/Zlib.h"

namespace tessel {

Bytes EncodeZbmpRows(int width, int height, ByteView rows) {
  if (rows.empty() || width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF) return {};
  // The stream goes into a buffer the thread keeps, and only its bytes are
  // copied into the file.
  constexpr std::size_t kKeptScratch = std::size_t(8) << 20;
  thread_local Bytes scratch;
  std::size_t streamLength = 0;
  bool compressed = false;
  if (const std::optional<std::size_t> capacity = ZlibBound(rows.size())) {
    if (scratch.size() < *capacity) scratch.resize(*capacity);
    // A stream strictly longer than the rows (or no stream) stores the rows raw.
    compressed = ZlibCompressInto(rows, scratch.data(), *capacity, streamLength) &&
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

}  // namespace tessel
