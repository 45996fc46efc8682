// Writing config.txt (both branches), the configuration steps of a run, the
// configuration dialog's registers and the command line's setup corrections.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>

#include "config/ConfigRegisters.h"
#include "config/ConfigSteps.h"
#include "config/SetupOverrides.h"
#include "config/SourceConfig.h"
#include "config/TargetConfig.h"
#include "model/OutputLayout.h"
#include "support/TestSupport.h"
#include "test_config_fixtures.h"
#include "util/FileIO.h"

namespace tessel {
namespace {

using test::header;
using test::TempDir;

constexpr FontDisplay kVector = FontDisplay::Vector;
constexpr FontDisplay kBitmap = FontDisplay::Bitmap;

std::string branchA(const ConfigHeader& h, FontDisplay fontDisplay) {
  return FormatBranchA(DecodeRegisterSet(h, RotationChoice::Automatic), fontDisplay);
}

// ---- Branch A -------------------------------------------------------------

TEST(ConfigWriteBranchA, T5LC1Files) {
  EXPECT_EQ(branchA(header("T5LC1", {{11, 28}}), kVector), "R1=07; 115200\r\nR2=00;\r\nRC=20;\r\n");
  EXPECT_EQ(branchA(header("T5LC1", {{11, 28}}), kBitmap),
            "R1=07; 115200\r\nR2=00;\r\nRC=20;\r\nRFC=18;FONT_MODE\r\n");
  EXPECT_EQ(branchA(header("T5LC1", {{5, 0x0C}, {11, 28}, {12, 100}, {13, 50}, {14, 0x01},
                                     {15, 0x2C}}),
                    kBitmap),
            "R1=07; 115200\r\nR2=20;\r\nR6=40; BL ON(0x00~0x40)\r\nR7=20; BL OFF(0x00~0x40)\r\n"
            "R8=03; TIME\r\nRFC=18;FONT_MODE\r\n");
  // Divisor 1: 3225600 matches no rate and is written in full (0x313800).
  EXPECT_EQ(branchA(header("T5LC1", {{11, 1}}), kVector),
            "R1=313800; 3225600\r\nR2=00;\r\nRC=20;\r\n");
  // Divisor 0 reads as 115200; a wide sleep time keeps all its digits.
  EXPECT_EQ(branchA(header("T5LC1", {{5, 0x4C}, {12, 255}, {14, 0xFF}, {15, 0xFF}}), kVector),
            "R1=07; 115200\r\nR2=20;\r\nR6=A3; BL ON(0x00~0x40)\r\nR7=00; BL OFF(0x00~0x40)\r\n"
            "R8=28F; TIME\r\nRC=80;\r\n");
}

TEST(ConfigWriteBranchA, UnmarkedFiles) {
  // 7833600 / 816 = 9600. Byte 11 is not 0x5A: short form whatever byte 8 says.
  EXPECT_EQ(branchA(header("", {{8, 0x04}, {9, 0x03}, {10, 0x30}, {12, 100}}), kVector),
            "R1=03; 9600\r\nR2=00;\r\n");
  EXPECT_EQ(branchA(header("", {{8, 0x21}, {32, 0x5A}, {33, 0x01}}), kBitmap),
            "R1=07; 115200\r\nR2=84;\r\nR20=5A;\r\nR21=01;\r\nRFC=18;\r\n");
  EXPECT_EQ(branchA(header("", {{8, 0x04}, {11, 0x5A}, {12, 100}, {13, 0}, {14, 0x07}, {15, 0xD0},
                                {32, 0x5A}, {33, 0x01}, {35, 0x5A}, {36, 0x7F}}),
                    kVector),
            "R1=07; 115200\r\nR2=20;\r\nR6=40; BL ON(0x00~0x40)\r\nR7=00; BL OFF(0x00~0x40)\r\n"
            "R8=0A; TIME\r\nR20=5A;\r\nR21=01;\r\nR23=5A;\r\nR24=7F;\r\n");
  // Pair 2 alone; pairs need exactly 0x5A.
  EXPECT_EQ(branchA(header("", {{32, 0x5B}, {33, 0x01}, {35, 0x5A}, {36, 0x00}}), kVector),
            "R1=07; 115200\r\nR2=00;\r\nR23=5A;\r\nR24=00;\r\n");
  // A slow rate that matches nothing: 7833600 / 0xFFFF = 119.
  EXPECT_EQ(branchA(header("", {{9, 0xFF}, {10, 0xFF}}), kVector), "R1=77; 119\r\nR2=00;\r\n");
}

// ---- Branch B -------------------------------------------------------------

TEST(ConfigWriteBranchB, DefaultsAndAdditions) {
  const SetupValues defaults;
  EXPECT_EQ(FormatBranchB(defaults, 0, kVector), "R1=03; 9600\r\nR2=C8;\r\nR3=7F;\r\nRC0=01;");
  EXPECT_EQ(FormatBranchB(defaults, 4, kBitmap),
            "R1=03; 9600\r\nR2=C8;\r\nR3=7F;\r\nRC0=01;\r\nRFA=01;\r\nRFC=18;");
  SetupValues v;
  v.restoreTextBackground = false;
  v.baudIndex = 7;
  EXPECT_EQ(FormatBranchB(v, 1, kVector), "R1=07; 115200\r\nR2=C8;\r\nR3=7F;");
  v.screenRotation = 3;
  v.delayedRefresh = true;
  EXPECT_EQ(FormatBranchB(v, 0, kVector), "R1=07; 115200\r\nR2=CC;\r\nR3=DF;");
}

TEST(ConfigWriteBranchB, RegisterBits) {
  struct Case {
    bool touchFile;
    int coordinate, fileNotify;
    bool longPress;
    int beep, rotation;
    bool delayed;
    std::uint8_t r2, r3;
  };
  const Case cases[] = {
      {false, 0, 0, false, 0, 0, false, 0xC8, 0x7F},
      {false, 1, 1, true, 1, 0, false, 0x00, 0x7F},
      {false, 1, 0, false, 2, 1, true, 0x44, 0xFF},  // beep 2 sets nothing without the file
      {false, 0, 0, true, 1, 2, true, 0x80, 0xDF},
      {true, 0, 0, false, 0, 0, false, 0x68, 0x7F},
      {true, 1, 1, true, 2, 0, false, 0x2B, 0x7F},   // coordinateNotify plays no part
      {true, 0, 1, false, 1, 3, false, 0x65, 0x5F},
  };
  for (const Case& c : cases) {
    SetupValues v;
    v.useTouchFile = c.touchFile;
    v.coordinateNotify = c.coordinate;
    v.touchFileNotify = c.fileNotify;
    v.longPressNotify = c.longPress;
    v.touchBeep = c.beep;
    v.screenRotation = c.rotation;
    v.delayedRefresh = c.delayed;
    const SetupRegisters r = ComposeSetupRegisters(v);
    EXPECT_EQ(r.r2, c.r2) << "case r2 " << int(c.r2);
    EXPECT_EQ(r.r3, c.r3) << "case r2 " << int(c.r2);
  }
}

TEST(ConfigWriteBranchB, EachBaudIndexHasItsLine) {
  const char* const lines[] = {"R1=00; 1200\r\n",  "R1=01; 2400\r\n",  "R1=02; 4800\r\n",
                               "R1=03; 9600\r\n",  "R1=04; 19200\r\n", "R1=05; 38400\r\n",
                               "R1=06; 57600\r\n", "R1=07; 115200\r\n"};
  for (int index = 0; index < 8; ++index) {
    SetupValues v;
    v.baudIndex = index;
    const auto text = FormatBranchB(v, 0, kVector);
    ASSERT_TRUE(text);
    const std::string expected = lines[index];
    EXPECT_EQ(text->substr(0, expected.size()), expected);
  }
}

// Values the dialog can leave behind: without the touch file the beep is 0
// or 1; with it, ticking long press also sets touchFileNotify to 1.
TEST(ConfigWriteBranchB, WrittenFileReadsBackToTheSameValues) {
  for (int baud = 0; baud < 8; baud += 7)
    for (bool touchFile : {false, true})
      for (int coordinate : {0, 1})
        for (int fileNotify : {0, 1})
          for (bool longPress : {false, true})
            for (int beep : {0, 1, 2})
              for (int rotation : {0, 1, 2, 3})
                for (bool delayed : {false, true}) {
                  if (!touchFile && beep == 2) continue;
                  if (touchFile && longPress && fileNotify == 0) continue;
                  SetupValues v;
                  v.baudIndex = baud;
                  v.useTouchFile = touchFile;
                  v.coordinateNotify = coordinate;
                  v.touchFileNotify = fileNotify;
                  v.longPressNotify = longPress;
                  v.touchBeep = beep;
                  v.screenRotation = rotation;
                  v.delayedRefresh = delayed;
                  const auto text = FormatBranchB(v, 0, kBitmap);
                  ASSERT_TRUE(text);
                  SetupValues back = v;  // values a branch does not write stay
                  back.baudIndex = -5;
                  ApplyTextRegisters(back, ParseRegisterText(test::bytesOf(*text)));
                  SetupValues expected = v;
                  expected.restoreTextBackground = false;  // R3 bit 4 is always set
                  EXPECT_EQ(back, expected) << *text;
                }
}

// ---- the steps of a run -----------------------------------------------------

struct StepFolders {
  TempDir dir;
  std::filesystem::path source = dir / "project";
  OutputLayout layout{dir / "out"};
  Report report;
  OutputWriter out{report};
  StepFolders() {
    std::filesystem::create_directories(source);
    std::filesystem::create_directories(layout.privateFolder());
  }
  std::string configText() const { return test::readText(layout.configText()); }
};

TEST(ConfigSteps, BranchACopiesTheTextOrWritesFromTheHeader) {
  StepFolders f;
  const std::string text = "R1=03; any bytes \x01\xFF\r\nno final newline";
  test::writeText(f.source / "config.txt", text);
  test::writeBytes(f.source / "t5lc1.cfg", ByteView(header("T5LC1", {{5, 0x02}, {8, 4}})));
  SourceInventory inventory;
  inventory.configText = f.source / "config.txt";
  inventory.t5Config = f.source / "t5lc1.cfg";
  // With a register text the header is not read: it names nothing.
  EXPECT_EQ(WriteConfigBranchA(inventory, RotationChoice::Cw90, kBitmap, f.layout, f.out),
            BlockFindings{});
  EXPECT_EQ(f.configText(), text);

  inventory.configText.clear();
  EXPECT_EQ(WriteConfigBranchA(inventory, RotationChoice::Cw90, kBitmap, f.layout, f.out),
            (BlockFindings{std::uint8_t(4), 1}));
  EXPECT_EQ(f.configText(), "R1=07; 115200\r\nR2=40;\r\nRC=20;\r\nRFC=18;FONT_MODE\r\n");
  EXPECT_TRUE(f.report.warnings.empty());
  EXPECT_EQ(f.report.filesWritten, 2);
}

TEST(ConfigSteps, BranchAWithoutReadableSourcesWritesNothing) {
  StepFolders f;
  SourceInventory inventory;
  const auto writeA = [&] {
    return WriteConfigBranchA(inventory, RotationChoice::Automatic, kVector, f.layout, f.out);
  };
  EXPECT_EQ(writeA(), BlockFindings{});
  EXPECT_FALSE(std::filesystem::exists(f.layout.configText()));
  EXPECT_TRUE(f.report.warnings.empty());

  inventory.t5Config = f.source / "t5gone.cfg";
  EXPECT_EQ(writeA(), BlockFindings{});
  EXPECT_FALSE(std::filesystem::exists(f.layout.configText()));
  ASSERT_EQ(f.report.warnings.size(), 1u);
  EXPECT_NE(f.report.warnings[0].find("t5gone.cfg"), std::string::npos);

  // A named but vanished register text: nothing is generated in its place.
  test::writeBytes(f.source / "t5.cfg", ByteView(header("T5LC1", {{8, 2}})));
  inventory.t5Config = f.source / "t5.cfg";
  inventory.configText = f.source / "config_gone.txt";
  EXPECT_EQ(writeA(), BlockFindings{});
  EXPECT_FALSE(std::filesystem::exists(f.layout.configText()));
  ASSERT_EQ(f.report.warnings.size(), 2u);
  EXPECT_NE(f.report.warnings[1].find("config_gone.txt"), std::string::npos);
  EXPECT_EQ(f.report.filesWritten, 0);
}

TEST(ConfigSteps, BranchBCopiesAsTheyAreThenWritesTheConfirmedValues) {
  StepFolders f;
  CopyConfigBranchB({}, f.layout, f.out);  // nothing to copy
  EXPECT_TRUE(test::listTree(f.layout.privateFolder()).empty());
  EXPECT_EQ(f.report.filesWritten, 0);

  test::writeText(f.source / "13touch.bin", "table");
  test::writeText(f.source / "my_config.txt", "R1=05\nR2=E8\nR3=DF\n");
  SourceInventory inventory;
  inventory.table13 = f.source / "13touch.bin";
  inventory.configText = f.source / "my_config.txt";
  CopyConfigBranchB(inventory, f.layout, f.out);
  EXPECT_EQ(test::readText(f.layout.configBin()), "table");
  EXPECT_EQ(f.configText(), "R1=05\nR2=E8\nR3=DF\n");

  SetupValues values;
  values.baudIndex = 5;
  values.useTouchFile = true;
  values.screenRotation = 2;
  values.restoreTextBackground = false;
  values.delayedRefresh = true;
  EXPECT_TRUE(WriteConfigBranchB(values, 4, kVector, f.layout, f.out));
  EXPECT_EQ(f.configText(), "R1=05; 38400\r\nR2=68;\r\nR3=DF;\r\nRFA=01;");
  EXPECT_EQ(f.report.filesWritten, 3);
  EXPECT_TRUE(f.report.warnings.empty());
}

TEST(ConfigSteps, BranchBNeverWritesABaudIndexOutsideTheList) {
  StepFolders f;
  test::writeText(f.layout.configText(), "copy of the source");
  std::size_t warnings = 0;
  for (int index : {-1, 8, 31, 2147483647}) {
    SetupValues values;
    values.baudIndex = index;
    EXPECT_EQ(FormatBranchB(values, 0, kVector), std::nullopt) << index;
    EXPECT_FALSE(WriteConfigBranchB(values, 0, kVector, f.layout, f.out)) << index;
    EXPECT_EQ(f.configText(), "copy of the source");
    ASSERT_EQ(f.report.warnings.size(), ++warnings);
    EXPECT_NE(f.report.warnings.back().find(std::to_string(index)), std::string::npos);
  }
  EXPECT_EQ(f.report.filesWritten, 0);
}

// ---- configuration dialog registers -------------------------------------------

TEST(ConfigPara, CheckBoxesToRegisters) {
  const std::array<bool, 10> defaults = {true, true, false, false, true,
                                         false, false, false, true, true};
  ParaRegisters p = ComputePara(defaults);
  EXPECT_EQ(p.para1, 0x00);
  EXPECT_EQ(p.para2, 0xFF);
  p = ComputePara({});
  EXPECT_EQ(p.para1, 0xC8);
  EXPECT_EQ(p.para2, 0x9F);
  std::array<bool, 10> all;
  all.fill(true);
  p = ComputePara(all);
  EXPECT_EQ(p.para1, 0x37);
  EXPECT_EQ(p.para2, 0xFF);

  // Toggling one box away from its default changes exactly its own bit.
  const std::uint8_t para1Bit[10] = {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01, 0, 0};
  const std::uint8_t para2Bit[10] = {0, 0, 0, 0, 0, 0, 0, 0, 0x40, 0x20};
  for (std::size_t i = 0; i < 10; ++i) {
    std::array<bool, 10> boxes = defaults;
    boxes[i] = !boxes[i];
    const ParaRegisters q = ComputePara(boxes);
    EXPECT_EQ(q.para1, para1Bit[i]) << "box " << 1005 + i;
    EXPECT_EQ(q.para2, 0xFF & ~para2Bit[i]) << "box " << 1005 + i;
  }
}

// ---- --set corrections --------------------------------------------------------

TEST(ConfigOverrides, AcceptedSettings) {
  SetupValues v;
  std::string error;
  for (const char* s : {"baud=115200", "touch-file=on", "coordinate-notify=1", "touch-file-notify=1",
                        "long-press=ON", " touch-beep = 2 ", "screen-rotation=270",
                        "restore-text-background=off", "Delayed-Refresh=on"}) {
    EXPECT_TRUE(ApplySetupOverride(v, s, &error)) << s << ": " << error;
  }
  SetupValues expected;
  expected.baudIndex = 7;
  expected.useTouchFile = true;
  expected.coordinateNotify = 1;
  expected.touchFileNotify = 1;
  expected.longPressNotify = true;
  expected.touchBeep = 2;
  expected.screenRotation = 3;
  expected.restoreTextBackground = false;
  expected.delayedRefresh = true;
  EXPECT_EQ(v, expected);
  EXPECT_TRUE(ApplySetupOverride(v, "baud=1200", nullptr));
  EXPECT_EQ(v.baudIndex, 0);
  EXPECT_TRUE(ApplySetupOverride(v, "screen-rotation=90", nullptr));
  EXPECT_EQ(v.screenRotation, 1);
}

TEST(ConfigOverrides, RefusedSettingsChangeNothing) {
  const SetupValues before;
  for (const char* s : {"baud", "baud=", "baud=9601", "baud=9600x", "baud=-9600", "speed=9600",
                        "=on", "touch-file=yes", "touch-file=1", "coordinate-notify=2",
                        "touch-file-notify=-1", "touch-beep=3", "screen-rotation=45",
                        "screen-rotation=3", "long-press=", "delayed-refresh=on=off"}) {
    SetupValues v;
    std::string error;
    EXPECT_FALSE(ApplySetupOverride(v, s, &error)) << s;
    EXPECT_FALSE(error.empty()) << s;
    EXPECT_EQ(v, before) << s;
  }
  std::string error;
  SetupValues v;
  ApplySetupOverride(v, "speed=9600", &error);
  EXPECT_NE(error.find("speed"), std::string::npos);
  ApplySetupOverride(v, "screen-rotation=45", &error);
  EXPECT_NE(error.find("270"), std::string::npos);
}

TEST(ConfigOverrides, DescriptionListsEveryValueAndReadsBack) {
  EXPECT_EQ(DescribeSetupValues(SetupValues{}),
            "baud=9600\ntouch-file=off\ncoordinate-notify=0\ntouch-file-notify=0\n"
            "long-press=off\ntouch-beep=0\nscreen-rotation=0\nrestore-text-background=on\n"
            "delayed-refresh=off\n");
  SetupValues odd;
  odd.baudIndex = 31;
  EXPECT_NE(DescribeSetupValues(odd).find("baud=invalid (register 1 = 31)\n"), std::string::npos);

  SetupValues v;
  v.baudIndex = 5;
  v.useTouchFile = true;
  v.touchFileNotify = 1;
  v.longPressNotify = true;
  v.touchBeep = 1;
  v.screenRotation = 2;
  v.restoreTextBackground = false;
  v.delayedRefresh = true;
  const std::string listing = DescribeSetupValues(v);
  SetupValues back;
  std::size_t start = 0;
  int lines = 0;
  while (start < listing.size()) {
    const std::size_t end = listing.find('\n', start);
    ASSERT_TRUE(ApplySetupOverride(back, listing.substr(start, end - start), nullptr));
    start = end + 1;
    ++lines;
  }
  EXPECT_EQ(lines, 9);
  EXPECT_EQ(back, v);
}

}  // namespace
}  // namespace tessel
