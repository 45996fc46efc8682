#include "util/Zlib.h"

#include <libdeflate.h>
#include <zlib.h>

#include <limits>

namespace tessel {

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

// The stronger encoder's level: the lowest that makes the outputs of
// real-shaped projects at least 5 % smaller than zlib's default level does.
constexpr int kSmallestLevel = 10;

// One libdeflate compressor per thread, like the deflate state above.
class ThreadLibdeflate {
 public:
  ThreadLibdeflate() : compressor_(libdeflate_alloc_compressor(kSmallestLevel)) {}
  ~ThreadLibdeflate() {
    if (compressor_) libdeflate_free_compressor(compressor_);
  }
  ThreadLibdeflate(const ThreadLibdeflate&) = delete;
  ThreadLibdeflate& operator=(const ThreadLibdeflate&) = delete;

  bool run(ByteView in, std::uint8_t* out, std::size_t capacity, std::size_t& written) {
    if (!compressor_) return false;
    written = libdeflate_zlib_compress(compressor_, in.data(), in.size(), out, capacity);
    return written > 0;  // 0: it did not fit
  }

 private:
  libdeflate_compressor* compressor_ = nullptr;
};

}  // namespace

std::optional<std::size_t> ZlibBound(std::size_t inputSize) {
  const double bound = static_cast<double>(inputSize) * 1.1 + 100.0;
  if (bound >= static_cast<double>(std::numeric_limits<uLong>::max()) ||
      inputSize > std::numeric_limits<uLong>::max()) {
    return std::nullopt;
  }
  return static_cast<std::size_t>(bound);
}

bool ZlibCompressInto(ByteView in, std::uint8_t* out, std::size_t capacity, std::size_t& written,
                      Compression compression) {
  written = 0;
  if (compression == Compression::Smallest) {
    thread_local ThreadLibdeflate compressor;
    return compressor.run(in, out, capacity, written);
  }
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

std::optional<Bytes> ZlibCompress(ByteView in, Compression compression) {
  const std::optional<std::size_t> capacity = ZlibBound(in.size());
  if (!capacity) return std::nullopt;
  // Into a buffer the thread keeps, then copied at the stream's length: a
  // fresh buffer of the bound for every picture or icon costs clearing and
  // mapping its pages each time. A large one is not kept.
  constexpr std::size_t kKeptScratch = std::size_t(8) << 20;
  thread_local Bytes scratch;
  if (scratch.size() < *capacity) scratch.resize(*capacity);
  std::size_t written = 0;
  std::optional<Bytes> out;
  if (ZlibCompressInto(in, scratch.data(), *capacity, written, compression)) {
    out.emplace(scratch.begin(), scratch.begin() + std::ptrdiff_t(written));
  }
  if (scratch.capacity() > kKeptScratch) Bytes().swap(scratch);
  return out;
}

}  // namespace tessel
