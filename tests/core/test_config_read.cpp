// Reading the source configuration: the block file header (both layouts of
// Branch A, the four marked layouts of Branch B) and the register text.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <random>
#include <string>
#include <utility>

#include "config/Baud.h"
#include "config/ConfigHeader.h"
#include "config/SourceConfig.h"
#include "support/TestSupport.h"
#include "test_config_fixtures.h"
#include "config/ConfigRead.h"
#include "config/ConfigRegisters.h"
#include "config/TargetConfig.h"

namespace tessel {
namespace {

using test::header;
using test::TempDir;

using test::bytesOf;

TextRegisters parse(const std::string& text) { return ParseRegisterText(bytesOf(text)); }

// ---- baud rates -----------------------------------------------------------

TEST(ConfigBaud, MatchesWithinFivePercentOfTheRate) {
  EXPECT_EQ(MatchBaudIndex(1200), 0);
  EXPECT_EQ(MatchBaudIndex(9600), 3);
  EXPECT_EQ(MatchBaudIndex(115200), 7);
  EXPECT_EQ(MatchBaudIndex(7833600 / 68), 7);  // 115200 exactly
  // The deviation is taken relative to the rate: 9600 / 1.05 = 9142.86 and
  // 9600 / 0.95 = 10105.26 are the bounds around index 3.
  EXPECT_EQ(MatchBaudIndex(9143), 3);
  EXPECT_EQ(MatchBaudIndex(9142), std::nullopt);
  EXPECT_EQ(MatchBaudIndex(10105), 3);
  EXPECT_EQ(MatchBaudIndex(10106), std::nullopt);
  EXPECT_EQ(MatchBaudIndex(0), std::nullopt);
  EXPECT_EQ(MatchBaudIndex(-9600), std::nullopt);
  EXPECT_EQ(MatchBaudIndex(3225600), std::nullopt);
  EXPECT_EQ(MatchBaudIndex(2147483647), std::nullopt);
  EXPECT_EQ(MatchBaudIndex(-2147483647 - 1), std::nullopt);
}

// ---- header and markers ---------------------------------------------------

TEST(ConfigHeaderMarkers, FoundOnlyBeforeTheFirstZeroAndWithinSixtyFourBytes) {
  EXPECT_TRUE(HasMarker(header("xxT5LC1", {}), kMarkerT5LC1));
  EXPECT_FALSE(HasMarker(header("T5LC1", {}), kMarkerT5C1));  // "T5LC1" holds no "T5C1"

  ConfigHeader afterZero = header("ab", {});
  const std::string_view m = kMarkerT5C2;
  for (std::size_t i = 0; i < m.size(); ++i) afterZero[3 + i] = static_cast<std::uint8_t>(m[i]);
  EXPECT_FALSE(HasMarker(afterZero, kMarkerT5C2));  // byte 2 is zero

  // No zero byte at all: the text is the 64 bytes, no further.
  ConfigHeader full;
  full.fill('.');
  for (std::size_t i = 0; i < 5; ++i) full[59 + i] = static_cast<std::uint8_t>("T5LC1"[i]);
  EXPECT_TRUE(HasMarker(full, kMarkerT5LC1));
  Bytes longer(70, '.');
  for (std::size_t i = 0; i < 5; ++i) longer[60 + i] = static_cast<std::uint8_t>("T5LC1"[i]);
  EXPECT_FALSE(HasMarker(MakeConfigHeader(ByteView(longer)), kMarkerT5LC1));
}

TEST(ConfigHeaderMarkers, ShortFilesAreZeroFilledAndMissingFilesGiveNothing) {
  TempDir dir;
  Bytes junk(10, 0xEE);
  test::writeBytes(dir / "t5short.cfg", ByteView(junk));
  const auto h = ReadConfigHeader(dir / "t5short.cfg");
  ASSERT_TRUE(h);
  for (std::size_t i = 0; i < h->size(); ++i) EXPECT_EQ((*h)[i], i < 10 ? 0xEE : 0) << i;
  EXPECT_FALSE(ReadConfigHeader(dir / "absent.cfg"));
  EXPECT_FALSE(ReadConfigHeader({}));
  EXPECT_FALSE(ReadConfigHeader(dir.path()));  // a folder is no file
}

// ---- Branch A -------------------------------------------------------------

constexpr RotationChoice kAutomatic = RotationChoice::Automatic;

TEST(ConfigBranchA, T5LC1Divisor28FlagsClear) {
  const RegisterSet rs = DecodeRegisterSet(
      header("T5LC1", {{8, 5}, {10, 0x00}, {11, 0x1C}, {12, 100}}), kAutomatic);
  EXPECT_EQ(rs.layout, ConfigLayout::T5LC1);
  EXPECT_EQ(rs.baudRate, 115200);
  EXPECT_EQ(rs.r1Value, 7);
  EXPECT_EQ(rs.r2, 0x00);
  EXPECT_EQ(rs.rc, 0x20);
  EXPECT_EQ(rs.backlightOn, 0);  // bit 2 of byte 5 is clear
  EXPECT_EQ(rs.backlightOff, 0);
  EXPECT_EQ(rs.sleepTime, 0);
  EXPECT_FALSE(rs.pass1.present);
  EXPECT_EQ(rs.findings, (BlockFindings{std::uint8_t(5), 0}));
}

TEST(ConfigBranchA, T5LC1FlagByteBitByBit) {
  struct Case {
    std::uint8_t flags, r2, rc;
  };
  // Bit 3 clear sets RC bit 5, so every case but bit 3's has RC 0x20.
  const Case cases[] = {{0x01, 0x80, 0x20}, {0x02, 0x40, 0x20}, {0x04, 0x20, 0x20},
                        {0x08, 0x00, 0x00}, {0x10, 0x08, 0x20}, {0x20, 0x04, 0x20},
                        {0x40, 0x00, 0xA0}, {0x80, 0x10, 0x20}, {0xFF, 0xFC, 0x80}};
  for (const Case& c : cases) {
    const RegisterSet rs = DecodeRegisterSet(header("T5LC1", {{5, c.flags}}), kAutomatic);
    EXPECT_EQ(rs.r2, c.r2) << int(c.flags);
    EXPECT_EQ(rs.rc, c.rc) << int(c.flags);
  }
}

TEST(ConfigBranchA, IconRotationIsTheFlagsOrTheChosenRotation) {
  // Automatic: the low two bits of byte 5.
  const std::pair<std::uint8_t, int> automatic[] = {{0x00, 0}, {0x0D, 1}, {0xFE, 2}, {0x07, 3}};
  for (auto [flags, code] : automatic) {
    EXPECT_EQ(DecodeRegisterSet(header("T5LC1", {{5, flags}}), kAutomatic).findings.iconRotation,
              code)
        << int(flags);
  }
  // A chosen rotation, whatever the flags say.
  const std::pair<RotationChoice, int> chosen[] = {{RotationChoice::None, 0},
                                                   {RotationChoice::Cw90, 1},
                                                   {RotationChoice::Cw180, 2},
                                                   {RotationChoice::Cw270, 3}};
  for (auto [choice, code] : chosen) {
    for (std::uint8_t flags = 0; flags < 4; ++flags) {
      const RegisterSet rs = DecodeRegisterSet(header("T5LC1", {{5, flags}, {8, 9}}), choice);
      EXPECT_EQ(rs.findings, (BlockFindings{std::uint8_t(9), code})) << code << " " << int(flags);
    }
  }
}

TEST(ConfigBranchA, BacklightAndSleepScaling) {
  const RegisterSet a = DecodeRegisterSet(
      header("T5LC1", {{5, 0x04}, {12, 100}, {13, 50}, {14, 0x01}, {15, 0x2C}}), kAutomatic);
  EXPECT_EQ(a.backlightOn, 0x40);
  EXPECT_EQ(a.backlightOff, 0x20);
  EXPECT_EQ(a.sleepTime, 3);  // 300 / 100
  const RegisterSet b = DecodeRegisterSet(
      header("T5LC1", {{5, 0x04}, {12, 255}, {13, 1}, {14, 0xFF}, {15, 0xFF}}), kAutomatic);
  EXPECT_EQ(b.backlightOn, 0xA3);
  EXPECT_EQ(b.backlightOff, 0);
  EXPECT_EQ(b.sleepTime, 655);

  const RegisterSet u = DecodeRegisterSet(
      header("", {{11, 0x5A}, {12, 50}, {13, 100}, {14, 0x01}, {15, 0x2C}}), kAutomatic);
  EXPECT_EQ(u.backlightOn, 0x20);
  EXPECT_EQ(u.backlightOff, 0x40);
  EXPECT_EQ(u.sleepTime, 1);  // 300 / 200
}

TEST(ConfigBranchA, DivisorsZeroAndOne) {
  const RegisterSet marked = DecodeRegisterSet(header("T5LC1", {}), kAutomatic);
  EXPECT_EQ(marked.baudRate, 115200);
  EXPECT_EQ(marked.r1Value, 7);
  const RegisterSet unmarked = DecodeRegisterSet(header("", {}), kAutomatic);
  EXPECT_EQ(unmarked.baudRate, 115200);
  EXPECT_EQ(unmarked.r1Value, 7);
  const RegisterSet one = DecodeRegisterSet(header("T5LC1", {{11, 1}}), kAutomatic);
  EXPECT_EQ(one.baudRate, 3225600);
  EXPECT_EQ(one.r1Value, 3225600);
  const RegisterSet slow = DecodeRegisterSet(header("", {{9, 0x19}, {10, 0x00}}), kAutomatic);
  EXPECT_EQ(slow.baudRate, 1224);  // 7833600 / 6400
  EXPECT_EQ(slow.r1Value, 0);
}

TEST(ConfigBranchA, UnmarkedLayoutFlagsAndPassThrough) {
  // Byte 11 is not 0x5A: bit 2 has no effect and there are no backlight values.
  const RegisterSet off = DecodeRegisterSet(
      header("", {{5, 0x03}, {8, 0xFF}, {11, 0x5B}, {12, 100}, {13, 100}}), kAutomatic);
  EXPECT_EQ(off.layout, ConfigLayout::Unmarked);
  EXPECT_EQ(off.r2, 0x80 | 0x40 | 0x04 | 0x08);
  EXPECT_EQ(off.backlightOn, 0);
  EXPECT_EQ(off.rc, 0);
  // Byte 8 is a flag byte here: no picture library, and no icon rotation.
  EXPECT_EQ(off.findings, BlockFindings{});
  // A T5C1 marker means nothing to Branch A.
  const RegisterSet on = DecodeRegisterSet(
      header("T5C1", {{8, 0x04}, {11, 0x5A}, {32, 0x5A}, {33, 0x01}, {35, 0x5A}, {36, 0x7F}}),
      RotationChoice::Cw90);
  EXPECT_EQ(on.layout, ConfigLayout::Unmarked);
  EXPECT_EQ(on.r2, 0x20);
  EXPECT_EQ(on.pass1, (PassThroughPair{true, 0x01}));
  EXPECT_EQ(on.pass2, (PassThroughPair{true, 0x7F}));
  EXPECT_EQ(on.findings, BlockFindings{});
  const RegisterSet bits346 = DecodeRegisterSet(header("", {{8, 0x58}, {11, 0x5A}}), kAutomatic);
  EXPECT_EQ(bits346.r2, 0);
}

TEST(ConfigBranchA, ReadFromFile) {
  TempDir dir;
  EXPECT_FALSE(ReadRegisterSet({}, kAutomatic));
  EXPECT_FALSE(ReadRegisterSet(dir / "t5absent.cfg", kAutomatic));
  test::writeText(dir / "t5.cfg", "T5LC1");  // five bytes: everything else reads as 0
  const auto rs = ReadRegisterSet(dir / "t5.cfg", kAutomatic);
  ASSERT_TRUE(rs);
  EXPECT_EQ(rs->layout, ConfigLayout::T5LC1);
  EXPECT_EQ(rs->r1Value, 7);
  EXPECT_EQ(rs->findings, (BlockFindings{std::uint8_t(0), 0}));
}

// ---- Branch B: register text ----------------------------------------------

TEST(ConfigRegisterText, RegistersOneTwoThreeToValues) {
  SetupValues v;
  v.coordinateNotify = 1;
  ApplyTextRegisters(v, parse("R1=07; 115200\r\nR2=E8;\r\nR3=FF;\r\n"));
  EXPECT_EQ(v.baudIndex, 7);
  EXPECT_TRUE(v.useTouchFile);
  EXPECT_EQ(v.touchFileNotify, 0);
  EXPECT_FALSE(v.longPressNotify);
  EXPECT_EQ(v.touchBeep, 0);
  EXPECT_EQ(v.screenRotation, 0);
  EXPECT_FALSE(v.restoreTextBackground);
  EXPECT_TRUE(v.delayedRefresh);
  EXPECT_EQ(v.coordinateNotify, 1);  // not touched with the touch file on

  SetupValues r;
  ApplyTextRegisters(r, parse("R2=04;\nR3=DF;\n"));
  EXPECT_EQ(r.screenRotation, 3);
  EXPECT_EQ(r.baudIndex, 0);  // no R1 line
}

TEST(ConfigRegisterText, MissingLinesKeepTheStartValues) {
  const TextRegisters none = parse("nothing here\n");
  EXPECT_EQ(none[1], 0u);
  EXPECT_EQ(none[3], 0xFFu);
  SetupValues v;
  v.touchFileNotify = 1;
  ApplyTextRegisters(v, none);
  EXPECT_EQ(v.baudIndex, 0);
  EXPECT_EQ(v.screenRotation, 0);
  EXPECT_FALSE(v.restoreTextBackground);
  EXPECT_TRUE(v.delayedRefresh);
  EXPECT_FALSE(v.useTouchFile);
  EXPECT_TRUE(v.longPressNotify);   // R2 bit 6 clear
  EXPECT_EQ(v.coordinateNotify, 1);  // R2 bit 7 clear
  EXPECT_EQ(v.touchBeep, 1);         // R2 bit 3 clear
  EXPECT_EQ(v.touchFileNotify, 1);   // untouched without the touch file
}

TEST(ConfigRegisterText, TouchFileBitsOfR2) {
  struct Case {
    const char* text;
    int touchFileNotify;
    bool longPress;
    int touchBeep;
  };
  const Case cases[] = {{"R2=21", 1, true, 1},  {"R2=61", 1, false, 1},
                        {"R2=20", 0, false, 1}, {"R2=2A", 0, false, 2},
                        {"R2=28", 0, false, 0}, {"R2=22", 0, false, 1}};
  for (const Case& c : cases) {
    SetupValues v;
    ApplyTextRegisters(v, parse(c.text));
    EXPECT_TRUE(v.useTouchFile) << c.text;
    EXPECT_EQ(v.touchFileNotify, c.touchFileNotify) << c.text;
    EXPECT_EQ(v.longPressNotify, c.longPress) << c.text;
    EXPECT_EQ(v.touchBeep, c.touchBeep) << c.text;
  }
}

TEST(ConfigRegisterText, WhichLinesCountAndHowTheyParse) {
  // Lower-case r is no register line; RFC and RC0 lines name registers
  // 0xFC and 0xC0, which are not kept.
  EXPECT_EQ(parse("r1=05\nRFC=18;\nRC0=01;\n")[1], 0u);
  EXPECT_EQ(parse("R2=10 R1=05\n")[2], 0x10u);
  EXPECT_EQ(parse("R2=10 R1=05\n")[1], 0u);
  EXPECT_EQ(parse("; BR R1=05\n")[1], 0u);              // parsed from the first R only
  EXPECT_EQ(parse("xxR1=05;\n")[1], 5u);
  EXPECT_EQ(parse("R1=07\nR1=02\n")[1], 2u);          // a later line wins
  EXPECT_EQ(parse("R1=07\nR1 07\n")[1], 0u);          // no '=': the register gets 0
  EXPECT_EQ(parse("R1=07\nR1=zz\n")[1], 0u);          // no value: the register gets 0
  EXPECT_EQ(parse("R3= \t+0x0a;\n")[3], 0x0Au);       // blanks, sign, prefix, lower case
  EXPECT_EQ(parse("R 3=e8\n")[3], 0xE8u);             // blanks before the register number
  EXPECT_EQ(parse("R3 =e8\n")[3], 0u);                // '=' must follow at once
  EXPECT_EQ(parse("R0X3=e8\n")[3], 0xE8u);            // 0X prefix on the register number
  EXPECT_EQ(parse("R3=0x\n")[3], 0u);                 // "0" then a stray x
  EXPECT_EQ(parse("R1=-1\n")[1], 0xFFFFFFFFu);        // negated modulo 2^32
  EXPECT_EQ(parse("R1=123456789\n")[1], 0x23456789u); // keeps the low 32 bits
  EXPECT_EQ(parse("R9=5\nR10=6\n")[9], 5u);           // 0x10 is no register of 0..9
  // Without an R at all the line is skipped; with an R that is not followed
  // by a number, register 0 receives 0.
  TextRegisters r = parse("R0=44\nRX=1\n");
  EXPECT_EQ(r[0], 0u);

  SetupValues v;
  ApplyTextRegisters(v, parse("R1=1F\n"));
  EXPECT_EQ(v.baudIndex, 31);  // kept as it is; the writer refuses it
}

TEST(ConfigRegisterText, LineEndsAndBrokenBytes) {
  EXPECT_EQ(parse("R1=05")[1], 5u);                    // no final line end
  EXPECT_EQ(parse("R2=10\r\nR1=05")[1], 5u);
  EXPECT_EQ(parse("R2=10\rR1=05\n")[2], 0x10u);        // a lone CR stays inside the line
  EXPECT_EQ(parse(std::string("\0R1=05\n", 7))[1], 5u);
  EXPECT_EQ(parse(std::string("R1=0\0" "5\n", 6))[1], 0u);
  EXPECT_EQ(parse("\xFF\xFE\xC3R2=1A\xC3\n\xE2\x82R1=03\n")[2], 0x1Au);
  EXPECT_EQ(parse("\xFF\xFE\xC3R2=1A\xC3\n\xE2\x82R1=03\n")[1], 3u);

  const std::string longJunk(100000, 'x');
  EXPECT_EQ(parse(longJunk + "\nR1=05\n")[1], 5u);     // the next line still counts
  EXPECT_EQ(parse("R1=06" + longJunk + "\nR2=11")[1], 6u);
  EXPECT_EQ(parse(longJunk + "R1=06\n")[1], 0u);      // the R lies beyond what is parsed
  // Exactly at the limit, with CR LF: the CR is not taken for line content.
  const std::string edge = std::string(RegisterTextParser::kMaxParsedLine - 5, ' ') + "R1=07";
  EXPECT_EQ(parse(edge + "\r\n")[1], 7u);
}

TEST(ConfigRegisterText, FedInPiecesReadsTheSame) {
  std::string text = "R1=05\r\nR2=E8;\r\n";
  text += std::string(70000, 'q') + "R3=12\r\nR3=5F; last";
  RegisterTextParser bytewise;
  for (char c : text) bytewise.feed(bytesOf(std::string(1, c)));
  bytewise.finish();
  EXPECT_EQ(bytewise.registers(), parse(text));
  EXPECT_EQ(bytewise.registers()[3], 0x5Fu);

  // And from a file larger than one read buffer, with a line across the seam.
  TempDir dir;
  const std::string big = std::string(65530, '\n') + "R1=04;\r\n" + std::string(70000, ' ') + "\nR2=20";
  test::writeText(dir / "config.txt", big);
  const auto fromFile = ReadRegisterText(dir / "config.txt");
  ASSERT_TRUE(fromFile);
  EXPECT_EQ((*fromFile)[1], 4u);
  EXPECT_EQ((*fromFile)[2], 0x20u);
}

// ---- Branch B: the whole reading --------------------------------------------

struct BranchBFiles {
  TempDir dir;
  std::filesystem::path text, cfg;
  void setText(const std::string& s) {
    text = dir / "config.txt";
    test::writeText(text, s);
  }
  void setHeader(const ConfigHeader& h) {
    cfg = dir / "t5.cfg";
    test::writeBytes(cfg, ByteView(h));
  }
};

TEST(ConfigBranchB, OnlyTheTextIsReadWhenItExists) {
  BranchBFiles f;
  f.setText("R1=02\nR2=C8\nR3=7F\n");
  f.setHeader(header("T5LC1", {{8, 6}, {10, 0x00}, {11, 0x1C}}));
  SetupValues v;
  const SetupReading reading = ReadSetupValues(f.text, f.cfg, v);
  EXPECT_EQ(reading.configKind, 0);
  EXPECT_EQ(reading.pictureLibrary, std::nullopt);  // the header is not read
  EXPECT_EQ(v.baudIndex, 2);
  EXPECT_EQ(v.coordinateNotify, 0);
  EXPECT_FALSE(v.longPressNotify);
  EXPECT_FALSE(v.restoreTextBackground);  // bit 4 of 0x7F is set
  EXPECT_FALSE(v.delayedRefresh);
}

TEST(ConfigBranchB, EmptyOrMissingTextFallsBackToTheHeader) {
  for (bool emptyFile : {false, true}) {
    BranchBFiles f;
    if (emptyFile) f.setText("");
    else f.text = f.dir / "config.txt";  // named but absent
    f.setHeader(header("T5LC1", {{5, 0x02}, {8, 9}, {10, 0x01}, {11, 0x50}}));  // 3225600/336 = 9600
    SetupValues v;
    v.touchBeep = 2;
    const SetupReading reading = ReadSetupValues(f.text, f.cfg, v);
    EXPECT_EQ(reading.configKind, 0);
    EXPECT_EQ(reading.pictureLibrary, std::optional<std::uint8_t>(9));
    EXPECT_EQ(v.screenRotation, 2);
    EXPECT_EQ(v.baudIndex, 3);
    EXPECT_EQ(v.touchBeep, 0);
    EXPECT_TRUE(v.longPressNotify);
    EXPECT_EQ(v.coordinateNotify, 1);
    EXPECT_EQ(v.touchFileNotify, 1);
  }
}

TEST(ConfigBranchB, NoFilesSetsOnlyTheFourFallbackValues) {
  SetupValues v;
  v.baudIndex = 6;
  v.screenRotation = 2;
  v.useTouchFile = true;
  v.touchBeep = 1;
  const SetupReading reading = ReadSetupValues({}, {}, v);
  EXPECT_EQ(reading.configKind, 0);
  EXPECT_EQ(reading.pictureLibrary, std::nullopt);
  SetupValues expected;
  expected.baudIndex = 6;
  expected.screenRotation = 2;
  expected.useTouchFile = true;
  expected.touchBeep = 0;
  expected.longPressNotify = true;
  expected.coordinateNotify = 1;
  expected.touchFileNotify = 1;
  EXPECT_EQ(v, expected);
}

TEST(ConfigBranchB, MarkedLayouts) {
  // Only T5LC1 names a picture library: in the others byte 8 is a flag byte.
  {
    SetupValues v;
    v.useTouchFile = true;
    v.touchBeep = 2;
    const SetupReading r = ApplyConfigHeader(header("T5C1", {{4, 0x07}, {8, 0}, {9, 68}}), v);
    EXPECT_EQ(r.configKind, 4);
    EXPECT_EQ(r.pictureLibrary, std::nullopt);
    EXPECT_EQ(v.baudIndex, 7);
    EXPECT_EQ(v.screenRotation, 3);
    EXPECT_EQ(v.touchBeep, 0);
    EXPECT_FALSE(v.useTouchFile);
  }
  {
    SetupValues v;
    v.useTouchFile = true;
    const SetupReading r = ApplyConfigHeader(header("T5C4", {{8, 0xF2}, {9, 0x01}, {10, 0x98}}), v);
    EXPECT_EQ(r.configKind, 4);
    EXPECT_EQ(r.pictureLibrary, std::nullopt);
    EXPECT_EQ(v.baudIndex, 4);  // 7833600 / 408 = 19200
    EXPECT_EQ(v.screenRotation, 2);
    EXPECT_FALSE(v.useTouchFile);
  }
  {
    SetupValues v;
    v.touchBeep = 1;
    // Bit 6 of byte 8: rotation 1; bit 5: touch file, beep 2. 7833600/816 = 9600.
    const SetupReading r = ApplyConfigHeader(header("T5C2", {{8, 0x60}, {9, 0x03}, {10, 0x30}}), v);
    EXPECT_EQ(r.configKind, 1);
    EXPECT_EQ(r.pictureLibrary, std::nullopt);
    EXPECT_EQ(v.baudIndex, 3);
    EXPECT_EQ(v.screenRotation, 1);
    EXPECT_TRUE(v.useTouchFile);
    EXPECT_EQ(v.touchBeep, 2);
  }
  {
    SetupValues v;
    ApplyHeaderFallbackDefaults(v);
    const ConfigHeader h = header("T5C2", {{8, 0x60}, {32, 0x5A}, {33, 0x70}});
    EXPECT_EQ(ApplyConfigHeader(h, v).configKind, 1);
    EXPECT_EQ(v.screenRotation, 3);
    EXPECT_EQ(v.coordinateNotify, 0);
    EXPECT_EQ(v.touchFileNotify, 0);
    EXPECT_FALSE(v.longPressNotify);
    EXPECT_EQ(v.touchBeep, 0);
  }
  {
    SetupValues v;
    v.useTouchFile = true;
    // Bit 5 of byte 8 clear: no touch file; byte 33 without the 0x5A gate is ignored.
    EXPECT_EQ(ApplyConfigHeader(header("T5C2", {{8, 0x00}, {33, 0x40}}), v).configKind, 1);
    EXPECT_FALSE(v.useTouchFile);
    EXPECT_EQ(v.screenRotation, 0);
  }
}

TEST(ConfigBranchB, MarkerOrderDivisorZeroAndNoMarker) {
  SetupValues v;
  // "T5C1" is tested before "T5C2": kind 4, and its divisor bytes 8-9.
  const ConfigHeader both = header("T5C2T5C1", {{8, 0x03}, {9, 0x30}});
  EXPECT_EQ(ApplyConfigHeader(both, v).configKind, 4);
  EXPECT_EQ(v.baudIndex, 3);  // 7833600 / 0x0330 = 9600
  // "T5LC1" comes first of all; its picture library byte is the marker's
  // last character here.
  SetupValues first;
  const SetupReading lc1 = ApplyConfigHeader(header("T5C1T5LC1", {}), first);
  EXPECT_EQ(lc1.configKind, 0);
  EXPECT_EQ(lc1.pictureLibrary, std::optional<std::uint8_t>('1'));

  for (std::string_view marker : {kMarkerT5LC1, kMarkerT5C1, kMarkerT5C2, kMarkerT5C4}) {
    SetupValues k;
    k.baudIndex = 5;
    ApplyConfigHeader(header(marker, {}), k);
    EXPECT_EQ(k.baudIndex, 5) << marker;
  }
  SetupValues none;
  none.baudIndex = 0;
  none.screenRotation = 2;
  const SetupReading unmarked = ApplyConfigHeader(header("T5X9", {{8, 0xFF}}), none);
  EXPECT_EQ(unmarked.configKind, 0);
  EXPECT_EQ(unmarked.pictureLibrary, std::nullopt);
  EXPECT_EQ(none.baudIndex, 3);
  EXPECT_EQ(none.screenRotation, 2);
}

// Noise with a marker planted somewhere, or none. The marker counts only
// when it lies whole before the first zero byte and inside the 64 bytes of
// the header.
TEST(ConfigGarbage, MarkersAreFoundInNoiseOnlyBeforeTheTextEnds) {
  const std::string_view markers[] = {{}, kMarkerT5LC1, kMarkerT5C1, kMarkerT5C2, kMarkerT5C4};
  std::mt19937 random(7);
  int found[5] = {};
  for (int round = 0; round < 1000; ++round) {
    Bytes noise(random() % 80);
    for (auto& b : noise) b = std::uint8_t(random() % 255 + 1);
    if (!noise.empty() && random() % 3 == 0) noise[random() % noise.size()] = 0;
    const int m = int(random() % 5);
    const std::string_view marker = markers[m];
    bool planted = false;
    if (!marker.empty() && noise.size() >= marker.size()) {
      const std::size_t at = random() % (noise.size() - marker.size() + 1);
      std::copy(marker.begin(), marker.end(), noise.begin() + std::ptrdiff_t(at));
      const std::size_t zero =
          std::size_t(std::find(noise.begin(), noise.end(), 0) - noise.begin());
      planted = at + marker.size() <= std::min(zero, kConfigHeaderSize);
    }
    const int seen = planted ? m : 0;
    found[seen] += 1;

    const ConfigHeader header = MakeConfigHeader(ByteView(noise));
    const auto choice = static_cast<RotationChoice>(round % 5);
    const RegisterSet set = DecodeRegisterSet(header, choice);
    SetupValues values;
    const SetupReading reading = ApplyConfigHeader(header, values);
    SCOPED_TRACE("round " + std::to_string(round));
    const bool t5lc1 = seen == 1;
    EXPECT_EQ(set.layout, t5lc1 ? ConfigLayout::T5LC1 : ConfigLayout::Unmarked);
    EXPECT_EQ(set.findings.pictureLibrary,
              t5lc1 ? std::optional<std::uint8_t>(header[8]) : std::nullopt);
    EXPECT_EQ(set.findings.iconRotation,
              t5lc1 ? std::optional<int>(FixedRotationCode(choice).value_or(header[5] & 3))
                    : std::nullopt);
    EXPECT_EQ(reading.pictureLibrary, set.findings.pictureLibrary);
    EXPECT_EQ(reading.configKind, seen == 2 || seen == 4 ? 4 : seen == 3 ? 1 : 0);
    if (seen == 0) {
      EXPECT_EQ(values.screenRotation, SetupValues().screenRotation);
    }
  }
  // Every marker was found in some rounds.
  for (int m = 0; m < 5; ++m) EXPECT_GT(found[m], 20) << markers[m];
}

TEST(ConfigGarbage, BinaryTextAndAnOverlongFileKeepTheirRegisters) {
  // Zero bytes, high bytes and stray carriage returns around real lines.
  const char raw[] = "\0\xFF\xFE R1=\xC0\r\r\nR2=1F\0junk\nR3=7\n";
  const std::string text(raw, sizeof raw - 1);
  const TextRegisters r = ParseRegisterText(
      ByteView(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
  EXPECT_EQ(r[1], 0u);     // the value does not parse: 0
  EXPECT_EQ(r[2], 0x1Fu);  // parsing stops at the zero byte
  EXPECT_EQ(r[3], 7u);

  // Megabytes of one line, then a real line: the reader keeps a bounded
  // piece of each line and still sees the last one.
  std::string big(4 << 20, 'F');
  big = "R5=" + big + "\nR1=06\n";
  const TextRegisters r2 = ParseRegisterText(
      ByteView(reinterpret_cast<const std::uint8_t*>(big.data()), big.size()));
  EXPECT_EQ(r2[5], 0xFFFFFFFFu);  // wraps to its low 32 bits
  EXPECT_EQ(r2[1], 6u);
}

// Whether the reader's fault holds `part` (a placeholder value, a name).
void expectFault(const std::string& error, const std::string& part, const char* what) {
  EXPECT_NE(error.find(part), std::string::npos) << what << ": got \"" << error << "\"";
}

// What config.txt can say: the notify list that does not apply is not in it.
SetupValues applicable(SetupValues v) {
  (v.useTouchFile ? v.coordinateNotify : v.touchFileNotify) = 0;
  return v;
}

TEST(ConfigRead, ConfigTextGivesBackEveryParameterItWasWrittenFrom) {
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
    const ConfigReading r =
        ReadConfigText(ByteView(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    EXPECT_TRUE(r.errors.empty() && r.notes.empty()) << text;
    EXPECT_EQ(r.values, applicable(v)) << text;
    ++checked;
  }
  EXPECT_GT(checked, 300);

  auto read = [](const std::string& text) {
    return ReadConfigText(
        ByteView(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
  };
  const ConfigReading bad =
      read("R1=03; 9600\r\nR2;\r\nR3=\r\nR12345678=1\r\nRC0=123456789\r\nnot a register\r\n");
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

}  // namespace
}  // namespace tessel
