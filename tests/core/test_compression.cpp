// --compression smallest: every stream is still one zlib stream that gives
// exactly the pixels the default writes, and the output is smaller.
#include <gtest/gtest.h>

#include "icon/Zico.h"
#include "picture/PackReader.h"
#include "picture/Zbmp.h"
#include "support/RunFixture.h"
#include "util/Paths.h"

namespace tessel {
namespace {

using test::readBytes;

struct CompressionTest : test::RunFixture {
  // Runs with each compression into a root of its own; gives the two
  // private/ folders.
  std::pair<fs::path, fs::path> runBoth() {
    std::pair<fs::path, fs::path> roots;
    for (Compression c : {Compression::Default, Compression::Smallest}) {
      settings.compression = c;
      options.outputRoot = dir / (c == Compression::Default ? "default" : "smallest");
      EXPECT_EQ(run().outcome, RunOutcome::Completed);
      (c == Compression::Default ? roots.first : roots.second) = options.outputRoot / "private";
    }
    return roots;
  }

  // Every output of the two trees decodes to the same pixels (each stream
  // inflated whole and exactly, as inspect reads it); the smallest tree's
  // compressed files are smaller in all.
  void expectSamePixelsFewerBytes(const fs::path& a, const fs::path& b) {
    ASSERT_EQ(test::listTree(a), test::listTree(b));
    std::uint64_t sizeA = 0, sizeB = 0;
    int checked = 0;
    for (const std::string& name : test::listTree(a)) {
      if (name.ends_with("/")) continue;
      const Bytes x = readBytes(a / PathFromUtf8(name)), y = readBytes(b / PathFromUtf8(name));
      if (name.ends_with(".zbmp")) {
        const PictureReading p = ReadZbmp(ByteView(x), true, Limits());
        const PictureReading q = ReadZbmp(ByteView(y), true, Limits());
        ASSERT_TRUE(p.ok() && q.ok()) << name << ": " << q.error;
        EXPECT_EQ(p.image, q.image) << name;
        // Noise does not compress: both store its rows raw.
        if (name.starts_with("image/0.") || name.starts_with("image/1.")) {
          EXPECT_FALSE(p.compressed || q.compressed) << name;
        }
      } else if (name.ends_with(".zico")) {
        const ZicoReading p = ReadZico(ByteView(x), true, WorkLimits());
        const ZicoReading q = ReadZico(ByteView(y), true, WorkLimits());
        ASSERT_TRUE(p.ok() && q.ok()) << name;
        ASSERT_EQ(p.icons.size(), q.icons.size());
        for (std::size_t i = 0; i < p.icons.size(); ++i) {
          EXPECT_EQ(p.icons[i].image, q.icons[i].image);
        }
      } else if (name.ends_with("image.bin")) {
        const fs::path index = fs::path(PathFromUtf8(name)).parent_path() / "image.idx";
        const Bytes ia = readBytes(a / index), ib = readBytes(b / index);
        const PackReading p = ReadPack(ByteView(ia), ByteView(x), true, Limits());
        const PackReading q = ReadPack(ByteView(ib), ByteView(y), true, Limits());
        ASSERT_TRUE(p.ok() && q.ok());
        ASSERT_EQ(p.entries.size(), q.entries.size());
        for (std::size_t i = 0; i < p.entries.size(); ++i) {
          EXPECT_EQ(p.entries[i].image, q.entries[i].image);
        }
      } else if (!name.ends_with("image.idx")) {
        EXPECT_EQ(x, y) << name;  // copies and texts
        continue;
      } else {
        continue;
      }
      ++checked;
      sizeA += x.size();
      sizeB += y.size();
    }
    EXPECT_GT(checked, 0);
    EXPECT_LT(sizeB, sizeA);
  }
};

TEST_F(CompressionTest, SmallestGivesThePixelsOfTheDefaultInFewerBytes) {
  test::fillProject(source, 2, false);  // Branch A: noise (stored raw), .zico files
  for (int i = 5; i < 9; ++i) test::writePicture(source / (std::to_string(i) + ".bmp"), 96, 64);
  const auto [a, b] = runBoth();
  expectSamePixelsFewerBytes(a, b);
}

TEST_F(CompressionTest, SmallestPackBlocksGiveTheDefaultsPixels) {
  for (int i = 1; i < 5; ++i) test::writePicture(source / (std::to_string(i) + ".bmp"), 96, 64);
  settings.singlePictureFiles = false;
  const auto [a, b] = runBoth();
  ASSERT_TRUE(fs::exists(b / "bin" / "image.bin"));
  expectSamePixelsFewerBytes(a, b);
}

}  // namespace
}  // namespace tessel
