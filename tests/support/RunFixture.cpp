#include "support/RunFixture.h"

#include "font/FontStep.h"
#include "util/Paths.h"

namespace tessel::test {

void RunFixture::SetUp() {
  fs::create_directories(source);
  for (std::size_t i = 0; i < kFontFiles.size(); ++i) {
    writeText(resources / pathFromUtf8(kFontFiles[i]), "font-" + std::to_string(i));
  }
  writeText(resources / "pinyin.bin", "pinyin");
  settings.sourceFolder = source;
  options.outputRoot = output;
  options.resourceFolder = resources;
}

RunResult RunFixture::run() { return ConversionRun(settings, options, session, host); }

bool RunFixture::has(const std::string& relative) const {
  return fs::exists(priv / pathFromUtf8(relative));
}

std::pair<int, int> zbmpSize(const fs::path& file) {
  const Bytes b = readBytes(file);
  if (b.size() < 16) return {-1, -1};
  return {b[0] | (b[1] << 8), b[2] | (b[3] << 8)};
}

}  // namespace tessel::test
