#pragma once
// The font step: truefont/truefont.ini, the chosen TrueType file as
// truefont/font.ttf and the input-method table as bin/pinyin.bin.
#include <array>
#include <filesystem>

#include "model/OutputLayout.h"
#include "model/OutputWriter.h"
#include "util/FileIO.h"

namespace tessel {

// File names in the resource folder, indexed by fontChoice.
inline constexpr std::array<const char*, 5> kFontFiles = {
    "font.ttf", "中英文.ttf", "数码管.ttf", "数码管加粗.ttf", "数码管斜体.ttf"};

// The file the step copies for a font choice: from the resource folder, or
// the system file its font table names. Empty for a choice out of range.
std::filesystem::path FontSourceFile(const std::filesystem::path& resourceFolder, int fontChoice);

// Runs the step: the ini file and the font when truefont/ exists, the
// input-method table only when bin/ exists at this moment. Returns false when
// truefont/font.ttf does not exist afterwards (the caller shows the
// missing-font message).
bool RunFontStep(int fontChoice, const OutputLayout& layout,
                 const std::filesystem::path& resourceFolder, OutputWriter& out);

}  // namespace tessel
