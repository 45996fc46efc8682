#pragma once
// Readers of the source project's configuration: the block file header
// (t5*.cfg) for Branch A, and the register text (*config*.txt) or, failing
// that, the block file header for Branch B.
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/ConfigHeader.h"
#include "model/Settings.h"
#include "model/SetupValues.h"
#include "util/Bytes.h"

namespace tessel {

// Line-speed clocks: speed = clock / divisor (integer division).
constexpr std::int32_t kClockT5LC1 = 3225600;  // 28 * 115200
constexpr std::int32_t kClockOther = 7833600;  // 68 * 115200

// ---- Branch A -------------------------------------------------------------

enum class ConfigLayout { T5LC1, Unmarked };

struct PassThroughPair {
  bool present = false;
  std::uint8_t value = 0;

  bool operator==(const PassThroughPair&) const = default;
};

// What a T5LC1 block file names besides its registers.
struct BlockFindings {
  std::optional<std::uint8_t> pictureLibrary;  // the icon library holding the screen pictures
  std::optional<int> iconRotation;             // Branch A: rotation code for that library's icons

  bool operator==(const BlockFindings&) const = default;
};

// What the Branch A writer formats into config.txt.
struct RegisterSet {
  ConfigLayout layout = ConfigLayout::Unmarked;
  std::int32_t baudRate = 0;   // computed line speed
  std::int32_t r1Value = 0;    // matched baud index, or the speed itself
  std::uint8_t r2 = 0;
  std::uint8_t rc = 0;         // T5LC1 only; 0: no RC line
  std::uint8_t backlightOn = 0;   // 0..0x40 (0xA3 for a source level of 255)
  std::uint8_t backlightOff = 0;
  std::uint16_t sleepTime = 0;
  PassThroughPair pass1;       // R20/R21, unmarked layout only
  PassThroughPair pass2;       // R23/R24, unmarked layout only
  BlockFindings findings;      // T5LC1 only

  bool operator==(const RegisterSet&) const = default;
};

// Decodes a header. A T5LC1 header also names the picture library (byte 8)
// and the icon rotation (byte 5 & 3 for the automatic choice, else the
// chosen rotation code); an unmarked header names neither.
RegisterSet DecodeRegisterSet(const ConfigHeader& header, RotationChoice rotationChoice);

// Reads t5Config and decodes it. Nothing when the path is empty or the file
// cannot be opened.
std::optional<RegisterSet> ReadRegisterSet(const std::filesystem::path& t5Config,
                                           RotationChoice rotationChoice);

// ---- Branch B: register text ----------------------------------------------

// Registers 0..9 of a register text; register 3 starts at 0xFF, the others
// at 0.
using TextRegisters = std::array<std::uint32_t, 10>;

// Reads a register text as bytes, line by line (LF or CR LF; a last line
// without a line end counts). In each line the text after the first
// upper-case 'R' is parsed as "%X=%X" the way the C library's scanf does:
// each number may follow white space, a sign and a 0x prefix, and ends at the
// first non-hex character. Both numbers are 0 before each line; when the
// register number parses but '=' or the value does not, the register still
// receives 0. Numbers wider than 32 bits keep their low 32 bits (they wrap,
// as an unsigned int accumulates), a '-' sign negates modulo 2^32. Only the
// first kMaxParsedLine bytes of a line are looked at; the rest of the line is
// skipped, so one overlong line cannot hide the lines that follow it.
class RegisterTextParser {
 public:
  static constexpr std::size_t kMaxParsedLine = 4096;

  void feed(ByteView bytes);
  void finish();  // the last line when the text does not end with a line end
  const TextRegisters& registers() const { return registers_; }
  bool sawBytes() const { return sawBytes_; }

 private:
  void endLine(bool atLineFeed);
  void parseLine(std::string_view line);

  TextRegisters registers_ = {0, 0, 0, 0xFF, 0, 0, 0, 0, 0, 0};
  std::string line_;
  std::size_t lineLength_ = 0;  // full length, also beyond what is kept
  bool sawBytes_ = false;
};

TextRegisters ParseRegisterText(ByteView text);

// Reads a register text file. Nothing when the path is empty, the file cannot
// be opened or holds no bytes at all.
std::optional<TextRegisters> ReadRegisterText(const std::filesystem::path& configText);

// Sets the setup values from registers 1, 2 and 3 (baudIndex = register 1
// as it is, even when it lies outside baudRates).
void ApplyTextRegisters(SetupValues& values, const TextRegisters& registers);

// ---- Branch B: block file header --------------------------------------------

// The values the fallback sets before it looks at a block file (also when
// there is none): touchBeep 0, longPressNotify on, both notify lists at 1.
void ApplyHeaderFallbackDefaults(SetupValues& values);

// What the Branch B reading found besides the setup values.
struct SetupReading {
  bool fromText = false;  // the register text gave the values (the block file was not read)
  int configKind = 0;  // 4 for T5C1/T5C4, 1 for T5C2, 0 otherwise
  std::optional<std::uint8_t> pictureLibrary;  // named by a T5LC1 header
};

// Applies the first marker found (T5LC1, T5C1, T5C2, T5C4) to the values.
// baudIndex changes only when the computed speed (9600 without a marker, 0
// for a divisor of 0) matches a list entry.
SetupReading ApplyConfigHeader(const ConfigHeader& header, SetupValues& values);

// The whole Branch B reading: the register text when it can be read, else the
// defaults above and the block file header.
SetupReading ReadSetupValues(const std::filesystem::path& configText,
                             const std::filesystem::path& t5Config, SetupValues& values);

}  // namespace tessel
