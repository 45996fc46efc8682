// Paths: folder deletion that never follows a link, containment, UTF-8.
#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "util/Paths.h"

namespace tessel {
namespace {

using test::TempDir;

#ifndef _WIN32
TEST(Paths, DeleteFolderTreeNeverFollowsLinks) {
  TempDir dir;
  const fs::path outside = dir / "outside";
  test::writeText(outside / "keep.txt", "precious");
  const fs::path priv = dir / "private";
  test::writeText(priv / "a" / "b.txt", "old");
  fs::create_directory_symlink(outside, priv / "link-to-outside");
  fs::create_symlink(outside / "keep.txt", priv / "a" / "file-link");
  EXPECT_TRUE(DeleteFolderTree(priv));
  EXPECT_FALSE(fs::exists(fs::symlink_status(priv)));
  EXPECT_EQ(test::readText(outside / "keep.txt"), "precious");
  EXPECT_FALSE(DeleteFolderTree(priv));  // gone already

  // The folder itself a link: the link goes, the target stays.
  fs::create_directory_symlink(outside, priv);
  EXPECT_TRUE(DeleteFolderTree(priv));
  EXPECT_EQ(test::readText(outside / "keep.txt"), "precious");
}

#endif

TEST(Paths, DeleteFolderTreeHasNoPathLengthLimit) {
  TempDir dir;
  fs::path deep = dir / "private";
  for (int i = 0; i < 12; ++i) deep /= std::string(30, static_cast<char>('a' + i));
  test::writeText(deep / "f.txt", "x");
  ASSERT_GT(PathToUtf8(deep).size(), 300u);
  EXPECT_TRUE(DeleteFolderTree(dir / "private"));
  EXPECT_FALSE(fs::exists(dir / "private"));
}

TEST(Paths, Inside) {
  TempDir dir;
  fs::create_directories(dir / "a" / "b");
  EXPECT_TRUE(PathIsInside(dir / "a" / "b", dir / "a"));
  EXPECT_TRUE(PathIsInside(dir / "a", dir / "a"));
  EXPECT_TRUE(PathIsInside(dir / "a" / "b" / ".." / "b", dir / "a/"));
  EXPECT_TRUE(PathIsInside(dir / "a" / "new" / "x", dir / "a"));  // not yet existing
  EXPECT_FALSE(PathIsInside(dir / "a", dir / "a" / "b"));
  EXPECT_FALSE(PathIsInside(dir / "ab", dir / "a"));
}

TEST(Paths, Utf8RoundTrip) {
  const std::string name = "拷贝private到SD卡根目录.txt";
  EXPECT_EQ(PathToUtf8(PathFromUtf8(name)), name);
  EXPECT_EQ(ToQString(PathFromUtf8(name)), QString::fromUtf8(name.c_str()));
  EXPECT_EQ(PathToUtf8(ToPath(QString::fromUtf8("数码管.ttf"))), "数码管.ttf");
}

}  // namespace
}  // namespace tessel
