#include "inspect/OutputReaders.h"

#include <zlib.h>

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <algorithm>
#include <cstdio>
#include <limits>
#include <map>
#include <new>
#include <string_view>

#include "config/ConfigRegisters.h"
#include "config/SetupOverrides.h"
#include "picture/MemoryBudget.h"
#include "picture/PicturePack.h"
#include "picture/PicturePipeline.h"
#include "picture/Rgb565.h"
#include "picture/Zbmp.h"
#include "util/Text.h"

namespace tessel::inspect {

namespace {

std::string hexText(std::uint32_t v, int digits) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%0*X", digits, v);
  return buffer;
}

// zlib's deflate cannot shrink data by more than about 1032:1.
constexpr std::uint64_t kMaxInflateRatio = 1040;

// Blocks [offset, offset + size) given in any order: the position of each
// block that overlaps one before it in address order, with that other one.
std::map<std::size_t, std::size_t> overlaps(
    const std::vector<std::pair<std::uint64_t, std::uint64_t>>& blocks) {
  std::vector<std::size_t> order(blocks.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return blocks[a].first < blocks[b].first; });
  std::map<std::size_t, std::size_t> found;
  std::uint64_t end = 0;
  std::size_t owner = 0;
  bool any = false;
  for (const std::size_t i : order) {
    const auto [offset, size] = blocks[i];
    if (any && offset < end) {
      found[std::max(i, owner)] = std::min(i, owner);
    }
    if (!any || offset + size > end) {
      end = offset + size;
      owner = i;
    }
    any = true;
  }
  return found;
}

}  // namespace

std::optional<Bytes> InflateExact(ByteView stream, std::uint64_t expected, std::string& error) {
  if (stream.empty()) {
    error = trText("Inspect", "its compressed data is empty");
    return std::nullopt;
  }
  if (expected > std::uint64_t(stream.size()) * kMaxInflateRatio + 1024 ||
      expected > std::numeric_limits<uInt>::max() ||
      stream.size() > std::numeric_limits<uInt>::max()) {
    error = trText("Inspect",
                   "its %1 bytes of compressed data cannot hold the %2 bytes it declares")
                .arg(stream.size())
                .arg(expected);
    return std::nullopt;
  }
  Bytes out;
  try {
    out.resize(static_cast<std::size_t>(expected));
  } catch (const std::bad_alloc&) {
    error = trText("Inspect", "out of memory for its %1 bytes").arg(expected);
    return std::nullopt;
  }
  z_stream z{};
  if (inflateInit(&z) != Z_OK) {
    error = trText("Inspect", "zlib cannot start");
    return std::nullopt;
  }
  std::uint8_t spare = 0;
  z.next_in = const_cast<Bytef*>(stream.data());
  z.avail_in = static_cast<uInt>(stream.size());
  z.next_out = out.empty() ? &spare : out.data();
  z.avail_out = static_cast<uInt>(out.size());
  int rc = inflate(&z, Z_FINISH);
  if (rc != Z_STREAM_END && z.avail_out == 0 && (rc == Z_OK || rc == Z_BUF_ERROR)) {
    // Every declared byte is there: the stream must end now, without more.
    z.next_out = &spare;
    z.avail_out = 1;
    rc = inflate(&z, Z_FINISH);
    if (z.avail_out == 0) {
      inflateEnd(&z);
      error = trText("Inspect", "its compressed data holds more than the %1 bytes it declares")
                  .arg(expected);
      return std::nullopt;
    }
  }
  const std::uint64_t produced = expected - (z.next_out == &spare ? 0 : z.avail_out);
  const std::string message = z.msg ? z.msg : "";
  const uInt leftOver = z.avail_in;
  inflateEnd(&z);
  switch (rc) {
    case Z_STREAM_END:
      if (produced != expected) {
        error = trText("Inspect", "its compressed data holds %1 bytes, not the %2 it declares")
                    .arg(produced)
                    .arg(expected);
        return std::nullopt;
      }
      if (leftOver != 0) {
        error = trText("Inspect", "%1 bytes follow the end of its compressed data").arg(leftOver);
        return std::nullopt;
      }
      return out;
    case Z_OK:
    case Z_BUF_ERROR:
      error = trText("Inspect",
                     "its compressed data ends after %1 of the %2 bytes it declares (cut short?)")
                  .arg(produced)
                  .arg(expected);
      return std::nullopt;
    case Z_MEM_ERROR:
      error = trText("Inspect", "out of memory while inflating it");
      return std::nullopt;
    default:
      error = message.empty()
                  ? trText("Inspect", "its compressed data is damaged")
                  : trText("Inspect", "its compressed data is damaged (zlib: %1)").arg(message);
      return std::nullopt;
  }
}

QImage Rgb565Image(const std::uint8_t* rows, int width, int height, std::size_t stride) {
  QImage image(width, height, QImage::Format_RGB16);
  if (image.isNull()) return image;
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* in = rows + std::size_t(y) * stride;
    auto* out = reinterpret_cast<quint16*>(image.scanLine(y));
    for (int x = 0; x < width; ++x) out[x] = getLe16(in + 2 * std::size_t(x));
  }
  return image;
}

// ---- pictures ----------------------------------------------------------------

PictureReading ReadZbmp(ByteView file, bool decode, const Limits& limits) {
  PictureReading r;
  if (file.size() < kZbmpHeaderSize) {
    r.error = trText("Inspect", "it is %1 bytes, shorter than the 16-byte header").arg(file.size());
    return r;
  }
  r.width = getLe16(file.data());
  r.height = getLe16(file.data() + 2);
  const std::uint16_t flag = getLe16(file.data() + 4);
  if (r.width == 0 || r.height == 0) {
    r.error = trText("Inspect", "its header gives a size of %1 x %2").arg(r.width).arg(r.height);
    return r;
  }
  if (flag != kZbmpCompressed && flag != kZbmpRaw) {
    r.error = trText("Inspect",
                     "its header's compression flag is %1, neither 0x00FF (zlib) nor 0x0000 (raw)")
                  .arg(hexText(flag, 4));
    return r;
  }
  for (std::size_t i = 6; i < kZbmpHeaderSize; ++i) {
    if (file[i] != 0) {
      r.error = trText("Inspect", "header byte %1 is %2, not zero").arg(i).arg(hexText(file[i], 2));
      return r;
    }
  }
  if (const LimitFault fault = PictureSizeFault(limits, r.width, r.height)) {
    r.error = LimitSentence(fault);
    return r;
  }
  r.compressed = flag == kZbmpCompressed;
  const std::uint64_t stride = Rgb565Stride(std::uint64_t(r.width));
  const std::uint64_t rowBytes = stride * std::uint64_t(r.height);
  const ByteView payload = file.subspan(kZbmpHeaderSize);
  if (!r.compressed) {
    if (payload.size() < rowBytes) {
      r.error = trText("Inspect",
                       "its raw rows are %1 bytes, %2 short of the %3 x %4 picture its header "
                       "declares (cut short?)")
                    .arg(payload.size())
                    .arg(rowBytes - payload.size())
                    .arg(r.width)
                    .arg(r.height);
      return r;
    }
    if (payload.size() > rowBytes) {
      r.error = trText("Inspect", "%1 bytes follow its last row").arg(payload.size() - rowBytes);
      return r;
    }
    if (decode) r.image = Rgb565Image(payload.data(), r.width, r.height, stride);
    return r;
  }
  std::optional<Bytes> rows = InflateExact(payload, rowBytes, r.error);
  if (!rows) return r;
  if (decode) r.image = Rgb565Image(rows->data(), r.width, r.height, stride);
  return r;
}

PictureReading ReadOutputJpeg(ByteView file, const Limits& limits) {
  PictureReading r;
  if (file.size() < 4 || file[0] != 0xFF || file[1] != 0xD8) {
    r.error = trText("Inspect", "it does not start with a JPEG start marker");
    return r;
  }
  if (file[file.size() - 2] != 0xFF || file[file.size() - 1] != 0xD9) {
    r.error = trText("Inspect", "it does not end with the JPEG end marker (cut short?)");
    return r;
  }
  if (file.size() > std::size_t(std::numeric_limits<int>::max())) {
    r.error = trText("Inspect", "it is too large to decode");
    return r;
  }
  QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(file.data()),
                                             static_cast<qsizetype>(file.size()));
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, "jpeg");
  const QSize size = reader.size();
  if (!size.isValid() || size.isEmpty()) {
    r.error = trText("Inspect", "it is not a JPEG picture a decoder can read (%1)")
                  .arg(reader.errorString());
    return r;
  }
  r.width = size.width();
  r.height = size.height();
  if (const LimitFault fault = PictureSizeFault(limits, r.width, r.height)) {
    r.error = LimitSentence(fault);
    return r;
  }
  if (!reader.read(&r.image) || r.image.isNull()) {
    r.error = trText("Inspect", "it does not decode (%1)").arg(reader.errorString());
    r.image = QImage();
    return r;
  }
  if (r.image.width() != r.width || r.image.height() != r.height) {
    r.error = trText("Inspect", "it decodes to %1 x %2, not the %3 x %4 it declares")
                  .arg(r.image.width())
                  .arg(r.image.height())
                  .arg(r.width)
                  .arg(r.height);
    r.image = QImage();
  }
  return r;
}

// ---- icon libraries ----------------------------------------------------------

bool ZicoReading::ok() const {
  if (!error.empty()) return false;
  return std::all_of(icons.begin(), icons.end(), [](const ZicoIcon& i) { return i.error.empty(); });
}

ZicoReading ReadZico(ByteView file, bool decode, const WorkLimits& work,
                     const ZicoImageSink& each) {
  ZicoReading r;
  if (file.empty()) {
    r.empty = true;
    return r;
  }
  if (file.size() < 8) {
    r.error = trText("Inspect", "it is %1 bytes, shorter than the 8-byte header").arg(file.size());
    return r;
  }
  if (file[0] != 'Z' || file[1] != 'I' || file[2] != 'C' || file[3] != 'O') {
    r.error = trText("Inspect", "it does not start with \"ZICO\"");
    return r;
  }
  const std::uint32_t indexSize = getLe32(file.data() + 4);
  if (indexSize == 0) {
    r.error = trText("Inspect", "its index is empty (a library without icons is a 0-byte file)");
    return r;
  }
  if (indexSize % kZicoRecordSize != 0) {
    r.error = trText("Inspect", "its index size %1 is not a multiple of 16").arg(indexSize);
    return r;
  }
  if (!fitsIn(8, indexSize, file.size())) {
    r.error = trText("Inspect", "its index of %1 bytes runs past the end of the file (%2 bytes)")
                  .arg(indexSize)
                  .arg(file.size());
    return r;
  }
  const std::size_t dataStart = 8 + std::size_t(indexSize);
  const ByteView data = file.subspan(dataStart);
  const std::size_t count = indexSize / kZicoRecordSize;
  r.icons.resize(count);
  std::map<std::uint16_t, std::size_t> firstWithId;
  std::vector<std::pair<std::uint64_t, std::uint64_t>> blocks;
  std::vector<std::size_t> blockOwner;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* p = file.data() + 8 + i * kZicoRecordSize;
    ZicoIcon& icon = r.icons[i];
    ZicoRecord& rec = icon.record;
    rec.id = getLe16(p);
    rec.kind = getLe16(p + 2);
    rec.width = getLe16(p + 4);
    rec.height = getLe16(p + 6);
    rec.dataOffset = getLe32(p + 8);
    rec.dataSize = getLe32(p + 12);
    if (const auto [it, fresh] = firstWithId.emplace(rec.id, i); !fresh) {
      icon.error = trText("Inspect", "entry %1 (id %2) repeats the id of entry %3")
                       .arg(i)
                       .arg(rec.id)
                       .arg(it->second);
    } else if (rec.kind != kZicoKind) {
      icon.error = trText("Inspect", "entry %1 (id %2) has kind %3, not 1")
                       .arg(i)
                       .arg(rec.id)
                       .arg(rec.kind);
    } else if (rec.width == 0 || rec.height == 0) {
      icon.error = trText("Inspect", "entry %1 (id %2) has a size of %3 x %4")
                       .arg(i)
                       .arg(rec.id)
                       .arg(rec.width)
                       .arg(rec.height);
    } else if (!fitsIn(rec.dataOffset, rec.dataSize, data.size())) {
      icon.error = trText("Inspect",
                          "entry %1 (id %2) points past the end of the file (its block of %3 "
                          "bytes at %4, the file %5 bytes)")
                       .arg(i)
                       .arg(rec.id)
                       .arg(rec.dataSize)
                       .arg(dataStart + std::uint64_t(rec.dataOffset))
                       .arg(file.size());
    } else {
      blocks.emplace_back(rec.dataOffset, rec.dataSize);
      blockOwner.push_back(i);
    }
  }
  for (const auto& [later, earlier] : overlaps(blocks)) {
    ZicoIcon& icon = r.icons[blockOwner[later]];
    icon.error = trText("Inspect", "entry %1 (id %2) shares its data with entry %3")
                     .arg(blockOwner[later])
                     .arg(icon.record.id)
                     .arg(blockOwner[earlier]);
  }
  for (const std::size_t i : blockOwner) {
    ZicoIcon& icon = r.icons[i];
    if (!icon.error.empty()) continue;
    const ZicoRecord& rec = icon.record;
    std::string why;
    // The rows, and the picture made of them: a share of the budget taken
    // from the declared size before anything is inflated.
    const MemoryShare share(work.budget(), std::uint64_t(rec.width) * rec.height * (decode ? 6 : 2));
    const std::optional<Bytes> pixels = InflateExact(
        data.subspan(rec.dataOffset, rec.dataSize), std::uint64_t(rec.width) * rec.height * 2, why);
    if (!pixels) {
      //: an icon library's entry, and what is wrong with its data
      icon.error = trText("Inspect", "entry %1 (id %2): %3").arg(i).arg(rec.id).arg(why);
      continue;
    }
    if (!decode) continue;
    QImage image = Rgb565Image(pixels->data(), rec.width, rec.height, std::size_t(rec.width) * 2);
    if (each) {
      each(i, rec, image);
    } else {
      icon.image = std::move(image);
    }
  }
  return r;
}

// ---- the picture pack ----------------------------------------------------------

bool PackReading::ok() const {
  if (!errors.empty()) return false;
  return std::all_of(entries.begin(), entries.end(), [](const PackEntry& e) { return e.error.empty(); });
}

PackReading ReadPackIndex(ByteView index, std::uint64_t dataSize) {
  PackReading r;
  // Each text starts with the file's name: the inspection puts bin/ before it.
  if (index.empty()) r.errors.push_back(trText("Inspect", "image.idx is empty"));
  if (index.size() % kPackEntrySize != 0) {
    r.errors.push_back(
        trText("Inspect", "image.idx is %1 bytes, not a whole number of 16-byte entries")
            .arg(index.size()));
  }
  if (dataSize == 0) r.errors.push_back(trText("Inspect", "image.bin is empty"));
  std::vector<std::pair<std::uint64_t, std::uint64_t>> blocks;
  std::vector<std::size_t> blockOwner;
  for (std::size_t slot = 0; slot + kPackEntrySize <= index.size(); slot += kPackEntrySize) {
    const std::uint8_t* p = index.data() + slot;
    if (std::all_of(p, p + kPackEntrySize, [](std::uint8_t b) { return b == 0; })) continue;
    PackEntry e;
    e.number = static_cast<int>(slot / kPackEntrySize);
    const std::uint16_t number = getLe16(p);
    e.kind = p[2];
    e.address = getLe32(p + 3);
    e.width = getLe16(p + 7);
    e.height = getLe16(p + 9);
    e.length = getLe24(p + 11);
    if (number != e.number) {
      e.error = trText("Inspect",
                       "entry %1 holds the number %2 (an entry's number is its place in image.idx)")
                    .arg(e.number)
                    .arg(number);
    } else if (e.kind != kPackZlibRgb565 && e.kind != kPackJpeg) {
      e.error = trText("Inspect", "entry %1 has kind %2, neither 0x04 (zlib rows) nor 0x08 (JPEG)")
                    .arg(e.number)
                    .arg(hexText(e.kind, 2));
    } else if (e.address < packBaseAddress) {
      e.error = trText("Inspect", "entry %1's address %2 lies before %3")
                    .arg(e.number)
                    .arg(hexText(e.address, 8))
                    .arg(hexText(packBaseAddress, 8));
    } else if (e.width == 0 || e.height == 0) {
      e.error = trText("Inspect", "entry %1 has a size of %2 x %3")
                    .arg(e.number)
                    .arg(e.width)
                    .arg(e.height);
    } else if (p[14] != 0 || p[15] != 0) {
      e.error = trText("Inspect", "entry %1's last two bytes are not zero").arg(e.number);
    } else if (e.length == 0) {
      e.error = trText("Inspect", "entry %1 has no data").arg(e.number);
    } else if (!fitsIn(e.address - packBaseAddress, e.length, dataSize)) {
      e.error = trText("Inspect",
                       "entry %1 points past the end of image.bin (%2 bytes at %3, image.bin %4 "
                       "bytes)")
                    .arg(e.number)
                    .arg(e.length)
                    .arg(e.address - packBaseAddress)
                    .arg(dataSize);
    } else {
      blocks.emplace_back(e.address - packBaseAddress, e.length);
      blockOwner.push_back(r.entries.size());
    }
    r.entries.push_back(std::move(e));
  }
  for (const auto& [later, earlier] : overlaps(blocks)) {
    PackEntry& e = r.entries[blockOwner[later]];
    e.error = trText("Inspect", "entry %1 shares its data with entry %2")
                  .arg(e.number)
                  .arg(r.entries[blockOwner[earlier]].number);
  }
  return r;
}

void ReadPackEntry(PackEntry& e, ByteView data, bool decode, const Limits& limits) {
  if (!e.error.empty()) return;
  if (e.address < packBaseAddress || !fitsIn(e.address - packBaseAddress, e.length, data.size())) {
    e.error = trText("Inspect", "entry %1 points past the end of image.bin").arg(e.number);
    return;
  }
  const ByteView block = data.subspan(e.address - packBaseAddress, e.length);
  if (e.kind == kPackJpeg) {
    PictureReading jpeg = ReadOutputJpeg(block, limits);
    if (!jpeg.ok()) {
      //: a pack's entry, and what is wrong with its data
      e.error = trText("Inspect", "entry %1: %2").arg(e.number).arg(jpeg.error);
    } else if (jpeg.width != e.width || jpeg.height != e.height) {
      e.error = trText("Inspect", "entry %1's JPEG is %2 x %3, its entry says %4 x %5")
                    .arg(e.number)
                    .arg(jpeg.width)
                    .arg(jpeg.height)
                    .arg(e.width)
                    .arg(e.height);
    } else if (decode) {
      e.image = std::move(jpeg.image);
    }
    return;
  }
  if (const LimitFault fault = PictureSizeFault(limits, e.width, e.height)) {
    e.error = trText("Inspect", "entry %1: %2").arg(e.number).arg(LimitSentence(fault));
    return;
  }
  const std::uint64_t stride = Rgb565Stride(std::uint64_t(e.width));
  std::string why;
  const std::optional<Bytes> rows = InflateExact(block, stride * std::uint64_t(e.height), why);
  if (!rows) {
    e.error = trText("Inspect", "entry %1: %2").arg(e.number).arg(why);
  } else if (decode) {
    e.image = Rgb565Image(rows->data(), e.width, e.height, stride);
  }
}

PackReading ReadPack(ByteView index, ByteView data, bool decode, const Limits& limits) {
  PackReading r = ReadPackIndex(index, data.size());
  for (PackEntry& e : r.entries) ReadPackEntry(e, data, decode, limits);
  return r;
}

// ---- config.txt ----------------------------------------------------------------

namespace {

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string shown(std::string_view line) {
  std::string out;
  for (const char c : line.substr(0, 80)) out += (static_cast<unsigned char>(c) < 0x20) ? '?' : c;
  if (line.size() > 80) out += "...";
  return out;
}

// "R<hex>", optional spaces, '=', optional spaces, up to 8 hex digits; the
// rest of the line is a comment.
bool parseRegisterLine(std::string_view line, RegisterLine& out, std::string& why) {
  std::size_t at = 1;
  std::string name = "R";
  while (at < line.size() && hexDigit(line[at]) >= 0) {
    name += static_cast<char>(std::toupper(static_cast<unsigned char>(line[at])));
    ++at;
  }
  if (name.size() == 1 || name.size() > 5) {
    why = trText("Inspect", "has no register number after R");
    return false;
  }
  while (at < line.size() && line[at] == ' ') ++at;
  if (at >= line.size() || line[at] != '=') {
    why = trText("Inspect", "has no '=' after %1").arg(name);
    return false;
  }
  ++at;
  while (at < line.size() && line[at] == ' ') ++at;
  std::uint64_t value = 0;
  std::size_t digits = 0;
  while (at < line.size() && hexDigit(line[at]) >= 0) {
    value = value * 16 + std::uint64_t(hexDigit(line[at]));
    ++at;
    if (++digits > 8) {
      why = trText("Inspect", "gives %1 a value of more than 8 hex digits").arg(name);
      return false;
    }
  }
  if (digits == 0) {
    why = trText("Inspect", "gives %1 no hex value").arg(name);
    return false;
  }
  out.name = name;
  out.value = static_cast<std::uint32_t>(value);
  return true;
}

// The lines of a text (LF or CR LF), without their ends.
class TextLines {
 public:
  explicit TextLines(ByteView bytes)
      : text_(reinterpret_cast<const char*>(bytes.data()), bytes.size()) {}
  bool next(std::string_view& line) {
    if (start_ >= text_.size()) return false;
    std::size_t end = text_.find('\n', start_);
    if (end == std::string_view::npos) end = text_.size();
    line = text_.substr(start_, end - start_);
    start_ = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return true;
  }

 private:
  std::string_view text_;
  std::size_t start_ = 0;
};

}  // namespace

ConfigReading ReadConfigText(ByteView bytes) {
  ConfigReading r;
  std::map<std::string, std::size_t> seen;
  int lineNumber = 0;
  TextLines lines(bytes);
  for (std::string_view line; lines.next(line);) {
    ++lineNumber;
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    if (line.empty() || line.front() != 'R') continue;  // not a register line: the device skips it
    RegisterLine reg;
    reg.line = lineNumber;
    reg.text = shown(line);
    std::string why;
    if (!parseRegisterLine(line, reg, why)) {
      //: a line of config.txt, its text, and what is wrong with it
      r.errors.push_back(
          trText("Inspect", "line %1 (\"%2\") %3").arg(lineNumber).arg(reg.text).arg(why));
      continue;
    }
    if (const auto [it, fresh] = seen.emplace(reg.name, r.registers.size()); !fresh) {
      r.notes.push_back(trText("Inspect", "line %1 sets %2 again (line %3 set it first)")
                            .arg(lineNumber)
                            .arg(reg.name)
                            .arg(r.registers[it->second].line));
    }
    r.registers.push_back(std::move(reg));
  }
  auto value = [&](const char* name) -> std::optional<std::uint32_t> {
    const auto it = seen.find(name);
    if (it == seen.end()) return std::nullopt;
    return r.registers[it->second].value;
  };
  const std::optional<std::uint32_t> r1 = value("R1"), r2 = value("R2"), r3 = value("R3"),
                                     rc0 = value("RC0");
  if (!r1) r.errors.push_back(trText("Inspect", "it has no R1 line (the baud rate)"));
  if (!r2) r.errors.push_back(trText("Inspect", "it has no R2 line (the touch and screen flags)"));
  r.hasR3 = r3.has_value();
  if (r1) {
    r.values.baudIndex = static_cast<int>(std::min<std::uint32_t>(*r1, 0x7FFFFFFF));
    if (*r1 >= 8) {
      r.notes.push_back(
          trText("Inspect",
                 "R1=%1 is none of the eight baud rates; the display is given that line speed")
              .arg(hexText(*r1, 2).substr(2)));
    }
  }
  ApplySetupRegisters(r.values, r2.value_or(0), r3.value_or(0xFF));
  r.values.restoreTextBackground = rc0 == 1u;
  r.parameters = DescribeParameters(r.values, r.hasR3);
  return r;
}

std::vector<Parameter> DescribeParameters(const SetupValues& values, bool hasR3) {
  struct Name {
    const char* name;
    const char* label;
  };
  static constexpr Name kNames[] = {
      {"baud", QT_TRANSLATE_NOOP("Inspect", "波特率")},
      {"touch-file", QT_TRANSLATE_NOOP("Inspect", "使用触摸配置文件（未勾选时使用坐标通知）")},
      {"coordinate-notify", QT_TRANSLATE_NOOP("Inspect", "触摸通知")},
      {"touch-file-notify", QT_TRANSLATE_NOOP("Inspect", "触摸通知")},
      {"long-press", QT_TRANSLATE_NOOP("Inspect", "长按通知(100毫秒间隔)")},
      {"touch-beep", QT_TRANSLATE_NOOP("Inspect", "触摸蜂鸣")},
      {"screen-rotation", QT_TRANSLATE_NOOP("Inspect", "屏幕旋转")},
      {"restore-text-background", QT_TRANSLATE_NOOP("Inspect", "显示文字时，自动用背景图片恢复")},
      {"delayed-refresh", QT_TRANSLATE_NOOP("Inspect", "延时200毫秒刷新，确保连续的指令同步刷新")},
  };
  std::vector<Parameter> out;
  const std::string described = DescribeSetupValues(values);
  std::size_t start = 0;
  while (start < described.size()) {
    std::size_t end = described.find('\n', start);
    if (end == std::string::npos) end = described.size();
    const std::string line = described.substr(start, end - start);
    start = end + 1;
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    Parameter p{"", line.substr(0, eq), line.substr(eq + 1)};
    // The dialog shows only the notify list that applies.
    if (p.name == (values.useTouchFile ? "coordinate-notify" : "touch-file-notify")) continue;
    if (!hasR3 && p.name == "delayed-refresh") continue;
    if (!hasR3 && p.name == "screen-rotation") {
      p.value = trText("Inspect", "%1 (R2 alone: no R3 line)").arg(p.value);
    }
    for (const Name& name : kNames) {
      if (p.name == name.name) p.label = trText("Inspect", name.label);
    }
    out.push_back(std::move(p));
  }
  return out;
}

// ---- fonts ----------------------------------------------------------------------

TruefontIni ReadTruefontIni(ByteView bytes) {
  TruefontIni r;
  bool inSetting = false, sawSetting = false;
  TextLines lines(bytes);
  for (std::string_view line; lines.next(line);) {
    if (line.empty()) continue;
    if (line.front() == '[') {
      inSetting = line == "[setting]";
      sawSetting = sawSetting || inSetting;
      continue;
    }
    if (inSetting && line.substr(0, 6) == "font0=" && r.font.empty()) {
      r.font = std::string(line.substr(6));
      if (r.font.empty()) r.error = trText("Inspect", "font0= names no file");
    }
  }
  if (!sawSetting) {
    r.error = trText("Inspect", "it has no [setting] section");
  } else if (r.font.empty() && r.error.empty()) {
    r.error = trText("Inspect", "it names no font (no font0= line in [setting])");
  } else if (r.font.find_first_of("/\\:") != std::string::npos || r.font == "." || r.font == "..") {
    r.error = trText("Inspect", "font0 names \"%1\", not a file beside it").arg(shown(r.font));
    r.font.clear();
  }
  return r;
}

std::optional<std::string> ReadFontName(ByteView font, std::string& error) {
  auto fail = [&](std::string why) -> std::optional<std::string> {
    error = std::move(why);
    return std::nullopt;
  };
  if (font.size() < 12) {
    return fail(trText("Inspect", "it is %1 bytes, too short for a font").arg(font.size()));
  }
  std::uint64_t directory = 0;
  const std::uint32_t tag = getBe32(font.data());
  if (tag == 0x74746366) {  // "ttcf": a collection, its first font
    if (font.size() < 16) return fail(trText("Inspect", "its collection header is cut short"));
    directory = getBe32(font.data() + 12);
  } else if (tag != 0x00010000 && tag != 0x4F54544F && tag != 0x74727565) {  // 1.0, "OTTO", "true"
    return fail(trText("Inspect", "it is not a TrueType or OpenType font"));
  }
  if (!fitsIn(directory, 12, font.size())) {
    return fail(trText("Inspect", "its table directory lies past its end"));
  }
  const std::uint32_t tables = getBe16(font.data() + directory + 4);
  if (!fitsIn(directory + 12, std::uint64_t(tables) * 16, font.size())) {
    return fail(trText("Inspect", "its table directory runs past its end"));
  }
  std::uint64_t nameAt = 0, nameLength = 0;
  bool found = false;
  for (std::uint32_t t = 0; t < tables && !found; ++t) {
    const std::uint8_t* rec = font.data() + directory + 12 + std::uint64_t(t) * 16;
    if (getBe32(rec) == 0x6E616D65) {  // "name"
      nameAt = getBe32(rec + 8);
      nameLength = getBe32(rec + 12);
      found = true;
    }
  }
  if (!found) return fail(trText("Inspect", "it has no name table"));
  if (!fitsIn(nameAt, nameLength, font.size()) || nameLength < 6) {
    return fail(trText("Inspect", "its name table lies outside the file"));
  }
  const ByteView table = font.subspan(nameAt, nameLength);
  const std::uint32_t count = getBe16(table.data() + 2);
  const std::uint32_t strings = getBe16(table.data() + 4);
  if (!fitsIn(6, std::uint64_t(count) * 12, table.size())) {
    return fail(trText("Inspect", "its name records run past the name table"));
  }
  std::optional<std::string> best;
  int bestRank = 0;
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint8_t* rec = table.data() + 6 + std::uint64_t(i) * 12;
    const std::uint16_t platform = getBe16(rec), encoding = getBe16(rec + 2);
    const std::uint16_t nameId = getBe16(rec + 6), length = getBe16(rec + 8), offset = getBe16(rec + 10);
    if (nameId != 4 && nameId != 1) continue;
    if (!fitsIn(std::uint64_t(strings) + offset, length, table.size())) continue;
    const std::uint8_t* s = table.data() + strings + offset;
    std::string text;
    if (platform == 0 || (platform == 3 && (encoding == 1 || encoding == 10))) {
      QString q;
      for (std::uint16_t k = 0; k + 1 < length; k += 2) q += QChar(getBe16(s + k));
      text = q.toStdString();
    } else if (platform == 1 && encoding == 0) {
      for (std::uint16_t k = 0; k < length; ++k) text += s[k] < 0x80 ? char(s[k]) : '?';
    } else {
      continue;
    }
    std::string clean;
    for (const char c : text) {
      if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) clean += c;
    }
    const int rank = (nameId == 4 ? 2 : 1) * 2 + (platform == 3 ? 1 : 0);
    if (!clean.empty() && rank > bestRank) {
      best = clean;
      bestRank = rank;
    }
  }
  if (!best) return fail(trText("Inspect", "its name table names no font"));
  return best;
}

}  // namespace tessel::inspect
