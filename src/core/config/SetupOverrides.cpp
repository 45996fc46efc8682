#include "config/SetupOverrides.h"

#include <array>
#include <charconv>

#include "config/Baud.h"
#include "util/Text.h"

namespace tessel {

namespace {

std::string_view Trim(std::string_view s) {
  const char* space = " \t\r\n";
  const auto first = s.find_first_not_of(space);
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(space);
  return s.substr(first, last - first + 1);
}

std::string Lowercase(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// A whole decimal number, nothing else.
std::optional<long long> ParseNumber(std::string_view s) {
  long long value = 0;
  const char* end = s.data() + s.size();
  auto [ptr, ec] = std::from_chars(s.data(), end, value);
  if (s.empty() || ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

std::optional<bool> ParseOnOff(std::string_view s) {
  const std::string v = Lowercase(s);
  if (v == "on") return true;
  if (v == "off") return false;
  return std::nullopt;
}

// A number from `choices`; returns its position in the list.
std::optional<int> ParseChoice(std::string_view s, std::initializer_list<long long> choices) {
  const auto n = ParseNumber(s);
  if (!n) return std::nullopt;
  int i = 0;
  for (long long c : choices) {
    if (c == *n) return i;
    ++i;
  }
  return std::nullopt;
}

const char* OnOff(bool b) { return b ? "on" : "off"; }

bool Fail(std::string* error, std::string text) {
  if (error) *error = std::move(text);
  return false;
}

}  // namespace

bool ApplySetupOverride(SetupValues& values, std::string_view text, std::string* error) {
  const auto eq = text.find('=');
  if (eq == std::string_view::npos) {
    return Fail(error, trText("Config", "setting \"%1\" has no '=': expected NAME=VALUE")
                           .arg(text));
  }
  const std::string name = Lowercase(Trim(text.substr(0, eq)));
  const std::string_view value = Trim(text.substr(eq + 1));
  const std::string shown(value);
  // `sentence`: a whole text "invalid value \"%1\" for %2: expected ...".
  auto refuse = [&](Text sentence) { return Fail(error, sentence.arg(shown).arg(name)); };

  if (name == "baud") {
    const auto n = ParseNumber(value);
    if (n) {
      for (int i = 0; i < static_cast<int>(baudRates.size()); ++i) {
        if (baudRates[i] == *n) {
          values.baudIndex = i;
          return true;
        }
      }
    }
    return refuse(trText("Config",
                         "invalid value \"%1\" for %2: expected one of 1200, 2400, 4800, 9600, "
                         "19200, 38400, 57600, 115200"));
  }
  if (name == "touch-file" || name == "long-press" || name == "restore-text-background" ||
      name == "delayed-refresh") {
    const auto b = ParseOnOff(value);
    if (!b) return refuse(trText("Config", "invalid value \"%1\" for %2: expected on or off"));
    if (name == "touch-file") values.useTouchFile = *b;
    else if (name == "long-press") values.longPressNotify = *b;
    else if (name == "restore-text-background") values.restoreTextBackground = *b;
    else values.delayedRefresh = *b;
    return true;
  }
  if (name == "coordinate-notify" || name == "touch-file-notify") {
    const auto c = ParseChoice(value, {0, 1});
    if (!c) return refuse(trText("Config", "invalid value \"%1\" for %2: expected 0 or 1"));
    (name == "coordinate-notify" ? values.coordinateNotify : values.touchFileNotify) = *c;
    return true;
  }
  if (name == "touch-beep") {
    const auto c = ParseChoice(value, {0, 1, 2});
    if (!c) {
      return refuse(trText("Config",
                           "invalid value \"%1\" for %2: expected 0 (silent), 1 (anywhere) or 2 "
                           "(valid areas only)"));
    }
    values.touchBeep = *c;
    return true;
  }
  if (name == "screen-rotation") {
    const auto c = ParseChoice(value, {0, 90, 180, 270});
    if (!c) {
      return refuse(trText("Config", "invalid value \"%1\" for %2: expected 0, 90, 180 or 270"));
    }
    values.screenRotation = *c;
    return true;
  }
  return Fail(error, trText("Config",
                            "unknown setting \"%1\": expected baud, touch-file, coordinate-notify, "
                            "touch-file-notify, long-press, touch-beep, screen-rotation, "
                            "restore-text-background or delayed-refresh")
                         .arg(name));
}

std::string DescribeSetupValues(const SetupValues& v) {
  std::string out;
  auto line = [&](const char* name, const std::string& value) {
    out += name;
    out += '=';
    out += value;
    out += '\n';
  };
  line("baud", IsBaudIndex(v.baudIndex)
                   ? std::to_string(baudRates[static_cast<std::size_t>(v.baudIndex)])
                   : trText("Config", "invalid (register 1 = %1)").arg(v.baudIndex).str());
  line("touch-file", OnOff(v.useTouchFile));
  line("coordinate-notify", std::to_string(v.coordinateNotify));
  line("touch-file-notify", std::to_string(v.touchFileNotify));
  line("long-press", OnOff(v.longPressNotify));
  line("touch-beep", std::to_string(v.touchBeep));
  static constexpr std::array<const char*, 4> kDegrees = {"0", "90", "180", "270"};
  line("screen-rotation", v.screenRotation >= 0 && v.screenRotation < 4
                              ? std::string(kDegrees[static_cast<std::size_t>(v.screenRotation)])
                              : trText("Config", "invalid (code %1)").arg(v.screenRotation).str());
  line("restore-text-background", OnOff(v.restoreTextBackground));
  line("delayed-refresh", OnOff(v.delayedRefresh));
  return out;
}

}  // namespace tessel
