// The user's files stay safe whatever the folders hold: names in another
// encoding, FIFOs and links among the inputs, an output root that is in use,
// holds the user's own files or cannot be emptied, and inputs made to take
// far more memory or time than their bytes justify.
#include <gtest/gtest.h>

#include <QProcess>
#include <chrono>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include "convert/OutputLock.h"
#include "icon/IconBuild.h"
#include "picture/PictureIntegrity.h"
#include "support/RunFixture.h"
#include "util/Paths.h"

namespace tessel {
namespace {

using namespace build;
using test::readText;
using test::RunFixture;
using test::writeBytes;
using test::writeText;

// tessel-cli through the shell, so that arguments keep bytes that are not
// UTF-8 and limits can be set: `script` calls it as "$T".
test::CliRun runShell(const std::string& script) {
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("T", QString::fromUtf8(TESSEL_CLI_PATH));
  p.setProcessEnvironment(env);
  p.start("/bin/sh", {"-c", QString::fromStdString(script)});
  p.waitForFinished(300000);
  test::CliRun r;
  r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
  r.err = p.readAllStandardError().toStdString();
  return r;
}

std::string quoted(const fs::path& p) { return "'" + p.native() + "'"; }

struct UserFiles : RunFixture {
  // A Branch A source: the two tables and a picture.
  void branchA() {
    writeText(source / "13.bin", "thirteen");
    writeText(source / "14.bin", "fourteen");
    test::writePicture(source / "1.bmp", 8, 6);
  }
  const InputRecord* input(const RunResult& r, const std::string& name) {
    for (const InputRecord& i : r.report.inputs) {
      if (i.path.filename().native() == name) return &i;
    }
    return nullptr;
  }
  std::string cli() const {
    return "\"$T\" convert " + quoted(source) + " --resources " + quoted(resources) + " -q";
  }
};

TEST_F(UserFiles, NamesThatAreNotUtf8ConvertAndTheOutputGoesWhereTheUserSaid) {
  branchA();
  test::writePicture(source / "2_\xd6\xd0\xce\xc4.jpg", 8, 6);
  const fs::path odd = dir / "out\xfe";
  const test::CliRun r = runShell(cli() + " -o \"$(printf '" + (dir.path() / "out\\376").native() + "')\"");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(fs::exists(odd / "private" / "image" / "2.zbmp"));
  EXPECT_FALSE(fs::exists(dir / "out\xef\xbf\xbd"));
  EXPECT_EQ(toPath(toQString(odd)), odd);
  EXPECT_EQ(printable("2_\xd6\xd0.jpg"), "2_\xef\xbf\xbd\xef\xbf\xbd.jpg");
}

TEST_F(UserFiles, OnlyRegularFilesInsideTheSourceAreOpened) {
  branchA();
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
  EXPECT_NE(input(r, "13.bin")->reason.find("outside the source"), std::string::npos);
  EXPECT_TRUE(has("image/1.zbmp"));
  EXPECT_TRUE(has("image/7.zbmp"));
  EXPECT_FALSE(has("bin/13.bin"));
}

TEST_F(UserFiles, EveryFileTheRunMakesIsNewAndNeverReachedThroughALink) {
  branchA();
  fs::create_directories(output);
  fs::create_symlink(source / "13.bin", output / pathFromUtf8(kMarkerFileName));
  ASSERT_EQ(run().outcome, RunOutcome::Completed);
  EXPECT_EQ(readText(source / "13.bin"), "thirteen");
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(output / pathFromUtf8(kMarkerFileName))));
}

TEST_F(UserFiles, APrivateFolderThatCannotBeEmptiedEndsTheRunBeforeAnyWrite) {
  branchA();
  run();
  fs::create_directories(priv / "image" / "held");
  if (::mount("tmpfs", (priv / "image" / "held").c_str(), "tmpfs", 0, "size=64k") != 0) {
    GTEST_SKIP() << "cannot mount a tmpfs here (needs root)";
  }
  writeText(priv / "image" / "held" / "x", "x");
  host.removalAnswer = true;  // the mount point is no run's: let it try
  const RunResult r = run();
  ::umount((priv / "image" / "held").c_str());
  EXPECT_EQ(r.outcome, RunOutcome::OutputRefused);
  ASSERT_FALSE(host.messages.empty());
  EXPECT_NE(host.messages.back().find("held"), std::string::npos) << ::testing::PrintToString(host.messages);
  EXPECT_TRUE(fs::exists(priv / "truefont" / "font.ttf"));  // the previous output stays
  EXPECT_TRUE(fs::exists(output / pathFromUtf8(kMarkerFileName)));
}

TEST_F(UserFiles, ASourceReachedThroughABindMountOfTheOutputIsRefused) {
  test::writePicture(priv / "DWIN_SET" / "1.bmp", 8, 6);
  const fs::path bound = dir / "bound";
  fs::create_directories(bound);
  if (::mount((priv / "DWIN_SET").c_str(), bound.c_str(), nullptr, MS_BIND, nullptr) != 0) {
    GTEST_SKIP() << "cannot bind-mount here (needs root)";
  }
  settings.sourceFolder = bound;
  host.removalAnswer = true;
  const RunResult r = run();
  ::umount(bound.c_str());
  EXPECT_EQ(r.outcome, RunOutcome::PathsOverlap);
  EXPECT_TRUE(fs::exists(priv / "DWIN_SET" / "1.bmp"));
}

TEST_F(UserFiles, APrivateFolderWithForeignFilesIsRemovedOnlyWhenTheUserSaysSo) {
  branchA();
  writeText(priv / "image" / "0.zbmp", "an earlier run's");
  writeText(priv / "photos" / "holiday.jpg", "the user's");
  RunResult r = run();
  EXPECT_EQ(r.outcome, RunOutcome::OutputRefused);
  ASSERT_EQ(host.foreignSeen.size(), 1u);
  EXPECT_EQ(host.foreignSeen[0], priv / "photos");
  EXPECT_NE(host.messages.back().find("photos"), std::string::npos);
  EXPECT_EQ(readText(priv / "photos" / "holiday.jpg"), "the user's");
  // What a run writes goes without a question.
  fs::remove_all(priv / "photos");
  ASSERT_EQ(run().outcome, RunOutcome::Completed);
  EXPECT_EQ(host.foreignSeen.size(), 1u);
  writeText(priv / "icon" / "notes.txt", "the user's");
  const test::CliRun refused = test::runCli({"convert", pathToUtf8(source), "-o",
                                             pathToUtf8(output), "--resources",
                                             pathToUtf8(resources)});
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("notes.txt"), std::string::npos) << refused.err;
  const test::CliRun forced = test::runCli({"convert", pathToUtf8(source), "-o",
                                            pathToUtf8(output), "--resources",
                                            pathToUtf8(resources), "--force"});
  EXPECT_EQ(forced.status, 0) << forced.err;
  EXPECT_FALSE(has("icon/notes.txt"));
}

TEST_F(UserFiles, ASecondRunIntoTheSameOutputIsRefusedNamingTheFirst) {
  branchA();
  fs::create_directories(output);
  OutputLock lock;
  ASSERT_TRUE(lock.acquire(output / ".tessel.lock", false).taken);
  const test::CliRun r = runShell(cli() + " -o " + quoted(output));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("process " + std::to_string(::getpid())), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(priv));
}

TEST_F(UserFiles, EverythingIsCheckedBeforeTheOldOutputIsTouched) {
  branchA();
  ASSERT_EQ(run().outcome, RunOutcome::Completed);
  const auto before = test::listTree(output);
  const std::string src = pathToUtf8(source), out = pathToUtf8(output);
  EXPECT_EQ(test::runCli({"convert", src, "-o", out, "--set", "baud=12345"}).status, 2);
  EXPECT_EQ(test::listTree(output), before);
  // An output root that cannot be made: the folder and the system's reason.
  writeText(dir / "plain-file", "x");
  const test::CliRun r =
      test::runCli({"convert", src, "-o", pathToUtf8(dir / "plain-file" / "out")});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("plain-file"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("Not a directory"), std::string::npos) << r.err;
}

TEST_F(UserFiles, AnUnreadableTableIsSkippedWithAWarning) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads files without read permission";
  branchA();
  fs::permissions(source / "13.bin", fs::perms::none);
  const RunResult r = run();
  fs::permissions(source / "13.bin", fs::perms::owner_all);
  EXPECT_EQ(input(r, "13.bin")->fate, InputFate::Skipped);
}

TEST_F(UserFiles, WorkFollowsTheFileNotTheHeader) {
  branchA();
  // 154 bytes of run-length BMP declaring 65535 x 2048 pixels.
  Bytes rle = bmpFile({.width = 65535, .height = 2048, .bits = 8, .compression = 1,
                       .gap = Bytes(4 * 2, 0), .pixels = Bytes(154 - 62, 0)});
  ASSERT_EQ(rle.size(), 154u);
  writeBytes(source / "2.bmp", ByteView(rle));
  // An 8 x 8 picture in a 2 GiB file: only its rows are read.
  BmpShape eight;
  eight.width = 8;
  eight.height = 8;
  const Bytes small = bmpFile(eight);
  writeBytes(source / "3.bmp", ByteView(small));
  fs::resize_file(source / "3.bmp", std::uint64_t(2) << 30 | 1);
  // A JPEG of many scans: one scan of a progressive JPEG repeated.
  const Bytes jpeg = encode(test::patternImage(32, 32), "JPG");
  std::size_t sos = 2;
  while (!(jpeg[sos] == 0xFF && jpeg[sos + 1] == 0xDA)) ++sos;
  Bytes many(jpeg.begin(), jpeg.begin() + std::ptrdiff_t(sos));
  for (std::uint64_t i = 0; i <= Limits().jpegScans; ++i)
    many.insert(many.end(), jpeg.begin() + std::ptrdiff_t(sos), jpeg.end() - 2);
  many.insert(many.end(), {0xFF, 0xD9});
  writeBytes(source / "4.jpg", ByteView(many));
  const auto start = std::chrono::steady_clock::now();
  const RunResult r = run();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(input(r, "2.bmp")->fate, InputFate::Skipped);
  EXPECT_NE(input(r, "2.bmp")->reason.find("run-length"), std::string::npos);
  EXPECT_EQ(input(r, "4.jpg")->fate, InputFate::Skipped);
  EXPECT_NE(input(r, "4.jpg")->reason.find("scans"), std::string::npos);
  EXPECT_EQ(test::zbmpSize(priv / "image" / "3.zbmp"), std::make_pair(8, 8));
}

TEST(IconLibraryWork, ARecordNamedManyTimesIsDecodedOnceAndTheLibraryIsCapped) {
  // Two slots naming one block give the .zico two slots with copied blocks do.
  const std::vector<std::uint16_t> pixels{0x1234, 0x5678, 0x9ABC, 0xDEF0};
  Bytes copied = emptyRaw();
  addRawIcon(copied, 0, 2, 2, pixels);
  addRawIcon(copied, 1, 2, 2, pixels);
  Bytes shared = emptyRaw();
  addRawIcon(shared, 0, 2, 2, pixels);
  shared[8] = shared[0], shared[9] = shared[1], shared[10] = shared[2];
  std::copy_n(shared.begin() + 3, 5, shared.begin() + 11);
  IconLibraryJob job;
  job.layout = IconLayout::Raw;
  const BuiltIconLibrary a = BuildIconLibrary({}, job, ByteView(copied), WorkLimits());
  const BuiltIconLibrary b = BuildIconLibrary({}, job, ByteView(shared), WorkLimits());
  ASSERT_EQ(b.zico.size(), 2u);
  EXPECT_EQ(EncodeZico(b.zico.records(), ByteView(b.zico.dataArea())),
            EncodeZico(a.zico.records(), ByteView(a.zico.dataArea())));
  // Every slot naming one 1023 x 1023 block: skipped with its size, at once.
  Bytes bomb = emptyRaw();
  bomb.resize(bomb.size() + 2 * 1023 * 1023, 0x5A);
  for (int k = 0; k < 16384; ++k) setRawSlot(bomb, k, 1023, 1023, kRawTable / 2);
  const auto start = std::chrono::steady_clock::now();
  const BuiltIconLibrary c = BuildIconLibrary({}, job, ByteView(bomb), WorkLimits());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_TRUE(c.missing);
  ASSERT_EQ(c.warnings.size(), 1u);
  EXPECT_NE(c.warnings[0].find(std::to_string(16384ull * 1023 * 1023 * 2)), std::string::npos)
      << c.warnings[0];
}

}  // namespace
}  // namespace tessel
