#pragma once
// Reading the font step's output back, strictly: truefont.ini and the name
// in a font file. A fault comes back as one sentence without the file name.
#include <optional>
#include <string>

#include "util/Bytes.h"

namespace tessel {

struct TruefontIni {
  std::string font;   // font0's file name
  std::string error;
};
TruefontIni ReadTruefontIni(ByteView text);

// The full name (else the family name) in a TrueType or OpenType font's name
// table; nothing, with the reason in `error`, when the file is not one.
std::optional<std::string> ReadFontName(ByteView font, std::string& error);

}  // namespace tessel
