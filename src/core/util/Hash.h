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

// The same, of bytes given piece by piece (a file written from parts).
class ContentHasher {
 public:
  // `plainCode`: never on the processor's SHA instructions, even where it
  // has them (the two ways must agree).
  explicit ContentHasher(bool plainCode = false);
  ~ContentHasher();
  ContentHasher(const ContentHasher&) = delete;
  ContentHasher& operator=(const ContentHasher&) = delete;
  void add(ByteView data);
  // The hash of everything added; empty when hashing failed.
  std::string finish();

 private:
  struct State;
  State* state_;
  bool ok_ = true;
};

struct FileHash {
  std::uint64_t size = 0;  // bytes hashed
  std::string hash;        // ContentHash of them
};
// The same of a regular file's first `limit` bytes (all of a shorter file),
// read in small pieces (memory stays flat); nothing when they cannot be read.
std::optional<FileHash> ContentHashOfFile(const std::filesystem::path& path,
                                          std::uint64_t limit = UINT64_MAX);

}  // namespace tessel
