// The inspection page is written under the converter's rules: fresh files,
// never through a link, no blocking opens, nothing removed that the page
// did not make; names printed by inspect are escaped as convert escapes them.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "cli/Cli.h"
#include "icon/Zico.h"
#include "inspect/InspectPage.h"
#include "support/RunFixture.h"
#include "util/Paths.h"

namespace tessel {
namespace {

using test::RunFixture;

struct PageFolder : RunFixture {
  fs::path page = dir / "page";
  fs::path images = page / inspect::kPageImageFolder;
  void SetUp() override {
    RunFixture::SetUp();
    test::writeText(source / "13.bin", "t");
    test::writeText(source / "14.bin", "t");
    test::writePicture(source / "1.bmp", 8, 6);
    ASSERT_EQ(run().outcome, RunOutcome::Completed);
  }
  // The page is refused with a message naming `place`, and `untouched`
  // keeps every byte.
  void expectRefused(const fs::path& place, const fs::path& untouched) {
    const auto before = test::treeSnapshot(untouched);
    std::string error;
    EXPECT_FALSE(inspect::WriteInspectPage(output, page, nullptr, &error, 1));
    EXPECT_NE(error.find(PathToUtf8(place)), std::string::npos) << error;
    EXPECT_EQ(test::treeSnapshot(untouched), before);
  }
};

TEST_F(PageFolder, ALinkOrFifoWhereThePageWritesIsRefusedAndNothingIsRemoved) {
  const fs::path elsewhere = dir / "elsewhere";
  test::writeText(elsewhere / "picture-1.png", "theirs");
  fs::create_directories(page);
  fs::create_directory_symlink(elsewhere, images);
  expectRefused(images, elsewhere);
  fs::remove(images);
  fs::create_symlink(elsewhere / "index.html", page / "index.html");  // dangling
  expectRefused(page / "index.html", elsewhere);
  fs::remove(page / "index.html");
  fs::create_directory(images);
  ASSERT_EQ(mkfifo((images / "picture-1.png").c_str(), 0600), 0);
  expectRefused(images / "picture-1.png", elsewhere);
  fs::remove(images / "picture-1.png");
  // An earlier page's picture stays; the new page is written beside it.
  test::writeText(images / "picture-99.png", "earlier");
  std::string error;
  ASSERT_TRUE(inspect::WriteInspectPage(output, page, nullptr, &error, 1)) << error;
  EXPECT_EQ(test::readText(images / "picture-99.png"), "earlier");
  EXPECT_TRUE(fs::is_regular_file(images / "picture-1.png"));
  EXPECT_TRUE(fs::is_regular_file(page / "index.html"));
}

TEST_F(PageFolder, NamesPrintedByInspectAreEscaped) {
  const fs::path forged = priv / "image" / "x\x1b[31m\nforged line";
  fs::copy_file(priv / "image" / "1.zbmp", forged);
  const test::CliRun r = test::runCli({"inspect", PathToUtf8(output), "--check", "-j", "2"});
  EXPECT_EQ(r.out.find('\x1b'), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("\nforged line"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(Printable(PathToUtf8(forged.filename()))), std::string::npos) << r.out;
}

TEST_F(PageFolder, TheImageReadersMessagesAreNotesOfTheirFile) {
  Bytes jpeg = test::patternJpeg(32, 24);
  jpeg.insert(jpeg.end() - 2, {0x00, 0x01, 0x02});  // junk the JPEG decoder reports
  test::writeBytes(priv / "image" / "2.jpg", ByteView(jpeg));
  const test::CliRun r = test::runCli({"inspect", PathToUtf8(output), "--check"});
  EXPECT_NE(r.out.find("note: image/2.jpg: "), std::string::npos) << r.out;
}

TEST(ZicoReading, IconsAreHandedOverAsTheyAreDecodedNotKept) {
  ZicoBuilder zico;
  for (int id = 0; id < 3; ++id) {
    const Bytes pixels(std::size_t(2 * (4 + id) * 3), std::uint8_t(id));
    ASSERT_TRUE(zico.add(id, 4 + id, 3, ByteView(pixels), nullptr));
  }
  const Bytes file = EncodeZico(zico.records(), ByteView(zico.dataArea()));
  std::vector<int> widths;
  const ZicoReading r =
      ReadZico(ByteView(file), true, WorkLimits(),
                        [&](std::size_t, const ZicoRecord& record, const QImage& image) {
                          EXPECT_EQ(image.width(), record.width);
                          widths.push_back(image.width());
                        });
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(widths, (std::vector<int>{4, 5, 6}));
  for (const ZicoIcon& icon : r.icons) EXPECT_TRUE(icon.image.isNull());
}

}  // namespace
}  // namespace tessel
