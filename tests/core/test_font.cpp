// The font step.
#include <gtest/gtest.h>

#include "font/FontStep.h"
#include "support/TestSupport.h"
#include "util/Paths.h"

namespace tessel {
namespace {

using test::TempDir;

struct FontFixture : ::testing::Test {
  TempDir dir;
  fs::path resources = dir / "res";
  fs::path priv = dir / "private";
  Report report;
  void SetUp() override {
    fs::create_directories(priv / "truefont");
    for (std::size_t i = 0; i < kFontFiles.size(); ++i) {
      test::writeText(resources / pathFromUtf8(kFontFiles[i]), "font-" + std::to_string(i));
    }
    test::writeText(resources / "pinyin.bin", "pinyin");
  }
};

TEST_F(FontFixture, DefaultChoiceCopiesTheChineseFont) {
  ConversionSettings s;
  EXPECT_TRUE(RunFontStep(s, priv, resources, report));
  EXPECT_EQ(test::readText(priv / "truefont" / "font.ttf"), "font-1");
  EXPECT_EQ(test::readText(priv / "truefont" / "truefont.ini"), "[setting]\r\nfont0=font.ttf");
  EXPECT_FALSE(fs::exists(priv / "bin"));  // no bin/: no input-method table
}

TEST_F(FontFixture, EveryChoiceAndThePinyinTableOnceBinExists) {
  fs::create_directory(priv / "bin");
  for (int choice = 0; choice < 5; ++choice) {
    ConversionSettings s;
    s.fontChoice = choice;
    EXPECT_TRUE(RunFontStep(s, priv, resources, report));
    EXPECT_EQ(test::readText(priv / "truefont" / "font.ttf"), "font-" + std::to_string(choice));
  }
  EXPECT_EQ(test::readText(priv / "bin" / "pinyin.bin"), "pinyin");
}

TEST_F(FontFixture, ExistingIniIsReplaced) {
  test::writeText(priv / "truefont" / "truefont.ini", std::string(100, 'x'));
  RunFontStep(ConversionSettings{}, priv, resources, report);
  EXPECT_EQ(fs::file_size(priv / "truefont" / "truefont.ini"), 25u);
}

TEST_F(FontFixture, MissingFontIsReportedAndTheRestIsWritten) {
  fs::remove(resources / pathFromUtf8(kFontFiles[1]));
  EXPECT_FALSE(RunFontStep(ConversionSettings{}, priv, resources, report));
  EXPECT_TRUE(fs::exists(priv / "truefont" / "truefont.ini"));
  // No truefont folder at all: nothing written, reported as missing.
  fs::remove_all(priv / "truefont");
  ConversionSettings s;
  s.fontChoice = 0;
  EXPECT_FALSE(RunFontStep(s, priv, resources, report));
  EXPECT_FALSE(fs::exists(priv / "truefont"));
}

}  // namespace
}  // namespace tessel
