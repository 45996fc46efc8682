// The zlib streams of the run.
#include <gtest/gtest.h>

#include <thread>
#include <vector>
#include <zlib.h>

#include "picture/Rgb565.h"
#include "support/TestSupport.h"
#include "util/Zlib.h"

namespace tessel {
namespace {

// The deflate state each thread keeps gives zlib compress's bytes, call after
// call and on any thread.
TEST(Zlib, ReusedDeflateStateGivesCompressBytes) {
  auto reference = [](const Bytes& in) {
    uLongf length = compressBound(uLong(in.size()));
    Bytes out(length);
    EXPECT_EQ(compress(out.data(), &length, in.data(), uLong(in.size())), Z_OK);
    out.resize(length);
    return out;
  };
  auto viaThreadState = [](const Bytes& in) {
    Bytes out(*ZlibBound(in.size()));
    std::size_t written = 0;
    EXPECT_TRUE(ZlibCompressInto(ByteView(in), out.data(), out.size(), written));
    out.resize(written);
    return out;
  };
  std::vector<Bytes> inputs = {Bytes{}, Bytes(1, 0x42), Bytes(100000, 0x00)};
  Bytes noise(70000);
  std::uint32_t state = 12345;
  for (auto& b : noise) b = std::uint8_t((state = state * 1103515245u + 12345u) >> 24);
  inputs.push_back(noise);
  inputs.push_back(Rgb565Rows(test::patternImage(333, 77)));
  for (int round = 0; round < 2; ++round) {
    for (const Bytes& in : inputs) {
      EXPECT_EQ(viaThreadState(in), reference(in)) << in.size();
      const std::optional<Bytes> whole = ZlibCompress(ByteView(in));
      ASSERT_TRUE(whole) << in.size();
      EXPECT_EQ(*whole, reference(in)) << in.size();
    }
  }
  std::thread other([&] {
    for (const Bytes& in : inputs) EXPECT_EQ(viaThreadState(in), reference(in)) << in.size();
  });
  other.join();
  // No room: false, and the next call is whole again.
  Bytes tiny(8);
  std::size_t written = 0;
  EXPECT_FALSE(ZlibCompressInto(ByteView(noise), tiny.data(), tiny.size(), written));
  EXPECT_EQ(viaThreadState(inputs.back()), reference(inputs.back()));
}

}  // namespace
}  // namespace tessel
