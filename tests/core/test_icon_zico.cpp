// The .zico encoder: header, index records, data area, compressed blocks.
#include <gtest/gtest.h>
#include <zlib.h>

#include "icon/Zico.h"
#include "support/TestSupport.h"
#include "picture/StrictRead.h"

using namespace tessel;

namespace {

Bytes pixelsOf(int width, int height, std::uint16_t seed) {
  Bytes out;
  for (int i = 0; i < width * height; ++i) PutLe16(out, std::uint16_t(seed + i * 37));
  return out;
}

TEST(Zico, ThreeIconsWithAGapInTheirIds) {
  const Bytes p0 = pixelsOf(3, 2, 0x1000);
  const Bytes p1 = pixelsOf(1, 1, 0xF800);
  const Bytes p3 = pixelsOf(40, 17, 0x0040);
  ZicoBuilder zico;
  ASSERT_TRUE(zico.add(0, 3, 2, ByteView(p0)));
  ASSERT_TRUE(zico.add(1, 1, 1, ByteView(p1)));
  ASSERT_TRUE(zico.add(3, 40, 17, ByteView(p3)));
  const Bytes file = EncodeZico(zico.records(), ByteView(zico.dataArea()));

  ASSERT_GE(file.size(), 56u);
  EXPECT_EQ(Bytes(file.begin(), file.begin() + 4), (Bytes{0x5A, 0x49, 0x43, 0x4F}));
  EXPECT_EQ(GetLe32(&file[4]), 48u);
  struct Expect { std::uint16_t id, w, h; const Bytes* pixels; };
  const Expect expect[] = {{0, 3, 2, &p0}, {1, 1, 1, &p1}, {3, 40, 17, &p3}};
  std::uint32_t offset = 0;
  for (int i = 0; i < 3; ++i) {
    const std::uint8_t* r = &file[8 + 16 * i];
    EXPECT_EQ(GetLe16(r), expect[i].id);
    EXPECT_EQ(GetLe16(r + 2), 1);
    EXPECT_EQ(GetLe16(r + 4), expect[i].w);
    EXPECT_EQ(GetLe16(r + 6), expect[i].h);
    EXPECT_EQ(GetLe32(r + 8), offset) << i;  // from the start of the data area
    const std::uint32_t size = GetLe32(r + 12);
    ASSERT_LE(56 + std::size_t(offset) + size, file.size());
    const ByteView block(&file[56 + offset], size);
    // Each block is a zlib stream of exactly width * height * 2 bytes.
    EXPECT_EQ(test::inflate(block, expect[i].pixels->size()), *expect[i].pixels) << i;
    offset += size;
  }
  EXPECT_EQ(file.size(), 56u + offset);  // blocks back to back, nothing after
}

TEST(Zico, BlocksAreZlibAtTheDefaultLevelEvenWhenLarger) {
  // Two pixels of 1x1: compression makes them bigger, they are stored
  // compressed all the same.
  const Bytes tiny = {0x34, 0x12};
  ZicoBuilder zico;
  ASSERT_TRUE(zico.add(7, 1, 1, ByteView(tiny)));
  Bytes expected(64);
  uLongf length = expected.size();
  ASSERT_EQ(compress2(expected.data(), &length, tiny.data(), 2, Z_DEFAULT_COMPRESSION), Z_OK);
  expected.resize(length);
  EXPECT_EQ(zico.dataArea(), expected);
  EXPECT_EQ(zico.records()[0].dataSize, expected.size());
}

TEST(Zico, NoRecordGivesAnEmptyFile) {
  ZicoBuilder zico;
  EXPECT_TRUE(EncodeZico(zico.records(), ByteView(zico.dataArea())).empty());
  test::TempDir dir;
  const fs::path file = dir / "4.zico";
  test::writeBytes(file, ByteView(Bytes(10, 0xAB)));  // replaced
  Report report;
  OutputWriter out(report);
  ASSERT_TRUE(WriteZico(out, file, zico.records(), ByteView()));
  EXPECT_TRUE(fs::exists(file));
  EXPECT_EQ(fs::file_size(file), 0u);
  EXPECT_EQ(report.filesWritten, 1);
}

TEST(Zico, IconsThatCannotBeStoredAreRefused) {
  ZicoBuilder zico;
  std::string error;
  const Bytes four = pixelsOf(2, 1, 0);
  EXPECT_FALSE(zico.add(0, 2, 2, ByteView(four), &error));  // 4 pixels expected
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(zico.add(0x10000, 2, 1, ByteView(four), &error));  // id above 16 bits
  EXPECT_FALSE(zico.add(0, 0, 1, ByteView(), &error));
  EXPECT_EQ(zico.size(), 0u);
  EXPECT_TRUE(zico.dataArea().empty());
  EXPECT_TRUE(zico.add(0xFFFF, 2, 1, ByteView(four), &error));
  EXPECT_EQ(zico.records()[0].id, 0xFFFF);
}

// Whether the reader's fault holds `part` (a placeholder value, a name).
void expectFault(const std::string& error, const std::string& part, const char* what) {
  EXPECT_NE(error.find(part), std::string::npos) << what << ": got \"" << error << "\"";
}

TEST(ZicoRead, ZicoIndexFaultsNameTheEntry) {
  ZicoBuilder builder;
  ASSERT_TRUE(builder.add(4, 2, 2, Bytes(8, 0x11)));
  ASSERT_TRUE(builder.add(9, 3, 1, Bytes(6, 0x22)));
  const Bytes file = EncodeZico(builder.records(), builder.dataArea());
  const ZicoReading sound = ReadZico(file, true, WorkLimits());
  ASSERT_TRUE(sound.ok());
  ASSERT_EQ(sound.icons.size(), 2u);
  EXPECT_EQ(sound.icons[1].record.id, 9);
  EXPECT_EQ(sound.icons[1].image.pixel(2, 0),
            Rgb565Image(Bytes(6, 0x22).data(), 3, 1, 6).pixel(2, 0));
  EXPECT_TRUE(ReadZico({}, true, WorkLimits()).empty);

  auto patched = [&](std::size_t at, std::uint32_t value, int bytes) {
    Bytes b = file;
    for (int i = 0; i < bytes; ++i) b.at(at + std::size_t(i)) = std::uint8_t(value >> (8 * i));
    return b;
  };
  const std::size_t second = 8 + 16;  // the second record
  auto entryError = [](const Bytes& b) {
    const ZicoReading r = ReadZico(b, true, WorkLimits());
    std::string all = r.error;
    for (const ZicoIcon& i : r.icons) all += i.error;
    return all;
  };
  expectFault(entryError(patched(0, 'X', 1)), "does not start with \"ZICO\"", "magic");
  expectFault(entryError(patched(4, 33, 4)), "not a multiple of 16", "index size");
  expectFault(entryError(patched(4, 4800, 4)), "runs past the end of the file", "index past end");
  expectFault(entryError(patched(second + 8, 1000, 4)),
              "entry 1 (id 9) points past the end of the file", "offset");
  expectFault(entryError(patched(second + 12, 0xFFFFFFF0u, 4)), "entry 1 (id 9) points past",
              "size wraps");
  expectFault(entryError(patched(second, 4, 2)), "entry 1 (id 4) repeats the id of entry 0", "id");
  expectFault(entryError(patched(second + 2, 2, 2)), "has kind 2", "kind");
  expectFault(entryError(patched(second + 8, 0, 4)), "shares its data with entry 0", "overlap");
  expectFault(entryError(patched(second + 4, 4, 2)), "entry 1 (id 9): its compressed data", "size");
}

}  // namespace
