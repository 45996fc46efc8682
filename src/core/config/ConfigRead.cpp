#include "config/ConfigRead.h"

#include <cctype>
#include <map>
#include <string_view>

#include "config/ConfigRegisters.h"
#include "config/SetupOverrides.h"
#include "util/Text.h"
#include "util/TextLines.h"

namespace tessel {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// "R<hex>", optional spaces, '=', optional spaces, up to 8 hex digits; the
// rest of the line is a comment.
bool ParseRegisterLine(std::string_view line, RegisterLine& out, std::string& why) {
  std::size_t at = 1;
  std::string name = "R";
  while (at < line.size() && HexDigit(line[at]) >= 0) {
    name += static_cast<char>(std::toupper(static_cast<unsigned char>(line[at])));
    ++at;
  }
  if (name.size() == 1 || name.size() > 5) {
    why = trText("Inspect", "has no register number after R");
    return false;
  }
  while (at < line.size() && line[at] == ' ') ++at;
  if (at >= line.size() || line[at] != '=') {
    why = trText("Inspect", "has no '=' after %1").arg(name);
    return false;
  }
  ++at;
  while (at < line.size() && line[at] == ' ') ++at;
  std::uint64_t value = 0;
  std::size_t digits = 0;
  while (at < line.size() && HexDigit(line[at]) >= 0) {
    value = value * 16 + std::uint64_t(HexDigit(line[at]));
    ++at;
    if (++digits > 8) {
      why = trText("Inspect", "gives %1 a value of more than 8 hex digits").arg(name);
      return false;
    }
  }
  if (digits == 0) {
    why = trText("Inspect", "gives %1 no hex value").arg(name);
    return false;
  }
  out.name = name;
  out.value = static_cast<std::uint32_t>(value);
  return true;
}

}  // namespace

ConfigReading ReadConfigText(ByteView bytes) {
  ConfigReading r;
  std::map<std::string, std::size_t> seen;
  int lineNumber = 0;
  TextLines lines(bytes);
  for (std::string_view line; lines.next(line);) {
    ++lineNumber;
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    if (line.empty() || line.front() != 'R') continue;  // not a register line: the device skips it
    RegisterLine reg;
    reg.line = lineNumber;
    reg.text = ShownLine(line);
    std::string why;
    if (!ParseRegisterLine(line, reg, why)) {
      //: a line of config.txt, its text, and what is wrong with it
      r.errors.push_back(
          trText("Inspect", "line %1 (\"%2\") %3").arg(lineNumber).arg(reg.text).arg(why));
      continue;
    }
    if (const auto [it, fresh] = seen.emplace(reg.name, r.registers.size()); !fresh) {
      r.notes.push_back(trText("Inspect", "line %1 sets %2 again (line %3 set it first)")
                            .arg(lineNumber)
                            .arg(reg.name)
                            .arg(r.registers[it->second].line));
    }
    r.registers.push_back(std::move(reg));
  }
  auto value = [&](const char* name) -> std::optional<std::uint32_t> {
    const auto it = seen.find(name);
    if (it == seen.end()) return std::nullopt;
    return r.registers[it->second].value;
  };
  const std::optional<std::uint32_t> r1 = value("R1"), r2 = value("R2"), r3 = value("R3"),
                                     rc0 = value("RC0");
  if (!r1) r.errors.push_back(trText("Inspect", "it has no R1 line (the baud rate)"));
  if (!r2) r.errors.push_back(trText("Inspect", "it has no R2 line (the touch and screen flags)"));
  r.hasR3 = r3.has_value();
  if (r1) {
    r.values.baudIndex = static_cast<int>(std::min<std::uint32_t>(*r1, 0x7FFFFFFF));
    if (*r1 >= 8) {
      r.notes.push_back(
          trText("Inspect",
                 "R1=%1 is none of the eight baud rates; the display is given that line speed")
              .arg(HexText(*r1, 2).substr(2)));
    }
  }
  ApplySetupRegisters(r.values, r2.value_or(0), r3.value_or(0xFF));
  r.values.restoreTextBackground = rc0 == 1u;
  r.parameters = DescribeParameters(r.values, r.hasR3);
  return r;
}

std::vector<Parameter> DescribeParameters(const SetupValues& values, bool hasR3) {
  struct Name {
    const char* name;
    const char* label;
  };
  static constexpr Name kNames[] = {
      {"baud", QT_TRANSLATE_NOOP("Inspect", "波特率")},
      {"touch-file", QT_TRANSLATE_NOOP("Inspect", "使用触摸配置文件（未勾选时使用坐标通知）")},
      {"coordinate-notify", QT_TRANSLATE_NOOP("Inspect", "触摸通知")},
      {"touch-file-notify", QT_TRANSLATE_NOOP("Inspect", "触摸通知")},
      {"long-press", QT_TRANSLATE_NOOP("Inspect", "长按通知(100毫秒间隔)")},
      {"touch-beep", QT_TRANSLATE_NOOP("Inspect", "触摸蜂鸣")},
      {"screen-rotation", QT_TRANSLATE_NOOP("Inspect", "屏幕旋转")},
      {"restore-text-background", QT_TRANSLATE_NOOP("Inspect", "显示文字时，自动用背景图片恢复")},
      {"delayed-refresh", QT_TRANSLATE_NOOP("Inspect", "延时200毫秒刷新，确保连续的指令同步刷新")},
  };
  std::vector<Parameter> out;
  const std::string described = DescribeSetupValues(values);
  std::size_t start = 0;
  while (start < described.size()) {
    std::size_t end = described.find('\n', start);
    if (end == std::string::npos) end = described.size();
    const std::string line = described.substr(start, end - start);
    start = end + 1;
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    Parameter p{"", line.substr(0, eq), line.substr(eq + 1)};
    // The dialog shows only the notify list that applies.
    if (p.name == (values.useTouchFile ? "coordinate-notify" : "touch-file-notify")) continue;
    if (!hasR3 && p.name == "delayed-refresh") continue;
    if (!hasR3 && p.name == "screen-rotation") {
      p.value = trText("Inspect", "%1 (R2 alone: no R3 line)").arg(p.value);
    }
    for (const Name& name : kNames) {
      if (p.name == name.name) p.label = trText("Inspect", name.label);
    }
    out.push_back(std::move(p));
  }
  return out;
}

}  // namespace tessel
