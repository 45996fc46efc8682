#include "config/SourceConfig.h"

#include <fstream>
#include <string_view>
#include <system_error>

#include "config/Baud.h"
#include "config/ConfigRegisters.h"

namespace tessel {

namespace {

std::int32_t R1ValueFor(std::int32_t rate) {
  const auto index = MatchBaudIndex(rate);
  return index ? *index : rate;
}

std::uint8_t ScaleBacklight(std::uint8_t level) {
  return static_cast<std::uint8_t>(level * 64 / 100);  // at most 163 for 255
}

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// One "%X" conversion at `pos`: white space, a sign, a 0x prefix (taken only
// when a hex digit follows it), then at least one hex digit. Advances `pos`
// past what was used; nothing when no digit was found.
std::optional<std::uint32_t> ScanHex(std::string_view s, std::size_t& pos) {
  std::size_t p = pos;
  while (p < s.size() && IsSpace(s[p])) ++p;
  bool negative = false;
  if (p < s.size() && (s[p] == '+' || s[p] == '-')) {
    negative = s[p] == '-';
    ++p;
  }
  if (p + 2 < s.size() && s[p] == '0' && (s[p + 1] == 'x' || s[p + 1] == 'X') &&
      HexDigit(s[p + 2]) >= 0) {
    p += 2;
  }
  std::uint32_t value = 0;
  const std::size_t firstDigit = p;
  while (p < s.size() && HexDigit(s[p]) >= 0) {
    value = value * 16u + static_cast<std::uint32_t>(HexDigit(s[p]));  // wraps mod 2^32
    ++p;
  }
  if (p == firstDigit) return std::nullopt;
  pos = p;
  return negative ? 0u - value : value;
}

}  // namespace

// ---- Branch A -------------------------------------------------------------

RegisterSet DecodeRegisterSet(const ConfigHeader& h, RotationChoice rotationChoice) {
  RegisterSet rs;
  if (HasMarker(h, kMarkerT5LC1)) {
    rs.layout = ConfigLayout::T5LC1;
    rs.findings.pictureLibrary = h[8];
    const std::uint16_t divisor = HeaderBe16(h, 10);
    rs.baudRate = divisor != 0 ? kClockT5LC1 / divisor : 115200;
    rs.r1Value = R1ValueFor(rs.baudRate);
    const std::uint8_t flags = h[5];
    rs.findings.iconRotation = FixedRotationCode(rotationChoice).value_or(flags & 3);
    unsigned r2 = 0;
    unsigned rc = 0;
    if (flags & 0x01) r2 |= 0x80;
    if (flags & 0x02) r2 |= 0x40;
    if (flags & 0x04) r2 |= 0x20;
    if (!(flags & 0x08)) rc |= 0x20;
    if (flags & 0x10) r2 |= 0x08;
    if (flags & 0x20) r2 |= 0x04;
    if (flags & 0x40) rc |= 0x80;
    if (flags & 0x80) r2 |= 0x10;
    rs.r2 = static_cast<std::uint8_t>(r2);
    rs.rc = static_cast<std::uint8_t>(rc);
    if (flags & 0x04) {
      rs.backlightOn = ScaleBacklight(h[12]);
      rs.backlightOff = ScaleBacklight(h[13]);
      rs.sleepTime = static_cast<std::uint16_t>(HeaderBe16(h, 14) / 100);
    }
    return rs;
  }

  rs.layout = ConfigLayout::Unmarked;
  const std::uint16_t divisor = HeaderBe16(h, 9);
  rs.baudRate = divisor != 0 ? kClockOther / divisor : 115200;
  rs.r1Value = R1ValueFor(rs.baudRate);
  const std::uint8_t flags = h[8];
  unsigned r2 = 0;
  if (flags & 0x01) r2 |= 0x80;
  if (flags & 0x02) r2 |= 0x40;
  if (flags & 0x20) r2 |= 0x04;
  if (flags & 0x80) r2 |= 0x08;
  if (h[11] == 0x5A) {
    if (flags & 0x04) r2 |= 0x20;
    rs.backlightOn = ScaleBacklight(h[12]);
    rs.backlightOff = ScaleBacklight(h[13]);
    rs.sleepTime = static_cast<std::uint16_t>(HeaderBe16(h, 14) / 200);
  }
  rs.r2 = static_cast<std::uint8_t>(r2);
  if (h[32] == 0x5A) rs.pass1 = {true, h[33]};
  if (h[35] == 0x5A) rs.pass2 = {true, h[36]};
  return rs;
}

std::optional<RegisterSet> ReadRegisterSet(const std::filesystem::path& t5Config,
                                           RotationChoice rotationChoice) {
  const auto header = ReadConfigHeader(t5Config);
  if (!header) return std::nullopt;
  return DecodeRegisterSet(*header, rotationChoice);
}

// ---- Branch B: register text ----------------------------------------------

void RegisterTextParser::feed(ByteView bytes) {
  if (!bytes.empty()) sawBytes_ = true;
  for (std::uint8_t b : bytes) {
    if (b == '\n') {
      endLine(true);
      continue;
    }
    // Keep one byte beyond the limit, so a CR before the LF can be told
    // apart from a line that really is longer.
    if (line_.size() <= kMaxParsedLine) line_.push_back(static_cast<char>(b));
    ++lineLength_;
  }
}

void RegisterTextParser::finish() {
  if (lineLength_ > 0) endLine(false);
}

void RegisterTextParser::endLine(bool atLineFeed) {
  const bool complete = lineLength_ == line_.size();
  if (atLineFeed && complete && !line_.empty() && line_.back() == '\r') line_.pop_back();
  if (line_.size() > kMaxParsedLine) line_.resize(kMaxParsedLine);
  parseLine(line_);
  line_.clear();
  lineLength_ = 0;
}

void RegisterTextParser::parseLine(std::string_view line) {
  const std::size_t r = line.find('R');
  if (r == std::string_view::npos) return;
  std::uint32_t number = 0;
  std::uint32_t value = 0;
  std::size_t pos = r + 1;
  if (const auto n = ScanHex(line, pos)) {
    number = *n;
    if (pos < line.size() && line[pos] == '=') {
      ++pos;
      if (const auto v = ScanHex(line, pos)) value = *v;
    }
  }
  if (number < registers_.size()) registers_[number] = value;
}

TextRegisters ParseRegisterText(ByteView text) {
  RegisterTextParser parser;
  parser.feed(text);
  parser.finish();
  return parser.registers();
}

std::optional<TextRegisters> ReadRegisterText(const std::filesystem::path& configText) {
  if (configText.empty()) return std::nullopt;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(configText, ec)) return std::nullopt;
  std::ifstream in(configText, std::ios::binary);
  if (!in) return std::nullopt;
  RegisterTextParser parser;
  std::vector<char> buffer(64 * 1024);
  while (in) {
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    const auto got = in.gcount();
    if (got <= 0) break;
    parser.feed(ByteView(reinterpret_cast<const std::uint8_t*>(buffer.data()),
                         static_cast<std::size_t>(got)));
  }
  if (!parser.sawBytes()) return std::nullopt;
  parser.finish();
  return parser.registers();
}

void ApplyTextRegisters(SetupValues& values, const TextRegisters& registers) {
  values.baudIndex = static_cast<int>(registers[1]);
  ApplySetupRegisters(values, registers[2], registers[3]);
}

// ---- Branch B: block file header --------------------------------------------

void ApplyHeaderFallbackDefaults(SetupValues& values) {
  values.touchBeep = 0;
  values.longPressNotify = true;
  values.coordinateNotify = 1;
  values.touchFileNotify = 1;
}

SetupReading ApplyConfigHeader(const ConfigHeader& h, SetupValues& values) {
  std::int32_t rate = 9600;
  SetupReading reading;
  int& configKind = reading.configKind;
  auto speed = [](std::int32_t clock, std::uint16_t divisor) {
    return divisor != 0 ? clock / divisor : 0;
  };
  if (HasMarker(h, kMarkerT5LC1)) {
    rate = speed(kClockT5LC1, HeaderBe16(h, 10));
    values.screenRotation = h[5] & 3;
    reading.pictureLibrary = h[8];
  } else if (HasMarker(h, kMarkerT5C1)) {
    rate = speed(kClockOther, HeaderBe16(h, 8));
    values.screenRotation = h[4] & 3;
    values.touchBeep = 0;
    values.useTouchFile = false;
    configKind = 4;
  } else if (HasMarker(h, kMarkerT5C2)) {
    rate = speed(kClockOther, HeaderBe16(h, 9));
    values.screenRotation = (h[8] >> 6) & 1;
    values.useTouchFile = (h[8] & 0x20) != 0;
    if (values.useTouchFile) values.touchBeep = 2;
    if (h[32] == 0x5A) {
      const std::uint8_t extra = h[33];
      if (extra & 0x40) values.screenRotation += 2;
      if (extra & 0x20) {
        values.coordinateNotify = 0;
        values.touchFileNotify = 0;
        values.longPressNotify = false;
      }
      if (extra & 0x10) values.touchBeep = 0;
    }
    configKind = 1;
  } else if (HasMarker(h, kMarkerT5C4)) {
    rate = speed(kClockOther, HeaderBe16(h, 9));
    values.screenRotation = h[8] & 3;
    values.touchBeep = 0;
    values.useTouchFile = false;
    configKind = 4;
  }
  if (const auto index = MatchBaudIndex(rate)) values.baudIndex = *index;
  return reading;
}

SetupReading ReadSetupValues(const std::filesystem::path& configText,
                             const std::filesystem::path& t5Config, SetupValues& values) {
  if (const auto registers = ReadRegisterText(configText)) {
    ApplyTextRegisters(values, *registers);
    SetupReading reading;
    reading.fromText = true;
    return reading;
  }
  ApplyHeaderFallbackDefaults(values);
  const auto header = ReadConfigHeader(t5Config);
  if (!header) return {};
  return ApplyConfigHeader(*header, values);
}

}  // namespace tessel
