#pragma once
// The compressed icon file (.zico): "ZICO", the index size, one 16-byte
// record per icon and the data area of zlib-compressed RGB565 blocks. All
// numbers little-endian.
#include <QImage>
#include <array>
#include <cstdint>
#include <functional>
#include <filesystem>
#include <string>
#include <vector>

#include "model/OutputWriter.h"
#include "picture/MemoryBudget.h"
#include "util/Bytes.h"
#include "util/FileIO.h"
#include "util/Zlib.h"

namespace tessel {

namespace fs = std::filesystem;

constexpr std::uint16_t kZicoKind = 1;
// The header: the magic, then the index size (LE32).
constexpr std::array<std::uint8_t, 4> kZicoMagic = {'Z', 'I', 'C', 'O'};
constexpr std::size_t kZicoIndexSizeAt = 4;
constexpr std::size_t kZicoHeaderSize = 8;
// One index record and where its fields lie.
constexpr std::size_t kZicoRecordSize = 16;
constexpr std::size_t kZicoIdAt = 0;          // LE16
constexpr std::size_t kZicoKindAt = 2;        // LE16
constexpr std::size_t kZicoWidthAt = 4;       // LE16
constexpr std::size_t kZicoHeightAt = 6;      // LE16
constexpr std::size_t kZicoOffsetAt = 8;      // LE32
constexpr std::size_t kZicoSizeAt = 12;       // LE32

struct ZicoRecord {
  std::uint16_t id = 0;
  std::uint16_t kind = kZicoKind;
  std::uint16_t width = 0;
  std::uint16_t height = 0;
  std::uint32_t dataOffset = 0;  // from the start of the data area
  std::uint32_t dataSize = 0;    // length of the compressed block
};

// Gathers the records and blocks of one library, in the order icons are
// added (ascending slot order).
class ZicoBuilder {
 public:
  Compression compression = Compression::Default;  // of the blocks add() makes

  // Compresses `pixels` (width * height RGB565 values, low byte first, rows
  // without padding) and appends its record. Returns false, with the reason
  // in `error`, when the icon cannot be stored: wrong pixel count, an id or a
  // size that does not fit the 16-bit fields, a data area that would outgrow
  // the 32-bit offsets, or a zlib failure. The builder is unchanged then.
  bool add(int id, int width, int height, ByteView pixels, std::string* error = nullptr);
  // Appends a record for `id` holding a copy of the block of record `index`
  // (an icon the library names more than once): the same bytes as add()
  // with the same pixels, without decoding or compressing them again.
  bool addCopy(int id, std::size_t index, std::string* error = nullptr);

  const std::vector<ZicoRecord>& records() const { return records_; }
  const Bytes& dataArea() const { return dataArea_; }
  std::size_t size() const { return records_.size(); }

 private:
  std::vector<ZicoRecord> records_;
  Bytes dataArea_;
};

// The magic, the index size and the index. With no record this is empty: the
// file is written with 0 bytes.
Bytes EncodeZicoHeader(const std::vector<ZicoRecord>& records);

// The whole file as one buffer: header and index, then the data area. Empty
// when there is no record.
Bytes EncodeZico(const std::vector<ZicoRecord>& records, ByteView dataArea);

// Writes the file through `out` (created or truncated; a 0-byte file
// when there is no record). A failed write is in the report and leaves no
// partial file.
bool WriteZico(OutputWriter& out, const fs::path& zicoPath, const std::vector<ZicoRecord>& records,
               ByteView dataArea);

// ---- reading a .zico back, strictly (picture/StrictRead.h) ------------------

struct ZicoIcon {
  ZicoRecord record;
  QImage image;       // when decoding was asked for and succeeded
  std::string error;  // this entry's fault, naming it ("entry 3 (id 7) ...")
};

struct ZicoReading {
  std::vector<ZicoIcon> icons;  // one per index record that could be read
  std::string error;            // a fault of the file as a whole
  bool empty = false;           // a 0-byte file: a library without icons
  bool ok() const;              // no fault in the file or any entry
};

// With `decode`, each icon's picture is decoded within `work`'s memory budget;
// given `each`, it is handed over as it is decoded (entry, record, picture)
// instead of kept, so that a library's pictures are never all in memory at once.
using ZicoImageSink = std::function<void(std::size_t, const ZicoRecord&, const QImage&)>;
ZicoReading ReadZico(ByteView file, bool decode, const WorkLimits& work,
                     const ZicoImageSink& each = {});

}  // namespace tessel
