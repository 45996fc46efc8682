#pragma once
// Inputs made in code, shared by the tests, the sample project, the fuzz
// corpus and the benchmark: screens and icons, BMP files byte by byte, icon
// libraries in the ICL, T5UIC and raw layouts, sounds and tables. Every
// number inside an icon library is big-endian.
#include <QColor>
#include <QImage>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace tessel::build {

using Bytes = std::vector<std::uint8_t>;

// Writes a file whole; a failure ends the process with a message.
void save(const std::filesystem::path& path, const Bytes& data);

// ---- pictures ---------------------------------------------------------------

// A screen with a title bar, buttons and a gauge: the kind of picture a
// display project is made of.
QImage screen(int w, int h, int index, QColor accent);
// A round icon of `size` x `size` pixels whose colour follows `index`.
QImage icon(int size, int index);
// The image in a Qt format ("BMP", "JPG"); quality -1 is Qt's default.
Bytes encode(const QImage& image, const char* format, int quality = -1);

// A BMP written byte by byte.
struct BmpShape {
  std::int32_t width = 0;
  std::int32_t height = 0;  // negative: rows top-down
  std::uint32_t infoSize = 40;
  std::uint16_t planes = 1;
  std::uint16_t bits = 24;
  std::uint32_t compression = 0;
  std::uint32_t colorsUsed = 0;
  Bytes gap;  // bytes between the headers and the pixels (a palette, say)
  // The pixel bytes; when not given, rows of the declared size whose bytes
  // vary with position, so that a swapped channel, a shifted row or a
  // flipped picture shows.
  std::optional<Bytes> pixels;
};
Bytes bmpFile(const BmpShape& shape);

// ---- icon libraries ---------------------------------------------------------

void putBe16(Bytes& b, std::size_t at, std::uint32_t v);
void putBe24(Bytes& b, std::size_t at, std::uint32_t v);
void putBe32(Bytes& b, std::size_t at, std::uint32_t v);
void appendBe16(Bytes& b, std::uint32_t v);
void appendBe32(Bytes& b, std::uint32_t v);

// A JPEG cut in two after its start-of-scan segment, the way ICL records keep
// it. `fill` 0xFF bytes are added to the end of that segment (and counted in
// its length), and `junk` bytes after it, still inside the head.
struct SplitJpeg {
  Bytes head;
  Bytes body;
};
SplitJpeg splitAtScan(const Bytes& jpeg, int fill = 0, Bytes junk = {});

// One ICL slot: a record with head and body, or only declared lengths (the
// record then holds no data, as for a slot that is skipped for its size).
struct IclSlot {
  Bytes head;
  Bytes body;
  std::optional<std::uint16_t> declaredHead;
  std::optional<std::uint32_t> declaredBody;
};
inline IclSlot iclSlot(const SplitJpeg& s) { return {s.head, s.body, {}, {}}; }
inline IclSlot iclSlotOfSize(std::uint16_t head, std::uint32_t body) {
  return {{}, {}, head, body};
}

// Header (count at bytes 13-14), offset table of one entry per slot, then the
// records in `order` (slot order when empty). The bytes the reader never
// looks at hold a pattern, or zeros with `zeroUnread`.
Bytes buildIcl(std::uint16_t count, const std::vector<IclSlot>& records,
               std::vector<std::size_t> order = {}, bool zeroUnread = false);
// An ICL library of these JPEGs, one slot each.
Bytes iclLibrary(const std::vector<Bytes>& jpegs);

// T5UIC: 256 slots of 16 bytes, then whatever data is appended.
inline Bytes emptyT5uic() { return Bytes(4096, 0x00); }
void setT5uicSlot(Bytes& file, int k, std::uint32_t offset, std::uint32_t length);
// Appends a JPEG and points slot k at it.
void addT5uicJpeg(Bytes& file, int k, const Bytes& jpeg);

// Raw: 16384 slots of 8 bytes, then big-endian RGB565 pixel blocks.
constexpr std::size_t kRawTable = 131072;
inline Bytes emptyRaw() { return Bytes(kRawTable, 0x00); }
void setRawSlot(Bytes& file, int k, int width, int height, std::uint32_t address,
                std::uint8_t lowBits = 0);
// Appends pixels (padded to an even offset) and points slot k at them.
void addRawIcon(Bytes& file, int k, int width, int height, const std::vector<std::uint16_t>& pixels);
// A raw library of these pictures (as RGB565), slots 0, 1, ...
Bytes rawLibrary(const std::vector<QImage>& icons);

// ---- the rest of a project --------------------------------------------------

// A mono 16-bit WAVE file of a sine tone at 8 kHz.
Bytes wave(double frequency, double seconds);
// `size` bytes of a pattern that follows `seed`.
Bytes table(unsigned seed, std::size_t size);

}  // namespace tessel::build
