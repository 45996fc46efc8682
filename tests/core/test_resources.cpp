// Where the programs find their resources: beside the program, in
// ../share/tessel beside the program's folder, in the configured data
// folder; and the font table an installed Tessel reads.
#include <gtest/gtest.h>

#include "font/FontStep.h"
#include "support/TestSupport.h"
#include "util/Paths.h"

namespace tessel {
namespace {

using test::TempDir;

// An install prefix in a temporary folder: prefix/bin is the program folder.
struct Prefix : ::testing::Test {
  TempDir dir;
  fs::path bin = dir / "prefix/bin";
  fs::path share = dir / "prefix/share/tessel";
  void SetUp() override {
    fs::create_directories(bin);
    fs::create_directories(share);
    SetProgramFolder(bin);
  }
  void TearDown() override { SetProgramFolder({}); }
};

TEST_F(Prefix, SearchesTheProgramFolderThenShareBesideItThenTheConfiguredFolder) {
  const std::vector<fs::path> folders = ResourceSearchFolders();
  ASSERT_EQ(folders.size(), 3u);
  EXPECT_EQ(folders[0], bin.lexically_normal());
  EXPECT_EQ(folders[1], share.lexically_normal());
  EXPECT_EQ(folders[2], PathFromUtf8(TESSEL_INSTALL_DATADIR).lexically_normal());
}

TEST_F(Prefix, AnInstalledProgramFindsTheFontTableBesideItsPrefix) {
  test::writeText(share / kFontTableFile, "font.ttf=/nowhere/font.ttf\n");
  EXPECT_EQ(ResourceFolder(), share.lexically_normal());
  // A build tree's copies beside the program come first.
  test::writeText(bin / "中英文.ttf", "cjk");
  EXPECT_EQ(ResourceFolder(), bin.lexically_normal());
}

TEST_F(Prefix, HelpDocumentBesideTheProgramWinsOverTheInstalledOne) {
  EXPECT_TRUE(FindResourceFile("Tessel.pdf").empty());
  test::writeText(share / "Tessel.pdf", "%PDF-1.4\n");
  EXPECT_EQ(FindResourceFile("Tessel.pdf"), share.lexically_normal() / "Tessel.pdf");
  test::writeText(bin / "Tessel.pdf", "%PDF-1.4\n");
  EXPECT_EQ(FindResourceFile("Tessel.pdf"), bin.lexically_normal() / "Tessel.pdf");
}

TEST_F(Prefix, TranslationsFolderIsTheFirstThatExists) {
  EXPECT_TRUE(TranslationsFolder().empty());
  fs::create_directories(share / "translations");
  EXPECT_EQ(TranslationsFolder(), share.lexically_normal() / "translations");
  fs::create_directories(bin / "translations");
  EXPECT_EQ(TranslationsFolder(), bin.lexically_normal() / "translations");
}

TEST(FontTable, NamesTheSystemFileOfEachFont) {
  TempDir dir;
  const fs::path system = dir / "system/DejaVuSansMono.ttf";
  test::writeText(system, "mono");
  test::writeText(dir / "res" / kFontTableFile,
                  "# comment=ignored\r\n"
                  "font.ttf=" + PathToUtf8(system) + "\r\n"
                  "中英文.ttf=../fallback/Droid.ttf\n"
                  "数码管.ttf=\n");
  const fs::path res = dir / "res";
  EXPECT_EQ(ResourceFile(res, "font.ttf"), system);
  // A relative file lies beside the table.
  EXPECT_EQ(ResourceFile(res, "中英文.ttf"), res / "../fallback/Droid.ttf");
  // Not found at build time, or not in the table: the plain name.
  EXPECT_EQ(ResourceFile(res, "数码管.ttf"), res / PathFromUtf8("数码管.ttf"));
  EXPECT_EQ(ResourceFile(res, "数码管加粗.ttf"), res / PathFromUtf8("数码管加粗.ttf"));
  // A prefix of a name is not the name.
  EXPECT_EQ(ResourceFile(res, "font"), res / "font");
  // A file in the folder itself wins over the table.
  test::writeText(res / "font.ttf", "copy");
  EXPECT_EQ(ResourceFile(res, "font.ttf"), res / "font.ttf");
}

TEST(FontTable, TheFontStepCopiesTheNamedFileAndNamesAMissingOne) {
  TempDir dir;
  const OutputLayout layout(dir.path());
  const fs::path priv = layout.privateFolder();
  fs::create_directories(priv / "truefont");
  test::writeText(dir / "system/Droid.ttf", "droid");
  test::writeText(dir / "res" / kFontTableFile,
                  "中英文.ttf=" + PathToUtf8(dir / "system/Droid.ttf") +
                      "\n数码管.ttf=" + PathToUtf8(dir / "system/gone.ttf") + "\n");
  Report report;
  OutputWriter out(report);
  EXPECT_TRUE(RunFontStep(1, layout, dir / "res", out));
  EXPECT_EQ(test::readText(priv / "truefont/font.ttf"), "droid");
  EXPECT_TRUE(report.warnings.empty());

  fs::remove(priv / "truefont/font.ttf");
  Report missing;
  OutputWriter missingOut(missing);
  EXPECT_FALSE(RunFontStep(2, layout, dir / "res", missingOut));
  // The run names the file the table gave.
  EXPECT_EQ(FontSourceFile(dir / "res", 2), dir / "system/gone.ttf");
  EXPECT_TRUE(missing.writeFailures.empty());
}

}  // namespace
}  // namespace tessel
