// tessel-cli inspect: the check names every fault and writes nothing, and
// the page folder may not lie inside what is copied to the card.
#include <gtest/gtest.h>

#include <algorithm>

#include "cli/Cli.h"
#include "picture/PicturePack.h"
#include "support/RunFixture.h"
#include "util/Paths.h"
#include "util/Zlib.h"

namespace tessel {
namespace {

using test::readBytes;
using test::runCli;
using test::writeBytes;
using test::writePicture;

struct InspectCli : test::RunFixture {};

TEST_F(InspectCli, CheckNamesEveryFaultAndWritesNothing) {
  settings.singlePictureFiles = true;
  options.resourceFolder = PathFromUtf8(TESSEL_BIN_DIR);
  writePicture(source / "1.bmp", 64, 48);
  writePicture(source / "2.bmp", 8, 8);
  std::vector<build::Bytes> jpegs;
  for (int i = 0; i < 3; ++i) jpegs.push_back(build::encode(build::icon(16, i), "JPG", 90));
  writeBytes(source / "20.icl", build::iclLibrary(jpegs));
  ASSERT_EQ(run().outcome, RunOutcome::Completed);

  const test::CliRun soundRun = runCli({"inspect", "--check", PathToUtf8(output)});
  EXPECT_EQ(soundRun.status, cli::kDone) << soundRun.out << soundRun.err;
  EXPECT_EQ(soundRun.out, "");
  EXPECT_EQ(runCli({"inspect", "--check", PathToUtf8(priv)}).status, cli::kDone);

  // A cut .zbmp, an index entry past the end of its .zico, a pack entry
  // past image.bin.
  Bytes zbmp = readBytes(priv / "image" / "1.zbmp");
  zbmp.resize(zbmp.size() / 2);
  writeBytes(priv / "image" / "1.zbmp", zbmp);
  Bytes zico = readBytes(priv / "icon" / "20.zico");
  zico.at(8 + 16 * 2 + 8) = 0xFF;  // entry 2's offset
  zico.at(8 + 16 * 2 + 9) = 0xFF;
  writeBytes(priv / "icon" / "20.zico", zico);
  const Bytes block = *ZlibCompress(Bytes(8, 1));  // 2 x 2 rows
  Bytes index = PackIndexEntry(0, kPackZlibRgb565, packBaseAddress, 2, 2, std::uint32_t(block.size()));
  const Bytes past = PackIndexEntry(1, kPackJpeg, packBaseAddress + std::uint32_t(block.size()), 2, 2, 40);
  index.insert(index.end(), past.begin(), past.end());
  writeBytes(priv / "bin" / "image.idx", index);
  writeBytes(priv / "bin" / "image.bin", block);

  const auto before = test::listTree(dir.path());
  const test::CliRun damaged = test::runCliProcess({"--lang", "en", "inspect", "--check", PathToUtf8(output)}, {});
  EXPECT_EQ(damaged.status, cli::kUnsound);
  EXPECT_EQ(test::listTree(dir.path()), before);
  // One line per fault, each naming its file.
  const std::string lines = "\n" + damaged.out;
  EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 4) << damaged.out;
  for (const std::string file : {"image/1.zbmp: ", "icon/20.zico: ", "bin/image.idx: "}) {
    EXPECT_NE(lines.find("\n" + file), std::string::npos) << file << "\n" << damaged.out;
  }
}

TEST_F(InspectCli, UsageAndRefusals) {
  const std::string out = PathToUtf8(output);
  EXPECT_EQ(runCli({"inspect", out}).status, cli::kUsage);
  EXPECT_EQ(runCli({"inspect", "--check", "-o", out + "/page", out}).status, cli::kUsage);
  EXPECT_EQ(runCli({"inspect"}).status, cli::kUsage);
  const test::CliRun nothing = runCli({"inspect", "--check", PathToUtf8(source)});
  EXPECT_EQ(nothing.status, cli::kUnsound);
  EXPECT_NE(nothing.out, "");

  writePicture(source / "1.bmp", 8, 8);
  ASSERT_EQ(run().outcome, RunOutcome::Completed);
  const test::CliRun inside = runCli({"inspect", out, "-o", PathToUtf8(priv / "page")});
  EXPECT_EQ(inside.status, cli::kRefused);
  EXPECT_FALSE(fs::exists(priv / "page"));
  EXPECT_NE(inside.err.find(PathToUtf8(priv / "page")), std::string::npos) << inside.err;
}

}  // namespace
}  // namespace tessel
