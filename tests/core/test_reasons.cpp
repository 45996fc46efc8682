// Every refusal says why in the system's own words, for the path it
// concerns; output that cannot reach standard output is not lost silently.
#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <sys/mount.h>
#include <system_error>
#include <unistd.h>

#include "cli/Cli.h"
#include "support/RunFixture.h"
#include "util/Paths.h"

namespace tessel {
namespace {

using test::RunFixture;

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
  expectRefused(RunOutcome::SourceInvalid, "is a file; give the folder that holds it");
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
    EXPECT_NE(r.report.warnings[0].find("cannot read it (" + reason(EACCES) + ")"),
              std::string::npos)
        << r.report.warnings[0];
  }
}

TEST_F(Reasons, AReportOrHelpThatCannotReachStandardOutputFailsWithAMessage) {
  test::writePicture(source / "1.bmp", 4, 4);
  test::writeText(source / "13.bin", "t");
  test::writeText(source / "14.bin", "t");
  const auto runInto = [&](const QStringList& arguments) {
    std::ofstream full("/dev/full");
    std::ostringstream err;
    std::istringstream in;
    cli::CliIo io{full, err, in, false, false, std::nullopt};
    const int status = cli::RunCli(QStringList{"tessel-cli"} + arguments, io);
    EXPECT_NE(err.str().find("cannot write to standard output: " + reason(ENOSPC)),
              std::string::npos)
        << err.str();
    return status;
  };
  EXPECT_NE(runInto({"--help"}), cli::kDone);
  EXPECT_NE(runInto({"convert", toQString(source), "-o", toQString(output), "--resources",
                     toQString(resources), "--json", "-q"}),
            cli::kDone);
  EXPECT_TRUE(fs::exists(priv / "image" / "1.zbmp"));  // the run itself succeeded
}

// Qt's messages while no run routes them.
std::vector<std::string> unrouted;
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
  const test::CliRun quiet = test::runCli({"convert", pathToUtf8(source), "-o",
                                           pathToUtf8(dir / "cli"), "--resources",
                                           pathToUtf8(resources), "-q"});
  qInstallMessageHandler(before);
  EXPECT_TRUE(unrouted.empty()) << unrouted.front();
  ASSERT_EQ(r.outcome, RunOutcome::Completed);
  EXPECT_TRUE(has("image/1.zbmp"));
  ASSERT_EQ(r.report.warnings.size(), 1u);
  EXPECT_EQ(r.report.warningInputs[0], source / "1.jpg");
  EXPECT_NE(r.report.warnings[0].find("picture " + pathToUtf8(source / "1.jpg") + ": "),
            std::string::npos)
      << r.report.warnings[0];
  EXPECT_EQ(host.warnings, r.report.warnings);
  EXPECT_EQ(quiet.status, 0);
  EXPECT_EQ(quiet.err, "");
}

}  // namespace
}  // namespace tessel
