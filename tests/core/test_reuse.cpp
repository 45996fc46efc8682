// A re-run into the same output root takes unchanged outputs from the
// previous private/, and its output is byte for byte a cold run's.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>

#include "model/RunRecord.h"
#include "support/Builders.h"
#include "support/RunFixture.h"
#include "util/FileIO.h"
#include "util/Hash.h"
#include "util/Paths.h"

namespace tessel {
namespace {

using test::readText;
using test::treeSnapshot;
using test::writePicture;
using test::writeText;
using test::zbmpSize;

// Whether the run took `file` from the previous output.
bool reused(const RunResult& r, const fs::path& file) {
  const auto it = std::find_if(r.report.outputs.begin(), r.report.outputs.end(),
                               [&](const OutputRecord& o) { return o.path == file; });
  return it != r.report.outputs.end() && it->reused;
}

// SHA-256's published values, whole, piece by piece across the block
// boundaries and from a file.
TEST(ContentHash, IsSha256HoweverTheBytesCome) {
  const auto view = [](const std::string& s) {
    return ByteView(reinterpret_cast<const std::uint8_t*>(s.data()), s.size());
  };
  EXPECT_EQ(ContentHash(ByteView()),
            "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(ContentHash(view("abc")),
            "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  const std::string two = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
  EXPECT_EQ(ContentHash(view(two)),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
  const std::string million(1000000, 'a');
  const std::string millionHash = "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0";
  ContentHasher pieces;
  for (std::size_t at = 0, step = 1; at < million.size(); at += step, step = step % 131 + 7) {
    pieces.add(view(million.substr(at, std::min(step, million.size() - at))));
  }
  EXPECT_EQ(pieces.finish(), millionHash);
  ContentHasher plain(true);  // where the processor's SHA instructions are used, without them
  plain.add(view(million));
  EXPECT_EQ(plain.finish(), millionHash);
  test::TempDir dir;
  writeText(dir / "a", million + "tail");
  const std::optional<FileHash> file = ContentHashOfFile(dir / "a", million.size());
  ASSERT_TRUE(file);
  EXPECT_EQ(file->size, million.size());
  EXPECT_EQ(file->hash, millionHash);
}

struct ReuseTest : test::RunFixture {
  // Branch B with automatic rotation at screen rotation 90: the first
  // picture's shape decides how every picture is turned.
  void project(int pictures) {
    writeText(source / "config.txt", "R1=03;\r\nR2=04;\r\nR3=FF;\r\n");
    for (int i = 1; i <= pictures; ++i) {
      writePicture(source / (std::to_string(i) + ".bmp"), 30 + i, 20);
    }
  }

  // Runs again into the output root, then cold into a fresh one from the
  // same source, settings and session; the two private/ must not differ by
  // a byte. Gives the re-run's result.
  RunResult rerunMatchesCold() {
    Session before = session;
    RunResult warm = run();
    EXPECT_EQ(warm.outcome, RunOutcome::Completed);
    RunOptions coldOptions = options;
    coldOptions.outputRoot = dir / "cold";
    Session coldSession = before;
    test::RecordingHost coldHost;
    coldHost.changeTo = host.changeTo;
    const RunResult cold = ConversionRun(settings, coldOptions, coldSession, coldHost);
    EXPECT_EQ(cold.outcome, RunOutcome::Completed);
    EXPECT_EQ(cold.totals.outputsReused, 0);
    EXPECT_EQ(treeSnapshot(priv), treeSnapshot(coldOptions.outputRoot / "private"));
    EXPECT_EQ(warm.totals.picturesConverted, cold.totals.picturesConverted);
    fs::remove_all(coldOptions.outputRoot);
    return warm;
  }
};

TEST_F(ReuseTest, NothingChangedReusesEveryPicture) {
  project(4);
  ASSERT_EQ(run().totals.outputsReused, 0);
  const RunResult r = rerunMatchesCold();
  EXPECT_EQ(r.totals.outputsReused, 4);
  // The record of a re-run serves the next one as well.
  EXPECT_EQ(rerunMatchesCold().totals.outputsReused, 4);
}

TEST_F(ReuseTest, OnePictureChangedIsConvertedAgain) {
  project(4);
  run();
  writePicture(source / "3.bmp", 35, 20);  // same shape, other bytes
  EXPECT_EQ(rerunMatchesCold().totals.outputsReused, 3);
}

TEST_F(ReuseTest, PictureAddedOrRemoved) {
  project(3);
  run();
  writePicture(source / "7.bmp", 40, 20);
  EXPECT_EQ(rerunMatchesCold().totals.outputsReused, 3);
  fs::remove(source / "2.bmp");
  EXPECT_EQ(rerunMatchesCold().totals.outputsReused, 3);
  EXPECT_FALSE(fs::exists(priv / "image" / "2.zbmp"));
}

TEST_F(ReuseTest, ChangedOptionConvertsEverything) {
  project(3);
  run();
  settings.deRipple = true;
  EXPECT_EQ(rerunMatchesCold().totals.outputsReused, 0);
  settings.pictureFormat = PictureFormat::Jpeg;
  EXPECT_EQ(rerunMatchesCold().totals.outputsReused, 0);
}

TEST_F(ReuseTest, ChangedScreenRotationTurnsEveryPictureAgain) {
  project(3);
  run();
  SetupValues corrected = session.setup;
  corrected.screenRotation = 2;  // landscape pictures are turned 180 degrees now
  host.changeTo = &corrected;
  EXPECT_EQ(rerunMatchesCold().totals.outputsReused, 0);
}

TEST_F(ReuseTest, NewFirstPictureDecidesTheRotationOfAll) {
  project(3);
  run();
  EXPECT_EQ(zbmpSize(priv / "image" / "2.zbmp"), std::make_pair(32, 20));
  writePicture(source / "0.bmp", 20, 40);  // portrait first: every picture turns 270
  EXPECT_EQ(rerunMatchesCold().totals.outputsReused, 0);
  EXPECT_EQ(zbmpSize(priv / "image" / "2.zbmp"), std::make_pair(20, 32));
}

TEST_F(ReuseTest, RecordOfAnotherProgramVersionReusesNothing) {
  project(2);
  run();
  const fs::path record = output / kRunRecordFileName;
  std::string text = readText(record);
  const std::string version = std::string("\"program\": \"") + TESSEL_VERSION + "\"";
  ASSERT_NE(text.find(version), std::string::npos);
  text.replace(text.find(version), version.size(), "\"program\": \"0.0.1\"");
  writeText(record, text);
  EXPECT_EQ(rerunMatchesCold().totals.outputsReused, 0);
}

TEST_F(ReuseTest, DamagedOrMissingRecordOrOutputIsConvertedAgain) {
  project(3);
  run();
  // A byte changed by hand, size kept: the hash tells.
  Bytes damaged = test::readBytes(priv / "image" / "1.zbmp");
  damaged.back() ^= 0x55;
  test::writeBytes(priv / "image" / "1.zbmp", ByteView(damaged));
  EXPECT_EQ(rerunMatchesCold().totals.outputsReused, 2);
  writeText(output / kRunRecordFileName, "{not json");
  EXPECT_EQ(rerunMatchesCold().totals.outputsReused, 0);
}

TEST_F(ReuseTest, IconLibraryIsReusedUnlessItOrItsZicoChanged) {
  project(2);
  build::save(source / "40.icl", build::iclLibrary({test::patternJpeg(6, 6), test::patternJpeg(4, 9)}));
  QImage square(5, 5, QImage::Format_RGB32);
  square.fill(Qt::darkCyan);
  build::save(source / "41.ico", build::rawLibrary({square, square}));
  run();
  const fs::path icl = priv / "icon" / "40.zico", raw = priv / "icon" / "41.zico";
  RunResult r = rerunMatchesCold();
  EXPECT_EQ(r.totals.outputsReused, 4);
  EXPECT_TRUE(reused(r, icl) && reused(r, raw));
  EXPECT_EQ(r.totals.iconsConverted, 4);
  // Another icon in the raw library: only its .zico is made again.
  build::save(source / "41.ico", build::rawLibrary({square, square, square}));
  r = rerunMatchesCold();
  EXPECT_TRUE(reused(r, icl));
  EXPECT_FALSE(reused(r, raw));
  EXPECT_EQ(r.totals.outputsReused, 3);
  // A .zico damaged by hand, its size kept, and another compression.
  Bytes damaged = test::readBytes(icl);
  damaged.back() ^= 0x55;
  test::writeBytes(icl, ByteView(damaged));
  r = rerunMatchesCold();
  EXPECT_FALSE(reused(r, icl));
  EXPECT_TRUE(reused(r, raw));
  settings.compression = Compression::Smallest;
  EXPECT_EQ(rerunMatchesCold().totals.outputsReused, 0);
}

TEST_F(ReuseTest, PicturePackIsReusedWholeOrMadeAgain) {
  project(3);
  settings.singlePictureFiles = false;
  run();
  const fs::path index = priv / "bin" / "image.idx", data = priv / "bin" / "image.bin";
  RunResult r = rerunMatchesCold();
  EXPECT_TRUE(reused(r, index) && reused(r, data));
  EXPECT_EQ(r.totals.outputsReused, 2);
  EXPECT_EQ(r.totals.picturesConverted, 3);
  // One picture changed, one added, one removed: the pack is made again.
  writePicture(source / "2.bmp", 35, 20);
  EXPECT_EQ(rerunMatchesCold().totals.outputsReused, 0);
  writePicture(source / "9.bmp", 35, 20);
  EXPECT_EQ(rerunMatchesCold().totals.outputsReused, 0);
  fs::remove(source / "9.bmp");
  EXPECT_EQ(rerunMatchesCold().totals.outputsReused, 0);
  EXPECT_EQ(rerunMatchesCold().totals.outputsReused, 2);
  // Its data damaged by hand, its size kept.
  Bytes damaged = test::readBytes(data);
  damaged[damaged.size() / 2] ^= 0x55;
  test::writeBytes(data, ByteView(damaged));
  EXPECT_EQ(rerunMatchesCold().totals.outputsReused, 0);
}

TEST_F(ReuseTest, NoReuseConvertsEverything) {
  project(2);
  run();
  options.reuse = false;
  EXPECT_EQ(rerunMatchesCold().totals.outputsReused, 0);
}

}  // namespace
}  // namespace tessel
