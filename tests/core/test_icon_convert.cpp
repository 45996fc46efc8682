// Icon libraries converted into icon/<n>.zico and the picture library's icons
// into screen pictures; which library that is, through whole runs.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>

#include "icon/IconBuild.h"
#include "icon/IconConvert.h"
#include "picture/PicturePipeline.h"
#include "support/RunFixture.h"
#include "test_config_fixtures.h"

using namespace tessel;
using namespace tessel::build;

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
  const std::uint32_t indexSize = GetLe32(&file[4]);
  EXPECT_EQ(indexSize % 16, 0u);
  const std::size_t data = 8 + std::size_t(indexSize);
  std::size_t next = 0;
  for (std::size_t r = 8; r + 16 <= data && r + 16 <= file.size(); r += 16) {
    Icon icon{GetLe16(&file[r]), GetLe16(&file[r + 2]), GetLe16(&file[r + 4]),
              GetLe16(&file[r + 6]), {}};
    const std::uint32_t offset = GetLe32(&file[r + 8]);
    const std::uint32_t size = GetLe32(&file[r + 12]);
    EXPECT_EQ(offset, next);
    next = offset + std::size_t(size);
    if (!FitsIn(data + offset, size, file.size())) {
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

using test::patternJpeg;
using test::solidJpeg;

// The same picture decoded by Qt on its own, as little-endian RGB565.
Bytes qtRgb565(const Bytes& jpeg) {
  const QImage image =
      QImage::fromData(jpeg.data(), int(jpeg.size())).convertToFormat(QImage::Format_RGB16);
  Bytes out;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      PutLe16(out, reinterpret_cast<const quint16*>(image.constScanLine(y))[x]);
    }
  }
  return out;
}

bool hasWarning(const Report& report, const std::string& a, const std::string& b = "") {
  return std::any_of(report.warnings.begin(), report.warnings.end(), [&](const std::string& w) {
    return w.find(a) != std::string::npos && w.find(b) != std::string::npos;
  });
}

// A raw library of single-row-or-more icons of one width.
Bytes rawOf(const std::vector<std::pair<int, std::vector<std::uint16_t>>>& icons, int width) {
  Bytes file = emptyRaw();
  for (const auto& [k, pixels] : icons) {
    addRawIcon(file, k, width, int(pixels.size()) / width, pixels);
  }
  return file;
}

// A T5UIC library with the JPEGs in slots 0, 2, 4, ...
Bytes t5uicOf(const std::vector<Bytes>& jpegs) {
  Bytes file = emptyT5uic();
  for (std::size_t k = 0; k < jpegs.size(); ++k) addT5uicJpeg(file, int(2 * k), jpegs[k]);
  return file;
}

// ------------------------------------------------------ converting a plan

// Library files in a source folder, and an output tree with its icon and
// image folders.
struct Libraries {
  test::TempDir dir;
  fs::path source = dir / "project";
  OutputLayout layout{dir / "out"};
  PictureEncoding encoding;
  Report report;
  std::vector<IconLibraryJob> jobs;

  Libraries() {
    fs::create_directories(source);
    fs::create_directories(layout.iconFolder());
    fs::create_directories(layout.imageFolder());
  }
  // A job for the library as a project outside T5UIC would plan it.
  IconLibraryJob& add(const std::string& name, const Bytes& bytes) {
    const fs::path path = source / name;
    test::writeBytes(path, ByteView(bytes));
    IconLibraryJob job;
    job.path = path;
    job.layout = IconLayoutOf(path, false);
    job.number = FileNumber(path);
    jobs.push_back(job);
    return jobs.back();
  }
  void convert(int threads = 1, const WriteFaults* faults = nullptr) {
    OutputWriter out(report, faults);
    ConvertIconLibraries(jobs, encoding, layout, out, threads, WorkLimits());
  }
  fs::path at(const std::string& rel) const { return layout.privateFolder() / rel; }
  bool has(const std::string& rel) const { return fs::exists(at(rel)); }
  Bytes out(const std::string& rel) const { return test::readBytes(at(rel)); }
  std::vector<Icon> zico(const std::string& rel) const { return parseZico(out(rel)); }
  std::vector<std::string> tree() const { return test::listTree(layout.privateFolder()); }
};

TEST(IconConvert, RawLibraryKeepsSlotNumbersAndPixels) {
  Libraries p;
  Bytes file = rawOf({{0, {0xF800, 0x0001}}, {1, {0x07E0, 0x0002, 0x0003, 0x0004}},
                      {3, {0x001F, 0xFFFF}}},
                     2);
  setRawSlot(file, 2, 0, 5, 0x10000);  // width 0: no icon
  p.add("3.ico", file);
  p.convert();

  const std::vector<Icon> icons = p.zico("icon/3.zico");
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
  Libraries p;
  p.encoding = {PictureFormat::Jpeg, true};  // de-ripple is for pictures only
  const Bytes red = solidJpeg(8, 6, QColor(255, 0, 0));
  const Bytes pattern = patternJpeg(20, 12);
  const Bytes blue = solidJpeg(3, 5, QColor(0, 0, 255));
  const SplitJpeg filled = splitAtScan(blue, 2, {0x00, 0x11});
  p.add("4.icl", buildIcl(2, {iclSlot(splitAtScan(red)), iclSlot(splitAtScan(pattern)),
                              iclSlot(filled)}))
      .rotation = 1;  // a rotation is for a picture library's icons only
  p.convert();

  const std::vector<Icon> icons = p.zico("icon/4.zico");
  ASSERT_EQ(idsOf(icons), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(icons[0].width, 8);
  EXPECT_EQ(icons[0].height, 6);
  EXPECT_EQ(icons[0].pixels, qtRgb565(red));
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
  Libraries p;
  const Bytes good = solidJpeg(4, 4, Qt::green);
  const IclSlot garbage{{0x01, 0x02, 0x03}, Bytes(40, 0x55), {}, {}};
  p.add("1.icl", buildIcl(1, {iclSlot(splitAtScan(good)), garbage}));
  p.add("2.icl", buildIcl(0, {garbage}));                                  // all fail
  p.add("3.icl", buildIcl(1024, {iclSlot(splitAtScan(good))}));            // takes none
  p.convert();
  EXPECT_EQ(idsOf(p.zico("icon/1.zico")), (std::vector<int>{0}));
  EXPECT_TRUE(hasWarning(p.report, "icon 1 of", "1.icl"));
  ASSERT_TRUE(p.has("icon/2.zico"));
  EXPECT_EQ(fs::file_size(p.at("icon/2.zico")), 0u);
  EXPECT_TRUE(hasWarning(p.report, "icon 0 of", "2.icl"));
  ASSERT_TRUE(p.has("icon/3.zico"));
  EXPECT_EQ(fs::file_size(p.at("icon/3.zico")), 0u);
  EXPECT_EQ(p.report.iconsWritten, 1);
}

TEST(IconConvert, LaterLibraryWithTheSameNumberReplacesTheFile) {
  const Bytes raw = rawOf({{0, {1, 2}}, {1, {3, 4}}}, 2);
  const Bytes icl = iclLibrary({solidJpeg(5, 3, Qt::white)});
  {
    Libraries p;
    p.add("7.ico", raw);
    p.add("7.icl", icl);
    p.convert();
    const std::vector<Icon> icons = p.zico("icon/7.zico");
    ASSERT_EQ(idsOf(icons), (std::vector<int>{0}));
    EXPECT_EQ(icons[0].width, 5);
  }
  {
    // An empty later library empties the file; a missing one leaves it.
    Libraries p;
    p.add("7.ico", raw);
    p.add("07_empty.icl", buildIcl(1024, {iclSlot(splitAtScan(solidJpeg(2, 2, Qt::red)))}));
    p.add("8.icl", icl);
    p.add("8x.ico", Bytes(kRawTable, 0x00));  // table only: missing
    p.convert();
    EXPECT_EQ(fs::file_size(p.at("icon/7.zico")), 0u);
    EXPECT_EQ(idsOf(p.zico("icon/8.zico")), (std::vector<int>{0}));
    EXPECT_TRUE(hasWarning(p.report, "8x.ico"));
  }
}

TEST(IconConvert, DamagedLibrariesLeaveTheOthersRight) {
  Libraries p;
  const Bytes a = solidJpeg(4, 4, Qt::red);
  const Bytes b = solidJpeg(6, 6, Qt::blue);
  p.add("1.icl", Bytes{0x01, 0x02, 0x03});                 // too short: missing
  Bytes cut = iclLibrary({a, b});
  cut.resize(cut.size() - 3);                              // slot 1 cut short
  p.add("2.icl", cut);
  Bytes garbage(5000);
  for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = std::uint8_t(i * 131 + 7);
  p.add("3.icl", garbage);
  p.add("4.ico", garbage);                                 // too short for raw
  p.add("5.ico", rawOf({{2, {0xAAAA}}}, 1));
  p.convert();
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

TEST(IconConvert, AFailedWriteIsReportedAndEndsTheWriting) {
  Libraries p;
  p.add("3.ico", rawOf({{0, {1}}}, 1));
  p.add("4.ico", rawOf({{0, {2}}, {1, {3}}}, 1));
  const test::FailingWrites faults("3.zico");
  p.convert(2, &faults);
  EXPECT_FALSE(p.has("icon/3.zico"));
  ASSERT_EQ(p.report.writeFailures.size(), 1u);
  EXPECT_EQ(p.report.writeFailures[0], p.at("icon/3.zico"));
  EXPECT_FALSE(p.has("icon/4.zico"));  // the run ends: nothing more is written
  EXPECT_EQ(p.report.iconsWritten, 0);
}

TEST(IconConvert, PictureLibraryIconsBecomeFilesOfThePictureFormat) {
  Libraries p;
  p.encoding.format = PictureFormat::Jpeg;
  const IclSlot garbage{{0x01, 0x02}, Bytes(30, 0x99), {}, {}};
  p.add("3.icl", buildIcl(1, {garbage, iclSlot(splitAtScan(patternJpeg(9, 7)))})).toPictures =
      true;
  p.add("4.icl", buildIcl(0, {garbage})).toPictures = true;  // every icon fails: no file
  p.convert();
  EXPECT_EQ(p.tree(), (std::vector<std::string>{"icon/", "image/", "image/1.jpg"}));
  EXPECT_TRUE(hasWarning(p.report, "icon 0 of", "3.icl"));
  EXPECT_TRUE(hasWarning(p.report, "icon 0 of", "4.icl"));
  const Bytes jpg = p.out("image/1.jpg");
  const QImage back = QImage::fromData(jpg.data(), int(jpg.size()), "JPG");
  EXPECT_EQ(back.size(), QSize(9, 7));
  EXPECT_EQ(p.report.picturesWritten, 1);
  EXPECT_EQ(p.report.iconsWritten, 0);
}

TEST(IconConvert, OutputDoesNotDependOnTheNumberOfThreads) {
  auto convert = [](int threads, Libraries& p) {
    p.add("9.ico", rawOf({{0, {1, 2, 3}}, {5, {4, 5, 6}}}, 3));
    IconLibraryJob& pictures = p.add("5.icl", iclLibrary({patternJpeg(6, 6), patternJpeg(4, 9)}));
    pictures.toPictures = true;
    pictures.rotation = 1;
    p.add("9.icl", iclLibrary({patternJpeg(7, 7)}));
    p.add("5.ico", rawOf({{1, {8}}}, 1));
    p.add("1.icl", Bytes(3, 0));
    for (int i = 10; i < 16; ++i) {
      p.add(std::to_string(i) + ".icl", iclLibrary({patternJpeg(i, 3)}));
    }
    p.convert(threads);
  };
  Libraries one, three;
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
  EXPECT_EQ(idsOf(three.zico("icon/9.zico")), (std::vector<int>{0}));  // the later 9.icl
}

TEST(IconConvert, LayoutFollowsTheExtensionUnlessTheProjectIsT5uic) {
  EXPECT_EQ(IconLayoutOf("project/12.ICL", false), IconLayout::Icl);
  EXPECT_EQ(IconLayoutOf("project/12.icl", false), IconLayout::Icl);
  EXPECT_EQ(IconLayoutOf("project/logo.ico", false), IconLayout::Raw);
  EXPECT_EQ(IconLayoutOf("project/icl", false), IconLayout::Raw);
  EXPECT_EQ(IconLayoutOf("project/12.icl", true), IconLayout::T5uic);
  EXPECT_EQ(IconLayoutOf("project/3.ico", true), IconLayout::T5uic);

  EXPECT_TRUE(IsT5uicProject("project/T5UIC_CFG.CFG"));
  EXPECT_TRUE(IsT5uicProject("t5uic.cfg"));
  EXPECT_FALSE(IsT5uicProject("project/t5lcd.cfg"));
  EXPECT_FALSE(IsT5uicProject("t5uic_project/t5lcd.cfg"));  // only the file's own name
  EXPECT_FALSE(IsT5uicProject({}));
}

TEST(IconBuild, BuildingTouchesNoFile) {
  IconLibraryJob job;
  job.path = "nowhere/9.icl";
  job.layout = IconLayout::Icl;
  const Bytes file = iclLibrary({solidJpeg(2, 3, Qt::yellow)});
  const BuiltIconLibrary built =
      BuildIconLibrary(PictureEncoding{}, job, ByteView(file), WorkLimits());
  EXPECT_FALSE(built.missing);
  EXPECT_FALSE(built.toPictures);
  ASSERT_EQ(built.zico.size(), 1u);
  EXPECT_EQ(built.zico.records()[0].height, 3);
  // A file that does not exist is missing, with a warning naming it.
  const BuiltIconLibrary none = BuildIconLibrary(PictureEncoding{}, job, WorkLimits());
  EXPECT_TRUE(none.missing);
  ASSERT_EQ(none.warnings.size(), 1u);
  EXPECT_NE(none.warnings[0].find("nowhere/9.icl"), std::string::npos);
}

// ---------------------------------------------- the picture library in runs

// Whole runs over a source folder: which library holds the screen pictures,
// as the block file names it.
struct PictureLibraryRun : test::RunFixture {
  void branchA() {
    test::writeText(source / "13x.bin", "thirteen");
    test::writeText(source / "14x.bin", "fourteen");
  }
  void branchB() {
    fs::remove(source / "13x.bin");
    fs::remove(source / "14x.bin");
  }
  void file(const std::string& name, const Bytes& bytes) {
    test::writeBytes(source / name, ByteView(bytes));
  }
  void blockFile(const std::string& name, const ConfigHeader& h) {
    test::writeBytes(source / name, ByteView(h));
  }
  // What the run wrote into icon/ and image/.
  std::vector<std::string> iconsAndImages() const {
    std::vector<std::string> out;
    for (const std::string& rel : tree()) {
      if (rel.rfind("icon/", 0) == 0 || rel.rfind("image/", 0) == 0) out.push_back(rel);
    }
    return out;
  }
  std::vector<Icon> zico(const std::string& rel) const {
    return parseZico(test::readBytes(priv / rel));
  }
  Bytes asScreenPicture(const Bytes& jpeg, int rotation) const {
    const EncodedPicture picture = EncodePictureBytes(ByteView(jpeg), settings.pictureEncoding(),
                                                      rotation, PictureTarget::File, WorkLimits());
    EXPECT_TRUE(picture.ok);
    return picture.bytes;
  }
};

TEST_F(PictureLibraryRun, TheNamedIclLibraryBecomesTheScreenPicturesTurnedByTheBlockFile) {
  branchA();
  // Byte 5: rotation 90; byte 8: library 5 holds the screen pictures.
  blockFile("t5lc1.cfg", test::header("T5LC1", {{5, 0x01}, {8, 5}}));
  test::writePicture(source / "1.bmp", 40, 30);  // stood in for by the library
  const Bytes j0 = patternJpeg(10, 6);
  const Bytes j2 = patternJpeg(7, 9);
  file("2.ico", rawOf({{0, {1}}}, 1));
  file("5.icl", buildIcl(1, {iclSlot(splitAtScan(j0)), iclSlotOfSize(0x10, 0x40000),
                             iclSlot(splitAtScan(j2, 1))}));
  file("5b.icl", iclLibrary({solidJpeg(3, 2, Qt::cyan)}));  // later, same number: ordinary
  const RunResult r = run();
  ASSERT_EQ(r.outcome, RunOutcome::Completed);

  EXPECT_EQ(iconsAndImages(), (std::vector<std::string>{"icon/", "icon/2.zico", "icon/5.zico",
                                                        "image/", "image/0.zbmp",
                                                        "image/2.zbmp"}));
  EXPECT_EQ(test::zbmpSize(priv / "image/0.zbmp"), std::make_pair(6, 10));
  EXPECT_EQ(test::zbmpSize(priv / "image/2.zbmp"), std::make_pair(9, 7));
  // The very file the icon would make as a screen picture.
  EXPECT_EQ(test::readBytes(priv / "image/2.zbmp"), asScreenPicture(j2, 1));
  const std::vector<Icon> five = zico("icon/5.zico");
  ASSERT_EQ(idsOf(five), (std::vector<int>{0}));
  EXPECT_EQ(five[0].width, 3);
  EXPECT_EQ(r.report.picturesWritten, 2);
  EXPECT_EQ(r.report.iconsWritten, 2);
  // The counts say what the display shows: two screens from the library,
  // and the source picture replaced by it, not ignored.
  EXPECT_EQ(r.totals.picturesConverted, 2);
  EXPECT_TRUE(r.totals.screensFromLibrary);
  EXPECT_EQ(r.totals.picturesReplacedByLibrary, 1);
  EXPECT_EQ(r.totals.inputsIgnored, 0);
}

TEST_F(PictureLibraryRun, IconRotationCarriesOverToALaterRun) {
  const Bytes j0 = patternJpeg(10, 6);
  file("5.icl", iclLibrary({j0}));
  branchA();
  blockFile("t5lc1.cfg", test::header("T5LC1", {{5, 0x03}, {8, 5}}));  // 270
  ASSERT_EQ(run().outcome, RunOutcome::Completed);
  EXPECT_EQ(session.iconRotation, 3);

  // Branch B reads the picture library from the block file but no rotation
  // for its icons: the one of the earlier run stays.
  branchB();
  blockFile("t5lc1.cfg", test::header("T5LC1", {{8, 5}}));
  ASSERT_EQ(run().outcome, RunOutcome::Completed);
  EXPECT_EQ(host.confirmCalls, 1);
  EXPECT_EQ(iconsAndImages(), (std::vector<std::string>{"icon/", "image/", "image/0.zbmp"}));
  EXPECT_EQ(test::readBytes(priv / "image/0.zbmp"), asScreenPicture(j0, 3));
  EXPECT_EQ(session.iconRotation, 3);
}

TEST_F(PictureLibraryRun, RawPictureLibraryKeepsItsZicoAndUsesUpTheNumber) {
  branchA();
  blockFile("t5lc1.cfg", test::header("T5LC1", {{8, 6}}));
  file("6.ico", rawOf({{1, {0x0F0F}}}, 1));
  file("6a.icl", iclLibrary({solidJpeg(3, 3, Qt::gray), solidJpeg(2, 2, Qt::gray)}));
  const RunResult r = run();
  ASSERT_EQ(r.outcome, RunOutcome::Completed);
  // Both were written as .zico files (1 + 2 icons); the later one stays.
  EXPECT_EQ(iconsAndImages(), (std::vector<std::string>{"icon/", "icon/6.zico", "image/"}));
  EXPECT_EQ(r.report.iconsWritten, 3);
  EXPECT_EQ(r.report.picturesWritten, 0);
  const std::vector<Icon> six = zico("icon/6.zico");
  ASSERT_EQ(idsOf(six), (std::vector<int>{0, 1}));
  EXPECT_EQ(six[0].width, 3);
}

TEST_F(PictureLibraryRun, Library65535IsNeverThePictureLibrary) {
  // No block file: no picture library, whose number stands for none.
  branchA();
  test::writePicture(source / "1.bmp", 8, 8);
  file("65535.icl", iclLibrary({patternJpeg(5, 5)}));
  const RunResult r = run();
  ASSERT_EQ(r.outcome, RunOutcome::Completed);
  EXPECT_EQ(iconsAndImages(), (std::vector<std::string>{"icon/", "icon/65535.zico", "image/",
                                                        "image/1.zbmp"}));
  EXPECT_EQ(zico("icon/65535.zico").size(), 1u);
}

TEST_F(PictureLibraryRun, T5uicBlockFileMakesEveryLibraryT5uicInBranchBOnly) {
  // The block file names library 1, and in Branch B it is left alone.
  blockFile("T5UIC_CFG.CFG", test::header("T5LC1", {{8, 1}}));
  const Bytes a = solidJpeg(6, 4, Qt::red);
  const Bytes b = patternJpeg(11, 3);
  file("1.icl", t5uicOf({a, b}));
  file("2.ico", t5uicOf({b}));
  ASSERT_EQ(run().outcome, RunOutcome::Completed);
  EXPECT_EQ(iconsAndImages(),
            (std::vector<std::string>{"icon/", "icon/1.zico", "icon/2.zico", "image/"}));
  const std::vector<Icon> one = zico("icon/1.zico");
  ASSERT_EQ(idsOf(one), (std::vector<int>{0, 2}));
  EXPECT_EQ(one[0].width, 6);
  EXPECT_EQ(one[1].pixels, qtRgb565(b));
  EXPECT_EQ(idsOf(zico("icon/2.zico")), (std::vector<int>{0}));

  // Branch A with the same block file: the ICL and raw layouts, and library
  // 1 holds the screen pictures.
  branchA();
  file("1.icl", iclLibrary({b}));
  file("2.ico", rawOf({{0, {7}}}, 1));
  ASSERT_EQ(run().outcome, RunOutcome::Completed);
  EXPECT_EQ(iconsAndImages(),
            (std::vector<std::string>{"icon/", "icon/2.zico", "image/", "image/0.zbmp"}));
  EXPECT_EQ(test::zbmpSize(priv / "image/0.zbmp"), std::make_pair(11, 3));
}

}  // namespace
