#include "font/FontStep.h"

#include <string>
#include <string_view>
#include <system_error>

#include "util/Paths.h"

namespace tessel {

namespace {
// "[setting]" CR LF "font0=font.ttf", no line end after the second line.
constexpr std::string_view kTruefontIni = "[setting]\r\nfont0=font.ttf";
}  // namespace

fs::path FontSourceFile(const fs::path& resourceFolder, int fontChoice) {
  if (fontChoice < 0 || fontChoice >= static_cast<int>(kFontFiles.size())) return {};
  return ResourceFile(resourceFolder, kFontFiles[static_cast<std::size_t>(fontChoice)]);
}

bool RunFontStep(int fontChoice, const OutputLayout& layout, const fs::path& resourceFolder,
                 OutputWriter& out) {
  std::error_code ec;
  if (fs::is_directory(layout.truefontFolder(), ec)) {
    out.write(layout.truefontIni(),
              ByteView(reinterpret_cast<const std::uint8_t*>(kTruefontIni.data()),
                       kTruefontIni.size()));
    const fs::path font = FontSourceFile(resourceFolder, fontChoice);
    if (!font.empty()) out.copy(font, layout.fontFile());
  }
  if (fs::is_directory(layout.binFolder(), ec)) {
    out.copy(resourceFolder / kPinyinFile, layout.pinyin());
  }
  return fs::is_regular_file(layout.fontFile(), ec);
}

}  // namespace tessel
