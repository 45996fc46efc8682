#include "font/FontStep.h"

#include <string>
#include <string_view>
#include <system_error>

#include "util/FileIO.h"
#include "util/Paths.h"

namespace tessel {

namespace {
// "[setting]" CR LF "font0=font.ttf", no line end after the second line.
constexpr std::string_view kTruefontIni = "[setting]\r\nfont0=font.ttf";
}  // namespace

bool RunFontStep(const ConversionSettings& settings, const fs::path& privateFolder,
                 const fs::path& resourceFolder, Report& report) {
  const fs::path truefont = privateFolder / "truefont";
  std::error_code ec;
  if (fs::is_directory(truefont, ec)) {
    writeOutput(report, truefont / "truefont.ini",
                ByteView(reinterpret_cast<const std::uint8_t*>(kTruefontIni.data()),
                         kTruefontIni.size()));
    const int choice = settings.fontChoice;
    if (choice >= 0 && choice < static_cast<int>(kFontFiles.size())) {
      const fs::path font = resourceFile(resourceFolder, kFontFiles[choice]);
      if (!copyOutput(report, font, truefont / "font.ttf") && !fs::is_regular_file(font, ec)) {
        report.warn(std::string("font ") + kFontFiles[choice] + " not found: " + pathToUtf8(font));
      }
    }
  }
  // Only once bin/ exists (Branch A from the start, Branch B with the pack).
  const fs::path bin = privateFolder / "bin";
  if (fs::is_directory(bin, ec)) {
    copyOutput(report, resourceFolder / kPinyinFile, bin / kPinyinFile);
  }
  return fs::is_regular_file(truefont / "font.ttf", ec);
}

}  // namespace tessel
