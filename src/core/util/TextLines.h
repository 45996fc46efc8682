#pragma once
// What the strict readers of the outputs write in their messages, and the
// lines of the text files they read (config.txt, truefont.ini).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "util/Bytes.h"

namespace tessel {

// The lines of a text (LF or CR LF), without their ends.
class TextLines {
 public:
  explicit TextLines(ByteView bytes)
      : text_(reinterpret_cast<const char*>(bytes.data()), bytes.size()) {}
  bool next(std::string_view& line) {
    if (start_ >= text_.size()) return false;
    std::size_t end = text_.find('\n', start_);
    if (end == std::string_view::npos) end = text_.size();
    line = text_.substr(start_, end - start_);
    start_ = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return true;
  }

 private:
  std::string_view text_;
  std::size_t start_ = 0;
};

// The first 80 characters of `line` with control characters as '?', and
// "..." when there is more.
inline std::string ShownLine(std::string_view line) {
  std::string out;
  for (const char c : line.substr(0, 80)) out += (static_cast<unsigned char>(c) < 0x20) ? '?' : c;
  if (line.size() > 80) out += "...";
  return out;
}

// `v` in hexadecimal with `digits` digits: "0x00FF".
inline std::string HexText(std::uint32_t v, int digits) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%0*X", digits, v);
  return buffer;
}

}  // namespace tessel
