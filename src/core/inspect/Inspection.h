#pragma once
// The whole of one output read back: every picture, icon library, the pack,
// config.txt and the font, with every problem found. Reads, never writes.
#include <QImage>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "inspect/OutputReaders.h"

namespace tessel::inspect {

namespace fs = std::filesystem;

struct Problem {
  std::string text;   // "icon/3.zico: entry 12 (id 40) points past the end of the file"
  bool fault = true;  // false: a note (worth a look, but the output is sound)
};

struct PictureItem {
  int number = 0;
  std::string file;       // relative to private/: "image/3.zbmp", or "bin/image.bin"
  std::string format;     // "zbmp, zlib", "zbmp, raw", "JPEG", "pack, zlib rows", "pack, JPEG"
  int width = 0, height = 0;
  std::uint64_t bytes = 0;  // the file's size, or the pack block's length
  bool ok = false;
  bool inPack = false;
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
  bool ok = false;
  bool empty = false;  // a 0-byte file
};

struct FontItem {
  bool present = false;     // truefont/ exists
  std::string file;         // what truefont.ini names: "font.ttf"
  std::string name;         // the font's own name, from its name table
  std::uint64_t bytes = 0;
};

struct Inspection {
  fs::path privateFolder;  // empty when the path holds no output
  std::vector<Problem> problems;
  std::vector<PictureItem> pictures;  // image/ by number, then the pack's entries
  std::vector<LibraryItem> libraries;
  bool hasPack = false;
  std::vector<PackEntry> pack;  // without their images
  std::optional<ConfigReading> config;
  FontItem font;

  int faults() const;
  bool sound() const { return faults() == 0; }
};

// Sees every picture and icon that decodes, as the device will show it.
// Called on worker threads, for different items at once.
class ImageSink {
 public:
  virtual ~ImageSink() = default;
  virtual void picture(const PictureItem& item, const QImage& image) = 0;
  virtual void icon(const LibraryItem& library, const IconItem& icon, const QImage& image) = 0;
};

// Reads the output at `path`: an output root holding private/, or the
// private folder itself (an SD card's copy). `jobs` worker threads read
// pictures and libraries (0: the number of cores).
Inspection InspectOutput(const fs::path& path, ImageSink* sink = nullptr, int jobs = 0);

}  // namespace tessel::inspect
