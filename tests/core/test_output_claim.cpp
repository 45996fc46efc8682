// The output's life: a run builds its private/ in a staging folder and puts
// it in place only once it is complete. A failed write, a cancel, a signal or
// a kill before that leaves the previous output as it was, byte for byte;
// the next run removes what a killed one left and says so. One run at a time,
// through a lock that never traps.
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
using test::writeText;

std::string lockOf(const std::string& host, std::int64_t pid, std::int64_t secondsAgo) {
  const auto now = std::chrono::duration_cast<std::chrono::seconds>(
                       std::chrono::system_clock::now().time_since_epoch())
                       .count();
  return "tessel-lock 1\npid=" + std::to_string(pid) + "\nhost=" + host +
         "\nprogram=tessel-cli\nstarted=" + std::to_string(now - secondsAgo) + "\n";
}

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
    return {"convert", pathToUtf8(source), "-o", pathToUtf8(root), "--resources",
            pathToUtf8(resources), "-j", "1"};
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
  EXPECT_FALSE(fs::exists(output / pathFromUtf8(kMarkerFileName)));
}

TEST_F(StagedOutput, WhatAStoppedRunLeftIsReportedAndTheNewestCompleteOutputKept) {
  test::writePicture(source / "1.bmp", 8, 6);
  convertOnce();
  // Killed while it built: its staging folder and its lock.
  writeText(staging() / "image" / "1.zbmp", "half");
  writeText(lock(), lockOf(machineName(), endedProcess(), 0));
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
  if (::mount("tmpfs", pathToUtf8(disk).c_str(), "tmpfs", 0, "size=256k") != 0) {
    GTEST_SKIP() << "cannot mount a small tmpfs here (needs root)";
  }
  struct Unmount {
    std::string at;
    ~Unmount() { ::umount(at.c_str()); }
  } unmount{pathToUtf8(disk)};
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
  test::CliRun r = test::runCliProcess({"convert", pathToUtf8(source), "-o", pathToUtf8(disk),
                                        "--resources", pathToUtf8(resources), "-y", "-q"});
  EXPECT_EQ(r.status, 4) << r.err;
  EXPECT_TRUE(contains(r.err, "No space left on device")) << r.err;
  EXPECT_EQ(test::treeSnapshot(disk), previous);

  // A table larger than the free space: refused before anything is written.
  writeBytes(source / "13.bin", ByteView(build::table(1, 300 * 1024)));
  r = test::runCliProcess({"convert", pathToUtf8(source), "-o", pathToUtf8(disk), "--resources",
                           pathToUtf8(resources), "-y", "-q"});
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_TRUE(contains(r.err, "free space")) << r.err;
  EXPECT_EQ(test::treeSnapshot(disk), previous);
}

TEST(OutputLockTest, ALockNeverTrapsAndEveryRefusalSaysWhatIsThere) {
  test::TempDir dir;
  const fs::path path = dir / ".tessel.lock";
  const std::string name = pathToUtf8(path);
  OutputLock lock;

  // Empty (a power cut right after it was made): stale.
  writeText(path, "");
  OutputLock::Attempt a = lock.acquire(path, false);
  EXPECT_TRUE(a.taken);
  EXPECT_TRUE(contains(a.note, "empty") && contains(a.note, name)) << a.note;
  // Held by a live run: refused, naming the process, the host and the file.
  OutputLock other;
  a = other.acquire(path, true);
  EXPECT_FALSE(a.taken);
  EXPECT_TRUE(contains(a.refusal, "process " + std::to_string(::getpid())) &&
              contains(a.refusal, machineName()) && contains(a.refusal, name))
      << a.refusal;
  lock.release();
  EXPECT_FALSE(fs::exists(path));

  // Another machine's, five minutes old: it cannot be checked, so it holds
  // until taken over or an hour old.
  writeText(path, lockOf("far-away", 42, 5 * 60));
  a = lock.acquire(path, false);
  EXPECT_FALSE(a.taken);
  EXPECT_TRUE(a.mayTakeOver);
  EXPECT_TRUE(contains(a.refusal, "far-away") && contains(a.refusal, "5 min")) << a.refusal;
  EXPECT_TRUE(lock.acquire(path, true).taken);
  lock.release();
  writeText(path, lockOf("far-away", 42, 2 * 60 * 60));
  a = lock.acquire(path, false);
  EXPECT_TRUE(a.taken);
  EXPECT_TRUE(contains(a.note, "far-away") && contains(a.note, "120 min")) << a.note;
  lock.release();

  // A folder, a link or a FIFO at its path: refused at once, their kind named.
  const std::vector<std::pair<std::function<void()>, std::string>> obstacles = {
      {[&] { fs::create_directory(path); }, "a folder"},
      {[&] { fs::create_symlink(dir / "elsewhere", path); }, "a link"},
      {[&] { ::mkfifo(path.c_str(), 0600); }, "not a regular file"},
  };
  for (const auto& [make, kind] : obstacles) {
    make();
    a = lock.acquire(path, true);
    EXPECT_FALSE(a.taken) << kind;
    EXPECT_TRUE(contains(a.refusal, kind) && contains(a.refusal, name)) << a.refusal;
    fs::remove(path);
  }
}

}  // namespace
}  // namespace tessel
