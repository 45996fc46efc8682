// Writes the seed inputs of every fuzz target, all made in code:
//   tessel-fuzz-corpus DIR   creates DIR/corpus-<target>/ for each target.
// Seeds are small on purpose: libFuzzer takes the largest seed as the
// longest input it tries, and small inputs run fast.
#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QImageWriter>
#include <zlib.h>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "support/Builders.h"

namespace fs = std::filesystem;
namespace build = tessel::build;
using build::Bytes;

namespace {

fs::path root;
int written = 0;

void seed(const std::string& target, const std::string& name, const Bytes& bytes) {
  const fs::path folder = root / ("corpus-" + target);
  fs::create_directories(folder);
  build::save(folder / name, bytes);
  ++written;
}

Bytes prefixed(std::uint8_t first, const Bytes& rest) {
  Bytes out{first};
  out.insert(out.end(), rest.begin(), rest.end());
  return out;
}

void putBe(Bytes& b, std::size_t at, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b.at(at + std::size_t(i)) = std::uint8_t(v >> (8 * (bytes - 1 - i)));
}
void appendLe(Bytes& b, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b.push_back(std::uint8_t(v >> (8 * i)));
}

Bytes progressiveJpeg(const QImage& image) {
  QByteArray array;
  QBuffer buffer(&array);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "JPG");
  writer.setProgressiveScanWrite(true);
  writer.setQuality(80);
  writer.write(image);
  return Bytes(array.begin(), array.end());
}

// An 8-bit run-length BMP of 4 x 2 pixels.
Bytes rle8Bmp() {
  build::BmpShape shape;
  shape.width = 4;
  shape.height = 2;
  shape.bits = 8;
  shape.compression = 1;
  for (std::uint32_t c : {0x000000u, 0xFF0000u, 0x00FF00u}) appendLe(shape.gap, c, 4);
  shape.pixels = Bytes{4, 1, 0, 0, 2, 2, 2, 0, 0, 1};
  return build::bmpFile(shape);
}

// A run-length BMP of a few bytes declaring width x height.
Bytes rleDeclaring(std::int32_t width, std::int32_t height) {
  build::BmpShape shape;
  shape.width = width;
  shape.height = height;
  shape.bits = 8;
  shape.compression = 1;
  for (std::uint32_t c : {0x000000u, 0xFF0000u}) appendLe(shape.gap, c, 4);
  shape.pixels = Bytes{0xFF, 1, 0xFF, 1, 0, 0, 0, 1};
  return build::bmpFile(shape);
}

// A BMP declaring a size past the loader's limits, with hardly any pixels.
Bytes declaredBmp(std::int32_t width, std::int32_t height, int bits, std::size_t pixelBytes) {
  build::BmpShape shape;
  shape.width = width;
  shape.height = height;
  shape.bits = std::uint16_t(bits);
  shape.pixels = Bytes(pixelBytes, 0x7F);
  return build::bmpFile(shape);
}

void pictureSeeds() {
  const QImage screen = build::screen(48, 32, 1, QColor(200, 80, 40));
  QImage alpha = screen.convertToFormat(QImage::Format_ARGB32);
  for (int x = 0; x < alpha.width(); ++x) alpha.setPixelColor(x, 3, QColor(10, 20, 30, 40));
  std::vector<std::pair<std::string, Bytes>> pictures = {
      {"bmp24", build::encode(screen, "BMP")},
      {"bmp32-alpha", build::encode(alpha, "BMP")},
      {"bmp8-palette", build::encode(screen.convertToFormat(QImage::Format_Indexed8), "BMP")},
      {"bmp1-mono", build::encode(screen.convertToFormat(QImage::Format_Mono), "BMP")},
      {"bmp-rle8", rle8Bmp()},
      {"jpeg", build::encode(screen, "JPG", 75)},
      {"jpeg-progressive", progressiveJpeg(screen)},
      {"jpeg-grey", build::encode(screen.convertToFormat(QImage::Format_Grayscale8), "JPG", 75)},
      {"jpeg-odd", build::encode(build::screen(21, 13, 2, QColor(40, 90, 220)), "JPG", 90)},
      // Declared sizes past the loader's limits, with hardly any pixels.
      {"bmp-wide", declaredBmp(70000, 1, 24, 16)},
      {"bmp-huge", declaredBmp(40000, 40000, 32, 16)},
      {"bmp-negative", declaredBmp(-5, -5, 24, 0)},
      // A run-length BMP declaring far more pixels than its bytes can hold.
      {"bmp-rle8-huge", rleDeclaring(65535, 2048)},
  };
  {
    // The 24-bit BMP stored top-down: a negative height.
    Bytes topDown = pictures[0].second;
    const std::uint32_t h = std::uint32_t(-std::int32_t(screen.height()));
    for (int i = 0; i < 4; ++i) topDown[22 + std::size_t(i)] = std::uint8_t(h >> (8 * i));
    pictures.push_back({"bmp24-top-down", topDown});
  }
  // Each picture with a few variants of the first byte (rotation, de-ripple,
  // output kind, pack as JPEG).
  const std::uint8_t choices[] = {0x00, 0x05, 0x0A, 0x13, 0x18, 0x3E};
  for (const auto& [name, bytes] : pictures) {
    for (std::uint8_t c : choices) {
      char tag[8];
      std::snprintf(tag, sizeof tag, "-%02x", c);
      seed("picture", name + tag, prefixed(c, bytes));
    }
  }
}

std::vector<Bytes> iconJpegs() {
  return {build::encode(build::icon(8, 1), "JPG", 80), build::encode(build::icon(16, 2), "JPG", 90),
          build::encode(build::icon(12, 3).convertToFormat(QImage::Format_Grayscale8), "JPG", 70)};
}

Bytes t5uicLibrary(const std::vector<Bytes>& jpegs, int firstSlot) {
  Bytes file = build::emptyT5uic();
  for (std::size_t k = 0; k < jpegs.size(); ++k) {
    build::addT5uicJpeg(file, firstSlot + 2 * int(k), jpegs[k]);
  }
  return file;
}

void iconSeeds() {
  const std::vector<Bytes> jpegs = iconJpegs();
  const Bytes icl = build::iclLibrary(jpegs);
  const Bytes iclOne = build::iclLibrary({jpegs[0]});
  seed("icon_icl", "three", icl);
  seed("icon_icl", "one", iclOne);
  Bytes iclCounted = icl;  // count 0: the scan takes one slot
  iclCounted[13] = 0;
  iclCounted[14] = 0;
  seed("icon_icl", "count-zero", iclCounted);
  seed("icon_icl", "header-only", Bytes(17, 0));

  const Bytes t5 = t5uicLibrary(jpegs, 0);
  const Bytes t5Gaps = t5uicLibrary(jpegs, 5);
  seed("icon_t5uic", "three", t5);
  seed("icon_t5uic", "gaps", t5Gaps);
  // A short table: slot 0 points at the copy of the input the target places
  // after the padded table.
  Bytes shortTable(32, 0);
  putBe(shortTable, 4, 4096, 4);
  putBe(shortTable, 8, 32, 3);
  seed("icon_t5uic", "short-table", shortTable);

  // Raw, in the target's mapping: two length bytes, the start of the table,
  // then pixel data after the 131072-byte table (addresses count 16-bit
  // words from the start of the file).
  {
    const std::vector<QImage> icons = {build::icon(6, 1), build::icon(9, 2), build::icon(4, 3)};
    Bytes table, pixels;
    std::uint32_t word = 131072 / 2;
    for (std::size_t k = 0; k < icons.size(); ++k) {
      const QImage img = icons[k].convertToFormat(QImage::Format_RGB16);
      const unsigned w = unsigned(img.width()), h = unsigned(img.height());
      Bytes slot(8, 0);
      slot[0] = std::uint8_t(w);
      slot[1] = std::uint8_t(h);
      slot[2] = std::uint8_t(((w >> 8) << 6) | ((h >> 8) << 4));
      putBe(slot, 3, word, 3);
      if (k == 1) table.insert(table.end(), 8, 0);  // an empty slot between
      table.insert(table.end(), slot.begin(), slot.end());
      for (unsigned y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const std::uint16_t*>(img.constScanLine(int(y)));
        for (unsigned x = 0; x < w; ++x) {
          pixels.push_back(std::uint8_t(row[x] >> 8));
          pixels.push_back(std::uint8_t(row[x]));
        }
      }
      word += w * h;
    }
    Bytes input;
    appendLe(input, std::uint32_t(table.size()), 2);
    input.insert(input.end(), table.begin(), table.end());
    input.insert(input.end(), pixels.begin(), pixels.end());
    seed("icon_raw", "three", input);
    Bytes wide = input;  // the largest sides, far past the data
    wide[2] = 0xFF;
    wide[3] = 0xFF;
    wide[4] = 0xF0;
    seed("icon_raw", "largest-sides", wide);
  }

  // The build: first byte picks layout and job (see fuzz_icon_build.cpp).
  for (std::uint8_t c : {0x00, 0x02, 0x06, 0x2A, 0x5A}) {
    char tag[8];
    std::snprintf(tag, sizeof tag, "-%02x", c);
    seed("icon_build", std::string("icl") + tag, prefixed(c, icl));
  }
  seed("icon_build", "t5uic-01", prefixed(0x01, t5));
  seed("icon_build", "t5uic-05", prefixed(0x05, t5Gaps));
}

void configSeeds() {
  const std::vector<std::pair<std::string, std::string>> texts = {
      {"typical", "R1=3\r\nR2=15\r\nR3=FF\r\n"},
      {"prefixes", "  R 0x1 = 0x7\nR2=-1\nR3 =  +a0\n"},
      {"junk", "; comment\nxR1=5\nR9=FFFFFFFFF\nR3\nR2=\nrr R1=2"},
      {"no-line-end", "R1=6"},
      {"empty-lines", "\n\n\r\n\r\rR2=3\n"},
  };
  for (const auto& [name, text] : texts) seed("register_text", name, Bytes(text.begin(), text.end()));
  Bytes binary = {'R', '1', '=', 0x00, 0xFF, '\n', 0xC0, 0x80, 'R', '2', '=', '9', '\n'};
  seed("register_text", "binary", binary);

  auto header = [](const std::string& marker) {
    Bytes h(65, 0);
    for (std::size_t i = 0; i < marker.size(); ++i) h[i] = std::uint8_t(marker[i]);
    h[4] = h[4] ? h[4] : 0x01;
    h[5] = 0x13;
    h[6] = 0x20;
    h[7] = 0x01;
    h[8] = 0xE5;
    h[9] = 0x00;
    h[10] = 0x44;
    h[11] = 0x5A;
    h[12] = 0x64;
    h[13] = 0x32;
    h[14] = 0x01;
    h[15] = 0x2C;
    h[32] = 0x5A;
    h[33] = 0x60;
    h[35] = 0x5A;
    h[36] = 0x07;
    h[64] = 2;
    return h;
  };
  for (const char* marker : {"T5LC1", "T5C1", "T5C2", "T5C4", "", "xxT5C2"}) {
    seed("config_header", std::string("marker-") + (*marker ? marker : "none"), header(marker));
  }
  Bytes divisorZero = header("T5LC1");
  divisorZero[10] = divisorZero[11] = 0;
  seed("config_header", "divisor-zero", divisorZero);
  seed("config_header", "short", Bytes{'T', '5', 'C', '4'});
}


// ---- the readers of tessel-cli inspect: outputs as Tessel writes them ------

Bytes zlibStream(const Bytes& in) {
  uLongf length = compressBound(uLong(in.size()));
  Bytes out(length);
  if (compress(out.data(), &length, in.data(), uLong(in.size())) != Z_OK) return {};
  out.resize(length);
  return out;
}

// RGB565 rows of a w x h picture, stride (w * 2 + 3) & ~3.
Bytes rows565(int w, int h, int stride) {
  Bytes rows(std::size_t(stride) * std::size_t(h), 0);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w * 2; ++x) rows[std::size_t(y * stride + x)] = std::uint8_t(x * 9 + y * 31);
  }
  return rows;
}

Bytes zbmp(int w, int h, bool compressed) {
  const Bytes rows = rows565(w, h, (w * 2 + 3) & ~3);
  Bytes file;
  appendLe(file, std::uint32_t(w), 2);
  appendLe(file, std::uint32_t(h), 2);
  appendLe(file, compressed ? 0x00FF : 0, 2);
  file.resize(16, 0);
  const Bytes payload = compressed ? zlibStream(rows) : rows;
  file.insert(file.end(), payload.begin(), payload.end());
  return file;
}

void inspectSeeds() {
  seed("inspect_zbmp", "zlib", prefixed(0, zbmp(9, 5, true)));
  seed("inspect_zbmp", "raw", prefixed(2, zbmp(3, 2, false)));
  const Bytes jpeg = build::encode(build::icon(12, 3), "JPG", 90);
  seed("inspect_zbmp", "jpeg", prefixed(1, jpeg));

  // .zico: two icons, then the data area.
  Bytes zico = {'Z', 'I', 'C', 'O'};
  appendLe(zico, 32, 4);
  Bytes area;
  for (int i = 0; i < 2; ++i) {
    const int w = 3 + i, h = 2;
    const Bytes block = zlibStream(rows565(w, h, w * 2));
    appendLe(zico, std::uint32_t(i * 5), 2);
    appendLe(zico, 1, 2);
    appendLe(zico, std::uint32_t(w), 2);
    appendLe(zico, std::uint32_t(h), 2);
    appendLe(zico, std::uint32_t(area.size()), 4);
    appendLe(zico, std::uint32_t(block.size()), 4);
    area.insert(area.end(), block.begin(), block.end());
  }
  zico.insert(zico.end(), area.begin(), area.end());
  seed("inspect_zico", "two-icons", zico);
  seed("inspect_zico", "empty", Bytes{});

  // The pack: LE16 index length, image.idx (entries 0 and 2, a gap at 1),
  // image.bin.
  const Bytes rows = zlibStream(rows565(5, 3, 12));
  Bytes index;
  auto entry = [&](int number, std::uint8_t kind, std::uint32_t offset, int w, int h,
                   std::size_t length) {
    index.resize(std::size_t(number) * 16, 0);
    appendLe(index, std::uint32_t(number), 2);
    index.push_back(kind);
    appendLe(index, 0x00B00000u + offset, 4);
    appendLe(index, std::uint32_t(w), 2);
    appendLe(index, std::uint32_t(h), 2);
    appendLe(index, std::uint32_t(length), 3);
    appendLe(index, 0, 2);
  };
  entry(0, 0x04, 0, 5, 3, rows.size());
  entry(2, 0x08, std::uint32_t(rows.size()), 12, 12, jpeg.size());
  Bytes pack;
  appendLe(pack, std::uint32_t(index.size()), 2);
  pack.insert(pack.end(), index.begin(), index.end());
  pack.insert(pack.end(), rows.begin(), rows.end());
  pack.insert(pack.end(), jpeg.begin(), jpeg.end());
  seed("inspect_pack", "two-entries", pack);

  const std::vector<std::pair<std::string, std::string>> texts = {
      {"config-b", "R1=03; 9600\r\nR2=C8;\r\nR3=7F;\r\nRC0=01;\r\nRFA=01;\r\nRFC=18;"},
      {"config-a", "R1=07; 115200\r\nR2=24;\r\nR6=40; BL ON(0x00~0x40)\r\nR7=10;\r\nR8=012C; TIME\r\nRC=02;\r\n"},
      {"config-bad", "R1=2580\nR2\nR3=\nRxyz=1\nR2=00;\n"},
  };
  for (const auto& [name, text] : texts) seed("inspect_text", name, prefixed(0, Bytes(text.begin(), text.end())));
  const std::string ini = "[setting]\r\nfont0=font.ttf";
  seed("inspect_text", "truefont-ini", prefixed(1, Bytes(ini.begin(), ini.end())));
  // A font of one table, "name", naming "Ab" (Windows, UTF-16BE, full name).
  Bytes font;
  auto be = [&](std::uint32_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) font.push_back(std::uint8_t(v >> (8 * i)));
  };
  be(0x00010000, 4);
  be(1, 2);
  be(16, 2);
  be(0, 2);
  be(0, 2);
  be(0x6E616D65, 4);  // "name"
  be(0, 4);
  be(28, 4);           // offset
  be(22, 4);           // length
  be(0, 2);            // format
  be(1, 2);            // one record
  be(18, 2);           // strings at 6 + 12
  be(3, 2);
  be(1, 2);
  be(0x409, 2);
  be(4, 2);
  be(4, 2);            // 4 bytes
  be(0, 2);
  be('A', 2);
  be('b', 2);
  seed("inspect_text", "font-name", prefixed(2, font));
  const std::string record =
      R"({"format":"tessel-run","version":1,"source":"/p/DWIN_SET","branch":"A","outputs":{)"
      R"("image/1.zbmp":{"sources":[{"file":"32_screen.icl","icon":1}],"replaced":["1_main.jpg"],)"
      R"("rotation":1,"size":120},"config.txt":{"sources":[{"file":"CONFIG.TXT","copied":true}],)"
      R"("rotation":0,"size":40}}})";
  seed("inspect_text", "run-record", prefixed(3, Bytes(record.begin(), record.end())));

  // The page writer: a tree of files, each a place (see
  // fuzz_inspect_page.cpp), a 16-bit length and its bytes.
  Bytes tree;
  auto file = [&](std::uint8_t place, const Bytes& bytes) {
    tree.push_back(place);
    appendLe(tree, std::uint32_t(bytes.size()), 2);
    tree.insert(tree.end(), bytes.begin(), bytes.end());
  };
  file(0, zbmp(9, 5, true));
  file(2, jpeg);
  file(4, zico);
  file(6, index);
  file(7, Bytes(rows.begin(), rows.end()));
  file(8, Bytes(texts[0].second.begin(), texts[0].second.end()));
  file(11, zbmp(3, 2, false));
  seed("inspect_page", "tree", tree);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
    return 2;
  }
  root = argv[1];
  pictureSeeds();
  iconSeeds();
  configSeeds();
  inspectSeeds();
  std::printf("%d seeds written below %s\n", written, root.string().c_str());
  return 0;
}
