// The inspection page answers two questions: is this what the display will
// show (screens upright, lossy screens beside their sources), and where did
// each output come from (the run record). Also its verdicts on outputs that a
// run did not finish, and on what the run copied from the source.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "cli/Cli.h"
#include "inspect/InspectPage.h"
#include "picture/PictureLoad.h"
#include "support/RunFixture.h"
#include "test_config_fixtures.h"
#include "util/Paths.h"
#include "util/Text.h"

namespace tessel {
namespace {

using namespace inspect;
using test::readText;
using test::runCli;
using test::writeBytes;
using test::writeText;

// PSNR of `a` against `b` over the three channels (-1 when the sizes differ).
double psnr(const QImage& a, const QImage& b) {
  if (a.size() != b.size() || a.isNull()) return -1;
  const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
  double squares = 0;
  for (int row = 0; row < x.height(); ++row) {
    for (int col = 0; col < x.width(); ++col) {
      const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
      for (const int d : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q)}) {
        squares += double(d) * d;
      }
    }
  }
  const double mse = squares / (3.0 * x.width() * x.height());
  return mse == 0 ? 1e9 : 10 * std::log10(255.0 * 255.0 / mse);
}

struct InspectOrigin : test::RunFixture {
  fs::path pageFolder = dir / "page";

  void SetUp() override {
    RunFixture::SetUp();
    options.resourceFolder = PathFromUtf8(TESSEL_BIN_DIR);
  }
  void branchA() {
    writeText(source / "13.bin", "t13");
    writeText(source / "14.bin", "t14");
  }
  Inspection page(std::string* html = nullptr) {
    Inspection in;
    std::string error;
    EXPECT_TRUE(WriteInspectPage(output, pageFolder, &in, &error)) << error;
    if (html) *html = readText(pageFolder / "index.html");
    return in;
  }
  // The page's picture: a PNG, or a JPEG output as it is.
  // The picture the page shows under `name`: the file its index.html names
  // (an earlier page's pictures stay beside it).
  QImage shown(const std::string& name) const {
    const std::string html = test::readText(pageFolder / "index.html");
    const std::string jpg = std::string(kPageImageFolder) + "/" + name + ".jpg";
    const fs::path folder = pageFolder / kPageImageFolder;
    return QImage(ToQString(folder / (name + (html.find(jpg) != std::string::npos ? ".jpg" : ".png"))));
  }
};

// ---- upright screens ---------------------------------------------------------------

struct Turned {
  const char* name;
  bool branchB;
  int screenRotation;  // rotation code the display turns by
  PictureFormat format;
};

struct UprightScreens : InspectOrigin, ::testing::WithParamInterface<Turned> {};

// Branch A: the pictures are drawn sideways for a display configured to turn
// them. Branch B: the run turns upright pictures against the confirmed screen
// rotation. Either way the page shows each screen upright, as the person in
// front of the mounted display sees it.
TEST_P(UprightScreens, ThePageShowsWhatTheDisplayShows) {
  const Turned c = GetParam();
  settings.pictureFormat = c.format;
  const std::vector<QImage> upright = {build::screen(120, 200, 0, Qt::darkCyan),
                                       build::screen(120, 200, 1, Qt::darkRed)};
  SetupValues confirmed;
  for (std::size_t i = 0; i < upright.size(); ++i) {
    const QImage drawn =
        c.branchB ? upright[i] : RotatePicture(upright[i], (4 - c.screenRotation) % 4);
    writeBytes(source / (std::to_string(i + 1) + ".bmp"),
               build::encode(drawn.convertToFormat(QImage::Format_RGB888), "BMP"));
  }
  if (c.branchB) {
    confirmed.screenRotation = c.screenRotation;
    host.changeTo = &confirmed;
  } else {
    branchA();
    // R2 bit 2: a quarter turn; R3 bit 5 clear: half a turn more.
    writeText(source / "config.txt", std::string("R1=07;\r\nR2=04;\r\nR3=") +
                                         (c.screenRotation == 3 ? "DF" : "FF") + ";\r\n");
  }
  ASSERT_EQ(run().outcome, RunOutcome::Completed);

  std::string html;
  const Inspection in = page(&html);
  EXPECT_EQ(in.faults(), 0);
  EXPECT_EQ(in.displayRotation, c.screenRotation);
  ASSERT_EQ(in.pictures.size(), upright.size());
  for (const PictureItem& p : in.pictures) {
    const QImage expected = upright[std::size_t(p.number - 1)];
    const QImage seen = shown("picture-" + std::to_string(p.number));
    ASSERT_EQ(seen.size(), expected.size()) << p.number;
    if (c.format == PictureFormat::Zbmp) {
      // Exact, down to the 8-bit colours a browser gets.
      EXPECT_EQ(seen.convertToFormat(QImage::Format_RGB888),
                expected.convertToFormat(QImage::Format_RGB16).convertToFormat(QImage::Format_RGB888));
    } else {
      // As close to the source as the figure the page prints for it.
      ASSERT_TRUE(p.loss.measured) << p.number;
      EXPECT_GE(psnr(seen, expected), p.loss.psnr - 0.01) << p.number;
      EXPECT_NE(html.find(Text(trText("Inspect", "against the source: %1 dB, largest error %2"))
                              .arg(p.loss.psnr, 1)
                              .arg(p.loss.maxError)
                              .str()),
                std::string::npos);
    }
    EXPECT_EQ(p.origin.file, std::to_string(p.number) + ".bmp");
  }
  EXPECT_NE(html.find("stored turned " + std::to_string((4 - c.screenRotation) % 4 * 90)),
            std::string::npos);

  // --rotation overrides the configuration: 0 shows the pictures as stored.
  InspectOptions asStored;
  asStored.rotation = 0;
  std::string error;
  ASSERT_TRUE(WriteInspectPage(output, pageFolder, asStored, nullptr, &error)) << error;
  EXPECT_EQ(shown("picture-1").size(), upright[0].size().transposed());
}

INSTANTIATE_TEST_SUITE_P(
    Turns, UprightScreens,
    ::testing::Values(Turned{"A_90", false, 1, PictureFormat::Zbmp},
                      Turned{"A_270", false, 3, PictureFormat::Zbmp},
                      Turned{"B_90", true, 1, PictureFormat::Zbmp},
                      Turned{"B_270_jpeg", true, 3, PictureFormat::Jpeg}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- where each output came from -------------------------------------------------

TEST_F(InspectOrigin, ThePictureLibrarysScreensNameTheLibraryAndTheIcon) {
  branchA();
  // Byte 8 of the block file: library 5 holds the screen pictures.
  writeBytes(source / "t5lc1.cfg", ByteView(test::header("T5LC1", {{8, 5}})));
  std::vector<build::Bytes> jpegs;
  for (int i = 0; i < 3; ++i) jpegs.push_back(build::encode(build::screen(48, 32, i, Qt::blue), "JPG", 90));
  writeBytes(source / "5_screens.icl", build::iclLibrary(jpegs));
  test::writePicture(source / "1_main.bmp", 48, 32);  // the library stands in for it
  ASSERT_EQ(run().outcome, RunOutcome::Completed);

  std::string html;
  const Inspection in = page(&html);
  ASSERT_EQ(in.pictures.size(), 3u);
  for (const PictureItem& p : in.pictures) {
    EXPECT_EQ(p.origin.file, "5_screens.icl") << p.number;
    EXPECT_EQ(p.origin.icon, p.number);
    EXPECT_EQ(p.origin.replaced, p.number == 1 ? std::vector<std::string>{"1_main.bmp"}
                                               : std::vector<std::string>{});
    EXPECT_NE(html.find(trText("Inspect", "from %1, icon %2").arg("5_screens.icl").arg(p.number).str()),
              std::string::npos)
        << p.number;
  }
  EXPECT_NE(html.find(trText("Inspect", "in place of %1").arg("1_main.bmp").str()), std::string::npos);
  // The record lies beside private/, never in it.
  EXPECT_TRUE(fs::is_regular_file(output / kRunRecordFileName));
  EXPECT_FALSE(fs::exists(priv / kRunRecordFileName));
}

TEST_F(InspectOrigin, OnlyThePictureOfFineLinesIsListedAsVisiblyLossy) {
  settings.pictureFormat = PictureFormat::Jpeg;
  QImage smooth(160, 100, QImage::Format_RGB888), lines(160, 100, QImage::Format_RGB888);
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 160; ++x) {
      smooth.setPixelColor(x, y, QColor(x, 60 + y, 200 - x / 2));
      // One-pixel lines of red and blue: what text in colour comes to.
      lines.setPixelColor(x, y, (x + y) % 3 == 0 ? QColor(220, 0, 0) : x % 2 ? QColor(0, 0, 200) : Qt::white);
    }
  }
  writeBytes(source / "1.bmp", build::encode(smooth, "BMP"));
  writeBytes(source / "2_text.bmp", build::encode(lines, "BMP"));
  writeBytes(source / "3.bmp", build::encode(smooth.mirrored(true, false), "BMP"));
  ASSERT_EQ(run().outcome, RunOutcome::Completed);

  const test::CliRun checked = runCli({"inspect", "--check", PathToUtf8(output)});
  EXPECT_EQ(checked.status, cli::kDone) << checked.out << checked.err;
  const std::string listed = "differs visibly from its source";
  const std::size_t first = checked.out.find(listed);
  ASSERT_NE(first, std::string::npos) << checked.out;
  EXPECT_EQ(checked.out.find(listed, first + 1), std::string::npos) << checked.out;
  EXPECT_NE(checked.out.find("image/2.jpg: picture 2 " + listed), std::string::npos) << checked.out;
  // The page lists it at the top, a link to its place.
  std::string html;
  page(&html);
  const std::size_t list = html.find("Differ visibly from their sources: ");
  ASSERT_NE(list, std::string::npos);
  EXPECT_EQ(html.substr(list, html.find("</p>", list) - list).find("<a href=\"#picture-2\">2</a>. "),
            std::string("Differ visibly from their sources: ").size());

  // A bare card has no run record: --source names the source folder.
  const test::CliRun card =
      runCli({"inspect", "--check", PathToUtf8(priv), "--source", PathToUtf8(source)});
  EXPECT_EQ(card.out, checked.out);
  EXPECT_EQ(runCli({"inspect", "--check", PathToUtf8(priv)}).out.find(listed), std::string::npos);
}

TEST_F(InspectOrigin, TheRunRecordIsReadStrictly) {
  std::string error;
  for (const std::string& bad :
       {std::string("not json"), std::string(R"({"format":"other","version":1,"outputs":{}})"),
        std::string(R"({"format":"tessel-run","outputs":{}})"),
        std::string(R"({"format":"tessel-run","version":1,"outputs":{"image/1.zbmp":)"
                    R"({"sources":[],"rotation":7,"size":1}}})"),
        std::string(R"({"format":"tessel-run","version":1,"outputs":{"image/1.zbmp":)"
                    R"({"sources":[{"icon":1}],"rotation":0,"size":1}}})"),
        std::string(R"({"format":"tessel-run","version":1,"outputs":{"image/1.zbmp":)"
                    R"({"sources":[{"file":"../1.bmp"}],"rotation":0,"size":1}}})")}) {
    error.clear();
    EXPECT_FALSE(ParseRunRecord(test::bytesOf(bad), error)) << bad;
    EXPECT_FALSE(error.empty()) << bad;
  }
  // A record that is not one names no source, and says so.
  test::writePicture(source / "1.bmp", 20, 20);
  ASSERT_EQ(run().outcome, RunOutcome::Completed);
  writeText(output / kRunRecordFileName, "{\"format\":");
  const Inspection in = InspectOutput(output);
  EXPECT_EQ(in.faults(), 0);
  ASSERT_EQ(in.pictures.size(), 1u);
  EXPECT_EQ(in.pictures[0].origin.file, "");
  EXPECT_TRUE(std::any_of(in.problems.begin(), in.problems.end(), [](const Problem& p) {
    return p.text.starts_with(kRunRecordFileName);
  }));
}

// ---- verdicts ----------------------------------------------------------------------

TEST_F(InspectOrigin, AnUnfinishedOutputRootIsAFaultAndItsCardCopyIsNot) {
  test::writePicture(source / "1.bmp", 40, 30);
  test::writePicture(source / "2.bmp", 40, 30);
  ASSERT_EQ(run().outcome, RunOutcome::Completed);
  fs::remove(OutputLayout(output).marker());  // as a run stopped or killed leaves it

  const test::CliRun root = runCli({"inspect", "--check", PathToUtf8(output)});
  EXPECT_EQ(root.status, cli::kUnsound);
  EXPECT_NE(root.out.find("incomplete: the run that wrote it did not finish"), std::string::npos)
      << root.out;
  const test::CliRun card = runCli({"inspect", "--check", PathToUtf8(priv)});
  EXPECT_EQ(card.status, cli::kDone) << card.out;
  EXPECT_NE(card.err.find("no problems found"), std::string::npos) << card.err;
}

TEST_F(InspectOrigin, WhatTheRunCopiedFromTheSourceIsANoteAboutTheSource) {
  branchA();
  writeText(source / "config.txt", "R1=07;\r\nR3=FF;\r\n");  // no R2
  test::writePicture(source / "1.bmp", 40, 30);
  ASSERT_EQ(run().outcome, RunOutcome::Completed);

  const test::CliRun checked = runCli({"inspect", "--check", PathToUtf8(output)});
  EXPECT_EQ(checked.status, cli::kDone) << checked.out;
  EXPECT_NE(checked.out.find("note: config.txt: the source's register text sets no R2"),
            std::string::npos)
      << checked.out;
}

TEST_F(InspectOrigin, EveryNameReachesThePageEscaped) {
  // A file name cannot hold '/': this bold ends at a backslash.
  const std::string fileName = "5_<b>x<\\b>&'\".bmp";
  test::writePicture(source / fileName, 20, 20);
  ASSERT_EQ(run().outcome, RunOutcome::Completed);

  std::string html;
  page(&html);
  EXPECT_EQ(html.find("<b>x"), std::string::npos);
  EXPECT_NE(html.find("5_&lt;b&gt;x&lt;\\b&gt;&amp;&#39;&quot;.bmp"), std::string::npos) << html;
  EXPECT_EQ(html.find("<script"), std::string::npos);
}

}  // namespace
}  // namespace tessel
