// The inspection: whole runs read back, decoded and compared with their
// sources. tessel-cli inspect is tested in test_cli_inspect, the readers
// beside their writers (test_picture_zbmp, test_icon_zico, test_picture_pack, ...).
#include <gtest/gtest.h>

#include <QTransform>
#include <cstdlib>
#include <map>
#include <mutex>

#include "config/ConfigRegisters.h"
#include "config/TargetConfig.h"
#include "inspect/Inspection.h"
#include "picture/PicturePack.h"
#include "picture/Rgb565.h"
#include "picture/Zbmp.h"
#include "support/RunFixture.h"
#include "util/Paths.h"
#include "util/Zlib.h"

namespace tessel {
namespace {

using namespace inspect;
using test::readBytes;
using test::runCli;
using test::writeBytes;
using test::writePicture;
using test::writeText;

// Keeps every picture and icon the inspection decodes.
struct KeepImages : ImageSink {
  std::mutex mutex;
  std::map<std::pair<bool, int>, QImage> pictures;          // (in pack, number)
  std::map<std::pair<int, int>, QImage> icons;              // (library, id)
  void picture(const PictureItem& item, const QImage& image) override {
    std::lock_guard<std::mutex> lock(mutex);
    pictures[{item.inPack, item.number}] = image;
  }
  void icon(const LibraryItem& library, const IconItem& icon, const QImage& image) override {
    std::lock_guard<std::mutex> lock(mutex);
    icons[{library.number, icon.id}] = image;
  }
};

// The largest difference of any channel between two pictures of one size
// (-1 when the sizes differ), and the mean difference.
struct Difference {
  int max = -1;
  double mean = 0;
};
Difference compare(const QImage& a, const QImage& b) {
  Difference d;
  if (a.size() != b.size() || a.isNull()) return d;
  const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
  d.max = 0;
  double sum = 0;
  for (int row = 0; row < x.height(); ++row) {
    const QRgb* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
    const QRgb* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
    for (int col = 0; col < x.width(); ++col) {
      for (const int c : {std::abs(qRed(p[col]) - qRed(q[col])), std::abs(qGreen(p[col]) - qGreen(q[col])),
                          std::abs(qBlue(p[col]) - qBlue(q[col]))}) {
        d.max = std::max(d.max, c);
        sum += c;
      }
    }
  }
  d.mean = sum / (3.0 * x.width() * x.height());
  return d;
}

QImage turned(const QImage& image, int code) {
  return image.transformed(QTransform().rotate(90.0 * code));
}

// What config.txt can say: the notify list that does not apply is not in it.
SetupValues applicable(SetupValues v) {
  (v.useTouchFile ? v.coordinateNotify : v.touchFileNotify) = 0;
  return v;
}

struct Case {
  const char* name;
  bool branchB;
  PictureFormat format;
  bool pack;
  RotationChoice rotation;
};

struct InspectRoundTrip : test::RunFixture, ::testing::WithParamInterface<Case> {};

TEST_P(InspectRoundTrip, DecodedOutputMatchesTheSource) {
  const Case c = GetParam();
  settings.pictureFormat = c.format;
  settings.singlePictureFiles = !c.pack;
  settings.rotationChoice = c.rotation;
  options.resourceFolder = PathFromUtf8(TESSEL_BIN_DIR);  // real fonts: the check reads them
  writePicture(source / "1.bmp", 40, 30);
  writePicture(source / "2.jpg", 24, 36);
  std::vector<build::Bytes> iconJpegs;
  for (int i = 0; i < 3; ++i) iconJpegs.push_back(build::encode(build::icon(16 + 4 * i, i), "JPG", 90));
  const std::vector<QImage> rawIcons = {build::icon(12, 7), build::icon(20, 8)};
  build::Bytes t5uic = build::emptyT5uic();
  if (c.branchB) {
    // A T5UIC project: every library in that layout.
    writeBytes(source / "T5UIC_CFG.CFG", build::Bytes(64, 0));
    build::addT5uicJpeg(t5uic, 0, iconJpegs[0]);
    build::addT5uicJpeg(t5uic, 3, iconJpegs[1]);
    writeBytes(source / "20.icl", t5uic);
    SetupValues confirmed;
    confirmed.baudIndex = 6;
    confirmed.useTouchFile = true;
    confirmed.touchFileNotify = 1;
    confirmed.longPressNotify = true;
    confirmed.touchBeep = 2;
    confirmed.screenRotation = 3;
    confirmed.restoreTextBackground = false;
    confirmed.delayedRefresh = true;
    host.changeTo = &confirmed;
    ASSERT_EQ(run().outcome, RunOutcome::Completed);
    host.changeTo = nullptr;
  } else {
    writeBytes(source / "20.icl", build::iclLibrary(iconJpegs));
    writeBytes(source / "21.ico", build::rawLibrary(rawIcons));
    writeText(source / "config.txt", "R1=07; 115200\r\nR2=00;\r\nR3=FF;\r\n");
    writeText(source / "13.bin", "t13");
    writeText(source / "14.bin", "t14");
    ASSERT_EQ(run().outcome, RunOutcome::Completed);
  }

  KeepImages seen;
  const Inspection in = InspectOutput(output, &seen, 2);
  for (const Problem& p : in.problems) {
    // The test pictures are noise: JPEG outputs differ visibly from them.
    if (p.fault || p.text.find("differs visibly") == std::string::npos) ADD_FAILURE() << p.text;
  }
  const int code = FixedRotationCode(c.rotation).value_or(0);
  const QImage bmp = turned(QImage(ToQString(source / "1.bmp")), code);
  const QImage jpg = turned(QImage(ToQString(source / "2.jpg")), code);
  const QImage bmp565 = bmp.convertToFormat(QImage::Format_RGB16);
  ASSERT_EQ(seen.pictures.size(), 2u);
  const QImage& out1 = seen.pictures[{c.pack, 1}];
  const QImage& out2 = seen.pictures[{c.pack, 2}];
  // A JPEG output is as close to its source as Qt's own JPEG of that quality.
  auto tolerance = [&](const QImage& image) {
    if (c.format == PictureFormat::Zbmp) return 3.0;
    const build::Bytes again = build::encode(image, "JPG", JpegQualityFor(c.format));
    return compare(QImage::fromData(again.data(), int(again.size())), image).mean * 1.5 + 1.0;
  };
  if (c.format == PictureFormat::Zbmp) {
    EXPECT_EQ(out1.convertToFormat(QImage::Format_RGB16), bmp565);  // exact
  } else {
    const Difference d = compare(out1, bmp);
    EXPECT_GE(d.max, 0);
    EXPECT_LT(d.mean, tolerance(bmp));
  }
  const Difference d2 = compare(out2, jpg);
  EXPECT_GE(d2.max, 0) << "picture 2 has the wrong size";
  EXPECT_LT(d2.mean, tolerance(jpg));

  // Icons: JPEG ones near Qt's decoding of their JPEG, raw ones exact.
  std::map<std::pair<int, int>, QImage> expected;
  if (c.branchB) {
    expected[{20, 0}] = QImage::fromData(iconJpegs[0].data(), int(iconJpegs[0].size()));
    expected[{20, 3}] = QImage::fromData(iconJpegs[1].data(), int(iconJpegs[1].size()));
  } else {
    for (int i = 0; i < 3; ++i) {
      expected[{20, i}] = QImage::fromData(iconJpegs[i].data(), int(iconJpegs[i].size()));
    }
    for (int i = 0; i < 2; ++i) {
      EXPECT_EQ(seen.icons[std::make_pair(21, i)], rawIcons[std::size_t(i)].convertToFormat(QImage::Format_RGB16));
      expected.erase({21, i});
    }
  }
  for (const auto& [key, image] : expected) {
    const Difference d = compare(seen.icons[key], image);
    EXPECT_GE(d.max, 0) << "icon " << key.second << " of library " << key.first;
    EXPECT_LT(d.mean, 3.0) << "icon " << key.second << " of library " << key.first;
  }
  EXPECT_EQ(seen.icons.size(), c.branchB ? 2u : 5u);

  ASSERT_TRUE(in.config.has_value());
  if (c.branchB) {
    EXPECT_EQ(in.config->values, applicable(session.setup));
  }
  EXPECT_EQ(in.font.name, "Droid Sans Fallback");
  EXPECT_EQ(in.hasPack, c.pack);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, InspectRoundTrip,
    ::testing::Values(Case{"A_zbmp_90", false, PictureFormat::Zbmp, false, RotationChoice::Cw90},
                      Case{"A_jpeg_none", false, PictureFormat::Jpeg, false, RotationChoice::None},
                      Case{"B_zbmp_180", true, PictureFormat::Zbmp, false, RotationChoice::Cw180},
                      Case{"B_pack_zbmp_270", true, PictureFormat::Zbmp, true, RotationChoice::Cw270},
                      Case{"B_pack_jpeghq_90", true, PictureFormat::JpegHigh, true, RotationChoice::Cw90}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tessel
