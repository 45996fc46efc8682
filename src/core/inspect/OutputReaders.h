#pragma once
// Readers of Tessel's own outputs: the .zbmp and JPEG pictures, the .zico
// icon libraries, the picture pack, config.txt and the font files. Pure and
// strict: every field is checked against the bytes given, every inflate is
// bounded by the size the header declares, and a fault comes back as one
// sentence without the file name ("entry 12 points past the end of the
// file"); the caller puts the file's name in front.
#include <QImage>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "icon/Zico.h"
#include "model/Limits.h"
#include "model/SetupValues.h"
#include "picture/MemoryBudget.h"
#include "util/Bytes.h"

namespace tessel::inspect {

// Inflates a whole zlib stream that must give exactly `expected` bytes and
// end where `stream` ends. Never allocates more than `expected` bytes; a
// stream too short to hold that much (zlib cannot pass about 1032:1) is
// refused before anything is allocated. Nothing, with the reason in `error`,
// on any fault.
std::optional<Bytes> InflateExact(ByteView stream, std::uint64_t expected, std::string& error);

// RGB565 pixels (little-endian, rows `stride` bytes apart) as a picture of
// Format_RGB16. A null image when memory runs out.
QImage Rgb565Image(const std::uint8_t* rows, int width, int height, std::size_t stride);

// ---- pictures ----------------------------------------------------------------

struct PictureReading {
  int width = 0, height = 0;
  bool compressed = false;  // .zbmp: zlib rows (false: raw rows)
  QImage image;             // when decoding was asked for and succeeded
  std::string error;        // empty when the file is sound
  bool ok() const { return error.empty(); }
};

// A .zbmp file: the 16-byte header, then the rows (stride (w*2+3)&~3) raw or
// as one zlib stream.
// A size past the limits is a fault (LimitSentence).
PictureReading ReadZbmp(ByteView file, bool decode, const Limits& limits);

// A JPEG file as the outputs hold it: start and end markers, a size within
// the picture limits, a decoder that takes it. Always decoded (a JPEG is
// only sound when it decodes).
PictureReading ReadOutputJpeg(ByteView file, const Limits& limits);

// ---- icon libraries ----------------------------------------------------------

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

// ---- the picture pack ----------------------------------------------------------

struct PackEntry {
  int number = 0;             // its slot: offset in image.idx / 16
  std::uint8_t kind = 0;      // 0x04 zlib RGB565 rows, 0x08 JPEG
  std::uint32_t address = 0;
  int width = 0, height = 0;
  std::uint32_t length = 0;
  QImage image;
  std::string error;          // naming the entry ("entry 5 ...")
};

struct PackReading {
  std::vector<PackEntry> entries;  // the slots that are not gaps
  std::vector<std::string> errors;  // faults of the files as a whole
  bool ok() const;
};

// The index checked against image.bin's size: every entry's fields, its
// block inside image.bin, no two blocks sharing bytes. Nothing is inflated.
PackReading ReadPackIndex(ByteView index, std::uint64_t dataSize);
// Checks one entry's block (that ReadPackIndex found sound) in `data`,
// image.bin's bytes: inflated to the entry's size, or a JPEG of that size.
// Sets the entry's error, or its image when `decode` asks for it.
// A size past the limits is a fault.
void ReadPackEntry(PackEntry& entry, ByteView data, bool decode, const Limits& limits);
// Both: the index, then every entry.
PackReading ReadPack(ByteView index, ByteView data, bool decode, const Limits& limits);

// ---- config.txt ----------------------------------------------------------------

struct RegisterLine {
  int line = 0;               // 1-based
  std::string name;           // "R1", "RC0", ... upper case, as written
  std::uint32_t value = 0;
  std::string text;           // the whole line, for the page
};

// One device parameter as the parameter dialog labels it.
struct Parameter {
  std::string label;    // the dialog's label
  std::string name;     // the --set name
  std::string value;    // as --set writes it
};

struct ConfigReading {
  std::vector<RegisterLine> registers;
  std::vector<std::string> errors;  // faults: lines that look like registers but do not parse
  std::vector<std::string> notes;   // what a device may not expect, but Tessel can write
  SetupValues values;               // decoded from R1, R2, R3 and RC0
  bool hasR3 = false;
  std::vector<Parameter> parameters;  // the values, in the dialog's order
};

// The registers of config.txt ("Rn=HH; comment" lines, CR LF or LF) and the
// device parameters they set.
ConfigReading ReadConfigText(ByteView text);

// The dialog's names and values for these parameters; with `hasR3` false
// those R3 sets (half of the rotation, the delayed refresh) are left out.
std::vector<Parameter> DescribeParameters(const SetupValues& values, bool hasR3);

// ---- fonts ----------------------------------------------------------------------

struct TruefontIni {
  std::string font;   // font0's file name
  std::string error;
};
TruefontIni ReadTruefontIni(ByteView text);

// The full name (else the family name) in a TrueType or OpenType font's name
// table; nothing, with the reason in `error`, when the file is not one.
std::optional<std::string> ReadFontName(ByteView font, std::string& error);

}  // namespace tessel::inspect
