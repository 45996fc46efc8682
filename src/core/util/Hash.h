#pragma once
// The content hash a run records for its sources and outputs, so that a later
// run can tell an unchanged file from a changed one.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "util/Bytes.h"

namespace tessel {

// SHA-256 of the bytes, in lower-case hexadecimal.
std::string ContentHash(ByteView data);

struct FileHash {
  std::uint64_t size = 0;
  std::string hash;  // ContentHash of the whole file
};
// The same of a regular file, read in small pieces (memory stays flat);
// nothing when it cannot be read whole.
std::optional<FileHash> ContentHashOfFile(const std::filesystem::path& path);

}  // namespace tessel
