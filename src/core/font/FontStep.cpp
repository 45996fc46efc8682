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

bool RunFontStep(int fontChoice, const OutputLayout& layout, const fs::path& resourceFolder,
                 OutputWriter& out) {
  std::error_code ec;
  if (fs::is_directory(layout.truefontFolder(), ec)) {
    out.write(layout.truefontIni(),
              ByteView(reinterpret_cast<const std::uint8_t*>(kTruefontIni.data()),
                       kTruefontIni.size()));
    if (fontChoice >= 0 && fontChoice < static_cast<int>(kFontFiles.size())) {
      const fs::path font = resourceFile(resourceFolder, kFontFiles[fontChoice]);
      if (!out.copy(font, layout.fontFile()) && !fs::is_regular_file(font, ec)) {
        out.warn(std::string("font ") + kFontFiles[fontChoice] + " not found: " + pathToUtf8(font));
      }
    }
  }
  if (fs::is_directory(layout.binFolder(), ec)) {
    out.copy(resourceFolder / kPinyinFile, layout.pinyin());
  }
  return fs::is_regular_file(layout.fontFile(), ec);
}

}  // namespace tessel
