// Icon libraries of a project converted into icon/<n>.zico, and the picture
// library's icons into screen pictures.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>

#include "core/test_icon_fixtures.h"
#include "icon/IconBuild.h"
#include "icon/IconConvert.h"
#include "picture/PictureConvert.h"
#include "util/FileIO.h"

using namespace tessel;
using namespace tessel::icontest;

namespace {

struct Icon {
  std::uint16_t id, kind, width, height;
  Bytes pixels;  // inflated
};

// Reads a .zico back, checking its framing on the way.
std::vector<Icon> parseZico(const Bytes& file) {
  std::vector<Icon> icons;
  if (file.empty()) return icons;
  EXPECT_GE(file.size(), 8u);
  if (file.size() < 8) return icons;
  EXPECT_EQ(Bytes(file.begin(), file.begin() + 4), (Bytes{'Z', 'I', 'C', 'O'}));
  const std::uint32_t indexSize = getLe32(&file[4]);
  EXPECT_EQ(indexSize % 16, 0u);
  const std::size_t data = 8 + std::size_t(indexSize);
  std::size_t next = 0;
  for (std::size_t r = 8; r + 16 <= data && r + 16 <= file.size(); r += 16) {
    Icon icon{getLe16(&file[r]), getLe16(&file[r + 2]), getLe16(&file[r + 4]),
              getLe16(&file[r + 6]), {}};
    const std::uint32_t offset = getLe32(&file[r + 8]);
    const std::uint32_t size = getLe32(&file[r + 12]);
    EXPECT_EQ(offset, next);
    next = offset + std::size_t(size);
    if (!fitsIn(data + offset, size, file.size())) {
      ADD_FAILURE() << "block outside the file";
      return icons;
    }
    icon.pixels = test::inflate(ByteView(&file[data + offset], size),
                                std::size_t(icon.width) * icon.height * 2);
    icons.push_back(std::move(icon));
  }
  EXPECT_EQ(data + next, file.size());
  return icons;
}

std::vector<int> idsOf(const std::vector<Icon>& icons) {
  std::vector<int> out;
  for (const Icon& i : icons) out.push_back(i.id);
  return out;
}

// The same picture decoded by Qt on its own, as little-endian RGB565.
Bytes qtRgb565(const Bytes& jpeg) {
  QImage image = QImage::fromData(jpeg.data(), int(jpeg.size())).convertToFormat(QImage::Format_RGB16);
  Bytes out;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      putLe16(out, reinterpret_cast<const quint16*>(image.constScanLine(y))[x]);
    }
  }
  return out;
}

bool hasWarning(const Report& report, const std::string& a, const std::string& b = "") {
  return std::any_of(report.warnings.begin(), report.warnings.end(), [&](const std::string& w) {
    return w.find(a) != std::string::npos && w.find(b) != std::string::npos;
  });
}

// A source folder and an output tree with its icon and image folders.
struct Project {
  test::TempDir dir;
  fs::path source = dir / "DWIN_SET";
  fs::path privateFolder = dir / "private";
  SourceInventory inventory;
  Session session;
  ConversionSettings settings;
  Report report;

  Project() {
    fs::create_directories(source);
    fs::create_directories(privateFolder / "icon");
    fs::create_directories(privateFolder / "image");
  }
  fs::path add(const std::string& name, const Bytes& bytes) {
    const fs::path path = source / name;
    test::writeBytes(path, ByteView(bytes));
    inventory.icons.push_back(path);
    return path;
  }
  void run(Branch branch = Branch::A) {
    ConvertIconLibraries(settings, inventory, branch, privateFolder, session, report);
  }
  bool has(const std::string& rel) const { return fs::exists(privateFolder / rel); }
  Bytes out(const std::string& rel) const { return test::readBytes(privateFolder / rel); }
  std::vector<Icon> zico(const std::string& rel) const { return parseZico(out(rel)); }
  std::vector<std::string> tree() const { return test::listTree(privateFolder); }
};

Bytes rawLibrary(const std::vector<std::pair<int, std::vector<std::uint16_t>>>& icons, int width) {
  Bytes file = emptyRaw();
  for (const auto& [k, pixels] : icons) {
    addRawIcon(file, k, width, int(pixels.size()) / width, pixels);
  }
  return file;
}

Bytes iclOf(const std::vector<Bytes>& jpegs) {
  std::vector<IclSlot> slots;
  for (const Bytes& j : jpegs) slots.push_back(iclSlot(splitAtScan(j)));
  return buildIcl(std::uint16_t(jpegs.size() - 1), slots);
}

// ------------------------------------------------------------ .zico output

TEST(IconConvert, RawLibraryWithAGapInItsSlots) {
  Project p;
  Bytes file = rawLibrary({{0, {0xF800, 0x0001}}, {1, {0x07E0, 0x0002, 0x0003, 0x0004}},
                           {3, {0x001F, 0xFFFF}}},
                          2);
  setRawSlot(file, 2, 0, 5, 0x10000);  // width 0: no icon
  p.add("3.ico", file);
  p.run();

  const Bytes zicoFile = p.out("icon/3.zico");
  ASSERT_GE(zicoFile.size(), 56u);
  EXPECT_EQ(getLe32(&zicoFile[4]), 48u);
  EXPECT_EQ(getLe32(&zicoFile[8 + 8]), 0u);                          // first dataOffset
  EXPECT_EQ(getLe32(&zicoFile[24 + 8]), getLe32(&zicoFile[8 + 12]));  // second = first size
  EXPECT_EQ(zicoFile[56], 0x78);  // the data area starts with the first zlib stream

  const std::vector<Icon> icons = parseZico(zicoFile);
  ASSERT_EQ(idsOf(icons), (std::vector<int>{0, 1, 3}));
  EXPECT_EQ(icons[0].kind, 1);
  EXPECT_EQ(icons[0].width, 2);
  EXPECT_EQ(icons[0].height, 1);
  EXPECT_EQ(icons[0].pixels, (Bytes{0x00, 0xF8, 0x01, 0x00}));
  EXPECT_EQ(icons[1].height, 2);
  EXPECT_EQ(icons[1].pixels, (Bytes{0xE0, 0x07, 0x02, 0x00, 0x03, 0x00, 0x04, 0x00}));
  EXPECT_EQ(icons[2].pixels, (Bytes{0x1F, 0x00, 0xFF, 0xFF}));
  EXPECT_EQ(p.report.iconsWritten, 3);
  EXPECT_EQ(p.report.filesWritten, 1);
  EXPECT_EQ(p.tree(), (std::vector<std::string>{"icon/", "icon/3.zico", "image/"}));
}

TEST(IconConvert, IclIconsAreDecodedUnrotatedAndUndithered) {
  Project p;
  p.settings.rotationChoice = 2;  // a rotation and de-ripple for the pictures...
  p.settings.deRipple = 1;
  p.session.iconRotation = 1;     // ...and for the picture library: not for icons
  const Bytes red = solidJpeg(8, 6, QColor(255, 0, 0));
  const Bytes pattern = patternJpeg(20, 12);
  const Bytes blue = solidJpeg(3, 5, QColor(0, 0, 255));
  const SplitJpeg filled = splitAtScan(blue, 2, {0x00, 0x11});
  p.add("4.icl", buildIcl(2, {iclSlot(splitAtScan(red)), iclSlot(splitAtScan(pattern)),
                              iclSlot(filled)}));
  p.run();

  const std::vector<Icon> icons = p.zico("icon/4.zico");
  ASSERT_EQ(idsOf(icons), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(icons[0].width, 8);
  EXPECT_EQ(icons[0].height, 6);
  ASSERT_EQ(icons[0].pixels.size(), 8u * 6 * 2);
  for (std::size_t i = 0; i < icons[0].pixels.size(); i += 2) {
    const std::uint16_t v = getLe16(&icons[0].pixels[i]);
    EXPECT_GE(v >> 11, 30) << i;          // red
    EXPECT_LE((v >> 5) & 0x3F, 2) << i;   // green
    EXPECT_LE(v & 0x1F, 1) << i;          // blue
  }
  EXPECT_EQ(icons[1].width, 20);
  EXPECT_EQ(icons[1].height, 12);
  EXPECT_EQ(icons[1].pixels, qtRgb565(pattern));
  EXPECT_EQ(icons[2].width, 3);
  EXPECT_EQ(icons[2].height, 5);
  EXPECT_EQ(icons[2].pixels, qtRgb565(blue));
  EXPECT_EQ(p.report.iconsWritten, 3);
  EXPECT_TRUE(p.report.warnings.empty());
  // Decoding happens in memory: nothing but the .zico in the output.
  EXPECT_EQ(p.tree(), (std::vector<std::string>{"icon/", "icon/4.zico", "image/"}));
}

TEST(IconConvert, UndecodableIconsAreLeftOut) {
  Project p;
  const Bytes good = solidJpeg(4, 4, Qt::green);
  const IclSlot garbage{{0x01, 0x02, 0x03}, Bytes(40, 0x55), {}, {}};
  p.add("1.icl", buildIcl(1, {iclSlot(splitAtScan(good)), garbage}));
  p.add("2.icl", buildIcl(0, {garbage}));                                  // all fail
  p.add("3.icl", buildIcl(1024, {iclSlot(splitAtScan(good))}));            // takes none
  p.run();
  EXPECT_EQ(idsOf(p.zico("icon/1.zico")), (std::vector<int>{0}));
  EXPECT_TRUE(hasWarning(p.report, "icon 1 of", "1.icl"));
  ASSERT_TRUE(p.has("icon/2.zico"));
  EXPECT_EQ(fs::file_size(p.privateFolder / "icon/2.zico"), 0u);
  EXPECT_TRUE(hasWarning(p.report, "icon 0 of", "2.icl"));
  ASSERT_TRUE(p.has("icon/3.zico"));
  EXPECT_EQ(fs::file_size(p.privateFolder / "icon/3.zico"), 0u);
  EXPECT_EQ(p.report.iconsWritten, 1);
}

TEST(IconConvert, LaterLibraryWithTheSameNumberReplacesTheFile) {
  const Bytes raw = rawLibrary({{0, {1, 2}}, {1, {3, 4}}}, 2);
  const Bytes icl = iclOf({solidJpeg(5, 3, Qt::white)});
  {
    Project p;
    p.add("7.ico", raw);
    p.add("7.icl", icl);
    p.run();
    const std::vector<Icon> icons = p.zico("icon/7.zico");
    ASSERT_EQ(idsOf(icons), (std::vector<int>{0}));
    EXPECT_EQ(icons[0].width, 5);
  }
  {
    // An empty later library empties the file; a missing one leaves it.
    Project p;
    p.add("7.ico", raw);
    p.add("07_empty.icl", buildIcl(1024, {iclSlot(splitAtScan(solidJpeg(2, 2, Qt::red)))}));
    p.add("8.icl", icl);
    p.add("8x.ico", Bytes(kRawTable, 0x00));  // table only: missing
    p.run();
    EXPECT_EQ(fs::file_size(p.privateFolder / "icon/7.zico"), 0u);
    EXPECT_EQ(idsOf(p.zico("icon/8.zico")), (std::vector<int>{0}));
    EXPECT_TRUE(hasWarning(p.report, "8x.ico"));
  }
}

TEST(IconConvert, FileNumbersAndExtensions) {
  Project p;
  const Bytes icl = iclOf({solidJpeg(2, 2, Qt::black)});
  p.add("logo.ico", rawLibrary({{0, {9}}}, 1));
  p.add("12.ICL", icl);       // capitals: still the ICL layout
  p.add("65535.icl", icl);    // 0xFFFF means "no picture library": not one
  p.run();
  EXPECT_EQ(idsOf(p.zico("icon/0.zico")), (std::vector<int>{0}));
  EXPECT_EQ(p.zico("icon/12.zico").size(), 1u);
  EXPECT_EQ(p.zico("icon/65535.zico").size(), 1u);
  EXPECT_EQ(p.session.pictureLibraryNumber, kNoPictureLibrary);
  EXPECT_EQ(p.tree(), (std::vector<std::string>{"icon/", "icon/0.zico", "icon/12.zico",
                                                "icon/65535.zico", "image/"}));
}

TEST(IconConvert, DamagedLibrariesLeaveTheOthersRight) {
  Project p;
  const Bytes a = solidJpeg(4, 4, Qt::red);
  const Bytes b = solidJpeg(6, 6, Qt::blue);
  p.add("1.icl", Bytes{0x01, 0x02, 0x03});                 // too short: missing
  Bytes cut = iclOf({a, b});
  cut.resize(cut.size() - 3);                              // slot 1 cut short
  p.add("2.icl", cut);
  Bytes garbage(5000);
  for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = std::uint8_t(i * 131 + 7);
  p.add("3.icl", garbage);
  p.add("4.ico", garbage);                                 // too short for raw
  p.add("5.ico", rawLibrary({{2, {0xAAAA}}}, 1));
  p.run();
  EXPECT_FALSE(p.has("icon/1.zico"));
  EXPECT_TRUE(hasWarning(p.report, "1.icl"));
  const std::vector<Icon> two = p.zico("icon/2.zico");
  ASSERT_EQ(idsOf(two), (std::vector<int>{0}));
  EXPECT_EQ(two[0].pixels, qtRgb565(a));
  EXPECT_TRUE(hasWarning(p.report, "2.icl", "slot 1"));
  EXPECT_TRUE(p.has("icon/3.zico"));
  EXPECT_FALSE(p.has("icon/4.zico"));
  const std::vector<Icon> five = p.zico("icon/5.zico");
  ASSERT_EQ(idsOf(five), (std::vector<int>{2}));
  EXPECT_EQ(five[0].pixels, (Bytes{0xAA, 0xAA}));
  EXPECT_TRUE(p.report.writeFailures.empty());
}

TEST(IconConvert, FailedWriteIsReportedAndTheRunGoesOn) {
  Project p;
  p.add("3.ico", rawLibrary({{0, {1}}}, 1));
  p.add("4.ico", rawLibrary({{0, {2}}, {1, {3}}}, 1));
  setWriteFaultInjector([](const fs::path& path) { return path.filename() != "3.zico"; });
  p.run();
  setWriteFaultInjector(nullptr);
  EXPECT_FALSE(p.has("icon/3.zico"));
  ASSERT_EQ(p.report.writeFailures.size(), 1u);
  EXPECT_EQ(p.report.writeFailures[0], p.privateFolder / "icon/3.zico");
  EXPECT_EQ(p.zico("icon/4.zico").size(), 2u);
  EXPECT_EQ(p.report.iconsWritten, 2);
}

// --------------------------------------------------------- picture library

TEST(IconConvert, PictureLibraryIconsBecomePictures) {
  const Bytes j0 = patternJpeg(10, 6);
  const Bytes j2 = patternJpeg(7, 9);
  std::vector<IclSlot> slots = {iclSlot(splitAtScan(j0)), iclSlotOfSize(0x10, 0x40000),
                                iclSlot(splitAtScan(j2, 1))};
  const Bytes library5 = buildIcl(1, slots);
  const Bytes raw5 = rawLibrary({{4, {0x1234}}}, 1);
  for (bool laterRaw : {false, true}) {
    Project p;
    p.settings.pictureFormat = kZbmp;
    p.session.pictureLibraryNumber = 5;
    p.session.iconRotation = 1;
    p.add("2.ico", rawLibrary({{0, {1}}}, 1));
    p.add("5.icl", library5);
    if (laterRaw) p.add("5.ico", raw5);
    p.run();

    const EncodedPicture expected2 = EncodePictureData(p.settings, ByteView(j2), 1);
    ASSERT_TRUE(expected2.ok);
    EXPECT_EQ(p.out("image/2.zbmp"), expected2.bytes);
    EXPECT_EQ(p.out("image/0.zbmp"), EncodePictureData(p.settings, ByteView(j0), 1).bytes);
    EXPECT_EQ(p.report.picturesWritten, 2);
    EXPECT_EQ(p.session.pictureLibraryNumber, kNoPictureLibrary);
    if (!laterRaw) {
      EXPECT_EQ(p.tree(), (std::vector<std::string>{"icon/", "icon/2.zico", "image/",
                                                    "image/0.zbmp", "image/2.zbmp"}));
      EXPECT_EQ(p.session.pictureLibraryFolder, p.privateFolder / "image");
      EXPECT_EQ(p.report.iconsWritten, 1);
    } else {
      // The later library 5 is an ordinary one.
      const std::vector<Icon> icons = p.zico("icon/5.zico");
      ASSERT_EQ(idsOf(icons), (std::vector<int>{4}));
      EXPECT_EQ(icons[0].pixels, (Bytes{0x34, 0x12}));
      EXPECT_TRUE(p.session.pictureLibraryFolder.empty());
      EXPECT_EQ(p.report.iconsWritten, 2);
    }
  }
}

TEST(IconConvert, PictureLibraryAsJpegAndWithBadIcons) {
  Project p;
  p.settings.pictureFormat = kJpeg;
  p.session.pictureLibraryNumber = 3;
  const IclSlot garbage{{0x01, 0x02}, Bytes(30, 0x99), {}, {}};
  p.add("3.icl", buildIcl(1, {garbage, iclSlot(splitAtScan(patternJpeg(9, 9)))}));
  p.run();
  EXPECT_EQ(p.tree(), (std::vector<std::string>{"icon/", "image/", "image/1.jpg"}));
  EXPECT_TRUE(hasWarning(p.report, "icon 0 of", "3.icl"));
  const QImage back = QImage::fromData(p.out("image/1.jpg").data(), int(p.out("image/1.jpg").size()));
  EXPECT_EQ(back.width(), 9);
}

TEST(IconConvert, PictureLibraryWhoseIconsAllFailLeavesNothing) {
  Project p;
  p.session.pictureLibraryNumber = 3;
  p.add("3.icl", buildIcl(0, {{{0x01}, Bytes(20, 0x42), {}, {}}}));
  p.run();
  EXPECT_EQ(p.tree(), (std::vector<std::string>{"icon/", "image/"}));
  EXPECT_FALSE(p.report.warnings.empty());
}

TEST(IconConvert, RawPictureLibraryIsWrittenAsZicoAndUsesUpTheNumber) {
  Project p;
  p.session.pictureLibraryNumber = 6;
  p.add("6.ico", rawLibrary({{1, {0x0F0F}}}, 1));
  p.add("6.icl", iclOf({solidJpeg(3, 3, Qt::gray)}));  // no longer the picture library
  p.run();
  EXPECT_EQ(p.session.pictureLibraryNumber, kNoPictureLibrary);
  EXPECT_EQ(p.zico("icon/6.zico").size(), 1u);
  EXPECT_EQ(p.zico("icon/6.zico")[0].width, 3);  // the ICL one, written later
  EXPECT_EQ(p.tree(), (std::vector<std::string>{"icon/", "icon/6.zico", "image/"}));
}

// ------------------------------------------------------------ T5UIC projects

Bytes t5uicLibrary(const std::vector<Bytes>& jpegs) {
  Bytes file = emptyT5uic();
  for (std::size_t k = 0; k < jpegs.size(); ++k) addT5uicJpeg(file, int(2 * k), jpegs[k]);
  return file;
}

TEST(IconConvert, BranchBWithAT5uicConfigurationReadsEveryLibraryAsT5uic) {
  Project p;
  p.inventory.t5Config = p.source / "T5UIC_CFG.CFG";
  test::writeBytes(p.inventory.t5Config, ByteView(Bytes(64, 0)));
  p.session.pictureLibraryNumber = 1;
  p.session.pictureLibraryFolder = "left/alone";
  const Bytes a = solidJpeg(6, 4, Qt::red);
  const Bytes b = patternJpeg(11, 3);
  p.add("1.icl", t5uicLibrary({a, b}));
  p.add("2.ico", t5uicLibrary({b}));
  p.run(Branch::B);

  const std::vector<Icon> one = p.zico("icon/1.zico");
  ASSERT_EQ(idsOf(one), (std::vector<int>{0, 2}));
  EXPECT_EQ(one[0].width, 6);
  EXPECT_EQ(one[1].pixels, qtRgb565(b));
  EXPECT_EQ(idsOf(p.zico("icon/2.zico")), (std::vector<int>{0}));
  // The picture-library rule is not applied.
  EXPECT_EQ(p.session.pictureLibraryNumber, 1);
  EXPECT_EQ(p.session.pictureLibraryFolder, fs::path("left/alone"));
  // No temporary JPEG files beside the .zico files.
  EXPECT_EQ(p.tree(),
            (std::vector<std::string>{"icon/", "icon/1.zico", "icon/2.zico", "image/"}));
}

TEST(IconConvert, T5uicConfigurationChangesNothingElsewhere) {
  const Bytes jpeg = patternJpeg(5, 5);
  // Branch A with the same configuration: ICL and raw layouts, rule applied.
  {
    Project p;
    p.inventory.t5Config = p.source / "t5uic.cfg";
    p.session.pictureLibraryNumber = 1;
    p.add("1.icl", iclOf({jpeg}));
    p.add("2.ico", rawLibrary({{0, {7}}}, 1));
    p.run(Branch::A);
    EXPECT_EQ(p.tree(), (std::vector<std::string>{"icon/", "icon/2.zico", "image/",
                                                  "image/0.zbmp"}));
    EXPECT_EQ(p.session.pictureLibraryNumber, kNoPictureLibrary);
  }
  // Branch B: only the configuration file's own name counts, not its folder.
  {
    Project p;
    p.inventory.t5Config = p.dir / "t5uic_project" / "t5lcd.cfg";
    p.add("1.icl", iclOf({jpeg}));
    p.run(Branch::B);
    EXPECT_EQ(p.zico("icon/1.zico").size(), 1u);
    EXPECT_TRUE(p.report.warnings.empty());
  }
}

// ------------------------------------------------------------ side by side

TEST(IconConvert, OutputDoesNotDependOnTheNumberOfJobs) {
  auto convert = [](int jobs, Project& p) {
    p.session.pictureLibraryNumber = 5;
    p.add("9.ico", rawLibrary({{0, {1, 2, 3}}, {5, {4, 5, 6}}}, 3));
    p.add("5.icl", iclOf({patternJpeg(6, 6), patternJpeg(4, 9)}));
    p.add("9.icl", iclOf({patternJpeg(7, 7)}));
    p.add("5.ico", rawLibrary({{1, {8}}}, 1));
    p.add("1.icl", Bytes(3, 0));
    for (int i = 10; i < 16; ++i) p.add(std::to_string(i) + ".icl", iclOf({patternJpeg(i, 3)}));
    ConvertIconLibraries(p.settings, p.inventory, Branch::A, p.privateFolder, p.session, p.report,
                         jobs);
  };
  Project one, three;
  convert(1, one);
  convert(3, three);
  ASSERT_EQ(one.tree(), three.tree());
  EXPECT_EQ(one.tree().size(), 2u + 2 + 8);  // folders, two pictures, eight .zico files
  for (const std::string& rel : one.tree()) {
    if (rel.back() != '/') {
      EXPECT_EQ(one.out(rel), three.out(rel)) << rel;
    }
  }
  EXPECT_EQ(one.report.warnings.size(), three.report.warnings.size());
  EXPECT_EQ(one.report.iconsWritten, three.report.iconsWritten);
  EXPECT_EQ(idsOf(three.zico("icon/9.zico")), (std::vector<int>{0}));
}

// --------------------------------------------------------- building alone

TEST(IconBuild, BuildingTouchesNoFile) {
  ConversionSettings settings;
  IconLibraryJob job;
  job.path = "nowhere/9.icl";
  job.layout = IconLayout::Icl;
  const Bytes file = iclOf({solidJpeg(2, 3, Qt::yellow)});
  const BuiltIconLibrary built = BuildIconLibrary(settings, job, ByteView(file));
  EXPECT_FALSE(built.missing);
  EXPECT_FALSE(built.toPictures);
  ASSERT_EQ(built.zico.size(), 1u);
  EXPECT_EQ(built.zico.records()[0].height, 3);
  // A file that does not exist is missing, with a warning naming it.
  const BuiltIconLibrary none = BuildIconLibrary(settings, job);
  EXPECT_TRUE(none.missing);
  ASSERT_EQ(none.warnings.size(), 1u);
  EXPECT_NE(none.warnings[0].find("nowhere/9.icl"), std::string::npos);
}

}  // namespace
