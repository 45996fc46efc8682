// Whole conversion runs: both branches, refusals and the reasons they give,
// the output tree, what is left after a cancel, the user's files in the
// source and the output, and the same output for every job count.
#include <gtest/gtest.h>

#include <QProcess>
#include <cerrno>
#include <fstream>
#include <map>
#include <sys/mount.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

#include "convert/OutputLock.h"
#include "support/RunFixture.h"
#include "support/TestSupport.h"
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
// Qt's messages while no run routes them.
std::vector<std::string> unrouted;
using namespace build;
using test::TempDir;
// Every file below root with its bytes.
std::map<std::string, Bytes> snapshot(const fs::path& root) {
  std::map<std::string, Bytes> files;
  for (const std::string& rel : test::listTree(root)) {
    if (rel.back() != '/') files[rel] = test::readBytes(root / PathFromUtf8(rel));
  }
  return files;
}
using test::writeBytes;

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
  EXPECT_TRUE(fs::exists(output / PathFromUtf8(kMarker)));
  EXPECT_EQ(fs::file_size(output / PathFromUtf8(kMarker)), 0u);
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
  const fs::path inside = priv / "project";
  writePicture(inside / "1.bmp", 8, 8);
  writePicture(priv / "2.bmp", 8, 8);
  writeText(priv / "sentinel.txt", "still here");
  // So would one where a run builds its output or sets the previous one aside.
  const fs::path staging = output / ".tessel-staging" / "project";
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
  fs::remove(resources / PathFromUtf8("中英文.ttf"));
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
  EXPECT_TRUE(fs::exists(output / PathFromUtf8(kMarker)));
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

TEST_F(RunTest, NamesThatAreNotUtf8ConvertAndTheOutputGoesWhereTheUserSaid) {
  writeBranchA();
  test::writePicture(source / "2_\xd6\xd0\xce\xc4.jpg", 8, 6);
  const fs::path odd = dir / "out\xfe";
  const test::CliRun r = test::runShell(cliCommand() + " -o \"$(printf '" +
                                        (dir.path() / "out\\376").native() + "')\"");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(fs::exists(odd / "private" / "image" / "2.zbmp"));
  EXPECT_FALSE(fs::exists(dir / "out\xef\xbf\xbd"));
  EXPECT_EQ(ToPath(ToQString(odd)), odd);
  EXPECT_EQ(Printable("2_\xd6\xd0.jpg"), "2_\xef\xbf\xbd\xef\xbf\xbd.jpg");
}

TEST_F(RunTest, OnlyRegularFilesInsideTheSourceAreOpened) {
  writeBranchA();
  ASSERT_EQ(::mkfifo((source / "5.bmp").c_str(), 0644), 0);
  fs::create_symlink("/dev/zero", source / "6.bmp");
  writeText(dir / "secret", "not the project's");
  fs::remove(source / "13.bin");
  fs::create_symlink(dir / "secret", source / "13.bin");
  fs::create_symlink(source / "1.bmp", source / "7.bmp");  // inside: converted
  const RunResult r = run();
  ASSERT_EQ(r.outcome, RunOutcome::Completed);
  for (const char* name : {"5.bmp", "6.bmp", "13.bin"}) {
    const InputRecord* i = input(r, name);
    ASSERT_NE(i, nullptr) << name;
    EXPECT_EQ(i->fate, InputFate::Skipped) << name;
    EXPECT_NE(i->reason.find(name), std::string::npos) << i->reason;
  }
  EXPECT_TRUE(has("image/1.zbmp"));
  EXPECT_TRUE(has("image/7.zbmp"));
  EXPECT_FALSE(has("bin/13.bin"));
}

TEST_F(RunTest, EveryFileTheRunMakesIsNewAndNeverReachedThroughALink) {
  writeBranchA();
  fs::create_directories(output);
  fs::create_symlink(source / "13.bin", output / PathFromUtf8(kMarkerFileName));
  ASSERT_EQ(run().outcome, RunOutcome::Completed);
  EXPECT_EQ(readText(source / "13.bin"), "thirteen");
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(output / PathFromUtf8(kMarkerFileName))));
}

TEST_F(RunTest, ASourceReachedThroughABindMountOfTheOutputIsRefused) {
  test::writePicture(priv / "project" / "1.bmp", 8, 6);
  const fs::path bound = dir / "bound";
  fs::create_directories(bound);
  if (::mount((priv / "project").c_str(), bound.c_str(), nullptr, MS_BIND, nullptr) != 0) {
    GTEST_SKIP() << "cannot bind-mount here (needs root)";
  }
  settings.sourceFolder = bound;
  host.removalAnswer = true;
  const RunResult r = run();
  ::umount(bound.c_str());
  EXPECT_EQ(r.outcome, RunOutcome::PathsOverlap);
  EXPECT_TRUE(fs::exists(priv / "project" / "1.bmp"));
}

TEST_F(RunTest, EverythingIsCheckedBeforeTheOldOutputIsTouched) {
  writeBranchA();
  ASSERT_EQ(run().outcome, RunOutcome::Completed);
  const auto before = test::listTree(output);
  const std::string src = PathToUtf8(source), out = PathToUtf8(output);
  EXPECT_EQ(test::runCli({"convert", src, "-o", out, "--set", "baud=12345"}).status, 2);
  EXPECT_EQ(test::listTree(output), before);
  // An output root that cannot be made: the folder and the system's reason.
  writeText(dir / "plain-file", "x");
  const test::CliRun r =
      test::runCli({"convert", src, "-o", PathToUtf8(dir / "plain-file" / "out")});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("plain-file"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("Not a directory"), std::string::npos) << r.err;
}

TEST_F(RunTest, AnUnreadableTableIsSkippedWithAWarning) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads files without read permission";
  writeBranchA();
  fs::permissions(source / "13.bin", fs::perms::none);
  const RunResult r = run();
  fs::permissions(source / "13.bin", fs::perms::owner_all);
  EXPECT_EQ(input(r, "13.bin")->fate, InputFate::Skipped);
}

std::string reason(int error) { return std::generic_category().message(error); }

struct Reasons : RunFixture {
  // The one message of a refused run, which must give `why` and never the
  // overlap message.
  void expectRefused(RunOutcome outcome, const std::string& why) {
    const auto before = test::treeSnapshot(dir.path());
    const RunResult r = run();
    EXPECT_EQ(r.outcome, outcome);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].find(why), std::string::npos) << host.messages[0];
    EXPECT_EQ(host.messages[0].find(MessageText(Message::PathsOverlap)), std::string::npos);
    EXPECT_EQ(test::treeSnapshot(dir.path()), before);
    host.messages.clear();
  }
};

TEST_F(Reasons, AnOutputThatCannotBeReachedIsRefusedForWhatStandsInTheWay) {
  test::writePicture(source / "1.bmp", 4, 4);
  test::TempDir elsewhere;  // a link loop cannot be looked at as a tree
  fs::create_symlink("loop", elsewhere / "loop");
  options.outputRoot = elsewhere / "loop" / "out";
  expectRefused(RunOutcome::OutputRefused, reason(ELOOP));
  options.outputRoot = dir / std::string(300, 'n') / "out";
  expectRefused(RunOutcome::OutputRefused, reason(ENAMETOOLONG));
  if (geteuid() == 0) {
    const fs::path ro = dir / "ro";
    fs::create_directory(ro);
    ASSERT_EQ(mount("tmpfs", ro.c_str(), "tmpfs", MS_RDONLY, "size=64k"), 0);
    options.outputRoot = ro / "out";
    expectRefused(RunOutcome::OutputRefused, reason(EROFS));
    options.outputRoot = ro;
    expectRefused(RunOutcome::OutputRefused, reason(EROFS));
    umount(ro.c_str());
  }
}

TEST_F(Reasons, ASourceThatIsAFileOrCannotBeListedSaysSo) {
  test::writePicture(source / "1.bmp", 4, 4);
  settings.sourceFolder = source / "1.bmp";
  expectRefused(RunOutcome::SourceInvalid, PathToUtf8(source / "1.bmp"));
  test::TempDir elsewhere;  // a link loop cannot be looked at as a tree
  fs::create_symlink("loop", elsewhere / "loop");
  settings.sourceFolder = elsewhere / "loop";
  expectRefused(RunOutcome::SourceInvalid, reason(ELOOP));
  if (geteuid() != 0) {
    fs::permissions(source, fs::perms::owner_read, fs::perm_options::remove);
    settings.sourceFolder = source;
    expectRefused(RunOutcome::SourceInvalid, reason(EACCES));
    fs::permissions(source, fs::perms::owner_read, fs::perm_options::add);
    // An input that cannot be read is skipped with the reason too.
    test::writePicture(source / "2.bmp", 4, 4);
    fs::permissions(source / "2.bmp", fs::perms::all, fs::perm_options::remove);
    const RunResult r = run();
    fs::permissions(source / "2.bmp", fs::perms::owner_all, fs::perm_options::add);
    ASSERT_FALSE(r.report.warnings.empty());
    EXPECT_NE(r.report.warnings[0].find(reason(EACCES)), std::string::npos)
        << r.report.warnings[0];
    const InputRecord* unreadable = input(r, "2.bmp");
    ASSERT_NE(unreadable, nullptr);
    EXPECT_EQ(unreadable->fate, InputFate::Skipped);
  }
}

void keepUnrouted(QtMsgType, const QMessageLogContext&, const QString& text) {
  unrouted.push_back(text.toStdString());
}

TEST_F(Reasons, TheImageReadersMessagesAreWarningsOfTheirPictureSilentUnderQuiet) {
  test::writeText(source / "13.bin", "t");
  test::writeText(source / "14.bin", "t");
  // Junk before the end marker: the JPEG decoder says so, and decodes it.
  Bytes jpeg = test::patternJpeg(32, 24);
  jpeg.insert(jpeg.end() - 2, {0x00, 0x01, 0x02});
  test::writeBytes(source / "1.jpg", ByteView(jpeg));
  const QtMessageHandler before = qInstallMessageHandler(keepUnrouted);
  const RunResult r = run();
  const test::CliRun quiet = test::runCli({"convert", PathToUtf8(source), "-o",
                                           PathToUtf8(dir / "cli"), "--resources",
                                           PathToUtf8(resources), "-q"});
  qInstallMessageHandler(before);
  EXPECT_TRUE(unrouted.empty()) << unrouted.front();
  ASSERT_EQ(r.outcome, RunOutcome::Completed);
  EXPECT_TRUE(has("image/1.zbmp"));
  ASSERT_EQ(r.report.warnings.size(), 1u);
  EXPECT_EQ(r.report.warningInputs[0], source / "1.jpg");
  EXPECT_NE(r.report.warnings[0].find("picture " + PathToUtf8(source / "1.jpg") + ": "),
            std::string::npos)
      << r.report.warnings[0];
  EXPECT_EQ(host.warnings, r.report.warnings);
  EXPECT_EQ(quiet.status, 0);
  EXPECT_EQ(quiet.err, "");
}

struct ParallelOutputTest : ::testing::Test {
  TempDir dir;
  fs::path source = dir / "project";

  void SetUp() override {
    // Pictures of different sizes, so they take different times; 1.bmp and
    // 1.jpg share a number, as do 12.jpg and 12.bmp listed the other way.
    for (int i = 0; i < 16; ++i) {
      test::writePicture(source / (std::to_string(i) + (i % 3 ? ".bmp" : ".jpg")),
                         40 + 13 * (i % 5), 30 + 7 * (i % 4));
    }
    test::writePicture(source / "1.jpg", 64, 48);
    test::writePicture(source / "12.bmp", 31, 17);
    // Icon libraries: 5.icl and 5.ico share a number; 6.icl is large.
    std::vector<IclSlot> records;
    for (int k = 0; k < 3; ++k) records.push_back(iclSlot(splitAtScan(encode(test::patternImage(8 + k, 6), "JPG", 90))));
    test::writeBytes(source / "5.icl", ByteView(buildIcl(2, records)));
    Bytes raw = emptyRaw();
    addRawIcon(raw, 0, 3, 2, {0xF800, 0x07E0, 0x001F, 0xFFFF, 0x0000, 0x1234});
    addRawIcon(raw, 2, 1, 1, {0xABCD});
    test::writeBytes(source / "5.ico", ByteView(raw));
    std::vector<IclSlot> many;
    for (int k = 0; k < 40; ++k) many.push_back(iclSlot(splitAtScan(encode(test::patternImage(16 + k % 9, 12), "JPG", 90))));
    test::writeBytes(source / "6.icl", ByteView(buildIcl(39, many)));
  }

  // Converts with -j 1 and -j 4 and compares everything written.
  std::map<std::string, Bytes> convertBothWays(const std::vector<std::string>& extra) {
    std::map<std::string, Bytes> first;
    for (const char* jobs : {"1", "4"}) {
      const fs::path out = dir / (std::string("out") + jobs);
      std::vector<std::string> args = {"convert", PathToUtf8(source), "-o", PathToUtf8(out),
                                       "-y", "-q", "-j", jobs, "--resources", TESSEL_BIN_DIR};
      args.insert(args.end(), extra.begin(), extra.end());
      const test::CliRun run = test::runCli(args);
      EXPECT_EQ(run.status, 0) << run.err;
      std::map<std::string, Bytes> files = snapshot(out);
      if (first.empty()) first = files;
      else EXPECT_EQ(files, first) << "-j 4 against -j 1 with " << ::testing::PrintToString(extra);
    }
    return first;
  }
};

TEST_F(ParallelOutputTest, BranchBFilesAndPackAreTheSameForEveryJobCount) {
  test::writeText(source / "config.txt", "R1=07; 115200\nR2=00;\nR3=FF;\n");
  for (const char* format : {"zbmp", "jpeg", "jpeg-hq"}) {
    const auto files = convertBothWays({"--format", format});
    const std::string ext = std::string(format) == "zbmp" ? ".zbmp" : ".jpg";
    EXPECT_EQ(files.count("private/image/1" + ext), 1u);
    EXPECT_EQ(files.count("private/image/15" + ext), 1u);
    EXPECT_EQ(files.count("private/icon/5.zico"), 1u);
    EXPECT_EQ(files.count("private/icon/6.zico"), 1u);
  }
  for (const char* format : {"zbmp", "jpeg"}) {
    const auto files = convertBothWays({"--format", format, "--pack"});
    ASSERT_EQ(files.count("private/bin/image.bin"), 1u);
    EXPECT_EQ(files.at("private/bin/image.idx").size(), 16u * 16u);
    EXPECT_EQ(files.count("private/image/1.zbmp"), 0u);
  }
}

TEST_F(ParallelOutputTest, BranchAIsTheSameForEveryJobCount) {
  test::writeBytes(source / "13.bin", ByteView(Bytes(64, 0x13)));
  test::writeBytes(source / "14.bin", ByteView(Bytes(64, 0x14)));
  test::writeText(source / "config.txt", "R1=07; 115200\nR2=00;\nR3=FF;\n");
  for (const char* rotation : {"none", "90"}) {
    const auto files = convertBothWays({"--format", "zbmp", "--rotation", rotation});
    EXPECT_EQ(files.count("private/bin/14.bin"), 1u);
    EXPECT_EQ(files.count("private/image/12.zbmp"), 1u);
    EXPECT_EQ(files.count("private/icon/5.zico"), 1u);
  }
  convertBothWays({"--format", "zbmp", "--deripple"});
}

}  // namespace
}  // namespace tessel
