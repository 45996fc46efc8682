#include "support/Builders.h"

#include <QBuffer>
#include <QPainter>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>

namespace fs = std::filesystem;

namespace tessel::build {

namespace {
void appendLe(Bytes& b, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
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
  for (int x = 0; x < w; x += std::max(1, w / 20)) p.drawLine(x, h / 8, x + w / 40, h / 6);
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

Bytes bmpFile(const BmpShape& s) {
  const std::uint32_t rows = s.height < 0 ? std::uint32_t(-std::int64_t(s.height)) : std::uint32_t(s.height);
  const std::uint32_t stride = (std::uint32_t(s.width) * s.bits / 8 + 3) & ~3u;
  const std::uint32_t offset = 14 + s.infoSize + std::uint32_t(s.gap.size());
  Bytes pixels;
  if (s.pixels) {
    pixels = *s.pixels;
  } else {
    for (std::uint32_t y = 0; y < rows; ++y) {
      for (std::uint32_t x = 0; x < stride; ++x) pixels.push_back(std::uint8_t(x * 37 + y * 101 + 7));
    }
  }
  Bytes b{'B', 'M'};
  appendLe(b, offset + std::uint32_t(pixels.size()), 4);
  appendLe(b, 0, 4);
  appendLe(b, offset, 4);
  appendLe(b, s.infoSize, 4);
  appendLe(b, std::uint32_t(s.width), 4);
  appendLe(b, std::uint32_t(s.height), 4);
  appendLe(b, s.planes, 2);
  appendLe(b, s.bits, 2);
  appendLe(b, s.compression, 4);
  appendLe(b, s.compression != 0 ? std::uint32_t(pixels.size()) : 0, 4);
  appendLe(b, 2835, 4);
  appendLe(b, 2835, 4);
  appendLe(b, s.colorsUsed, 4);
  appendLe(b, 0, 4);
  b.resize(14 + s.infoSize, 0);
  b.insert(b.end(), s.gap.begin(), s.gap.end());
  b.insert(b.end(), pixels.begin(), pixels.end());
  return b;
}

void putBe16(Bytes& b, std::size_t at, std::uint32_t v) {
  b.at(at) = std::uint8_t(v >> 8);
  b.at(at + 1) = std::uint8_t(v);
}
void putBe24(Bytes& b, std::size_t at, std::uint32_t v) {
  b.at(at) = std::uint8_t(v >> 16);
  putBe16(b, at + 1, v);
}
void putBe32(Bytes& b, std::size_t at, std::uint32_t v) {
  b.at(at) = std::uint8_t(v >> 24);
  putBe24(b, at + 1, v);
}
void appendBe16(Bytes& b, std::uint32_t v) {
  b.push_back(std::uint8_t(v >> 8));
  b.push_back(std::uint8_t(v));
}
void appendBe32(Bytes& b, std::uint32_t v) {
  appendBe16(b, v >> 16);
  appendBe16(b, v);
}

SplitJpeg splitAtScan(const Bytes& jpeg, int fill, Bytes junk) {
  std::size_t p = 2;  // after SOI: walk the marker segments
  while (true) {
    if (p + 4 > jpeg.size() || jpeg[p] != 0xFF) throw std::runtime_error("not a JPEG");
    const std::size_t length = (std::size_t(jpeg[p + 2]) << 8) | jpeg[p + 3];
    if (jpeg[p + 1] == 0xDA) break;
    p += 2 + length;
  }
  const std::size_t length = (std::size_t(jpeg[p + 2]) << 8) | jpeg[p + 3];
  const std::size_t end = p + 2 + length;
  SplitJpeg split;
  split.head.assign(jpeg.begin(), jpeg.begin() + std::ptrdiff_t(end));
  split.head.insert(split.head.end(), std::size_t(fill), 0xFF);
  putBe16(split.head, p + 2, std::uint32_t(length + std::size_t(fill)));
  split.head.insert(split.head.end(), junk.begin(), junk.end());
  split.body.assign(jpeg.begin() + std::ptrdiff_t(end), jpeg.end());
  return split;
}

Bytes buildIcl(std::uint16_t count, const std::vector<IclSlot>& records, std::vector<std::size_t> order,
               bool zeroUnread) {
  if (order.empty()) {
    for (std::size_t i = 0; i < records.size(); ++i) order.push_back(i);
  }
  Bytes file(16 + 4 * records.size(), 0x00);
  if (!zeroUnread) {
    for (std::size_t i = 0; i < 13; ++i) file[i] = std::uint8_t(0xA0 + i);
    file[15] = 0x5C;
  }
  putBe16(file, 13, count);
  for (std::size_t k : order) {
    const IclSlot& s = records[k];
    putBe32(file, 16 + 4 * k, std::uint32_t(file.size()));
    appendBe32(file, zeroUnread ? 0 : 0xDEADBEEF);
    appendBe16(file, s.declaredHead.value_or(std::uint16_t(s.head.size())));
    appendBe32(file, s.declaredBody.value_or(std::uint32_t(s.body.size())));
    file.insert(file.end(), s.head.begin(), s.head.end());
    file.insert(file.end(), s.body.begin(), s.body.end());
  }
  return file;
}

Bytes iclLibrary(const std::vector<Bytes>& jpegs) {
  std::vector<IclSlot> records;
  for (const Bytes& jpeg : jpegs) records.push_back(iclSlot(splitAtScan(jpeg)));
  // The count is one less than the number of records.
  return buildIcl(std::uint16_t(jpegs.size() - 1), records, {}, true);
}

void setT5uicSlot(Bytes& file, int k, std::uint32_t offset, std::uint32_t length) {
  putBe32(file, 16 * std::size_t(k) + 4, offset);
  putBe24(file, 16 * std::size_t(k) + 8, length);
}

void addT5uicJpeg(Bytes& file, int k, const Bytes& jpeg) {
  setT5uicSlot(file, k, std::uint32_t(file.size()), std::uint32_t(jpeg.size()));
  file.insert(file.end(), jpeg.begin(), jpeg.end());
}

void setRawSlot(Bytes& file, int k, int width, int height, std::uint32_t address,
                std::uint8_t lowBits) {
  const std::size_t s = 8 * std::size_t(k);
  file.at(s) = std::uint8_t(width);
  file.at(s + 1) = std::uint8_t(height);
  file.at(s + 2) =
      std::uint8_t(((width >> 8) & 3) << 6 | ((height >> 8) & 3) << 4 | (lowBits & 0x0F));
  putBe24(file, s + 3, address);
}

void addRawIcon(Bytes& file, int k, int width, int height, const std::vector<std::uint16_t>& pixels) {
  if (file.size() % 2) file.push_back(0);
  setRawSlot(file, k, width, height, std::uint32_t(file.size() / 2));
  for (std::uint16_t v : pixels) appendBe16(file, v);
}

Bytes rawLibrary(const std::vector<QImage>& icons) {
  Bytes file = emptyRaw();
  for (std::size_t k = 0; k < icons.size(); ++k) {
    const QImage img = icons[k].convertToFormat(QImage::Format_RGB16);
    std::vector<std::uint16_t> pixels;
    for (int y = 0; y < img.height(); ++y) {
      const auto* row = reinterpret_cast<const std::uint16_t*>(img.constScanLine(y));
      pixels.insert(pixels.end(), row, row + img.width());
    }
    addRawIcon(file, int(k), img.width(), img.height(), pixels);
  }
  return file;
}

Bytes wave(double frequency, double seconds) {
  const unsigned rate = 8000, samples = static_cast<unsigned>(rate * seconds);
  Bytes b = {'R', 'I', 'F', 'F'};
  appendLe(b, 36 + samples * 2, 4);
  for (char c : std::string("WAVEfmt ")) b.push_back(static_cast<std::uint8_t>(c));
  appendLe(b, 16, 4);
  appendLe(b, 1, 2);
  appendLe(b, 1, 2);
  appendLe(b, rate, 4);
  appendLe(b, rate * 2, 4);
  appendLe(b, 2, 2);
  appendLe(b, 16, 2);
  for (char c : std::string("data")) b.push_back(static_cast<std::uint8_t>(c));
  appendLe(b, samples * 2, 4);
  for (unsigned i = 0; i < samples; ++i) {
    const double v = std::sin(2 * M_PI * frequency * i / rate) * 8000;
    appendLe(b, static_cast<unsigned>(static_cast<int>(v)) & 0xFFFF, 2);
  }
  return b;
}

Bytes table(unsigned seed, std::size_t size) {
  Bytes b(size);
  for (std::size_t i = 0; i < size; ++i) b[i] = static_cast<std::uint8_t>((i * 31 + seed) & 0xFF);
  return b;
}

}  // namespace tessel::build
