// Icons are held to the rules pictures are: a cut icon is skipped and named,
// and a record named by many slots is decoded and encoded once.
#include <gtest/gtest.h>

#include "icon/IconBuild.h"
#include "picture/PicturePipeline.h"
#include "support/TestSupport.h"

namespace tessel {
namespace {

using namespace build;

TEST(IconWork, ACutIconIsSkippedNamingTheLibraryAndItsSlot) {
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
  EXPECT_NE(built.warnings[0].find("skipped icon 1 of /source/40.icl: cut short"),
            std::string::npos)
      << built.warnings[0];
  // In the picture library too.
  job.toPictures = true;
  const BuiltIconLibrary pictures = BuildIconLibrary({}, job, ByteView(library), WorkLimits());
  EXPECT_EQ(pictures.pictures.size(), 2u);
  ASSERT_EQ(pictures.warnings.size(), 1u);
  EXPECT_NE(pictures.warnings[0].find("skipped icon 1 of /source/40.icl"), std::string::npos);
}

TEST(IconWork, ARecordNamedByEverySlotOfThePictureLibraryIsEncodedOnce) {
  constexpr int kSlots = 1024;
  Bytes library = buildIcl(kSlots - 1, std::vector<IclSlot>(kSlots, iclSlot(splitAtScan(
                                                                test::patternJpeg(64, 48)))),
                           {0}, true);
  const std::uint32_t record = getBe32(library.data() + 16);
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

// A file of `size` bytes beginning with `head`; the rest is a hole that
// takes no disk space.
void writeSparse(const fs::path& path, const Bytes& head, std::uint64_t size) {
  test::writeBytes(path, ByteView(head));
  fs::resize_file(path, size);
}

TEST(IconLibraryWork, RawLibraryIsReadAsFarAsItsSlotsReachWhateverItsSize) {
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
