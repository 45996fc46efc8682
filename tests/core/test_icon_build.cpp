// Building an icon library: icons are held to the rules pictures are (a cut
// icon is skipped and named), a record named by many slots is decoded and
// encoded once, a library is capped, and a raw library is read as far as
// its slots reach.
#include <gtest/gtest.h>

#include <chrono>

#include "icon/IconBuild.h"
#include "picture/PictureIntegrity.h"
#include "picture/PicturePipeline.h"
#include "support/TestSupport.h"
#include "util/Paths.h"

namespace tessel {
namespace {

using namespace build;

TEST(IconBuild, ACutIconIsSkippedNamingTheLibraryAndItsSlot) {
  const SplitJpeg whole = splitAtScan(test::patternJpeg(24, 16));
  SplitJpeg cut = whole;
  cut.body.resize(cut.body.size() / 2);
  const Bytes library = buildIcl(2, {iclSlot(whole), iclSlot(cut), iclSlot(whole)}, {}, true);
  IconLibraryJob job;
  job.path = "/source/40.icl";
  job.layout = IconLayout::Icl;
  const BuiltIconLibrary built = BuildIconLibrary({}, job, ByteView(library), WorkLimits());
  EXPECT_EQ(built.zico.size(), 2u);
  ASSERT_EQ(built.warnings.size(), 1u);
  // The library and the slot are named, whatever the wording.
  const auto namesSlot = [](const std::string& warning) {
    return warning.find("/source/40.icl") != std::string::npos &&
           warning.find(" 1 ") != std::string::npos;
  };
  EXPECT_TRUE(namesSlot(built.warnings[0])) << built.warnings[0];
  // In the picture library too.
  job.toPictures = true;
  const BuiltIconLibrary pictures = BuildIconLibrary({}, job, ByteView(library), WorkLimits());
  EXPECT_EQ(pictures.pictures.size(), 2u);
  ASSERT_EQ(pictures.warnings.size(), 1u);
  EXPECT_TRUE(namesSlot(pictures.warnings[0])) << pictures.warnings[0];
}

TEST(IconBuild, ARecordNamedByEverySlotOfThePictureLibraryIsEncodedOnce) {
  constexpr int kSlots = 1024;
  Bytes library = buildIcl(kSlots - 1, std::vector<IclSlot>(kSlots, iclSlot(splitAtScan(
                                                                test::patternJpeg(64, 48)))),
                           {0}, true);
  const std::uint32_t record = GetBe32(library.data() + 16);
  for (std::size_t k = 1; k < kSlots; ++k) putBe32(library, 16 + 4 * k, record);
  IconLibraryJob job;
  job.path = "/source/40.icl";
  job.layout = IconLayout::Icl;
  job.toPictures = true;
  const std::uint64_t before = PicturesEncoded();
  const BuiltIconLibrary built = BuildIconLibrary({}, job, ByteView(library), WorkLimits());
  EXPECT_EQ(PicturesEncoded() - before, 1u);
  ASSERT_EQ(built.pictures.size(), std::size_t(kSlots));
  EXPECT_TRUE(built.warnings.empty());
  const Bytes& first = built.pictures.front().file(built.pictures);
  EXPECT_FALSE(first.empty());
  for (const IconPicture& picture : built.pictures) {
    EXPECT_EQ(picture.file(built.pictures), first) << picture.id;
  }
  EXPECT_EQ(built.pictures.back().id, kSlots - 1);
}

TEST(IconBuild, ARecordNamedManyTimesIsDecodedOnceAndTheLibraryIsCapped) {
  // Two slots naming one block give the .zico two slots with copied blocks do.
  const std::vector<std::uint16_t> pixels{0x1234, 0x5678, 0x9ABC, 0xDEF0};
  Bytes copied = emptyRaw();
  addRawIcon(copied, 0, 2, 2, pixels);
  addRawIcon(copied, 1, 2, 2, pixels);
  Bytes shared = emptyRaw();
  addRawIcon(shared, 0, 2, 2, pixels);
  shared[8] = shared[0], shared[9] = shared[1], shared[10] = shared[2];
  std::copy_n(shared.begin() + 3, 5, shared.begin() + 11);
  IconLibraryJob job;
  job.layout = IconLayout::Raw;
  const BuiltIconLibrary a = BuildIconLibrary({}, job, ByteView(copied), WorkLimits());
  const BuiltIconLibrary b = BuildIconLibrary({}, job, ByteView(shared), WorkLimits());
  ASSERT_EQ(b.zico.size(), 2u);
  EXPECT_EQ(EncodeZico(b.zico.records(), ByteView(b.zico.dataArea())),
            EncodeZico(a.zico.records(), ByteView(a.zico.dataArea())));
  // Every slot naming one 1023 x 1023 block: skipped with its size, at once.
  Bytes bomb = emptyRaw();
  bomb.resize(bomb.size() + 2 * 1023 * 1023, 0x5A);
  for (int k = 0; k < 16384; ++k) setRawSlot(bomb, k, 1023, 1023, kRawTable / 2);
  const auto start = std::chrono::steady_clock::now();
  const BuiltIconLibrary c = BuildIconLibrary({}, job, ByteView(bomb), WorkLimits());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_TRUE(c.missing);
  ASSERT_EQ(c.warnings.size(), 1u);
  EXPECT_NE(c.warnings[0].find(std::to_string(16384ull * 1023 * 1023 * 2)), std::string::npos)
      << c.warnings[0];
}

// A file of `size` bytes beginning with `head`; the rest is a hole that
// takes no disk space.
void writeSparse(const fs::path& path, const Bytes& head, std::uint64_t size) {
  test::writeBytes(path, ByteView(head));
  fs::resize_file(path, size);
}

TEST(IconBuild, RawLibraryIsReadAsFarAsItsSlotsReachWhateverItsSize) {
  test::TempDir dir;
  Bytes head = emptyRaw();
  addRawIcon(head, 0, 2, 1, {0x1234, 0xABCD});
  // Slot 1: the last address a slot can hold and the largest block; its
  // pixels lie in the hole (zeros).
  setRawSlot(head, 1, 1023, 1023, 0xFFFFFF);
  // Slot 2 starts one word further than any slot can reach: not storable.
  const fs::path path = dir / "5.ico";
  // Larger than 2 GiB, the limit for reading a file whole.
  writeSparse(path, head, (std::uint64_t(1) << 31) + 4096);
  IconLibraryJob job;
  job.path = path;
  job.layout = IconLayout::Raw;
  const BuiltIconLibrary built = BuildIconLibrary({}, job, WorkLimits());
  EXPECT_FALSE(built.missing);
  EXPECT_TRUE(built.warnings.empty());
  ASSERT_EQ(built.zico.size(), 2u);
  EXPECT_EQ(built.zico.records()[0].id, 0);
  EXPECT_EQ(built.zico.records()[1].id, 1);
  EXPECT_EQ(built.zico.records()[1].width, 1023);
  const Bytes pixels = test::inflate(
      ByteView(built.zico.dataArea()).subspan(0, built.zico.records()[0].dataSize), 4);
  EXPECT_EQ(pixels, (Bytes{0x34, 0x12, 0xCD, 0xAB}));
}

}  // namespace
}  // namespace tessel
