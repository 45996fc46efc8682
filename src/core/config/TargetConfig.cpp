#include "config/TargetConfig.h"

#include <cstdarg>
#include <cstdio>

#include "config/Baud.h"
#include "config/ConfigRegisters.h"

namespace tessel {

namespace {

// printf into a std::string; the formats here are fixed and short.
std::string Formatted(const char* fmt, ...) {
  char buffer[256];
  va_list args;
  va_start(args, fmt);
  const int n = std::vsnprintf(buffer, sizeof buffer, fmt, args);
  va_end(args);
  if (n < 0) return {};
  return std::string(buffer, static_cast<std::size_t>(n) < sizeof buffer ? static_cast<std::size_t>(n)
                                                                          : sizeof buffer - 1);
}

// "%02X" takes an unsigned int; the values here are never negative, and a
// negative one would print as its two's complement, as printf does.
unsigned Hex(long long v) { return static_cast<unsigned>(v); }

}  // namespace

std::string WithCrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

std::string FormatBranchA(const RegisterSet& rs, FontDisplay fontDisplay) {
  std::string lines;
  if (rs.r2 & 0x20) {
    lines = Formatted("R1=%02X; %d\nR2=%02X;\nR6=%02X; BL ON(0x00~0x40)\nR7=%02X; BL OFF(0x00~0x40)\nR8=%02X; TIME\n",
                   Hex(rs.r1Value), static_cast<int>(rs.baudRate), Hex(rs.r2), Hex(rs.backlightOn),
                   Hex(rs.backlightOff), Hex(rs.sleepTime));
  } else {
    lines = Formatted("R1=%02X; %d\nR2=%02X;\n", Hex(rs.r1Value), static_cast<int>(rs.baudRate),
                   Hex(rs.r2));
  }
  if (rs.layout == ConfigLayout::T5LC1) {
    if (rs.rc != 0) lines += Formatted("RC=%02X;\n", Hex(rs.rc));
    if (fontDisplay == FontDisplay::Bitmap) lines += "RFC=18;FONT_MODE\n";
  } else {
    if (rs.pass1.present) lines += Formatted("R20=%02X;\nR21=%02X;\n", 0x5Au, Hex(rs.pass1.value));
    if (rs.pass2.present) lines += Formatted("R23=%02X;\nR24=%02X;\n", 0x5Au, Hex(rs.pass2.value));
    if (fontDisplay == FontDisplay::Bitmap) lines += "RFC=18;\n";
  }
  return WithCrLf(lines);
}

std::optional<std::string> FormatBranchB(const SetupValues& values, int configKind,
                                         FontDisplay fontDisplay) {
  if (!IsBaudIndex(values.baudIndex)) return std::nullopt;
  const SetupRegisters regs = ComposeSetupRegisters(values);
  std::string lines = Formatted("R1=%02X; %d\nR2=%02X;\nR3=%02X;", Hex(values.baudIndex),
                             baudRates[static_cast<std::size_t>(values.baudIndex)], Hex(regs.r2),
                             Hex(regs.r3));
  if (values.restoreTextBackground) lines += "\nRC0=01;";
  if (configKind == 4) lines += "\nRFA=01;";
  if (fontDisplay == FontDisplay::Bitmap) lines += "\nRFC=18;";
  return WithCrLf(lines);
}

}  // namespace tessel
