// The source scan: classification, picture order, branch choice.
#include <gtest/gtest.h>

#include "convert/SourceScan.h"
#include "support/TestSupport.h"
#include "util/Paths.h"

namespace tessel {
namespace {

using test::TempDir;
using test::writeText;

std::vector<std::string> names(const std::vector<fs::path>& paths) {
  std::vector<std::string> out;
  for (const auto& p : paths) out.push_back(PathToUtf8(p.filename()));
  return out;
}

TEST(SourceScan, MissingOrEmptySourceIsInvalid) {
  EXPECT_EQ(ScanSource("").status, ScanStatus::SourceInvalid);
  TempDir dir;
  EXPECT_EQ(ScanSource(dir / "nope").status, ScanStatus::SourceInvalid);
}

TEST(SourceScan, NothingToConvertIsRefused) {
  TempDir dir;
  EXPECT_EQ(ScanSource(dir.path()).status, ScanStatus::NoPictures);
  writeText(dir / "13.bin", "t");
  writeText(dir / "14.bin", "t");
  writeText(dir / "1.wav", "s");
  writeText(dir / "config.txt", "R1=03;");
  writeText(dir / "a.png", "x");
  EXPECT_EQ(ScanSource(dir.path()).status, ScanStatus::NoPictures);
  // A file in place of a folder is told apart.
  EXPECT_EQ(ScanSource(dir / "13.bin").status, ScanStatus::SourceIsFile);
}

TEST(SourceScan, ClassifiesByLowerCasedNameAndKeepsRealSpelling) {
  TempDir dir;
  for (const char* n : {"13a.BIN", "14b.bin", "22x.Bin", "122.bin", "MyConfig.TXT", "config.ini",
                        "T5LCFG.CFG", "lcd_t5.cfg", "Logo.JPEG", "3.Bmp", "a.png", "b.gif",
                        "7.ICL", "8.ico", "1.WAV", "2.mp3", "notes.txt"}) {
    writeText(dir / n, "x");
  }
  const ScanResult r = ScanSource(dir.path());
  ASSERT_EQ(r.status, ScanStatus::Ok);
  const SourceInventory& inv = r.inventory;
  EXPECT_EQ(inv.table13.filename(), "13a.BIN");
  EXPECT_EQ(inv.table14.filename(), "14b.bin");
  EXPECT_EQ(inv.table22.filename(), "22x.Bin");
  EXPECT_EQ(inv.configText.filename(), "MyConfig.TXT");
  EXPECT_EQ(inv.t5Config.filename(), "T5LCFG.CFG");
  EXPECT_EQ(names(inv.pictures), (std::vector<std::string>{"Logo.JPEG", "3.Bmp"}));
  EXPECT_EQ(names(inv.icons), (std::vector<std::string>{"7.ICL", "8.ico"}));
  EXPECT_EQ(names(inv.sounds), (std::vector<std::string>{"1.WAV", "2.mp3"}));
  EXPECT_EQ(ChooseBranch(inv), Branch::A);
  // Real spelling opens the file on a case-sensitive file system.
  EXPECT_TRUE(fs::exists(inv.table13));
}

TEST(SourceScan, TableRulesAndLastListedWins) {
  TempDir dir;
  writeText(dir / "1.jpg", "x");
  writeText(dir / "30x.bin", "thirty");
  ScanResult r = ScanSource(dir.path());
  EXPECT_EQ(r.inventory.table13.filename(), "30x.bin");
  EXPECT_EQ(ChooseBranch(r.inventory), Branch::B);  // 13 without 14
  writeText(dir / "13x.bin", "thirteen");
  r = ScanSource(dir.path());
  // Listed in name order: 30x.bin comes after 13x.bin and wins.
  EXPECT_EQ(r.inventory.table13.filename(), "30x.bin");
  writeText(dir / "14.bin", "x");
  EXPECT_EQ(ChooseBranch(ScanSource(dir.path()).inventory), Branch::A);
  fs::remove(dir / "13x.bin");
  fs::remove(dir / "30x.bin");
  EXPECT_EQ(ChooseBranch(ScanSource(dir.path()).inventory), Branch::B);  // 14 alone
}

TEST(SourceScan, PicturesSortedByFileNumberOthersInListingOrder) {
  TempDir dir;
  for (const char* n : {"10.jpg", "2.jpg", "1.jpg", "bg.jpg", "007_logo.bmp", "9.ico", "10.icl"}) {
    writeText(dir / n, "x");
  }
  fs::create_directory(dir / "x.bmp");  // a folder named like a picture is set aside
  const ScanResult r = ScanSource(dir.path());
  EXPECT_EQ(names(r.inventory.pictures),
            (std::vector<std::string>{"bg.jpg", "1.jpg", "2.jpg", "007_logo.bmp", "10.jpg"}));
  ASSERT_EQ(r.inventory.unusable.size(), 1u);  // skipped with a warning
  EXPECT_EQ(r.inventory.unusable[0].path, dir / "x.bmp");
  EXPECT_EQ(names(r.inventory.icons), (std::vector<std::string>{"10.icl", "9.ico"}));
}

TEST(SourceScan, OnlyIconsIsEnough) {
  TempDir dir;
  writeText(dir / "1.ico", "x");
  EXPECT_EQ(ScanSource(dir.path()).status, ScanStatus::Ok);
}

TEST(SourceScan, FileNumbers) {
  EXPECT_EQ(FileNumber("a/12.bmp"), 12);
  EXPECT_EQ(FileNumber("007_logo.jpg"), 7);
  EXPECT_EQ(FileNumber("logo.jpg"), 0);
  EXPECT_EQ(FileNumber(" 5x.ico"), 5);
  EXPECT_EQ(FileNumber("-3.bmp"), -3);
  EXPECT_EQ(FileNumber("99999999999999999999.bmp"), INT_MAX);
  EXPECT_EQ(FileNumber("12.34.jpg"), 12);
}

}  // namespace
}  // namespace tessel
