#include "font/FontRead.h"

#include "util/Text.h"
#include "util/TextLines.h"

namespace tessel {

TruefontIni ReadTruefontIni(ByteView bytes) {
  TruefontIni r;
  bool inSetting = false, sawSetting = false;
  TextLines lines(bytes);
  for (std::string_view line; lines.next(line);) {
    if (line.empty()) continue;
    if (line.front() == '[') {
      inSetting = line == "[setting]";
      sawSetting = sawSetting || inSetting;
      continue;
    }
    if (inSetting && line.substr(0, 6) == "font0=" && r.font.empty()) {
      r.font = std::string(line.substr(6));
      if (r.font.empty()) r.error = trText("Inspect", "font0= names no file");
    }
  }
  if (!sawSetting) {
    r.error = trText("Inspect", "it has no [setting] section");
  } else if (r.font.empty() && r.error.empty()) {
    r.error = trText("Inspect", "it names no font (no font0= line in [setting])");
  } else if (r.font.find_first_of("/\\:") != std::string::npos || r.font == "." || r.font == "..") {
    r.error = trText("Inspect", "font0 names \"%1\", not a file beside it").arg(ShownLine(r.font));
    r.font.clear();
  }
  return r;
}

std::optional<std::string> ReadFontName(ByteView font, std::string& error) {
  auto fail = [&](std::string why) -> std::optional<std::string> {
    error = std::move(why);
    return std::nullopt;
  };
  if (font.size() < 12) {
    return fail(trText("Inspect", "it is %1 bytes, too short for a font").arg(font.size()));
  }
  std::uint64_t directory = 0;
  const std::uint32_t tag = GetBe32(font.data());
  if (tag == 0x74746366) {  // "ttcf": a collection, its first font
    if (font.size() < 16) return fail(trText("Inspect", "its collection header is cut short"));
    directory = GetBe32(font.data() + 12);
  } else if (tag != 0x00010000 && tag != 0x4F54544F && tag != 0x74727565) {  // 1.0, "OTTO", "true"
    return fail(trText("Inspect", "it is not a TrueType or OpenType font"));
  }
  if (!FitsIn(directory, 12, font.size())) {
    return fail(trText("Inspect", "its table directory lies past its end"));
  }
  const std::uint32_t tables = GetBe16(font.data() + directory + 4);
  if (!FitsIn(directory + 12, std::uint64_t(tables) * 16, font.size())) {
    return fail(trText("Inspect", "its table directory runs past its end"));
  }
  std::uint64_t nameAt = 0, nameLength = 0;
  bool found = false;
  for (std::uint32_t t = 0; t < tables && !found; ++t) {
    const std::uint8_t* rec = font.data() + directory + 12 + std::uint64_t(t) * 16;
    if (GetBe32(rec) == 0x6E616D65) {  // "name"
      nameAt = GetBe32(rec + 8);
      nameLength = GetBe32(rec + 12);
      found = true;
    }
  }
  if (!found) return fail(trText("Inspect", "it has no name table"));
  if (!FitsIn(nameAt, nameLength, font.size()) || nameLength < 6) {
    return fail(trText("Inspect", "its name table lies outside the file"));
  }
  const ByteView table = font.subspan(nameAt, nameLength);
  const std::uint32_t count = GetBe16(table.data() + 2);
  const std::uint32_t strings = GetBe16(table.data() + 4);
  if (!FitsIn(6, std::uint64_t(count) * 12, table.size())) {
    return fail(trText("Inspect", "its name records run past the name table"));
  }
  std::optional<std::string> best;
  int bestRank = 0;
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint8_t* rec = table.data() + 6 + std::uint64_t(i) * 12;
    const std::uint16_t platform = GetBe16(rec), encoding = GetBe16(rec + 2);
    const std::uint16_t nameId = GetBe16(rec + 6), length = GetBe16(rec + 8),
                        offset = GetBe16(rec + 10);
    if (nameId != 4 && nameId != 1) continue;
    if (!FitsIn(std::uint64_t(strings) + offset, length, table.size())) continue;
    const std::uint8_t* s = table.data() + strings + offset;
    std::string text;
    if (platform == 0 || (platform == 3 && (encoding == 1 || encoding == 10))) {
      QString q;
      for (std::uint16_t k = 0; k + 1 < length; k += 2) q += QChar(GetBe16(s + k));
      text = q.toStdString();
    } else if (platform == 1 && encoding == 0) {
      for (std::uint16_t k = 0; k < length; ++k) text += s[k] < 0x80 ? char(s[k]) : '?';
    } else {
      continue;
    }
    std::string clean;
    for (const char c : text) {
      if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) clean += c;
    }
    const int rank = (nameId == 4 ? 2 : 1) * 2 + (platform == 3 ? 1 : 0);
    if (!clean.empty() && rank > bestRank) {
      best = clean;
      bestRank = rank;
    }
  }
  if (!best) return fail(trText("Inspect", "its name table names no font"));
  return best;
}

}  // namespace tessel
