// The user's files: a source that is only read, a link left inside an old
// private/ folder, and a disk that fills up during a run. Whatever happens,
// the source keeps every byte, nothing outside private/ is touched, and no
// output is left that looks complete but is cut.
#include <gtest/gtest.h>

#include <QProcess>
#include <map>
#include <random>
#include <sys/mount.h>

#include "config/ConfigHeader.h"
#include "icon/Zico.h"
#include "picture/PictureLoad.h"
#include "picture/Zbmp.h"
#include "picture/Rgb565.h"
#include "model/RunRecord.h"
#include "support/RunFixture.h"
#include "util/FileIO.h"
#include "util/Paths.h"

namespace tessel {
namespace {

using namespace build;
using test::readBytes;
using test::readText;
using test::RunFixture;
using test::writeBytes;
using test::writeText;

QImage noise(int width, int height, unsigned seed) {
  std::mt19937 random(seed);
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) image.setPixel(x, y, random() | 0xFF000000u);
  }
  return image;
}

// A Branch A source with everything a project holds, icon libraries and a
// block file included. With a T5LC1 block file, library 40 is the picture
// library: its icons become the screen pictures and the picture files are
// left alone; without the marker the picture files are converted.
void fillSource(const fs::path& source, int noisePictures, bool t5lc1) {
  writeText(source / "13.bin", "thirteen");
  writeText(source / "14.bin", "fourteen");
  writeText(source / "22.bin", "twenty-two");
  writeText(source / "3.wav", "RIFF....WAVE");
  Bytes header(64, 0);
  if (t5lc1) {
    const std::string marker = "T5LC1";
    std::copy(marker.begin(), marker.end(), header.begin());
    header[8] = 40;  // the picture library
    header[11] = 28;  // divisor: 115200
  } else {
    header[8] = 0x1C;
    header[11] = 0x5A;
    header[12] = 50;
  }
  writeBytes(source / "T5LCFG_1.CFG", ByteView(header));
  QImage red(9, 7, QImage::Format_RGB32);
  red.fill(Qt::red);
  writeBytes(source / "40.icl",
             ByteView(buildIcl(1, {iclSlot(splitAtScan(encode(test::patternImage(24, 16), "JPG", 90))),
                                   iclSlot(splitAtScan(encode(red, "JPG", 95)))})));
  Bytes raw = emptyRaw();
  addRawIcon(raw, 0, 2, 2, {0x0001, 0x0203, 0x0405, 0x0607});
  writeBytes(source / "41.ico", ByteView(raw));
  for (int i = 0; i < noisePictures; ++i) {
    const Bytes bmp = encode(noise(64, 48, unsigned(i)), "BMP");
    writeBytes(source / (std::to_string(i) + ".bmp"), ByteView(bmp));
  }
  test::writePicture(source / "20.jpg", 40, 30);
}

// True when `file` reads back completely in the format its extension names.
// Other files are checked by the caller.
::testing::AssertionResult readsCompletely(const fs::path& file) {
  const Bytes b = readBytes(file);
  const std::string ext = pathToUtf8(file.extension());
  if (ext == ".zbmp") {
    if (b.size() < kZbmpHeaderSize) return ::testing::AssertionFailure() << "short " << file;
    const std::uint64_t rows = Rgb565Stride(getLe16(b.data())) * getLe16(b.data() + 2);
    const ByteView stored = ByteView(b).subspan(kZbmpHeaderSize);
    const bool ok = getLe16(b.data() + 4) == kZbmpRaw
                        ? stored.size() == rows
                        : test::inflate(stored, rows).size() == rows;
    return ok ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << "cut " << file;
  }
  if (ext == ".zico") {
    if (b.empty()) return ::testing::AssertionSuccess();  // a library without icons
    if (b.size() < 8 || b[0] != 'Z' || b[3] != 'O') return ::testing::AssertionFailure() << file;
    const std::uint64_t index = getLe32(b.data() + 4);
    if (index % kZicoRecordSize || 8 + index > b.size()) return ::testing::AssertionFailure() << file;
    const ByteView data = ByteView(b).subspan(8 + index);
    std::uint64_t end = 0;
    for (std::uint64_t at = 8; at < 8 + index; at += kZicoRecordSize) {
      const std::uint64_t pixels = std::uint64_t(getLe16(b.data() + at + 4)) * getLe16(b.data() + at + 6) * 2;
      const std::uint32_t offset = getLe32(b.data() + at + 8), size = getLe32(b.data() + at + 12);
      if (!fitsIn(offset, size, data.size()) ||
          test::inflate(data.subspan(offset, size), pixels).size() != pixels) {
        return ::testing::AssertionFailure() << "cut block in " << file;
      }
      end = std::max<std::uint64_t>(end, std::uint64_t(offset) + size);
    }
    return end == data.size() ? ::testing::AssertionSuccess()
                              : ::testing::AssertionFailure() << "data area " << file;
  }
  if (ext == ".jpg") {
    // libjpeg decodes a cut file too (grey rows): require the end marker.
    const bool ok = b.size() > 4 && b[b.size() - 2] == 0xFF && b.back() == 0xD9 &&
                    LoadPicture(file).ok();
    return ok ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << "cut " << file;
  }
  return ::testing::AssertionSuccess();
}

// Every file below the output root is either whole in its format or, for
// copies, byte for byte its source.
void expectNothingCut(const fs::path& outputRoot, const fs::path& source,
                      const fs::path& resources) {
  const std::map<std::string, fs::path> copies = {
      {"bin/13.bin", source / "13.bin"},           {"bin/14.bin", source / "14.bin"},
      {"bin/22.bin", source / "22.bin"},           {"sound/3.wav", source / "3.wav"},
      {"bin/pinyin.bin", resources / "pinyin.bin"}};
  for (const std::string& rel : test::listTree(outputRoot / "private")) {
    if (rel.back() == '/') continue;
    const fs::path file = outputRoot / "private" / pathFromUtf8(rel);
    EXPECT_TRUE(readsCompletely(file));
    if (const auto c = copies.find(rel); c != copies.end()) {
      EXPECT_EQ(readBytes(file), readBytes(c->second)) << rel;
    }
  }
}

using FilesTest = RunFixture;

// Every write the run asks for inside the source fails and is counted, so a
// run that tried to write there is caught also when the tests run as root
// (where read-only permissions would not stop it).
class SourceGuard : public WriteFaults {
 public:
  explicit SourceGuard(fs::path source) : source_(std::move(source)) {}
  bool fails(const fs::path& path) const override {
    if (!pathIsInside(path, source_)) return false;
    ++attempts;
    return true;
  }
  mutable int attempts = 0;

 private:
  fs::path source_;
};

TEST_F(FilesTest, TheSourceWithLibrariesAndABlockFileIsOnlyRead) {
  fillSource(source, 2, true);
  std::map<std::string, std::pair<Bytes, fs::file_time_type>> before;
  for (const auto& e : fs::directory_iterator(source)) {
    before[pathToUtf8(e.path().filename())] = {readBytes(e.path()), fs::last_write_time(e.path())};
  }
  const SourceGuard guard(source);
  options.writeFaults = &guard;
  const RunResult r = run();
  ASSERT_EQ(r.outcome, RunOutcome::Completed);
  EXPECT_EQ(r.branch, Branch::A);
  EXPECT_EQ(guard.attempts, 0);
  // The library's two icons as pictures 0 and 1; the raw library as a .zico.
  for (const char* out : {"icon/41.zico", "image/0.zbmp", "image/1.zbmp", "config.txt",
                          "bin/22.bin", "sound/3.wav"}) {
    EXPECT_TRUE(has(out)) << out;
  }
  EXPECT_TRUE(r.report.writeFailures.empty());
  std::map<std::string, std::pair<Bytes, fs::file_time_type>> after;
  for (const auto& e : fs::directory_iterator(source)) {
    after[pathToUtf8(e.path().filename())] = {readBytes(e.path()), fs::last_write_time(e.path())};
  }
  EXPECT_EQ(before, after);
}

TEST_F(FilesTest, LinksInAnOldPrivateFolderGoWithoutTouchingTheirTargets) {
  fillSource(source, 1, false);
  const fs::path elsewhere = dir / "elsewhere";
  writeText(elsewhere / "keep.txt", "precious");
  writeText(elsewhere / "image" / "5.zbmp", "not ours");
  fs::create_directories(priv / "image");
  fs::create_directory_symlink(elsewhere, priv / "folder-link");
  fs::create_symlink(elsewhere / "keep.txt", priv / "file-link");
  // A link where the run writes its own folder: the run must not write
  // through it into the target.
  fs::create_directory_symlink(elsewhere, priv / "icon");
  host.removalAnswer = true;  // links are no run's: the user lets them go
  const RunResult r = run();
  ASSERT_EQ(r.outcome, RunOutcome::Completed);
  EXPECT_EQ(readText(elsewhere / "keep.txt"), "precious");
  EXPECT_EQ(readText(elsewhere / "image" / "5.zbmp"), "not ours");
  EXPECT_EQ(test::listTree(elsewhere), (std::vector<std::string>{"image/", "image/5.zbmp", "keep.txt"}));
  EXPECT_FALSE(fs::exists(fs::symlink_status(priv / "folder-link")));
  EXPECT_FALSE(fs::exists(fs::symlink_status(priv / "file-link")));
  EXPECT_FALSE(fs::is_symlink(priv / "icon"));
  EXPECT_TRUE(has("icon/40.zico"));
}

TEST_F(FilesTest, FullDiskFromSomeWriteOnIsReportedAndLeavesNothingCut) {
  fillSource(source, 4, false);
  // The disk fills after the first writes: every later write fails.
  for (int allowed : {0, 3, 6, 9}) {
    const test::FailingWrites faults("", allowed);
    options.writeFaults = &faults;
    const RunResult r = run();
    ASSERT_EQ(r.outcome, RunOutcome::Completed) << allowed;
    EXPECT_FALSE(r.report.writeFailures.empty()) << allowed;
    for (const fs::path& failed : r.report.writeFailures) {
      EXPECT_FALSE(fs::exists(failed)) << failed;
    }
    expectNothingCut(output, source, resources);
  }
}

// A real full disk: a 64 KiB tmpfs as the output root, through tessel-cli.
// Needs root and a kernel that lets the test mount; skipped otherwise.
TEST_F(FilesTest, RealFullDiskThroughTheCommandLine) {
  fillSource(source, 6, false);
  const fs::path disk = dir / "disk";
  fs::create_directories(disk);
  if (::mount("tmpfs", pathToUtf8(disk).c_str(), "tmpfs", 0, "size=64k") != 0) {
    GTEST_SKIP() << "cannot mount a small tmpfs here (needs root)";
  }
  struct Unmount {
    std::string at;
    ~Unmount() { ::umount(at.c_str()); }
  } unmount{pathToUtf8(disk)};

  QProcess p;
  p.start(QString::fromUtf8(TESSEL_CLI_PATH),
          {"convert", toQString(source), "-o", toQString(disk), "--resources",
           toQString(resources), "-y", "-q", "-j", "2"});
  ASSERT_TRUE(p.waitForFinished(120000));
  const std::string err = p.readAllStandardError().toStdString();
  EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(p.exitCode(), 4) << err;
  // Every failed output is named on stderr, and is not there.
  // Every failed output is named on stderr, with the system's reason, and is
  // not there.
  int named = 0;
  std::size_t from = 0;
  for (std::size_t nl; (nl = err.find('\n', from)) != std::string::npos; from = nl + 1) {
    const std::string line = err.substr(from, nl - from);
    std::size_t start = std::string::npos;
    for (const char* prefix : {"tessel-cli: cannot write ", "tessel-cli: cannot create "}) {
      if (line.rfind(prefix, 0) == 0) start = std::string(prefix).size();
    }
    if (start == std::string::npos) continue;
    ++named;
    const std::size_t colon = line.find(": ", start);
    const fs::path failed = pathFromUtf8(line.substr(start, colon - start));
    EXPECT_NE(line.find("No space left on device"), std::string::npos) << line;
    // An output of private/, or the run record beside it.
    EXPECT_TRUE(pathIsInside(failed, disk / "private") || failed == disk / kRunRecordFileName)
        << failed;
    EXPECT_FALSE(fs::exists(failed)) << failed;
  }
  EXPECT_GT(named, 0) << err;
  expectNothingCut(disk, source, resources);
}

}  // namespace
}  // namespace tessel
