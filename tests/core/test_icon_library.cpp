// The icon library reader: the ICL, T5UIC and raw layouts, the JPEG rebuild
// of ICL records, and damaged libraries.
#include <gtest/gtest.h>

#include <random>

#include "icon/IconLibrary.h"
#include "support/TestSupport.h"

using namespace tessel;
using namespace tessel::build;

namespace {

using test::IconEntries;

IconEntries readAll(const Bytes& file, IconLayout layout) {
  return test::readIconEntries(ByteView(file), layout);
}

using test::patternJpeg;
using test::solidJpeg;

std::vector<int> ids(const IconEntries& library) {
  std::vector<int> out;
  for (const IconEntry& e : library.entries) out.push_back(e.id);
  return out;
}

Bytes concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// Four different small JPEGs and their ICL slots.
struct FourJpegs {
  std::vector<Bytes> jpegs;
  std::vector<IclSlot> slots;
  FourJpegs() {
    for (int i = 0; i < 4; ++i) {
      jpegs.push_back(patternJpeg(8 + i, 8 + 2 * i));
      slots.push_back(iclSlot(splitAtScan(jpegs.back())));
    }
  }
};

// ---------------------------------------------------------------- ICL scan

TEST(IclScan, CounterDecidesHowManySlotsAreTaken) {
  FourJpegs four;
  const Bytes file = buildIcl(3, four.slots);
  const IconEntries library = readAll(file, IconLayout::Icl);
  ASSERT_FALSE(library.scan.missing);
  EXPECT_TRUE(library.scan.problem.empty());
  ASSERT_EQ(ids(library), (std::vector<int>{0, 1, 2, 3}));
  // A split without fill bytes rebuilds to the very file it came from.
  for (int i = 0; i < 4; ++i) EXPECT_EQ(library.entries[i].jpeg, four.jpegs[i]) << i;
}

TEST(IclScan, CountZeroTakesOneSlotAfterTheSkippedOnes) {
  FourJpegs four;
  std::vector<IclSlot> slots = {iclSlotOfSize(0x100, 0x3FF00), four.slots[1], four.slots[2]};
  const IconEntries library = readAll(buildIcl(0, slots), IconLayout::Icl);
  ASSERT_EQ(ids(library), (std::vector<int>{1}));
  EXPECT_EQ(library.entries[0].jpeg, four.jpegs[1]);
}

TEST(IclScan, CountOf1024OrMoreTakesNothing) {
  FourJpegs four;
  for (std::uint16_t count : {std::uint16_t(1024), std::uint16_t(0x8000), std::uint16_t(0xFFFF)}) {
    const IconEntries library = readAll(buildIcl(count, four.slots), IconLayout::Icl);
    EXPECT_FALSE(library.scan.missing);
    EXPECT_TRUE(library.entries.empty()) << count;
  }
  // 1023 is still a count.
  const IconEntries library = readAll(buildIcl(1023, four.slots), IconLayout::Icl);
  EXPECT_EQ(ids(library), (std::vector<int>{0, 1, 2, 3}));
}

TEST(IclScan, OversizedSlotLeavesAnIdGapAndKeepsTheCounter) {
  FourJpegs four;
  // count 1: two slots are taken; the oversized slot 1 does not count.
  std::vector<IclSlot> slots = {four.slots[0], iclSlotOfSize(0x0001, 0x3FFFF), four.slots[2],
                                four.slots[3]};
  const IconEntries library = readAll(buildIcl(1, slots), IconLayout::Icl);
  EXPECT_EQ(ids(library), (std::vector<int>{0, 2}));
  // Just below the limit the slot is taken (and here reaches past the file).
  slots[1] = iclSlotOfSize(0x0001, 0x3FFFE);
  EXPECT_EQ(ids(readAll(buildIcl(1, slots), IconLayout::Icl)),
            (std::vector<int>{0}));
}

TEST(IclScan, LengthsAreAddedWithoutWrapping) {
  FourJpegs four;
  // 0x20 + 0xFFFFFFF0 wraps to 0x10 in 32 bits: it must count as oversized.
  std::vector<IclSlot> slots = {iclSlotOfSize(0x20, 0xFFFFFFF0), four.slots[1]};
  const IconEntries library = readAll(buildIcl(0, slots), IconLayout::Icl);
  EXPECT_EQ(ids(library), (std::vector<int>{1}));
}

TEST(IclScan, RecordStartingBeyondTheFileEndsTheScanQuietly) {
  FourJpegs four;
  Bytes file = buildIcl(3, four.slots);
  putBe32(file, 16 + 4, 0xFFFFFFFA);  // + 10 wraps to 4 in 32 bits
  const IconEntries library = readAll(file, IconLayout::Icl);
  EXPECT_EQ(ids(library), (std::vector<int>{0}));
  EXPECT_TRUE(library.scan.problem.empty());
  // The record header must fit whole: offset = size - 9 ends the scan too.
  putBe32(file, 16 + 4, std::uint32_t(file.size() - 9));
  EXPECT_EQ(ids(readAll(file, IconLayout::Icl)), (std::vector<int>{0}));
}

// Damaged libraries end the scan at the damaged slot and say so.
TEST(IclScan, RecordReachingPastTheEndEndsTheScan) {
  FourJpegs four;
  // Slot 1's record is stored last and cut short; slot 2 is whole.
  Bytes file = buildIcl(2, {four.slots[0], four.slots[1], four.slots[2]}, {0, 2, 1});
  file.resize(file.size() - 1);
  const IconEntries library = readAll(file, IconLayout::Icl);
  EXPECT_FALSE(library.scan.missing);
  EXPECT_EQ(ids(library), (std::vector<int>{0}));
  EXPECT_NE(library.scan.problem.find("slot 1"), std::string::npos) << library.scan.problem;
  EXPECT_EQ(library.entries[0].jpeg, four.jpegs[0]);
}

TEST(IclScan, EmptyHeadEndsTheScan) {
  FourJpegs four;
  std::vector<IclSlot> slots = {four.slots[0], {{}, four.jpegs[1], {}, {}}, four.slots[2]};
  const IconEntries library = readAll(buildIcl(2, slots), IconLayout::Icl);
  EXPECT_EQ(ids(library), (std::vector<int>{0}));
  EXPECT_NE(library.scan.problem.find("slot 1"), std::string::npos);
}

TEST(IclScan, OffsetTableRunningOffTheFileEndsTheScan) {
  // A record hidden in the header's unread bytes (offset 0): head length at
  // bytes 4-5, body length at 6-9, oversized, so every slot pointing at it
  // is skipped and the counter never moves. Three table entries and two
  // stray bytes: slot 3's entry is cut off by the end of the file.
  Bytes file(16 + 12 + 2, 0x00);
  putBe16(file, 4, 0x0004);
  putBe32(file, 6, 0x00040000);
  const IconEntries library = readAll(file, IconLayout::Icl);
  EXPECT_FALSE(library.scan.missing);
  EXPECT_TRUE(library.entries.empty());
  EXPECT_NE(library.scan.problem.find("slot 3"), std::string::npos) << library.scan.problem;
}

// ----------------------------------------------------------- JPEG rebuild

TEST(IclRebuild, FillBytesAreStrippedFromTheScanSegment) {
  const Bytes head = {0xFF, 0xD8,                                            // SOI
                      0xFF, 0xDA, 0x00, 0x0C,                                // SOS, length 12
                      0x02, 0x01, 0x00, 0x02, 0x11, 0x00, 0x3F, 0x00,        // 8 content bytes
                      0xFF, 0xFF,                                            // fill
                      0xAA, 0xBB};                                           // rest of the head
  const Bytes body = {0x12, 0x34, 0xFF, 0xD9};
  const Bytes expected = {0xFF, 0xD8, 0xFF, 0xDA, 0x00, 0x0A, 0x02, 0x01, 0x00,
                          0x02, 0x11, 0x00, 0x3F, 0x00, 0x12, 0x34, 0xFF, 0xD9};
  EXPECT_EQ(RebuildIclJpeg(ByteView(head), ByteView(body)), expected);

  // The same inside a library file.
  const Bytes file = buildIcl(0, {{head, body, {}, {}}});
  const IconEntries library = readAll(file, IconLayout::Icl);
  ASSERT_EQ(library.entries.size(), 1u);
  EXPECT_EQ(library.entries[0].jpeg, expected);
}

TEST(IclRebuild, HighLengthByteIsKeptAndStrippingStopsAtTwo) {
  const Bytes head = {0xFF, 0xDA, 0x01, 0x06, 0xFF, 0xFF, 0xFF, 0xFF};
  const Bytes expected = {0xFF, 0xDA, 0x01, 0x02, 0x77};
  EXPECT_EQ(RebuildIclJpeg(ByteView(head), ByteView(Bytes{0x77})), expected);
}

TEST(IclRebuild, RealJpegWithFillBytesDecodesBackToTheOriginalBytes) {
  const Bytes jpeg = patternJpeg(16, 12);
  const SplitJpeg split = splitAtScan(jpeg, 3, {0x00, 0xFF, 0x13});
  EXPECT_EQ(RebuildIclJpeg(ByteView(split.head), ByteView(split.body)), jpeg);
}

TEST(IclRebuild, HeadsWithoutACompleteScanSegmentPassUnchanged) {
  const Bytes body = {0xDA, 0x00, 0x04, 0x02};
  for (const Bytes& head : {
           Bytes{0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x04, 0xFF, 0xFF},  // no FF DA at all
           Bytes{0xFF, 0xD8, 0x00, 0xFF},           // FF in the head, DA in the body
           Bytes{0xFF, 0xD8, 0xFF, 0xDA, 0x00},     // length byte beyond the head
           Bytes{0xFF, 0xDA, 0x00, 0x08, 0xFF, 0xFF},  // segment longer than the head
           Bytes{0xFF},
       }) {
    EXPECT_EQ(RebuildIclJpeg(ByteView(head), ByteView(body)), concat({head, body}));
  }
}

// -------------------------------------------------------------- T5UIC scan

TEST(T5uicScan, EmptySlotsAreSkippedAndASlotPastTheEndStopsTheScan) {
  const Bytes a = solidJpeg(4, 4, Qt::red);
  const Bytes b = solidJpeg(6, 2, Qt::green);
  Bytes file = emptyT5uic();
  addT5uicJpeg(file, 0, a);
  setT5uicSlot(file, 1, 0, 0);     // empty
  setT5uicSlot(file, 2, 100, 10);  // too small
  addT5uicJpeg(file, 3, b);
  setT5uicSlot(file, 4, 0, 11);    // 11 bytes from offset 0: taken as they are
  addT5uicJpeg(file, 7, a);        // valid, but after the end of the scan
  setT5uicSlot(file, 6, std::uint32_t(file.size()) - 5, 6);  // ends past the file
  for (int k = 0; k < 16; ++k) file[16 * k] = 0xEE;  // unread bytes
  const IconEntries library = readAll(file, IconLayout::T5uic);
  ASSERT_FALSE(library.scan.missing);
  EXPECT_TRUE(library.scan.problem.empty());
  ASSERT_EQ(ids(library), (std::vector<int>{0, 3, 4}));
  EXPECT_EQ(library.entries[0].jpeg, a);
  EXPECT_EQ(library.entries[1].jpeg, b);
  EXPECT_EQ(library.entries[2].jpeg, Bytes(file.begin(), file.begin() + 11));
}

TEST(T5uicScan, AllSlotsAndTheLastByte) {
  Bytes file = emptyT5uic();
  const Bytes jpeg = solidJpeg(2, 2, Qt::blue);
  for (int k = 0; k < 256; ++k) setT5uicSlot(file, k, 4096, std::uint32_t(jpeg.size()));
  file.insert(file.end(), jpeg.begin(), jpeg.end());
  EXPECT_EQ(readAll(file, IconLayout::T5uic).entries.size(), 256u);
  // 32-bit offset + 24-bit length must not wrap.
  setT5uicSlot(file, 0, 0xFFFFFFFF, 0x20);
  EXPECT_TRUE(readAll(file, IconLayout::T5uic).entries.empty());
}

TEST(T5uicScan, SlotTableCutShort) {
  // A file shorter than its slot table: the slots present are read, then
  // the scan stops with a note.
  Bytes file(40, 0x00);
  setT5uicSlot(file, 0, 16, 20);
  const IconEntries library = readAll(file, IconLayout::T5uic);
  EXPECT_FALSE(library.scan.missing);
  EXPECT_EQ(ids(library), (std::vector<int>{0}));
  EXPECT_NE(library.scan.problem.find("slot 2"), std::string::npos) << library.scan.problem;
}

// ---------------------------------------------------------------- raw scan

TEST(RawScan, PixelsComeOutLittleEndian) {
  Bytes file = emptyRaw();
  addRawIcon(file, 0, 2, 2, {0xF800, 0x07E0, 0x001F, 0x1234});
  const IconEntries library = readAll(file, IconLayout::Raw);
  ASSERT_EQ(ids(library), (std::vector<int>{0}));
  EXPECT_EQ(library.entries[0].width, 2);
  EXPECT_EQ(library.entries[0].height, 2);
  EXPECT_EQ(library.entries[0].pixels,
            (Bytes{0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0x34, 0x12}));
}

TEST(RawScan, SlotsAreSkippedWhenEmptyOrNotInTheFile) {
  Bytes file = emptyRaw();
  addRawIcon(file, 0, 1, 1, {0xABCD});
  addRawIcon(file, 1, 0, 1, {0x1111});                    // width 0
  addRawIcon(file, 2, 1, 0, {});                          // height 0
  addRawIcon(file, 3, 700, 3, std::vector<std::uint16_t>(2100, 0x0841));
  file[8 * 3 + 2] |= 0x0F;                                 // unread bits set
  setRawSlot(file, 4, 1, 1, 3);                            // inside the table: allowed
  file[6] = 0x55;
  file[7] = 0x66;                                         // slot 0's unread bytes
  setRawSlot(file, 5, 2, 1, std::uint32_t(file.size() / 2 - 1));  // two bytes too far
  setRawSlot(file, 6, 1, 1, std::uint32_t(file.size() / 2 - 1));  // the last pixel
  setRawSlot(file, 7, 1, 1, 0xFFFFFF);                    // far beyond
  const IconEntries library = readAll(file, IconLayout::Raw);
  ASSERT_EQ(ids(library), (std::vector<int>{0, 3, 4, 6}));
  EXPECT_EQ(library.entries[0].pixels, (Bytes{0xCD, 0xAB}));
  EXPECT_EQ(library.entries[1].width, 700);  // 10-bit width
  EXPECT_EQ(library.entries[1].height, 3);
  EXPECT_EQ(library.entries[1].pixels.size(), 700u * 3 * 2);
  EXPECT_EQ(library.entries[1].pixels[0], 0x41);
  EXPECT_EQ(library.entries[2].pixels, (Bytes{0x66, 0x55}));  // bytes 6-7 swapped
  EXPECT_EQ(library.entries[3].pixels, (Bytes{0x41, 0x08}));  // the file's last pixel
}

TEST(RawScan, LargestSlotFits) {
  Bytes file = emptyRaw();
  std::vector<std::uint16_t> pixels(1023 * 1023);
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = std::uint16_t(i * 7);
  addRawIcon(file, 9, 1023, 1023, pixels);
  const IconEntries library = readAll(file, IconLayout::Raw);
  ASSERT_EQ(ids(library), (std::vector<int>{9}));
  const IconEntry& e = library.entries[0];
  EXPECT_EQ(e.width, 1023);
  EXPECT_EQ(e.height, 1023);
  ASSERT_EQ(e.pixels.size(), pixels.size() * 2);
  for (std::size_t i : {std::size_t(0), std::size_t(1), std::size_t(1023), pixels.size() - 1}) {
    EXPECT_EQ(GetLe16(e.pixels.data() + 2 * i), pixels[i]) << i;
  }
}

// ------------------------------------------------------- damaged input

// A library too short to hold anything is missing (no output at all); one
// byte more makes it an empty library.
TEST(ShortLibraries, OneByteMoreThanTheSmallestSizeIsALibrary) {
  const std::pair<IconLayout, std::size_t> smallest[] = {
      {IconLayout::Icl, 16}, {IconLayout::T5uic, 16}, {IconLayout::Raw, kRawTable}};
  for (const auto& [layout, size] : smallest) {
    EXPECT_TRUE(readAll(Bytes(), layout).scan.missing);
    EXPECT_TRUE(readAll(Bytes(size, 0), layout).scan.missing) << size;
    const IconEntries library = readAll(Bytes(size + 1, 0), layout);
    EXPECT_FALSE(library.scan.missing) << size;
    EXPECT_TRUE(library.entries.empty()) << size;
  }
}

// Valid libraries with bytes overwritten at random (a fixed seed): whatever
// the reader makes of them, it stays inside the buffer (run under the
// sanitizers to see it) and every entry it yields is consistent.
TEST(DamagedLibraries, RandomDamageStaysInsideTheBuffer) {
  FourJpegs four;
  Bytes t5 = emptyT5uic();
  for (int k = 0; k < 4; ++k) addT5uicJpeg(t5, k, four.jpegs[std::size_t(k)]);
  Bytes raw = emptyRaw();
  addRawIcon(raw, 0, 3, 2, {1, 2, 3, 4, 5, 6});
  const std::pair<Bytes, IconLayout> originals[] = {
      {buildIcl(3, four.slots), IconLayout::Icl},
      {t5, IconLayout::T5uic},
      {raw, IconLayout::Raw}};
  std::mt19937 random(1234);
  for (const auto& [original, layout] : originals) {
    for (int round = 0; round < 300; ++round) {
      Bytes file = original;
      const int damage = 1 + int(random() % 12);
      for (int i = 0; i < damage; ++i) {
        // Mostly the tables and record headers, where the numbers are.
        const std::size_t span = std::min<std::size_t>(file.size(), round % 2 ? 200 : file.size());
        file[random() % span] = std::uint8_t(random());
      }
      if (round % 5 == 0) file.resize(file.size() - random() % (file.size() / 2));
      int previous = -1;
      ReadIconLibrary(ByteView(file), layout, [&](IconEntry&& e) {
        EXPECT_GT(e.id, previous);
        previous = e.id;
        if (layout == IconLayout::Raw) {
          EXPECT_EQ(e.pixels.size(), std::size_t(e.width) * std::size_t(e.height) * 2);
        } else {
          EXPECT_LE(e.jpeg.size(), file.size());
        }
      });
    }
  }
}

}  // namespace
