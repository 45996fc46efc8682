// Writes the benchmark's projects shaped like real ones (bench/README.md):
//
//   tessel-bench-projects KIND FOLDER
//
// The screens are rendered artwork: the generated layout over a lit, grainy
// background.
//
// raw     Branch A: 112 24-bit BMP screens of 480 x 272 and three raw icon
//         libraries of 0.6, 0.85 and 1.1 MB, each a 256 KiB slot table (the
//         second half zero, as real ones are) followed by the icon blocks.
// turned  Branch B: 48 JPEG screens of 1024 x 600 that the register text turns
//         by 180 degrees (screen rotation 2), and 17 ICL libraries of 50 to
//         150 JPEG icons.
// many N  Branch A: N small BMP pictures (16 x 16) and the two tables: the
//         work per input, which must not grow with the number of inputs.
// The large project (200 screens of 1024 x 600) is tessel-make-sample's
// --large.
#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/Builders.h"

namespace fs = std::filesystem;
using namespace tessel::build;

namespace {

const QColor kAccents[] = {QColor(0, 150, 136), QColor(230, 120, 30), QColor(60, 120, 220),
                           QColor(200, 40, 80), QColor(120, 80, 200)};

// A screen as a designer's tool renders it: the generated layout lit from
// one corner, with a photograph-like panel of grain over a third of it (flat
// colours alone compress several times faster than real screens).
QImage renderedScreen(int w, int h, int index) {
  QImage img = screen(w, h, index, kAccents[index % 5]).convertToFormat(QImage::Format_RGB32);
  std::uint32_t state = 2654435761u * std::uint32_t(index + 1);
  for (int y = 0; y < h; ++y) {
    auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
    const bool panelRow = y >= h / 3;
    for (int x = 0; x < w; ++x) {
      int grain = 0;
      if (panelRow && x < w / 2) {
        state = state * 1664525u + 1013904223u;
        grain = int(state >> 29) - 4;  // -4 .. 3
      }
      const int light = (x + y) * 24 / (w + h) - 12;
      auto channel = [&](int v) { return std::clamp(v + light + grain, 0, 255); };
      row[x] = qRgb(channel(qRed(row[x])), channel(qGreen(row[x])), channel(qBlue(row[x])));
    }
  }
  return img;
}

void text(const fs::path& path, const std::string& content) {
  save(path, Bytes(content.begin(), content.end()));
}

// A raw library of about `size` bytes: the slot table and its zero half,
// then icons of 40 to 120 pixels until the size is reached.
Bytes rawLibraryOf(std::size_t size, int seed) {
  Bytes file(2 * kRawTable, 0x00);
  static const int kSides[] = {40, 64, 96, 120};
  for (int k = 0; file.size() < size; ++k) {
    const QImage img = icon(kSides[k % 4], seed + k).convertToFormat(QImage::Format_RGB16);
    std::vector<std::uint16_t> pixels;
    for (int y = 0; y < img.height(); ++y) {
      const auto* row = reinterpret_cast<const std::uint16_t*>(img.constScanLine(y));
      pixels.insert(pixels.end(), row, row + img.width());
    }
    addRawIcon(file, k, img.width(), img.height(), pixels);
  }
  return file;
}

void writeRaw(const fs::path& dir) {
  for (int i = 0; i < 112; ++i) {
    const QImage img = renderedScreen(480, 272, i).convertToFormat(QImage::Format_RGB888);
    save(dir / (std::to_string(i) + ".bmp"), encode(img, "BMP"));
  }
  const std::size_t sizes[] = {600000, 850000, 1100000};
  for (int lib = 0; lib < 3; ++lib) {
    save(dir / (std::to_string(30 + lib) + ".ico"), rawLibraryOf(sizes[lib], 1000 * lib));
  }
  save(dir / "13.bin", table(13, 256));
  save(dir / "14.bin", table(14, 256));
  text(dir / "CONFIG.TXT", "R1=07; 115200\r\nR2=00;\r\nR3=FF;\r\n");
}

void writeTurned(const fs::path& dir) {
  for (int i = 0; i < 48; ++i) {
    save(dir / (std::to_string(i) + ".jpg"), encode(renderedScreen(1024, 600, i), "JPG", 90));
  }
  for (int lib = 0; lib < 17; ++lib) {
    std::vector<Bytes> jpegs;
    const int count = 50 + (lib * 53) % 101;  // 50 to 150
    for (int i = 0; i < count; ++i) {
      jpegs.push_back(encode(icon(24 + 8 * ((i + lib) % 8), lib * 200 + i), "JPG", 90));
    }
    save(dir / (std::to_string(40 + lib) + ".icl"), iclLibrary(jpegs));
  }
  save(dir / "13.bin", table(13, 256));
  // Register 3 with bit 5 clear: the screen is turned by 180 degrees, and so
  // is every landscape picture.
  text(dir / "config.txt", "R1=07; 115200\r\nR2=00;\r\nR3=DF;\r\n");
}

void writeMany(const fs::path& dir, int count) {
  const Bytes picture = bmpFile({.width = 16, .height = 16});
  for (int i = 0; i < count; ++i) save(dir / (std::to_string(i) + ".bmp"), picture);
  save(dir / "13.bin", table(13, 256));
  save(dir / "14.bin", table(14, 256));
  text(dir / "config.txt", "R1=07; 115200\r\n");
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const std::string kind = argc >= 3 ? argv[1] : "";
  const int count = kind == "many" && argc == 4 ? std::atoi(argv[2]) : 0;
  if ((kind != "raw" && kind != "turned" && count <= 0) || argc != (count > 0 ? 4 : 3)) {
    std::fprintf(stderr, "usage: tessel-bench-projects raw|turned|many N FOLDER\n");
    return 2;
  }
  const fs::path dir(argv[argc - 1]);
  fs::create_directories(dir);
  if (kind == "raw") writeRaw(dir);
  else if (kind == "turned") writeTurned(dir);
  else writeMany(dir, count);
  return 0;
}
