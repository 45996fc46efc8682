// The output's life: a run builds its private/ in a staging folder and puts
// it in place only once it is complete. A failed write, a cancel, a signal or
// a kill before that leaves the previous output as it was, byte for byte;
// the next run removes what a killed one left and says so. One run at a time,
// through a lock that never traps.
// The root it claims: a private/ holding files no run writes is replaced only
// when the user says so, and one run at a time writes into a root.
#include <gtest/gtest.h>

#include <QProcess>
#include <chrono>
#include <csignal>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "convert/OutputLock.h"
#include "support/RunFixture.h"
#include "util/Paths.h"
#include "util/Platform.h"

namespace tessel {
namespace {

using test::readText;
using test::RunFixture;
using test::writeBytes;
using test::lockOf;
using test::writeText;
using namespace build;

// The id of a process of this machine that has ended.
std::int64_t endedProcess() {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(0);
  ::waitpid(pid, nullptr, 0);
  return pid;
}

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

struct StagedOutput : RunFixture {
  std::map<std::string, std::string> previous;

  fs::path staging() const { return output / ".tessel-staging"; }
  fs::path lock() const { return output / ".tessel.lock"; }
  // A first complete run: the output every later failure must leave alone.
  void convertOnce() {
    ASSERT_EQ(run().outcome, RunOutcome::Completed);
    previous = test::treeSnapshot(output);
    ASSERT_TRUE(previous.count("private"));
  }
  void expectPreviousOutput(const std::string& after) {
    EXPECT_EQ(test::treeSnapshot(output), previous) << after;
  }
  std::vector<std::string> cliArgs(const fs::path& root) const {
    return {"convert", PathToUtf8(source), "-o", PathToUtf8(root), "--resources",
            PathToUtf8(resources), "-j", "1"};
  }
  // Starts tessel-cli on the source and waits until its staging folder
  // holds a picture: the run is in the middle of its work.
  qint64 startAndWaitForWork(QProcess& p) {
    QStringList args;
    for (const std::string& a : cliArgs(output)) args << QString::fromStdString(a);
    p.start(QString::fromUtf8(TESSEL_CLI_PATH), args << "-y" << "-q");
    p.waitForStarted();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (test::listTree(staging() / "image").empty() &&
           std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return p.processId();
  }
};

TEST_F(StagedOutput, AFailedWriteAtAnyStepLeavesThePreviousOutputAsItWas) {
  test::fillProject(source, 3, false);
  convertOnce();
  writeText(source / "3.wav", "RIFF..version 2");
  // The first picture, the second icon library, the configuration, the font,
  // the marker.
  for (const char* failing : {"0.zbmp", "41.zico", "config.txt", "font.ttf", ".tessel-marker"}) {
    const test::FailingWrites faults(failing);
    options.writeFaults = &faults;
    const RunResult r = run();
    ASSERT_EQ(r.outcome, RunOutcome::WriteFailed) << failing;
    EXPECT_FALSE(r.report.writeFailures.empty()) << failing;
    EXPECT_FALSE(r.report.fontMissing) << failing;  // a failed copy is no missing font
    EXPECT_EQ(r.totals.filesWritten, 0) << failing;  // nothing new is on disk
    expectPreviousOutput(failing);
  }
  options.writeFaults = nullptr;
  ASSERT_EQ(run().outcome, RunOutcome::Completed);
  EXPECT_EQ(readText(priv / "sound" / "3.wav"), "RIFF..version 2");
}

TEST_F(StagedOutput, ACancelAndARunThatCannotAskLeaveThePreviousOutput) {
  test::writePicture(source / "1.bmp", 8, 6);  // Branch B: the parameters are asked
  writeText(source / "13.bin", "thirteen");
  convertOnce();
  host.confirmAnswer = false;
  EXPECT_EQ(run().outcome, RunOutcome::NotConfirmed);
  expectPreviousOutput("cancelled");
  // No terminal and no --yes: known before anything is touched.
  const test::CliRun cli = test::runCli(cliArgs(output));
  EXPECT_EQ(cli.status, 3) << cli.err;
  EXPECT_TRUE(contains(cli.err, "--yes")) << cli.err;
  expectPreviousOutput("no terminal");
  // The marker goes with a private/ that was moved away (to the card, say).
  fs::rename(priv, dir / "card");
  EXPECT_EQ(run().outcome, RunOutcome::NotConfirmed);
  EXPECT_FALSE(fs::exists(output / PathFromUtf8(kMarkerFileName)));
}

TEST_F(StagedOutput, WhatAStoppedRunLeftIsReportedAndTheNewestCompleteOutputKept) {
  test::writePicture(source / "1.bmp", 8, 6);
  convertOnce();
  // Killed while it built: its staging folder and its lock.
  writeText(staging() / "image" / "1.zbmp", "half");
  writeText(lock(), lockOf(MachineName(), endedProcess(), 0));
  RunResult r = run();
  ASSERT_EQ(r.outcome, RunOutcome::Completed);
  ASSERT_EQ(r.report.notes.size(), 2u) << ::testing::PrintToString(r.report.notes);
  EXPECT_TRUE(contains(r.report.notes[0], ".tessel.lock")) << r.report.notes[0];
  EXPECT_TRUE(contains(r.report.notes[1], ".tessel-staging")) << r.report.notes[1];
  EXPECT_FALSE(fs::exists(staging()));
  EXPECT_FALSE(fs::exists(lock()));
  // Killed between its two renames: the previous private/ aside, the new
  // one complete in staging. The new one is kept, whatever this run does.
  fs::rename(priv, output / ".tessel-previous");
  writeText(staging() / "config.txt", "the new one");
  host.confirmAnswer = false;
  r = run();
  EXPECT_EQ(r.outcome, RunOutcome::NotConfirmed);
  EXPECT_EQ(readText(priv / "config.txt"), "the new one");
  EXPECT_EQ(r.report.notes.size(), 2u) << ::testing::PrintToString(r.report.notes);
  EXPECT_FALSE(fs::exists(output / ".tessel-previous"));
  EXPECT_FALSE(fs::exists(staging()));
}

TEST_F(StagedOutput, ASignalStopsTheRunAndAKilledRunIsCleanedUpByTheNext) {
  for (int i = 0; i < 120; ++i) {
    writeBytes(source / (std::to_string(i) + ".bmp"),
               ByteView(build::encode(test::noise(160, 120, unsigned(i)), "BMP")));
  }
  convertOnce();
  QProcess interrupted;
  ::kill(static_cast<pid_t>(startAndWaitForWork(interrupted)), SIGINT);
  ASSERT_TRUE(interrupted.waitForFinished(60000));
  EXPECT_EQ(interrupted.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(interrupted.exitCode(), 130) << interrupted.readAllStandardError().toStdString();
  expectPreviousOutput("SIGINT");

  QProcess killed;
  ::kill(static_cast<pid_t>(startAndWaitForWork(killed)), SIGKILL);
  ASSERT_TRUE(killed.waitForFinished(60000));
  EXPECT_TRUE(fs::exists(staging()));
  EXPECT_TRUE(fs::exists(lock()));
  const RunResult r = run();
  ASSERT_EQ(r.outcome, RunOutcome::Completed);
  EXPECT_EQ(r.report.notes.size(), 2u) << ::testing::PrintToString(r.report.notes);
  EXPECT_FALSE(fs::exists(staging()));
  EXPECT_FALSE(fs::exists(lock()));
}

// A real full disk: a small tmpfs as the output root. Needs root and a
// kernel that lets the test mount; skipped otherwise.
TEST_F(StagedOutput, AFullDiskEndsTheRunAndOneThatPlainlyCannotHoldItRefusesIt) {
  const fs::path disk = dir / "disk";
  fs::create_directories(disk);
  if (::mount("tmpfs", PathToUtf8(disk).c_str(), "tmpfs", 0, "size=256k") != 0) {
    GTEST_SKIP() << "cannot mount a small tmpfs here (needs root)";
  }
  struct Unmount {
    std::string at;
    ~Unmount() { ::umount(at.c_str()); }
  } unmount{PathToUtf8(disk)};
  options.outputRoot = disk;
  test::writePicture(source / "1.bmp", 8, 6);
  ASSERT_EQ(run().outcome, RunOutcome::Completed);
  previous = test::treeSnapshot(disk);

  // Pictures that hardly compress: more than the disk holds, though their
  // sources do not say so plainly.
  for (int i = 2; i < 6; ++i) {
    writeBytes(source / (std::to_string(i) + ".bmp"),
               ByteView(build::encode(test::noise(200, 150, unsigned(i)), "BMP")));
  }
  test::CliRun r = test::runCliProcess({"convert", PathToUtf8(source), "-o", PathToUtf8(disk),
                                        "--resources", PathToUtf8(resources), "-y", "-q"});
  EXPECT_EQ(r.status, 4) << r.err;
  EXPECT_TRUE(contains(r.err, "No space left on device")) << r.err;
  EXPECT_EQ(test::treeSnapshot(disk), previous);

  // A table larger than the free space: refused before anything is written.
  writeBytes(source / "13.bin", ByteView(build::table(1, 300 * 1024)));
  r = test::runCliProcess({"convert", PathToUtf8(source), "-o", PathToUtf8(disk), "--resources",
                           PathToUtf8(resources), "-y", "-q"});
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_TRUE(contains(r.err, "free space")) << r.err;
  EXPECT_EQ(test::treeSnapshot(disk), previous);
}

using ClaimedRoot = RunFixture;

TEST_F(ClaimedRoot, APrivateFolderThatCannotBeEmptiedEndsTheRunBeforeAnyWrite) {
  writeBranchA();
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
  EXPECT_TRUE(fs::exists(output / PathFromUtf8(kMarkerFileName)));
}

TEST_F(ClaimedRoot, APrivateFolderWithForeignFilesIsRemovedOnlyWhenTheUserSaysSo) {
  writeBranchA();
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
  const test::CliRun refused = test::runCli({"convert", PathToUtf8(source), "-o",
                                             PathToUtf8(output), "--resources",
                                             PathToUtf8(resources)});
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("notes.txt"), std::string::npos) << refused.err;
  const test::CliRun forced = test::runCli({"convert", PathToUtf8(source), "-o",
                                            PathToUtf8(output), "--resources",
                                            PathToUtf8(resources), "--force"});
  EXPECT_EQ(forced.status, 0) << forced.err;
  EXPECT_FALSE(has("icon/notes.txt"));
}

TEST_F(ClaimedRoot, ANameARunNeverSpellsIsTheUsersFile) {
  writeBranchA();
  writeText(priv / "image" / "007.zbmp", "the user's");
  EXPECT_EQ(run().outcome, RunOutcome::OutputRefused);
  ASSERT_EQ(host.foreignSeen.size(), 1u);
  EXPECT_EQ(host.foreignSeen[0], priv / "image" / "007.zbmp");
  EXPECT_EQ(readText(priv / "image" / "007.zbmp"), "the user's");
  options.force = true;
  ASSERT_EQ(run().outcome, RunOutcome::Completed);
  EXPECT_FALSE(has("image/007.zbmp"));
}

TEST_F(ClaimedRoot, ASecondRunIntoTheSameOutputIsRefusedNamingTheFirst) {
  writeBranchA();
  fs::create_directories(output);
  OutputLock lock;
  ASSERT_TRUE(lock.acquire(output / ".tessel.lock", false).taken);
  const test::CliRun r = test::runShell(cliCommand() + " -o " + test::shellQuoted(output));
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("process " + std::to_string(::getpid())), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(priv));
}

}  // namespace
}  // namespace tessel
