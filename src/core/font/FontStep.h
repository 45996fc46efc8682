#pragma once
// The font step: truefont/truefont.ini, the chosen TrueType file as
// truefont/font.ttf and the input-method table as bin/pinyin.bin.
#include <array>
#include <filesystem>

#include "convert/ConversionSettings.h"
#include "util/Report.h"

namespace tessel {

// File names in the resource folder, indexed by fontChoice.
inline constexpr std::array<const char*, 5> kFontFiles = {
    "font.ttf", "中英文.ttf", "数码管.ttf", "数码管加粗.ttf", "数码管斜体.ttf"};
inline constexpr const char* kPinyinFile = "pinyin.bin";

// Runs the step. Returns false when privateFolder/truefont/font.ttf does not
// exist afterwards (the caller shows the missing-font message).
bool RunFontStep(const ConversionSettings& settings, const std::filesystem::path& privateFolder,
                 const std::filesystem::path& resourceFolder, Report& report);

}  // namespace tessel
