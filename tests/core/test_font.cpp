// The font step.
#include <gtest/gtest.h>

#include "font/FontStep.h"
#include "model/Settings.h"
#include "support/TestSupport.h"
#include "util/Paths.h"

namespace tessel {
namespace {

using test::TempDir;

struct FontFixture : ::testing::Test {
  TempDir dir;
  fs::path resources = dir / "res";
  OutputLayout layout{dir.path()};
  fs::path priv = layout.privateFolder();
  Report report;
  OutputWriter out{report};
  void SetUp() override {
    fs::create_directories(priv / "truefont");
    for (std::size_t i = 0; i < kFontFiles.size(); ++i) {
      test::writeText(resources / PathFromUtf8(kFontFiles[i]), "font-" + std::to_string(i));
    }
    test::writeText(resources / "pinyin.bin", "pinyin");
  }
};

TEST_F(FontFixture, DefaultChoiceCopiesTheChineseFontAndReplacesTheIni) {
  test::writeText(priv / "truefont" / "truefont.ini", std::string(100, 'x'));
  EXPECT_TRUE(RunFontStep(ConversionSettings{}.fontChoice, layout, resources, out));
  EXPECT_EQ(test::readText(priv / "truefont" / "font.ttf"), "font-1");
  EXPECT_EQ(test::readText(priv / "truefont" / "truefont.ini"), "[setting]\r\nfont0=font.ttf");
  EXPECT_FALSE(fs::exists(priv / "bin"));  // no bin/: no input-method table
}

TEST_F(FontFixture, EveryChoiceAndThePinyinTableOnceBinExists) {
  fs::create_directory(priv / "bin");
  for (int choice = 0; choice < 5; ++choice) {
    EXPECT_TRUE(RunFontStep(choice, layout, resources, out));
    EXPECT_EQ(test::readText(priv / "truefont" / "font.ttf"), "font-" + std::to_string(choice));
  }
  EXPECT_EQ(test::readText(priv / "bin" / "pinyin.bin"), "pinyin");
}

TEST_F(FontFixture, MissingFontIsReportedAndTheRestIsWritten) {
  fs::remove(resources / PathFromUtf8(kFontFiles[1]));
  EXPECT_FALSE(RunFontStep(1, layout, resources, out));
  EXPECT_TRUE(fs::exists(priv / "truefont" / "truefont.ini"));
  // No truefont folder at all: nothing written, reported as missing.
  fs::remove_all(priv / "truefont");
  EXPECT_FALSE(RunFontStep(0, layout, resources, out));
  EXPECT_FALSE(fs::exists(priv / "truefont"));
}

}  // namespace
}  // namespace tessel
