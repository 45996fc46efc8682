// The user's files: a source that is only read and a link left inside an old
// private/ folder. Whatever happens, the source keeps every byte and nothing
// outside private/ is touched.
#include <gtest/gtest.h>

#include <map>

#include "config/ConfigHeader.h"
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

using FilesTest = RunFixture;

// Every write the run asks for inside the source fails and is counted, so a
// run that tried to write there is caught also when the tests run as root
// (where read-only permissions would not stop it).
class SourceGuard : public WriteFaults {
 public:
  explicit SourceGuard(fs::path source) : source_(std::move(source)) {}
  bool fails(const fs::path& path) const override {
    if (!PathIsInside(path, source_)) return false;
    ++attempts;
    return true;
  }
  mutable int attempts = 0;

 private:
  fs::path source_;
};

TEST_F(FilesTest, TheSourceWithLibrariesAndABlockFileIsOnlyRead) {
  test::fillProject(source, 2, true);
  std::map<std::string, std::pair<Bytes, fs::file_time_type>> before;
  for (const auto& e : fs::directory_iterator(source)) {
    before[PathToUtf8(e.path().filename())] = {readBytes(e.path()), fs::last_write_time(e.path())};
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
    after[PathToUtf8(e.path().filename())] = {readBytes(e.path()), fs::last_write_time(e.path())};
  }
  EXPECT_EQ(before, after);
}

TEST_F(FilesTest, LinksInAnOldPrivateFolderGoWithoutTouchingTheirTargets) {
  test::fillProject(source, 1, false);
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

}  // namespace
}  // namespace tessel
