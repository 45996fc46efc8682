#include "util/Hash.h"

// The direct SHA-256 calls: the digest interface of OpenSSL 3 loads its
// providers and their tables (megabytes) before the first hash.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/sha.h>

#include <algorithm>
#include <fstream>
#include <vector>

namespace tessel {

namespace {

std::string hex(const unsigned char* digest, unsigned length) {
  static const char* const kHex = "0123456789abcdef";
  std::string text;
  text.reserve(2 * length);
  for (unsigned i = 0; i < length; ++i) {
    text.push_back(kHex[digest[i] >> 4]);
    text.push_back(kHex[digest[i] & 15]);
  }
  return text;
}

}  // namespace

std::string ContentHash(ByteView data) {
  SHA256_CTX context;
  unsigned char digest[SHA256_DIGEST_LENGTH];
  if (SHA256_Init(&context) != 1 || SHA256_Update(&context, data.data(), data.size()) != 1 ||
      SHA256_Final(digest, &context) != 1) {
    return {};
  }
  return hex(digest, SHA256_DIGEST_LENGTH);
}

struct ContentHasher::State {
  SHA256_CTX context;
};

ContentHasher::ContentHasher() : state_(new State) { ok_ = SHA256_Init(&state_->context) == 1; }

ContentHasher::~ContentHasher() { delete state_; }

void ContentHasher::add(ByteView data) {
  if (ok_ && !data.empty()) ok_ = SHA256_Update(&state_->context, data.data(), data.size()) == 1;
}

std::string ContentHasher::finish() {
  unsigned char digest[SHA256_DIGEST_LENGTH];
  if (!ok_ || SHA256_Final(digest, &state_->context) != 1) return {};
  ok_ = false;
  return hex(digest, SHA256_DIGEST_LENGTH);
}

std::optional<FileHash> ContentHashOfFile(const std::filesystem::path& path,
                                          std::uint64_t limit) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  SHA256_CTX context;
  if (!in || SHA256_Init(&context) != 1) return std::nullopt;
  thread_local std::vector<char> buffer(std::size_t(1) << 16);
  FileHash result;
  while (in && result.size < limit) {
    const std::uint64_t want = std::min<std::uint64_t>(buffer.size(), limit - result.size);
    in.read(buffer.data(), static_cast<std::streamsize>(want));
    const std::streamsize got = in.gcount();
    if (got <= 0) break;
    if (SHA256_Update(&context, buffer.data(), static_cast<std::size_t>(got)) != 1) {
      return std::nullopt;
    }
    result.size += static_cast<std::uint64_t>(got);
  }
  if (in.bad()) return std::nullopt;
  unsigned char digest[SHA256_DIGEST_LENGTH];
  if (SHA256_Final(digest, &context) != 1) return std::nullopt;
  result.hash = hex(digest, SHA256_DIGEST_LENGTH);
  return result;
}

}  // namespace tessel
