// The copy of an output to an SD card: verified when it ends well; refused
// before anything is written when the card has no room or holds files no run
// writes; the card's previous private/ as it was after a failed write or a
// stop. The same checks run on a plain folder, on a small tmpfs and on a FAT
// image (these two need root and skip without it).
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <QProcess>

#include "card/CardCopy.h"
#include "model/OutputLayout.h"
#include "support/RunFixture.h"
#include "util/Paths.h"

namespace tessel {
namespace {

using card::CardOutcome;
using card::CopyToCard;
using test::listTree;
using test::readBytes;
using test::writeText;

struct Card : test::RunFixture {
  fs::path cardRoot = dir / "card";
  bool mounted = false;

  void SetUp() override {
    RunFixture::SetUp();
    // Branch A: the two tables and pictures of a few kilobytes each.
    writeText(source / "13.bin", "thirteen");
    writeText(source / "14.bin", "fourteen");
    for (int i = 0; i < 6; ++i) test::writePicture(source / (std::to_string(i) + ".bmp"), 96, 64);
    ASSERT_EQ(run().outcome, RunOutcome::Completed);
    fs::create_directories(cardRoot);
  }
  void TearDown() override {
    if (mounted) ::umount(cardRoot.c_str());
  }

  // Every file of the output is on the card with the same bytes.
  void expectSameAsOutput() {
    ASSERT_EQ(listTree(cardRoot / "private"), tree());
    for (const std::string& file : tree()) {
      if (file.back() == '/') continue;
      EXPECT_EQ(readBytes(cardRoot / "private" / file), readBytes(priv / file)) << file;
    }
    EXPECT_TRUE(fs::exists(cardRoot / PathFromUtf8(kMarkerFileName)));
    EXPECT_FALSE(fs::exists(OutputLayout(cardRoot).cardStagingFolder()));
    EXPECT_FALSE(fs::exists(OutputLayout(cardRoot).cardPreviousFolder()));
  }

  // The whole road on whatever the card folder is; `small` when it is a file
  // system of its own that can be filled.
  void checkCard(bool small) {
    // A first copy, read back; the progress ends at every file and byte.
    card::CardProgress last;
    card::CardOptions options;
    options.progress = [&](const card::CardProgress& p) { last = p; };
    card::CardResult r = CopyToCard(output, cardRoot, options);
    ASSERT_EQ(r.outcome, CardOutcome::Verified) << r.message;
    expectSameAsOutput();
    EXPECT_TRUE(last.verifying);
    EXPECT_EQ(last.filesDone, r.files);
    EXPECT_EQ(last.bytesDone, r.bytes);

    // A failed write in the middle: the card keeps the first copy.
    const std::vector<std::string> before = listTree(cardRoot);
    writeText(priv / "config.txt", "a newer configuration");
    test::FailingWrites faults({}, 3);
    card::CardOptions failing;
    failing.faults = &faults;
    r = CopyToCard(output, cardRoot, failing);
    EXPECT_EQ(r.outcome, CardOutcome::Failed);
    EXPECT_NE(r.message.find(PathToUtf8(r.file)), std::string::npos) << r.message;
    EXPECT_EQ(listTree(cardRoot), before);
    EXPECT_NE(test::readText(cardRoot / "private" / "config.txt"), "a newer configuration");

    // A file no run writes: refused until the user agrees, from the command line too.
    writeText(cardRoot / "private" / "notes.txt", "the user's");
    r = CopyToCard(output, cardRoot);
    EXPECT_EQ(r.outcome, CardOutcome::Refused);
    EXPECT_NE(r.message.find("notes.txt"), std::string::npos);
    test::CliRun cli = test::runCli({"card", PathToUtf8(output), PathToUtf8(cardRoot)});
    EXPECT_EQ(cli.status, 1) << cli.err;
    EXPECT_TRUE(fs::exists(cardRoot / "private" / "notes.txt"));
    cli = test::runCli({"card", PathToUtf8(output), PathToUtf8(cardRoot), "--force", "--json"});
    EXPECT_EQ(cli.status, 0) << cli.err;
    EXPECT_NE(cli.out.find("\"verified\""), std::string::npos);
    expectSameAsOutput();
    EXPECT_EQ(test::readText(cardRoot / "private" / "config.txt"), "a newer configuration");

    if (!small) return;
    // A card without room: refused before anything on it changes.
    const std::uint64_t room = fs::space(cardRoot).available;
    const std::uint64_t filler = room - std::min<std::uint64_t>(room, r.bytes / 2);
    writeText(cardRoot / "filler", std::string(filler, 'x'));
    const std::vector<std::string> full = listTree(cardRoot);
    r = CopyToCard(output, cardRoot);
    EXPECT_EQ(r.outcome, CardOutcome::Refused);
    EXPECT_GT(r.needed, r.available);
    EXPECT_EQ(listTree(cardRoot), full);
    cli = test::runCli({"card", PathToUtf8(output), PathToUtf8(cardRoot)});
    EXPECT_EQ(cli.status, 1) << cli.err;
  }
};

TEST_F(Card, OnAFolder) { checkCard(false); }

TEST_F(Card, OnASmallTmpfs) {
  if (::geteuid() != 0) GTEST_SKIP() << "mounting a tmpfs needs root";
  if (::mount("tmpfs", cardRoot.c_str(), "tmpfs", 0, "size=2m") != 0) {
    GTEST_SKIP() << "cannot mount a tmpfs here";
  }
  mounted = true;
  checkCard(true);
}

TEST_F(Card, OnAFatImage) {
  if (::geteuid() != 0) GTEST_SKIP() << "mounting a FAT image needs root";
  const QString image = ToQString(dir / "card.img");
  if (QProcess::execute("mkfs.vfat", {"-C", "-n", "CARD", image, "4096"}) != 0) {
    GTEST_SKIP() << "mkfs.vfat cannot make an image here";
  }
  if (QProcess::execute("mount", {"-o", "loop", image, ToQString(cardRoot)}) != 0) {
    GTEST_SKIP() << "cannot mount a FAT image here (mount -o loop failed)";
  }
  mounted = true;
  checkCard(true);
}

TEST_F(Card, NothingIsWrittenWithoutACompleteOutputOrToAPathThatIsNoFolder) {
  writeText(dir / "plain", "a file");
  EXPECT_EQ(CopyToCard(output, dir / "plain").outcome, CardOutcome::Refused);
  EXPECT_EQ(CopyToCard(output, output).outcome, CardOutcome::Refused);
  fs::remove(output / PathFromUtf8(kMarkerFileName));
  EXPECT_EQ(CopyToCard(output, cardRoot).outcome, CardOutcome::Refused);
  EXPECT_TRUE(listTree(cardRoot).empty());
}

TEST_F(Card, AFileReadBackOtherThanWrittenFailsTheCopyNamingItAndKeepsThePreviousCopy) {
  writeText(cardRoot / "private" / "bin" / "13.bin", "the previous copy");
  const fs::path staged = OutputLayout(cardRoot).cardStagingFolder() / "bin" / "13.bin";
  ASSERT_TRUE(fs::exists(priv / "bin" / "13.bin"));
  card::CardOptions options;
  options.progress = [&](const card::CardProgress& p) {
    if (p.verifying || p.filesDone != p.filesTotal) return;
    // The card gives back one byte other than it was given.
    Bytes bytes = readBytes(staged);
    bytes.back() ^= 0x20;
    test::writeBytes(staged, bytes);
  };
  const card::CardResult r = CopyToCard(output, cardRoot, options);
  EXPECT_EQ(r.outcome, CardOutcome::Failed);
  EXPECT_EQ(r.file, staged);
  EXPECT_NE(r.message.find(PathToUtf8(staged)), std::string::npos) << r.message;
  EXPECT_EQ(test::readText(cardRoot / "private" / "bin" / "13.bin"), "the previous copy");
  EXPECT_FALSE(fs::exists(OutputLayout(cardRoot).cardStagingFolder()));
}

TEST_F(Card, AStopBetweenFilesRemovesTheStaging) {
  std::atomic<bool> stop{false};
  card::CardOptions options;
  options.stop = &stop;
  options.progress = [&](const card::CardProgress& p) { stop = p.filesDone > 0; };
  const card::CardResult r = CopyToCard(output, cardRoot, options);
  EXPECT_EQ(r.outcome, CardOutcome::Stopped);
  EXPECT_TRUE(listTree(cardRoot).empty());
}

}  // namespace
}  // namespace tessel
