// Whole conversion runs: both branches, refusals, the output tree, what is
// left after a cancel, and that the source is never touched.
#include <gtest/gtest.h>

#include "support/RunFixture.h"
#include "util/FileIO.h"
#include "util/Paths.h"

namespace tessel {
namespace {

using test::readBytes;
using test::readText;
using test::RunFixture;
using test::writePicture;
using test::writeText;
using test::zbmpSize;

const std::string kMarker = kMarkerFileName;

using RunTest = RunFixture;

TEST_F(RunTest, BranchAOutputTree) {
  writeText(source / "13x.bin", "thirteen");
  writeText(source / "14x.bin", "fourteen");
  writePicture(source / "1.bmp", 40, 30);
  writeText(source / "2.wav", "two");
  writeText(source / "3.mp3", "three");
  const RunResult r = run();
  ASSERT_EQ(r.outcome, RunOutcome::Completed);
  EXPECT_EQ(r.branch, Branch::A);
  EXPECT_EQ(tree(), (std::vector<std::string>{
                        "bin/", "bin/13.bin", "bin/14.bin", "bin/pinyin.bin", "image/",
                        "image/1.zbmp", "sound/", "sound/2.wav", "sound/3.wav", "truefont/",
                        "truefont/font.ttf", "truefont/truefont.ini"}));
  EXPECT_EQ(readText(priv / "bin" / "13.bin"), "thirteen");
  EXPECT_EQ(readText(priv / "sound" / "3.wav"), "three");
  EXPECT_EQ(readText(priv / "truefont" / "font.ttf"), "font-1");
  EXPECT_TRUE(fs::exists(output / pathFromUtf8(kMarker)));
  EXPECT_EQ(fs::file_size(output / pathFromUtf8(kMarker)), 0u);
  EXPECT_EQ(host.opened, (std::vector<fs::path>{output}));
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(host.confirmCalls, 0);  // Branch A never asks
  EXPECT_EQ(r.report.picturesWritten, 1);
}

TEST_F(RunTest, SecondRunRemovesWhatTheFirstLeft) {
  writePicture(source / "1.jpg", 20, 20);
  writePicture(source / "2.jpg", 20, 20);
  host.confirmAnswer = true;
  ASSERT_EQ(run().outcome, RunOutcome::Completed);
  ASSERT_TRUE(has("image/2.zbmp"));
  writeText(priv / "stray.txt", "left over");
  host.removalAnswer = true;  // stray.txt is no run's: the user lets it go
  writeText(output / "keep.txt", "the root is never cleared");
  fs::remove(source / "2.jpg");
  ASSERT_EQ(run().outcome, RunOutcome::Completed);
  EXPECT_FALSE(has("image/2.zbmp"));
  EXPECT_FALSE(has("stray.txt"));
  EXPECT_TRUE(has("image/1.zbmp"));
  EXPECT_EQ(readText(output / "keep.txt"), "the root is never cleared");
}

TEST_F(RunTest, RefusalsWriteNothing) {
  settings.sourceFolder = dir / "missing";
  EXPECT_EQ(run().outcome, RunOutcome::SourceInvalid);
  settings.sourceFolder.clear();
  EXPECT_EQ(run().outcome, RunOutcome::SourceInvalid);
  settings.sourceFolder = source;
  writeText(source / "1.wav", "only a sound");
  writeText(source / "13.bin", "t");
  EXPECT_EQ(run().outcome, RunOutcome::NoPictures);
  EXPECT_EQ(host.messages, (std::vector<std::string>{messages::kSourceInvalid,
                                                     messages::kSourceInvalid,
                                                     messages::kNoPictures}));
  EXPECT_FALSE(fs::exists(output));
  EXPECT_TRUE(host.opened.empty());
}

TEST_F(RunTest, OverlappingSourceAndOutputAreRefusedBeforeAnythingIsDeleted) {
  // The source inside the output's private folder would be deleted with it.
  const fs::path inside = priv / "DWIN_SET";
  writePicture(inside / "1.bmp", 8, 8);
  writePicture(priv / "2.bmp", 8, 8);
  writeText(priv / "sentinel.txt", "still here");
  // So would one where a run builds its output or sets the previous one aside.
  const fs::path staging = output / ".tessel-staging" / "DWIN_SET";
  writePicture(staging / "1.bmp", 8, 8);
  for (const fs::path& src : {inside, priv, staging}) {
    settings.sourceFolder = src;
    host.messages.clear();
    EXPECT_EQ(run().outcome, RunOutcome::PathsOverlap);
    EXPECT_EQ(host.messages, (std::vector<std::string>{messages::kPathsOverlap}));
  }
  EXPECT_EQ(readText(priv / "sentinel.txt"), "still here");
  EXPECT_TRUE(fs::exists(inside / "1.bmp"));
  EXPECT_TRUE(fs::exists(staging / "1.bmp"));

  // The output root at or inside the source would write into it.
  writePicture(source / "1.bmp", 8, 8);
  settings.sourceFolder = source;
  for (const fs::path& root : {source, source / "TESSEL"}) {
    options.outputRoot = root;
    EXPECT_EQ(run().outcome, RunOutcome::PathsOverlap);
  }
  EXPECT_EQ(test::listTree(source), (std::vector<std::string>{"1.bmp"}));

  // A source elsewhere inside the output root is fine: only private/ goes.
  options.outputRoot = dir.path();
  EXPECT_EQ(run().outcome, RunOutcome::Completed);
  EXPECT_TRUE(fs::exists(dir / "private" / "image" / "1.zbmp"));
  EXPECT_TRUE(fs::exists(source / "1.bmp"));
}

TEST_F(RunTest, BranchBDefaultsAskOnceAndWriteNoBinFolder) {
  writePicture(source / "1.bmp", 30, 20);
  writeText(source / "22x.bin", "t22");
  writeText(source / "5.wav", "sound");
  writeText(source / "13.bin", "table13");
  const RunResult r = run();
  ASSERT_EQ(r.outcome, RunOutcome::Completed);
  EXPECT_EQ(r.branch, Branch::B);
  EXPECT_EQ(host.confirmCalls, 1);
  // No configuration in the source: the dialog's defaults, with the four
  // touch values that a source without a readable text always sets.
  SetupValues expected;
  expected.touchBeep = 0;
  expected.longPressNotify = true;
  expected.coordinateNotify = 1;
  expected.touchFileNotify = 1;
  EXPECT_EQ(host.seenSetup, expected);
  EXPECT_EQ(tree(), (std::vector<std::string>{"config.bin", "config.txt", "image/", "image/1.zbmp",
                                              "truefont/", "truefont/font.ttf",
                                              "truefont/truefont.ini"}));
  EXPECT_EQ(readText(priv / "config.bin"), "table13");
  EXPECT_EQ(readText(priv / "config.txt"), "R1=03; 9600\r\nR2=08;\r\nR3=7F;\r\nRC0=01;");
}

TEST_F(RunTest, BranchBCancelWritesNothingAndOpensNothing) {
  writePicture(source / "1.bmp", 30, 20);
  writeText(source / "13.bin", "table13");
  writeText(source / "myconfig.txt", "R1=07; 115200\nR2=00;\n");
  host.confirmAnswer = false;
  const RunResult r = run();
  EXPECT_EQ(r.outcome, RunOutcome::NotConfirmed);
  EXPECT_EQ(test::listTree(output), std::vector<std::string>{});
  EXPECT_TRUE(host.opened.empty());
  EXPECT_EQ(host.seenSetup.baudIndex, 7);
}

TEST_F(RunTest, ConfirmedCorrectionsReachConfigTxtAndCarryOver) {
  writePicture(source / "1.bmp", 30, 20);
  SetupValues corrected;
  corrected.baudIndex = 7;
  corrected.screenRotation = 3;
  corrected.delayedRefresh = true;
  host.changeTo = &corrected;
  ASSERT_EQ(run().outcome, RunOutcome::Completed);
  EXPECT_EQ(readText(priv / "config.txt"), "R1=07; 115200\r\nR2=CC;\r\nR3=DF;\r\nRC0=01;");
  // The session keeps the confirmed values for the next run; the reader
  // overwrites only what the source gives (here the four touch values).
  host.changeTo = nullptr;
  ASSERT_EQ(run().outcome, RunOutcome::Completed);
  EXPECT_EQ(host.seenSetup.baudIndex, 7);
  EXPECT_EQ(host.seenSetup.screenRotation, 3);
  EXPECT_TRUE(host.seenSetup.delayedRefresh);
  EXPECT_TRUE(host.seenSetup.longPressNotify);
}

TEST_F(RunTest, MissingFontIsSaidOncePerFontStep) {
  fs::remove(resources / pathFromUtf8("中英文.ttf"));
  writePicture(source / "1.bmp", 8, 8);
  ASSERT_EQ(run().outcome, RunOutcome::Completed);  // Branch B: twice
  EXPECT_EQ(host.messages, (std::vector<std::string>(2, messages::kFontMissing)));
  host.messages.clear();
  host.confirmAnswer = false;
  run();
  EXPECT_EQ(host.messages.size(), 1u);
  host.messages.clear();
  writeText(source / "13.bin", "a");
  writeText(source / "14.bin", "b");
  ASSERT_EQ(run().outcome, RunOutcome::Completed);  // Branch A: once
  EXPECT_EQ(host.messages, (std::vector<std::string>{messages::kFontMissing}));
  EXPECT_TRUE(fs::exists(output / pathFromUtf8(kMarker)));
}

TEST_F(RunTest, BranchARotation) {
  writeText(source / "13.bin", "a");
  writeText(source / "14.bin", "b");
  writePicture(source / "1.bmp", 40, 30);
  settings.rotationChoice = RotationChoice::Automatic;
  run();
  const Bytes automatic = readBytes(priv / "image" / "1.zbmp");
  settings.rotationChoice = RotationChoice::None;
  run();
  EXPECT_EQ(readBytes(priv / "image" / "1.zbmp"), automatic);  // automatic = none here
  EXPECT_EQ(zbmpSize(priv / "image" / "1.zbmp"), std::make_pair(40, 30));
  settings.rotationChoice = RotationChoice::Cw90;
  run();
  EXPECT_EQ(zbmpSize(priv / "image" / "1.zbmp"), std::make_pair(30, 40));
}

TEST_F(RunTest, BranchBAutomaticRotationFollowsTheFirstPicture) {
  // Screen rotation 90: R3 keeps bit 5, R2 has bit 2.
  writeText(source / "config.txt", "R1=03;\r\nR2=04;\r\nR3=FF;\r\n");
  writePicture(source / "1.bmp", 20, 40);  // portrait
  writePicture(source / "2.bmp", 50, 10);  // landscape
  ASSERT_EQ(run().outcome, RunOutcome::Completed);
  EXPECT_EQ(host.seenSetup.screenRotation, 1);
  EXPECT_EQ(zbmpSize(priv / "image" / "1.zbmp"), std::make_pair(40, 20));
  EXPECT_EQ(zbmpSize(priv / "image" / "2.zbmp"), std::make_pair(10, 50));

  // A landscape first picture turns nothing.
  fs::remove(source / "1.bmp");
  writePicture(source / "0.bmp", 40, 20);
  ASSERT_EQ(run().outcome, RunOutcome::Completed);
  EXPECT_EQ(zbmpSize(priv / "image" / "2.zbmp"), std::make_pair(50, 10));
}

TEST_F(RunTest, CorruptPictureIsSkippedWithAWarning) {
  writePicture(source / "1.bmp", 16, 16);
  writeText(source / "2.bmp", "BM not really a bitmap");
  writePicture(source / "3.jpg", 16, 16);
  fs::create_directory(source / "4.bmp");
  for (PictureFormat format : {PictureFormat::Jpeg, PictureFormat::JpegHigh, PictureFormat::Zbmp}) {
    settings.pictureFormat = format;
    host.warnings.clear();
    const RunResult r = run();
    ASSERT_EQ(r.outcome, RunOutcome::Completed);
    const std::string ext = format == PictureFormat::Zbmp ? ".zbmp" : ".jpg";
    EXPECT_TRUE(has("image/1" + ext));
    EXPECT_TRUE(has("image/3" + ext));
    EXPECT_FALSE(has("image/2" + ext));
    EXPECT_FALSE(has("image/4" + ext));
    EXPECT_EQ(r.report.picturesWritten, 2);
    EXPECT_GE(host.warnings.size(), 2u);
  }
}

TEST_F(RunTest, ABaudIndexOutsideTheListIsNeverConfirmed) {
  writePicture(source / "1.bmp", 16, 16);
  writeText(source / "config.txt", "R1=09;\r\n");
  EXPECT_EQ(run().outcome, RunOutcome::NotConfirmed);
  EXPECT_EQ(host.seenSetup.baudIndex, 9);
  EXPECT_FALSE(fs::exists(priv));
}

}  // namespace
}  // namespace tessel
