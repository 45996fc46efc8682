// What the strict readers of the outputs share: an inflate that never goes
// past the size the header declares.
#include <gtest/gtest.h>

#include "picture/StrictRead.h"
#include "util/Zlib.h"

namespace tessel {
namespace {

// Whether the reader's fault holds `part` (a placeholder value, a name).
void expectFault(const std::string& error, const std::string& part, const char* what) {
  EXPECT_NE(error.find(part), std::string::npos) << what << ": got \"" << error << "\"";
}

TEST(StrictRead, InflateIsBoundedByTheDeclaredSize) {
  const Bytes data(1000, 0x41);
  const Bytes stream = *ZlibCompress(data);
  std::string error;
  EXPECT_EQ(InflateExact(stream, 1000, error), std::optional<Bytes>(data)) << error;
  EXPECT_FALSE(InflateExact(stream, 999, error));
  expectFault(error, "more than the 999 bytes", "declared too small");
  EXPECT_FALSE(InflateExact(stream, 1001, error));
  expectFault(error, "holds 1000 bytes, not the 1001", "declared too large");
  EXPECT_FALSE(InflateExact(ByteView(stream).first(stream.size() - 6), 1000, error));
  expectFault(error, "ends after ", "stream cut");
  // 4 GiB from a few bytes is refused before anything is allocated.
  EXPECT_FALSE(InflateExact(stream, std::uint64_t(1) << 32, error));
  expectFault(error, "cannot hold", "impossible ratio");
  Bytes broken = stream;
  broken[2] ^= 0xFF;
  EXPECT_FALSE(InflateExact(broken, 1000, error));
}

}  // namespace
}  // namespace tessel
