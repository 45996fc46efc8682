// Writes the bundled sample project: a small DWIN_SET folder of our own
// making, with pictures in BMP and JPEG, icon libraries in the ICL and raw
// layouts, sounds, the 13/14/22 tables and a register text.
//
//   tessel-make-sample FOLDER [--branch-b | --large | --picture-library | --turned]
//
// --branch-b leaves out the 14 table (so the run asks for the device
// parameters) and uses a block configuration file instead of the text.
// --large writes the benchmark project: 200 screens of 1024 x 600, half
// 24-bit BMP and half JPEG, eight ICL libraries of 100 icons and two raw
// libraries, with a register text (Branch B).
// --picture-library: a Branch A project whose block file names the icon
// library 32_screen.icl as the picture library: its icons are the screens,
// and 1_main.jpg beside it is left out.
// --turned: a Branch A project for a display mounted turned by 90°: the
// register text turns the screen, and the pictures are drawn sideways for it.
#include <QGuiApplication>
#include <QTransform>
#include <cstdio>
#include <filesystem>
#include <string>

#include "support/Builders.h"

namespace fs = std::filesystem;
using namespace tessel::build;

namespace {

void writeLarge(const fs::path& dir) {
  const QColor accents[] = {QColor(0, 150, 136), QColor(230, 120, 30), QColor(60, 120, 220),
                            QColor(200, 40, 80), QColor(120, 80, 200)};
  for (int i = 0; i < 200; ++i) {
    const QImage img = screen(1024, 600, i, accents[i % 5]);
    if (i % 2 == 0) {
      save(dir / (std::to_string(i) + ".bmp"), encode(img.convertToFormat(QImage::Format_RGB888), "BMP"));
    } else {
      save(dir / (std::to_string(i) + ".jpg"), encode(img, "JPG", 90));
    }
  }
  for (int lib = 0; lib < 8; ++lib) {
    std::vector<Bytes> jpegs;
    for (int i = 0; i < 100; ++i) jpegs.push_back(encode(icon(32 + 16 * (i % 4), lib * 100 + i), "JPG", 90));
    save(dir / (std::to_string(40 + lib) + ".icl"), iclLibrary(jpegs));
  }
  for (int lib = 0; lib < 2; ++lib) {
    std::vector<QImage> icons;
    for (int i = 0; i < 100; ++i) icons.push_back(icon(24 + 8 * (i % 4), 900 + lib * 100 + i));
    save(dir / (std::to_string(60 + lib) + ".ico"), rawLibrary(icons));
  }
  save(dir / "13.bin", table(13, 256));
  const std::string text = "R1=07; 115200\r\nR2=00;\r\nR3=FF;\r\n";
  save(dir / "config.txt", Bytes(text.begin(), text.end()));
}

void writePictureLibrary(const fs::path& dir, const QColor* accents) {
  std::vector<Bytes> screens;
  for (int i = 0; i < 4; ++i) screens.push_back(encode(screen(480, 272, i, accents[i]), "JPG", 92));
  save(dir / "32_screen.icl", iclLibrary(screens));
  save(dir / "1_main.jpg", encode(screen(480, 272, 7, QColor(90, 90, 90)), "JPG", 92));
  std::vector<Bytes> jpegIcons;
  for (int i = 0; i < 6; ++i) jpegIcons.push_back(encode(icon(20 + 6 * (i % 3), i), "JPG", 90));
  save(dir / "20.icl", iclLibrary(jpegIcons));
  save(dir / "13.bin", table(13, 256));
  save(dir / "14.bin", table(14, 256));
  Bytes cfg(64, 0);
  const char* marker = "T5LC1";
  for (int i = 0; i < 5; ++i) cfg[i] = static_cast<std::uint8_t>(marker[i]);
  cfg[8] = 32;    // the picture library
  cfg[10] = 0x00;
  cfg[11] = 0x1C;  // divisor 28: 115200 baud
  save(dir / "t5lcfg.cfg", cfg);
}

void writeTurned(const fs::path& dir, const QColor* accents) {
  // Drawn upright as 272 x 480, stored a quarter turn back (270° clockwise).
  const QTransform back = QTransform().rotate(270);
  save(dir / "0_boot.bmp",
       encode(screen(272, 480, 0, accents[0]).transformed(back).convertToFormat(QImage::Format_RGB888),
              "BMP"));
  save(dir / "1.jpg", encode(screen(272, 480, 1, accents[1]).transformed(back), "JPG", 92));
  save(dir / "2.bmp",
       encode(screen(272, 480, 2, accents[2]).transformed(back).convertToFormat(QImage::Format_RGB888),
              "BMP"));
  std::vector<Bytes> jpegIcons;
  for (int i = 0; i < 4; ++i) jpegIcons.push_back(encode(icon(24 + 8 * (i % 2), i).transformed(back), "JPG", 90));
  save(dir / "20.icl", iclLibrary(jpegIcons));
  save(dir / "13.bin", table(13, 256));
  save(dir / "14.bin", table(14, 256));
  // R2 bit 2: the screen turns 90° clockwise.
  const std::string text = "R1=07; 115200\r\nR2=04;\r\nR3=FF;\r\nRC0=01;\r\n";
  save(dir / "CONFIG.TXT", Bytes(text.begin(), text.end()));
}

}  // namespace


int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const char* usage =
      "usage: tessel-make-sample FOLDER [--branch-b | --large | --picture-library | --turned]\n";
  if (argc >= 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
    std::fputs(usage, stdout);
    return 0;
  }
  if (argc < 2 || argc > 3 || argv[1][0] == '-') {
    std::fputs(usage, stderr);
    return 2;
  }
  const std::string mode = argc > 2 ? argv[2] : "";
  if (!mode.empty() && mode != "--branch-b" && mode != "--large" && mode != "--picture-library" &&
      mode != "--turned") {
    std::fprintf(stderr, "tessel-make-sample: unknown mode %s\n%s", mode.c_str(), usage);
    return 2;
  }
  const bool branchB = mode == "--branch-b";
  const std::string folder = argv[1];
  const fs::path dir(std::u8string(folder.begin(), folder.end()));
  fs::create_directories(dir);
  if (mode == "--large") {
    writeLarge(dir);
    std::printf("benchmark project written to %s\n", dir.string().c_str());
    return 0;
  }

  const QColor accents[] = {QColor(0, 150, 136), QColor(230, 120, 30), QColor(60, 120, 220),
                            QColor(200, 40, 80)};
  if (mode == "--picture-library" || mode == "--turned") {
    (mode == "--turned" ? writeTurned : writePictureLibrary)(dir, accents);
    std::printf("sample project written to %s\n", dir.string().c_str());
    return 0;
  }
  save(dir / "0_boot.bmp", encode(screen(480, 272, 0, accents[0]).convertToFormat(QImage::Format_RGB888), "BMP"));
  save(dir / "1.bmp", encode(screen(480, 272, 1, accents[1]).convertToFormat(QImage::Format_Indexed8), "BMP"));
  save(dir / "2.jpg", encode(screen(480, 272, 2, accents[2]), "JPG", 92));
  save(dir / "10.jpeg", encode(screen(480, 272, 3, accents[3]), "JPG", 85));

  std::vector<Bytes> jpegIcons;
  std::vector<QImage> rawIcons;
  for (int i = 0; i < 6; ++i) jpegIcons.push_back(encode(icon(32 + 8 * (i % 3), i), "JPG", 90));
  for (int i = 0; i < 4; ++i) rawIcons.push_back(icon(24 + 4 * i, 10 + i));
  save(dir / "20.icl", iclLibrary(jpegIcons));
  save(dir / "21.ico", rawLibrary(rawIcons));

  save(dir / "1.wav", wave(880, 0.15));
  save(dir / "2.wav", wave(440, 0.3));
  save(dir / "13.bin", table(13, 256));
  save(dir / "22.bin", table(22, 128));
  if (branchB) {
    // A T5L block configuration: 115200 baud, portrait-turned screen.
    Bytes cfg(64, 0);
    const char* marker = "T5LC1";
    for (int i = 0; i < 5; ++i) cfg[i] = static_cast<std::uint8_t>(marker[i]);
    cfg[5] = 0x01;     // screen rotation code 1
    cfg[8] = 0xFF;     // no picture library
    cfg[10] = 0x00;
    cfg[11] = 0x1C;    // divisor 28: 115200 baud
    save(dir / "T5LCFG.CFG", cfg);
  } else {
    save(dir / "14.bin", table(14, 256));
    const std::string text = "R1=07; 115200\r\nR2=00;\r\nR3=FF;\r\nRC0=01;\r\n";
    save(dir / "CONFIG.TXT", Bytes(text.begin(), text.end()));
  }
  std::printf("sample project written to %s\n", dir.string().c_str());
  return 0;
}
