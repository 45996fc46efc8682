// Reading Tessel's outputs back: whole runs decoded and compared with their
// sources, the readers' faults one by one, and tessel-cli inspect.
#include <gtest/gtest.h>

#include <QTransform>
#include <cstdlib>
#include <map>
#include <mutex>

#include "cli/Cli.h"
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
  options.resourceFolder = pathFromUtf8(TESSEL_BIN_DIR);  // real fonts: the check reads them
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
  const QImage bmp = turned(QImage(toQString(source / "1.bmp")), code);
  const QImage jpg = turned(QImage(toQString(source / "2.jpg")), code);
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

// ---- the readers' faults ----------------------------------------------------------

Bytes rows565(int w, int h) {
  Bytes rows(Rgb565Stride(std::uint64_t(w)) * std::uint64_t(h), 0);
  for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = std::uint8_t(i * 7 + 3);
  return rows;
}

void expectFault(const std::string& error, const std::string& part, const char* what) {
  EXPECT_NE(error.find(part), std::string::npos) << what << ": got \"" << error << "\"";
}

TEST(InspectReaders, ZbmpFaultsAreNamed) {
  // 15 x 8 pixels, stride 32: two bytes of padding in each row.
  Bytes rows(32 * 8);
  for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = std::uint8_t((i % 32) * 5);
  Bytes file = EncodeZbmpRows(15, 8, rows);
  ASSERT_EQ(file.at(4), 0xFF);  // compressed
  const PictureReading sound = ReadZbmp(file, true, Limits());
  ASSERT_TRUE(sound.ok()) << sound.error;
  // Row 7, column 14: bytes 7 * 32 + 28 and 29, low byte first.
  EXPECT_EQ(reinterpret_cast<const quint16*>(sound.image.constScanLine(7))[14],
            rows[252] | (rows[253] << 8));
  EXPECT_EQ(sound.image, Rgb565Image(rows.data(), 15, 8, 32));

  Bytes raw = file;
  raw.resize(16);
  raw[4] = raw[5] = 0;
  raw.insert(raw.end(), rows.begin(), rows.end());
  EXPECT_TRUE(ReadZbmp(raw, false, Limits()).ok());

  struct Damage {
    const char* what;
    Bytes bytes;
    const char* fault;
  };
  auto with = [](Bytes b, std::size_t at, std::uint8_t v) { b.at(at) = v; return b; };
  auto cut = [](Bytes b, std::size_t size) { b.resize(size); return b; };
  Bytes longer = file;
  longer.push_back(0);
  Bytes rawLonger = raw;
  rawLonger.push_back(0);
  const Damage damages[] = {
      {"header cut", cut(file, 10), "shorter than the 16-byte header"},
      {"zero width", with(with(file, 0, 0), 1, 0), "size of 0 x 8"},
      {"flag", with(file, 4, 0x01), "compression flag is 0x0001"},
      {"header byte", with(file, 9, 1), "header byte 9"},
      {"stream cut", cut(file, file.size() - 4), "compressed data"},
      {"bytes after stream", longer, "follow the end of its compressed data"},
      {"raw cut", cut(raw, raw.size() - 1), "1 short of the 15 x 8 picture"},
      {"raw longer", rawLonger, "1 bytes follow its last row"},
      {"height grown", with(file, 2, 9), "not the 288 it declares"},
  };
  for (const Damage& d : damages) expectFault(ReadZbmp(d.bytes, true, Limits()).error, d.fault, d.what);
}

TEST(InspectReaders, InflateIsBoundedByTheDeclaredSize) {
  const Bytes data(1000, 0x41);
  const Bytes stream = *ZlibCompress(data);
  std::string error;
  EXPECT_EQ(InflateExact(stream, 1000, error), std::optional<Bytes>(data)) << error;
  EXPECT_FALSE(InflateExact(stream, 999, error));
  expectFault(error, "more than the 999 bytes", "declared too small");
  EXPECT_FALSE(InflateExact(stream, 1001, error));
  expectFault(error, "holds 1000 bytes, not the 1001", "declared too large");
  EXPECT_FALSE(InflateExact(ByteView(stream).first(stream.size() - 6), 1000, error));
  expectFault(error, "ends after ", "stream cut");
  // 4 GiB from a few bytes is refused before anything is allocated.
  EXPECT_FALSE(InflateExact(stream, std::uint64_t(1) << 32, error));
  expectFault(error, "cannot hold", "impossible ratio");
  Bytes broken = stream;
  broken[2] ^= 0xFF;
  EXPECT_FALSE(InflateExact(broken, 1000, error));
}

TEST(InspectReaders, ZicoIndexFaultsNameTheEntry) {
  ZicoBuilder builder;
  ASSERT_TRUE(builder.add(4, 2, 2, Bytes(8, 0x11)));
  ASSERT_TRUE(builder.add(9, 3, 1, Bytes(6, 0x22)));
  const Bytes file = EncodeZico(builder.records(), builder.dataArea());
  const ZicoReading sound = ReadZico(file, true, WorkLimits());
  ASSERT_TRUE(sound.ok());
  ASSERT_EQ(sound.icons.size(), 2u);
  EXPECT_EQ(sound.icons[1].record.id, 9);
  EXPECT_EQ(sound.icons[1].image.pixel(2, 0), Rgb565Image(Bytes(6, 0x22).data(), 3, 1, 6).pixel(2, 0));
  EXPECT_TRUE(ReadZico({}, true, WorkLimits()).empty);

  auto patched = [&](std::size_t at, std::uint32_t value, int bytes) {
    Bytes b = file;
    for (int i = 0; i < bytes; ++i) b.at(at + std::size_t(i)) = std::uint8_t(value >> (8 * i));
    return b;
  };
  const std::size_t second = 8 + 16;  // the second record
  auto entryError = [](const Bytes& b) {
    const ZicoReading r = ReadZico(b, true, WorkLimits());
    std::string all = r.error;
    for (const ZicoIcon& i : r.icons) all += i.error;
    return all;
  };
  expectFault(entryError(patched(0, 'X', 1)), "does not start with \"ZICO\"", "magic");
  expectFault(entryError(patched(4, 33, 4)), "not a multiple of 16", "index size");
  expectFault(entryError(patched(4, 4800, 4)), "runs past the end of the file", "index past end");
  expectFault(entryError(patched(second + 8, 1000, 4)),
              "entry 1 (id 9) points past the end of the file", "offset");
  expectFault(entryError(patched(second + 12, 0xFFFFFFF0u, 4)), "entry 1 (id 9) points past",
              "size wraps");
  expectFault(entryError(patched(second, 4, 2)), "entry 1 (id 4) repeats the id of entry 0", "id");
  expectFault(entryError(patched(second + 2, 2, 2)), "has kind 2", "kind");
  expectFault(entryError(patched(second + 8, 0, 4)), "shares its data with entry 0", "overlap");
  expectFault(entryError(patched(second + 4, 4, 2)), "entry 1 (id 9): its compressed data", "size");
}

TEST(InspectReaders, PackEntriesAreCheckedAgainstImageBin) {
  PicturePack pack;
  Report report;
  EncodedPicture block;
  block.ok = true;
  block.packKind = kPackZlibRgb565;
  block.width = 3;
  block.height = 2;
  block.bytes = *ZlibCompress(rows565(3, 2));
  pack.append(0, block, "a", report);
  pack.append(2, block, "b", report);  // slot 1 stays a gap
  const PackReading sound = ReadPack(pack.index(), pack.data(), true, Limits());
  ASSERT_TRUE(sound.ok());
  ASSERT_EQ(sound.entries.size(), 2u);
  EXPECT_EQ(sound.entries[1].number, 2);
  EXPECT_EQ(sound.entries[1].image, Rgb565Image(rows565(3, 2).data(), 3, 2, 8));

  auto patched = [&](std::size_t at, std::uint32_t value, int bytes) {
    Bytes b = pack.index();
    for (int i = 0; i < bytes; ++i) b.at(at + std::size_t(i)) = std::uint8_t(value >> (8 * i));
    return b;
  };
  auto errors = [&](const Bytes& index, ByteView data) {
    const PackReading r = ReadPack(index, data, false, Limits());
    std::string all;
    for (const std::string& e : r.errors) all += e;
    for (const PackEntry& e : r.entries) all += e.error;
    return all;
  };
  const std::size_t e2 = 32;
  expectFault(errors(patched(e2 + 3, packBaseAddress + 1000, 4), pack.data()),
              "entry 2 points past the end of image.bin", "address");
  expectFault(errors(patched(e2 + 3, 0x100, 4), pack.data()), "lies before 0x00B00000", "base");
  expectFault(errors(patched(e2, 7, 2), pack.data()), "entry 2 holds the number 7", "number");
  expectFault(errors(patched(e2 + 2, 0x05, 1), pack.data()), "has kind 0x05", "kind");
  expectFault(errors(patched(e2 + 3, packBaseAddress, 4), pack.data()),
              "entry 2 shares its data with entry 0", "overlap");
  expectFault(errors(patched(e2 + 9, 3, 2), pack.data()), "entry 2: its compressed data", "height");
  const Bytes cutBin(pack.data().begin(), pack.data().end() - 1);
  expectFault(errors(pack.index(), cutBin), "entry 2 points past the end of image.bin", "bin cut");
  Bytes ragged = pack.index();
  ragged.push_back(0);
  expectFault(errors(ragged, pack.data()), "not a whole number of 16-byte entries", "ragged");
}

TEST(InspectReaders, ConfigTextGivesBackEveryParameterItWasWrittenFrom) {
  int checked = 0;
  for (int bits = 0; bits < (1 << 9); ++bits) {
    SetupValues v;
    v.baudIndex = (bits * 3) % 8;
    v.useTouchFile = bits & 1;
    v.touchFileNotify = (bits >> 1) & 1;
    v.coordinateNotify = (bits >> 2) & 1;
    v.longPressNotify = (bits >> 3) & 1;
    v.touchBeep = (bits >> 4) % 3;
    v.screenRotation = (bits >> 5) & 3;
    v.restoreTextBackground = (bits >> 7) & 1;
    v.delayedRefresh = (bits >> 8) & 1;
    // What the registers cannot hold: a long press without the press
    // notification of the touch file, and beep 2 with coordinates.
    if (v.useTouchFile && v.longPressNotify && v.touchFileNotify == 0) continue;
    if (!v.useTouchFile && v.touchBeep == 2) continue;
    const std::string text = *FormatBranchB(v, bits % 2 ? 4 : 0, FontDisplay::Bitmap);
    const ConfigReading r = ReadConfigText(ByteView(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    EXPECT_TRUE(r.errors.empty() && r.notes.empty()) << text;
    EXPECT_EQ(r.values, applicable(v)) << text;
    ++checked;
  }
  EXPECT_GT(checked, 300);

  auto read = [](const std::string& text) {
    return ReadConfigText(ByteView(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
  };
  const ConfigReading bad = read("R1=03; 9600\r\nR2;\r\nR3=\r\nR12345678=1\r\nRC0=123456789\r\nnot a register\r\n");
  ASSERT_EQ(bad.errors.size(), 5u);
  EXPECT_EQ(bad.errors[0], "line 2 (\"R2;\") has no '=' after R2");
  EXPECT_EQ(bad.errors[1], "line 3 (\"R3=\") gives R3 no hex value");
  expectFault(bad.errors[2], "line 4", "register number");
  expectFault(bad.errors[3], "line 5", "value width");
  expectFault(bad.errors[4], "no R2 line", "R2 missing");
  const ConfigReading a = read("R1=2580; 9600\nR2=24;\nR2=00;\n");  // Branch A, unmatched speed
  EXPECT_TRUE(a.errors.empty());
  EXPECT_EQ(a.notes.size(), 2u);
  EXPECT_EQ(a.parameters.size(), 7u);  // no R3: no delayed refresh, the touch-file notify
  EXPECT_EQ(a.parameters[0].label, "波特率");
  EXPECT_EQ(a.parameters[0].value, "invalid (register 1 = 9600)");
}

TEST(InspectReaders, FontFilesAreReadStrictly) {
  const std::string ini = "[setting]\r\nfont0=font.ttf";
  EXPECT_EQ(ReadTruefontIni(ByteView(reinterpret_cast<const std::uint8_t*>(ini.data()), ini.size())).font,
            "font.ttf");
  for (const std::string& bad : {std::string("font0=font.ttf"), std::string("[setting]\r\n"),
                                 std::string("[setting]\nfont0=../../etc/passwd")}) {
    const TruefontIni r =
        ReadTruefontIni(ByteView(reinterpret_cast<const std::uint8_t*>(bad.data()), bad.size()));
    EXPECT_FALSE(r.error.empty()) << bad;
    EXPECT_TRUE(r.font.empty() || r.font == "font.ttf") << bad;
  }
  const Bytes font = readBytes(pathFromUtf8(TESSEL_BIN_DIR) / "font.ttf");
  std::string error;
  EXPECT_EQ(ReadFontName(font, error), std::optional<std::string>("DejaVu Sans Mono"));
  for (const std::size_t size : {std::size_t(0), std::size_t(11), std::size_t(200)}) {
    EXPECT_FALSE(ReadFontName(ByteView(font).first(size), error)) << size;
    EXPECT_FALSE(error.empty());
  }
}

// ---- tessel-cli inspect ------------------------------------------------------------

struct InspectCli : test::RunFixture {};

TEST_F(InspectCli, CheckNamesEveryFaultAndWritesNothing) {
  settings.singlePictureFiles = true;
  options.resourceFolder = pathFromUtf8(TESSEL_BIN_DIR);
  writePicture(source / "1.bmp", 64, 48);
  writePicture(source / "2.bmp", 8, 8);
  std::vector<build::Bytes> jpegs;
  for (int i = 0; i < 3; ++i) jpegs.push_back(build::encode(build::icon(16, i), "JPG", 90));
  writeBytes(source / "20.icl", build::iclLibrary(jpegs));
  ASSERT_EQ(run().outcome, RunOutcome::Completed);

  const test::CliRun soundRun = runCli({"inspect", "--check", pathToUtf8(output)});
  EXPECT_EQ(soundRun.status, cli::kDone) << soundRun.out << soundRun.err;
  EXPECT_EQ(soundRun.out, "");
  EXPECT_EQ(runCli({"inspect", "--check", pathToUtf8(priv)}).status, cli::kDone);

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
  const test::CliRun damaged = test::runCliProcess({"--lang", "en", "inspect", "--check", pathToUtf8(output)}, {});
  EXPECT_EQ(damaged.status, cli::kUnsound);
  EXPECT_EQ(test::listTree(dir.path()), before);
  const std::string lines = "\n" + damaged.out;
  for (const std::string line :
       {"image/1.zbmp: its compressed data ends after ",
        "icon/20.zico: entry 2 (id 2) points past the end of the file",
        "bin/image.idx: entry 1 points past the end of image.bin"}) {
    EXPECT_NE(lines.find("\n" + line), std::string::npos) << line << "\n" << damaged.out;
  }
  EXPECT_NE(damaged.err.find("3 faults"), std::string::npos) << damaged.err;
}

TEST_F(InspectCli, UsageAndRefusals) {
  const std::string out = pathToUtf8(output);
  EXPECT_EQ(runCli({"inspect", out}).status, cli::kUsage);
  EXPECT_EQ(runCli({"inspect", "--check", "-o", out + "/page", out}).status, cli::kUsage);
  EXPECT_EQ(runCli({"inspect"}).status, cli::kUsage);
  const test::CliRun nothing = runCli({"inspect", "--check", pathToUtf8(source)});
  EXPECT_EQ(nothing.status, cli::kUnsound);
  EXPECT_NE(nothing.out.find("no output here"), std::string::npos) << nothing.out;

  writePicture(source / "1.bmp", 8, 8);
  ASSERT_EQ(run().outcome, RunOutcome::Completed);
  const test::CliRun inside = runCli({"inspect", out, "-o", pathToUtf8(priv / "page")});
  EXPECT_EQ(inside.status, cli::kRefused);
  EXPECT_FALSE(fs::exists(priv / "page"));
  EXPECT_NE(inside.err.find("copied to the SD card"), std::string::npos) << inside.err;
}

}  // namespace
}  // namespace tessel
