#pragma once
// zlib compression as every output uses it: the stream `compress` makes at
// the default level, into a buffer of input * 1.1 + 100 bytes.
#include <cstddef>
#include <optional>

#include "util/Bytes.h"

namespace tessel {

// How hard the streams are compressed. Default: zlib at its default level, the
// bytes every earlier version wrote. Smallest: a stronger encoder (libdeflate)
// that searches harder for a stream several percent shorter, at several times
// the CPU; still one standard zlib stream that inflates to the same bytes.
enum class Compression { Default = 0, Smallest = 1 };

// The buffer size the outputs compress into; nothing when it is too large
// for zlib's length type.
std::optional<std::size_t> ZlibBound(std::size_t inputSize);

// Compresses `in` into `out` (room for `capacity` bytes); the stream's length
// goes to `written`. False when it does not fit or zlib fails. Each thread
// keeps one deflate state and resets it for every call instead of setting up
// a new one: the stream's bytes are those of `compress`.
bool ZlibCompressInto(ByteView in, std::uint8_t* out, std::size_t capacity, std::size_t& written,
                      Compression compression = Compression::Default);

// The stream in a buffer of its own length (made in a buffer of ZlibBound's
// size the thread keeps). Nothing when zlib does not succeed.
std::optional<Bytes> ZlibCompress(ByteView in, Compression compression = Compression::Default);

}  // namespace tessel
