#pragma once
// The whole of one output read back: every picture, icon library, the pack,
// config.txt and the font, with every problem found. Reads, never writes.
#include <QImage>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "config/ConfigRead.h"
#include "font/FontRead.h"
#include "icon/Zico.h"
#include "picture/Jpeg.h"
#include "picture/PackReader.h"
#include "picture/Zbmp.h"
#include "model/Limits.h"
#include "model/RunRecord.h"

namespace tessel::inspect {

namespace fs = std::filesystem;

struct Problem {
  std::string text;   // "icon/3.zico: entry 12 (id 40) points past the end of the file"
  bool fault = true;  // false: a note (worth a look, but not a fault of the output)
};

// Where an output came from: a source file, or an icon of a library (the
// picture library's screens), and the files the same number replaced.
struct Origin {
  std::string file;   // empty when unknown
  int icon = -1;
  std::vector<std::string> replaced;
  int rotation = -1;  // the rotation code the run turned it by; -1 unknown
};

// How far a lossy output is from its source, decoded as the display decodes it.
struct Loss {
  bool measured = false;
  double psnr = 0;    // dB over the three channels; infinity when equal
  int maxError = 0;   // the largest difference of one channel, 0..255
  // Visible: below 35 dB, or one channel off by more than 24 levels.
  bool visible() const { return measured && (psnr < 35.0 || maxError > 24); }
};

struct PictureItem {
  int number = 0;
  std::string file;       // relative to private/: "image/3.zbmp", or "bin/image.bin"
  std::string format;     // "zbmp, zlib", "zbmp, raw", "JPEG", "pack, zlib rows", "pack, JPEG"
  int width = 0, height = 0;
  std::uint64_t bytes = 0;  // the file's size, or the pack block's length
  bool ok = false;
  bool inPack = false;
  bool lossy = false;  // JPEG
  Origin origin;
  Loss loss;
};

struct IconItem {
  int entry = 0;  // place in the library's index
  int id = 0;
  int width = 0, height = 0;
  std::uint32_t bytes = 0;  // compressed
  bool ok = false;
};

struct LibraryItem {
  int number = 0;
  std::string file;  // "icon/20.zico"
  std::uint64_t bytes = 0;
  std::vector<IconItem> icons;
  Origin origin;
  bool ok = false;
  bool empty = false;  // a 0-byte file
};

struct FontItem {
  bool present = false;     // truefont/ exists
  std::string file;         // what truefont.ini names: "font.ttf"
  std::string name;         // the font's own name, from its name table
  std::uint64_t bytes = 0;
};

// Where the display's rotation came from.
enum class RotationFrom { Config, Option, Unknown };

struct Inspection {
  fs::path privateFolder;  // empty when the path holds no output
  bool incomplete = false;  // an output root without the marker of a finished run
  std::optional<RunRecord> record;  // the run record, beside a finished output
  fs::path sourceFolder;            // where the sources were looked for (may be empty)
  int displayRotation = 0;          // the rotation code the display turns every picture by
  RotationFrom rotationFrom = RotationFrom::Unknown;
  std::vector<Problem> problems;
  std::vector<PictureItem> pictures;  // image/ by number, then the pack's entries
  std::vector<LibraryItem> libraries;
  bool hasPack = false;
  std::vector<PackEntry> pack;  // without their images
  std::optional<ConfigReading> config;
  FontItem font;

  int faults() const;
  bool noFaults() const { return faults() == 0; }
};

// Sees every picture and icon that decodes, as the device will show it.
// Called on worker threads, for different items at once.
class ImageSink {
 public:
  virtual ~ImageSink() = default;
  // The rotation the display applies, before any picture is seen.
  virtual void displayRotation(int /*code*/) {}
  // A lossy picture's source, turned as the run turned it.
  virtual void source(const PictureItem& /*item*/, const QImage& /*image*/) {}
  virtual void picture(const PictureItem& item, const QImage& image) = 0;
  // A JPEG picture's own bytes, before picture(): true when the sink keeps
  // them as they are and needs no decoded picture.
  virtual bool jpeg(const PictureItem& /*item*/, ByteView /*bytes*/) { return false; }
  virtual void icon(const LibraryItem& library, const IconItem& icon, const QImage& image) = 0;
};

struct InspectOptions {
  int jobs = 0;                   // worker threads (0: the number of cores)
  std::optional<int> rotation;    // the display's rotation code, instead of config.txt's
  fs::path source;                // the source folder, instead of the run record's
  Limits limits;                  // the sizes read, and the memory the workers share
};

// Reads the output at `path`: an output root holding private/, or the
// private folder itself (an SD card's copy). Worker threads read pictures
// and libraries. The run record beside a finished output names the sources;
// with a source folder at hand, each lossy picture is compared with its source.
Inspection InspectOutput(const fs::path& path, ImageSink* sink, const InspectOptions& options);
Inspection InspectOutput(const fs::path& path, ImageSink* sink = nullptr, int jobs = 0);

}  // namespace tessel::inspect
