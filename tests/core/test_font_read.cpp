// Reading the font step's output back: truefont.ini and a font's name.
#include <gtest/gtest.h>

#include "font/FontRead.h"
#include "support/TestSupport.h"
#include "util/Paths.h"

namespace tessel {
namespace {

using test::readBytes;

TEST(FontRead, FontFilesAreReadStrictly) {
  const std::string ini = "[setting]\r\nfont0=font.ttf";
  EXPECT_EQ(
      ReadTruefontIni(ByteView(reinterpret_cast<const std::uint8_t*>(ini.data()), ini.size())).font,
      "font.ttf");
  for (const std::string& bad : {std::string("font0=font.ttf"), std::string("[setting]\r\n"),
                                 std::string("[setting]\nfont0=../../etc/passwd")}) {
    const TruefontIni r =
        ReadTruefontIni(ByteView(reinterpret_cast<const std::uint8_t*>(bad.data()), bad.size()));
    EXPECT_FALSE(r.error.empty()) << bad;
    EXPECT_TRUE(r.font.empty() || r.font == "font.ttf") << bad;
  }
  const Bytes font = readBytes(PathFromUtf8(TESSEL_BIN_DIR) / "font.ttf");
  std::string error;
  EXPECT_EQ(ReadFontName(font, error), std::optional<std::string>("DejaVu Sans Mono"));
  for (const std::size_t size : {std::size_t(0), std::size_t(11), std::size_t(200)}) {
    EXPECT_FALSE(ReadFontName(ByteView(font).first(size), error)) << size;
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
}  // namespace tessel
