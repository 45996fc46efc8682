#include "support/RunFixture.h"

#include <random>

#include "font/FontStep.h"
#include "util/Paths.h"

namespace tessel::test {

void RunFixture::SetUp() {
  fs::create_directories(source);
  for (std::size_t i = 0; i < kFontFiles.size(); ++i) {
    writeText(resources / PathFromUtf8(kFontFiles[i]), "font-" + std::to_string(i));
  }
  writeText(resources / "pinyin.bin", "pinyin");
  settings.sourceFolder = source;
  options.outputRoot = output;
  options.resourceFolder = resources;
}

RunResult RunFixture::run() { return ConversionRun(settings, options, session, host); }

bool RunFixture::has(const std::string& relative) const {
  return fs::exists(priv / PathFromUtf8(relative));
}

void RunFixture::writeBranchA() {
  writeText(source / "13.bin", "thirteen");
  writeText(source / "14.bin", "fourteen");
  writePicture(source / "1.bmp", 8, 6);
}

std::string RunFixture::cliCommand() const {
  return "\"$T\" convert " + shellQuoted(source) + " --resources " + shellQuoted(resources) + " -q";
}

const InputRecord* RunFixture::input(const RunResult& r, const std::string& name) {
  for (const InputRecord& i : r.report.inputs) {
    if (i.path.filename().native() == name) return &i;
  }
  return nullptr;
}

QImage noise(int width, int height, unsigned seed) {
  std::mt19937 random(seed);
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) image.setPixel(x, y, random() | 0xFF000000u);
  }
  return image;
}

void fillProject(const fs::path& source, int noisePictures, bool t5lc1) {
  using namespace build;
  writeText(source / "13.bin", "thirteen");
  writeText(source / "14.bin", "fourteen");
  writeText(source / "22.bin", "twenty-two");
  writeText(source / "3.wav", "RIFF....WAVE");
  Bytes header(64, 0);
  if (t5lc1) {
    const std::string marker = "T5LC1";
    std::copy(marker.begin(), marker.end(), header.begin());
    header[8] = 40;  // the picture library
    header[11] = 28;  // divisor: 115200
  } else {
    header[8] = 0x1C;
    header[11] = 0x5A;
    header[12] = 50;
  }
  writeBytes(source / "T5LCFG_1.CFG", ByteView(header));
  QImage red(9, 7, QImage::Format_RGB32);
  red.fill(Qt::red);
  writeBytes(source / "40.icl",
             ByteView(buildIcl(1, {iclSlot(splitAtScan(encode(patternImage(24, 16), "JPG", 90))),
                                   iclSlot(splitAtScan(encode(red, "JPG", 95)))})));
  Bytes raw = emptyRaw();
  addRawIcon(raw, 0, 2, 2, {0x0001, 0x0203, 0x0405, 0x0607});
  writeBytes(source / "41.ico", ByteView(raw));
  for (int i = 0; i < noisePictures; ++i) {
    const Bytes bmp = encode(noise(64, 48, unsigned(i)), "BMP");
    writeBytes(source / (std::to_string(i) + ".bmp"), ByteView(bmp));
  }
  writePicture(source / "20.jpg", 40, 30);
}

std::pair<int, int> zbmpSize(const fs::path& file) {
  const Bytes b = readBytes(file);
  if (b.size() < 16) return {-1, -1};
  return {b[0] | (b[1] << 8), b[2] | (b[3] << 8)};
}

}  // namespace tessel::test
