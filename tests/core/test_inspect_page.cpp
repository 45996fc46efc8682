// The inspection page in a real browser: headless Chromium renders the
// preview of a converted project; the screenshot must show something, every
// file the page names must exist and every anchor its contents name.
#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <regex>
#include <set>

#include "inspect/InspectPage.h"
#include "support/RunFixture.h"
#include "util/Paths.h"

namespace tessel {
namespace {

using test::readText;
using test::writeBytes;
using test::writePicture;

struct InspectPage : test::RunFixture {};

TEST_F(InspectPage, PreviewRendersInABrowserWithEveryImageItNames) {
  options.resourceFolder = PathFromUtf8(TESSEL_BIN_DIR);
  writePicture(source / "1.bmp", 480, 272);
  writePicture(source / "2.jpg", 200, 320);
  std::vector<build::Bytes> jpegs;
  for (int i = 0; i < 4; ++i) jpegs.push_back(build::encode(build::icon(32, i), "JPG", 90));
  writeBytes(source / "20.icl", build::iclLibrary(jpegs));
  ASSERT_EQ(run().outcome, RunOutcome::Completed);

  fs::path page;
  std::string error;
  ASSERT_TRUE(inspect::WritePreview(output, &page, &error)) << error;
  EXPECT_EQ(page, output / "preview" / "index.html");
  EXPECT_FALSE(PathIsInside(page, priv));

  // Every picture and icon is named, and every name is a file beside the page.
  const std::string html = readText(page);
  const std::regex reference("(?:src|href)=\"([^\"]+)\"");
  std::set<std::string> named;
  for (auto it = std::sregex_iterator(html.begin(), html.end(), reference);
       it != std::sregex_iterator(); ++it) {
    const std::string target = (*it)[1];
    if (target.starts_with("#")) {  // the table of contents
      EXPECT_NE(html.find("id=\"" + target.substr(1) + "\""), std::string::npos) << target;
      continue;
    }
    EXPECT_EQ(target.find(':'), std::string::npos) << "not a file beside the page: " << target;
    EXPECT_TRUE(fs::is_regular_file(page.parent_path() / PathFromUtf8(target))) << target;
    named.insert(target);
  }
  EXPECT_EQ(named.size(), 2u + 4u);  // two screens, four icons
  EXPECT_EQ(html.find("<script"), std::string::npos);

  const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
  if (chromium.isEmpty()) GTEST_SKIP() << "chromium is not installed (scripts/install-deps.sh)";
  const fs::path shot = dir / "shot.png";
  QProcess browser;
  browser.start(chromium, {"--headless", "--no-sandbox", "--disable-gpu", "--hide-scrollbars",
                           "--window-size=1024,900", "--screenshot=" + ToQString(shot),
                           "file://" + ToQString(page)});
  ASSERT_TRUE(browser.waitForFinished(90000)) << "chromium did not finish";
  const QImage image(ToQString(shot));
  ASSERT_FALSE(image.isNull()) << browser.readAllStandardError().toStdString();
  EXPECT_EQ(image.size(), QSize(1024, 900));
  // Not blank: many colours (the screens and icons), and most of them away
  // from the page's background.
  std::set<QRgb> colours;
  int background = 0;
  const QRgb page_background = image.pixel(image.width() - 1, image.height() - 1);
  for (int y = 0; y < image.height(); y += 2) {
    for (int x = 0; x < image.width(); x += 2) {
      colours.insert(image.pixel(x, y));
      background += image.pixel(x, y) == page_background;
    }
  }
  EXPECT_GT(colours.size(), 200u);
  EXPECT_LT(background, image.width() * image.height() / 4 * 9 / 10);
}

}  // namespace
}  // namespace tessel
