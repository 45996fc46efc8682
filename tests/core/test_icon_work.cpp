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
  const BuiltIconLibrary built = BuildIconLibrary({}, job, ByteView(library));
  EXPECT_EQ(built.zico.size(), 2u);
  ASSERT_EQ(built.warnings.size(), 1u);
  EXPECT_NE(built.warnings[0].find("skipped icon 1 of /source/40.icl: cut short"),
            std::string::npos)
      << built.warnings[0];
  // In the picture library too.
  job.toPictures = true;
  const BuiltIconLibrary pictures = BuildIconLibrary({}, job, ByteView(library));
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
  const BuiltIconLibrary built = BuildIconLibrary({}, job, ByteView(library));
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

}  // namespace
}  // namespace tessel
