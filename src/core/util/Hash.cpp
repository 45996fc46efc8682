#include "util/Hash.h"

// SHA-256 (FIPS 180-4) of its own: a crypto library would be mapped into
// every run (over a megabyte of resident pages) for this one function. On
// x86 processors with the SHA extensions the rounds run on them; elsewhere
// in plain C++.
#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <vector>

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#include <cpuid.h>
#include <immintrin.h>
#define TESSEL_SHA_X86 1
#endif

namespace tessel {

namespace {

constexpr std::uint32_t kRound[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

inline std::uint32_t Rotr(std::uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

void CompressPlain(std::uint32_t* state, const std::uint8_t* data, std::size_t blocks) {
  for (; blocks > 0; --blocks, data += 64) {
    std::uint32_t w[64];
    for (int i = 0; i < 16; ++i) {
      w[i] = std::uint32_t(data[4 * i]) << 24 | std::uint32_t(data[4 * i + 1]) << 16 |
             std::uint32_t(data[4 * i + 2]) << 8 | data[4 * i + 3];
    }
    for (int i = 16; i < 64; ++i) {
      const std::uint32_t s0 = Rotr(w[i - 15], 7) ^ Rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
      const std::uint32_t s1 = Rotr(w[i - 2], 17) ^ Rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
      w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }
    std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3], e = state[4],
                  f = state[5], g = state[6], h = state[7];
    for (int i = 0; i < 64; ++i) {
      const std::uint32_t t1 = h + (Rotr(e, 6) ^ Rotr(e, 11) ^ Rotr(e, 25)) + ((e & f) ^ (~e & g)) +
                               kRound[i] + w[i];
      const std::uint32_t t2 =
          (Rotr(a, 2) ^ Rotr(a, 13) ^ Rotr(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
      h = g;
      g = f;
      f = e;
      e = d + t1;
      d = c;
      c = b;
      b = a;
      a = t1 + t2;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
    state[4] += e;
    state[5] += f;
    state[6] += g;
    state[7] += h;
  }
}

#ifdef TESSEL_SHA_X86
__attribute__((target("sha,sse4.1,ssse3"))) void CompressShaExtensions(std::uint32_t* state,
                                                                        const std::uint8_t* data,
                                                                        std::size_t blocks) {
  const __m128i bigEndian = _mm_set_epi64x(0x0c0d0e0f08090a0bLL, 0x0405060700010203LL);
  // The state as the instructions want it: ABEF and CDGH.
  __m128i dcba = _mm_loadu_si128(reinterpret_cast<const __m128i*>(state));
  __m128i cdgh = _mm_loadu_si128(reinterpret_cast<const __m128i*>(state + 4));  // HGFE
  dcba = _mm_shuffle_epi32(dcba, 0xB1);                   // CDAB
  cdgh = _mm_shuffle_epi32(cdgh, 0x1B);                   // EFGH
  __m128i abef = _mm_alignr_epi8(dcba, cdgh, 8);          // ABEF
  cdgh = _mm_blend_epi16(cdgh, dcba, 0xF0);               // CDGH
  for (; blocks > 0; --blocks, data += 64) {
    const __m128i abefBefore = abef, cdghBefore = cdgh;
    __m128i w[4];
#pragma GCC unroll 16
    for (int g = 0; g < 16; ++g) {
      __m128i& m = w[g & 3];
      if (g < 4) {
        m = _mm_shuffle_epi8(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 16 * g)), bigEndian);
      } else {
        // w[t-16] + s0(w[t-15]), + w[t-7], + s1(w[t-2]), four words at a time.
        __m128i x = _mm_sha256msg1_epu32(m, w[(g + 1) & 3]);
        x = _mm_add_epi32(x, _mm_alignr_epi8(w[(g + 3) & 3], w[(g + 2) & 3], 4));
        m = _mm_sha256msg2_epu32(x, w[(g + 3) & 3]);
      }
      __m128i k = _mm_add_epi32(
          m, _mm_loadu_si128(reinterpret_cast<const __m128i*>(kRound + 4 * g)));
      cdgh = _mm_sha256rnds2_epu32(cdgh, abef, k);
      k = _mm_shuffle_epi32(k, 0x0E);
      abef = _mm_sha256rnds2_epu32(abef, cdgh, k);
    }
    abef = _mm_add_epi32(abef, abefBefore);
    cdgh = _mm_add_epi32(cdgh, cdghBefore);
  }
  const __m128i feba = _mm_shuffle_epi32(abef, 0x1B);
  const __m128i dchg = _mm_shuffle_epi32(cdgh, 0xB1);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(state), _mm_blend_epi16(feba, dchg, 0xF0));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(state + 4), _mm_alignr_epi8(dchg, feba, 8));
}
#endif

using Compress = void (*)(std::uint32_t*, const std::uint8_t*, std::size_t);

Compress ChooseCompress() {
#ifdef TESSEL_SHA_X86
  // CPUID: leaf 1 gives SSSE3 (ECX bit 9) and SSE4.1 (ECX bit 19), leaf 7
  // the SHA extensions (EBX bit 29). Asked directly: not every compiler
  // knows "sha" as a name for __builtin_cpu_supports.
  unsigned a = 0, b = 0, c = 0, d = 0;
  if (__get_cpuid(1, &a, &b, &c, &d) && (c & (1u << 9)) && (c & (1u << 19)) &&
      __get_cpuid_count(7, 0, &a, &b, &c, &d) && (b & (1u << 29))) {
    return CompressShaExtensions;
  }
#endif
  return CompressPlain;
}

const Compress compress = ChooseCompress();

std::string Hex(const std::uint8_t* digest, unsigned length) {
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

struct ContentHasher::State {
  std::uint32_t h[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                        0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
  std::uint8_t block[64];
  std::size_t held = 0;      // bytes in `block`
  std::uint64_t total = 0;   // bytes added
  Compress compress = nullptr;
};

ContentHasher::ContentHasher(bool plainCode) : state_(new State) {
  state_->compress = plainCode ? CompressPlain : compress;
}

ContentHasher::~ContentHasher() { delete state_; }

void ContentHasher::add(ByteView data) {
  State& s = *state_;
  const std::uint8_t* p = data.data();
  std::size_t n = data.size();
  s.total += n;
  if (s.held > 0) {
    const std::size_t take = std::min(n, 64 - s.held);
    std::memcpy(s.block + s.held, p, take);
    s.held += take;
    p += take;
    n -= take;
    if (s.held < 64) return;
    s.compress(s.h, s.block, 1);
    s.held = 0;
  }
  if (n >= 64) {
    s.compress(s.h, p, n / 64);
    p += n / 64 * 64;
    n %= 64;
  }
  if (n > 0) std::memcpy(s.block, p, n);
  s.held = n;
}

std::string ContentHasher::finish() {
  if (!ok_) return {};
  ok_ = false;
  State& s = *state_;
  const std::uint64_t bits = s.total * 8;
  s.block[s.held++] = 0x80;
  if (s.held > 56) {
    std::memset(s.block + s.held, 0, 64 - s.held);
    s.compress(s.h, s.block, 1);
    s.held = 0;
  }
  std::memset(s.block + s.held, 0, 56 - s.held);
  for (int i = 0; i < 8; ++i) s.block[56 + i] = static_cast<std::uint8_t>(bits >> (56 - 8 * i));
  s.compress(s.h, s.block, 1);
  std::uint8_t digest[32];
  for (int i = 0; i < 8; ++i) {
    for (int j = 0; j < 4; ++j) digest[4 * i + j] = static_cast<std::uint8_t>(s.h[i] >> (24 - 8 * j));
  }
  return Hex(digest, 32);
}

std::string ContentHash(ByteView data) {
  ContentHasher hasher;
  hasher.add(data);
  return hasher.finish();
}

std::optional<FileHash> ContentHashOfFile(const std::filesystem::path& path,
                                          std::uint64_t limit) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::array<char, 16384> buffer;
  ContentHasher hasher;
  FileHash result;
  while (in && result.size < limit) {
    const std::uint64_t want = std::min<std::uint64_t>(buffer.size(), limit - result.size);
    in.read(buffer.data(), static_cast<std::streamsize>(want));
    const std::streamsize got = in.gcount();
    if (got <= 0) break;
    hasher.add(ByteView(reinterpret_cast<const std::uint8_t*>(buffer.data()),
                        static_cast<std::size_t>(got)));
    result.size += static_cast<std::uint64_t>(got);
  }
  if (in.bad()) return std::nullopt;
  result.hash = hasher.finish();
  return result;
}

}  // namespace tessel
