#include "sample_builders.h"

#include <QBuffer>
#include <QPainter>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace sample {

namespace {
void putBe16(Bytes& b, unsigned v) {
  b.push_back(static_cast<std::uint8_t>(v >> 8));
  b.push_back(static_cast<std::uint8_t>(v));
}
void putBe32(Bytes& b, unsigned v) {
  putBe16(b, v >> 16);
  putBe16(b, v & 0xFFFF);
}
void putLe16(Bytes& b, unsigned v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void putLe32(Bytes& b, unsigned v) {
  putLe16(b, v & 0xFFFF);
  putLe16(b, v >> 16);
}
}  // namespace

void save(const fs::path& path, const Bytes& data) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  if (!out) {
    std::fprintf(stderr, "cannot write %s\n", path.string().c_str());
    std::exit(1);
  }
}

// A screen with a title bar, buttons and a gauge: the kind of picture a
// display project is made of.
QImage screen(int w, int h, int index, QColor accent) {
  QImage image(w, h, QImage::Format_RGB32);
  QPainter p(&image);
  QLinearGradient bg(0, 0, 0, h);
  bg.setColorAt(0, QColor(20, 28, 40));
  bg.setColorAt(1, QColor(40, 56, 80));
  p.fillRect(image.rect(), bg);
  p.fillRect(0, 0, w, h / 8, accent);
  p.setRenderHint(QPainter::Antialiasing);
  for (int i = 0; i < 3; ++i) {
    const QRect button(w / 16 + i * (w / 3), h * 2 / 3, w / 4, h / 6);
    p.setBrush(accent.lighter(120 + 20 * i));
    p.setPen(QPen(Qt::white, 2));
    p.drawRoundedRect(button, 8, 8);
  }
  p.setPen(QPen(accent, std::max(2, w / 60)));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRect(w / 3, h / 5, w / 3, w / 3), 30 * 16, (120 + 40 * index) * 16);
  p.setPen(Qt::white);
  for (int x = 0; x < w; x += w / 20) p.drawLine(x, h / 8, x + w / 40, h / 6);
  return image;
}

QImage icon(int size, int index) {
  QImage image(size, size, QImage::Format_RGB32);
  image.fill(QColor(30, 30, 30));
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setBrush(QColor::fromHsv((index * 47) % 360, 200, 230));
  p.setPen(Qt::NoPen);
  p.drawEllipse(QRect(2, 2, size - 4, size - 4));
  p.setBrush(Qt::white);
  p.drawRect(size / 2 - 2, size / 4, 4, size / 2);
  return image;
}

Bytes encode(const QImage& image, const char* format, int quality) {
  QByteArray array;
  QBuffer buffer(&array);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, format, quality);
  return Bytes(array.begin(), array.end());
}

// An ICL library: every JPEG split into the head (up to the end of its
// start-of-scan segment) and the body (the scan data).
Bytes iclLibrary(const std::vector<Bytes>& jpegs) {
  Bytes file(16, 0);
  file[13] = static_cast<std::uint8_t>((jpegs.size() - 1) >> 8);
  file[14] = static_cast<std::uint8_t>(jpegs.size() - 1);
  const std::size_t tableEnd = 16 + 4 * jpegs.size();
  file.resize(tableEnd, 0);
  for (std::size_t k = 0; k < jpegs.size(); ++k) {
    const Bytes& j = jpegs[k];
    std::size_t sos = 0;
    while (sos + 1 < j.size() && !(j[sos] == 0xFF && j[sos + 1] == 0xDA)) ++sos;
    const std::size_t headLength = sos + 2 + ((j[sos + 2] << 8) | j[sos + 3]);
    const unsigned off = static_cast<unsigned>(file.size());
    file[16 + 4 * k] = static_cast<std::uint8_t>(off >> 24);
    file[17 + 4 * k] = static_cast<std::uint8_t>(off >> 16);
    file[18 + 4 * k] = static_cast<std::uint8_t>(off >> 8);
    file[19 + 4 * k] = static_cast<std::uint8_t>(off);
    putBe32(file, 0);
    putBe16(file, static_cast<unsigned>(headLength));
    putBe32(file, static_cast<unsigned>(j.size() - headLength));
    file.insert(file.end(), j.begin(), j.end());
  }
  return file;
}

// A raw library: a table of 16384 slots of 8 bytes, then big-endian RGB565
// pixel blocks.
Bytes rawLibrary(const std::vector<QImage>& icons) {
  Bytes file(131072, 0);
  for (std::size_t k = 0; k < icons.size(); ++k) {
    const QImage img = icons[k].convertToFormat(QImage::Format_RGB16);
    const unsigned w = static_cast<unsigned>(img.width()), h = static_cast<unsigned>(img.height());
    const unsigned address = static_cast<unsigned>(file.size() / 2);
    std::uint8_t* slot = file.data() + 8 * k;
    slot[0] = static_cast<std::uint8_t>(w);
    slot[1] = static_cast<std::uint8_t>(h);
    slot[2] = static_cast<std::uint8_t>(((w >> 8) << 6) | ((h >> 8) << 4));
    slot[3] = static_cast<std::uint8_t>(address >> 16);
    slot[4] = static_cast<std::uint8_t>(address >> 8);
    slot[5] = static_cast<std::uint8_t>(address);
    for (unsigned y = 0; y < h; ++y) {
      const auto* row = reinterpret_cast<const std::uint16_t*>(img.constScanLine(static_cast<int>(y)));
      for (unsigned x = 0; x < w; ++x) putBe16(file, row[x]);
    }
  }
  return file;
}

Bytes wave(double frequency, double seconds) {
  const unsigned rate = 8000, samples = static_cast<unsigned>(rate * seconds);
  Bytes b = {'R', 'I', 'F', 'F'};
  putLe32(b, 36 + samples * 2);
  for (char c : std::string("WAVEfmt ")) b.push_back(static_cast<std::uint8_t>(c));
  putLe32(b, 16);
  putLe16(b, 1);
  putLe16(b, 1);
  putLe32(b, rate);
  putLe32(b, rate * 2);
  putLe16(b, 2);
  putLe16(b, 16);
  for (char c : std::string("data")) b.push_back(static_cast<std::uint8_t>(c));
  putLe32(b, samples * 2);
  for (unsigned i = 0; i < samples; ++i) {
    const double v = std::sin(2 * M_PI * frequency * i / rate) * 8000;
    putLe16(b, static_cast<unsigned>(static_cast<int>(v)) & 0xFFFF);
  }
  return b;
}

Bytes table(unsigned seed, std::size_t size) {
  Bytes b(size);
  for (std::size_t i = 0; i < size; ++i) b[i] = static_cast<std::uint8_t>((i * 31 + seed) & 0xFF);
  return b;
}

}  // namespace sample
