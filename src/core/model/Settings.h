#pragma once
// The options of one conversion, as the main dialog or the command line sets
// them, and where a run writes.
#include <atomic>
#include <filesystem>
#include <optional>

#include "model/Limits.h"
#include "util/Zlib.h"

namespace tessel {

// The picture format list of the main dialog, in its order.
enum class PictureFormat { Jpeg = 0, JpegHigh = 1, Zbmp = 2 };

// The rotation list of the main dialog, in its order: what "automatic" means
// is decided per branch by the run.
enum class RotationChoice { Automatic = 0, None = 1, Cw90 = 2, Cw180 = 3, Cw270 = 4 };

// The font display list: bitmap adds the font-mode register line to config.txt.
enum class FontDisplay { Vector = 0, Bitmap = 1 };

// The rotation code a choice fixes (0 none, 1 = 90, 2 = 180, 3 = 270 degrees
// clockwise, as every step uses them); nothing for Automatic.
constexpr std::optional<int> FixedRotationCode(RotationChoice choice) {
  if (choice == RotationChoice::Automatic) return std::nullopt;
  return static_cast<int>(choice) - 1;
}

// What the picture encoders need to know.
struct PictureEncoding {
  PictureFormat format = PictureFormat::Zbmp;
  bool deRipple = false;  // dither to RGB565 before encoding
  Compression compression = Compression::Default;  // of every zlib stream written
};

// The JPEG quality of a format: 90, 100, or 0 for .zbmp.
constexpr int JpegQualityFor(PictureFormat format) {
  switch (format) {
    case PictureFormat::Jpeg: return 90;
    case PictureFormat::JpegHigh: return 100;
    case PictureFormat::Zbmp: break;
  }
  return 0;
}

struct ConversionSettings {
  std::filesystem::path sourceFolder;  // used as given: no trimming
  RotationChoice rotationChoice = RotationChoice::Automatic;
  PictureFormat pictureFormat = PictureFormat::Zbmp;
  int fontChoice = 1;                  // index into kFontFiles (0..4)
  bool deRipple = false;
  bool singlePictureFiles = true;      // false: Branch B builds the picture pack
  FontDisplay fontDisplay = FontDisplay::Vector;
  Compression compression = Compression::Default;

  PictureEncoding pictureEncoding() const { return {pictureFormat, deRipple, compression}; }
};

class WriteFaults;

// Where a run writes and where it finds its resource files. Empty members
// take the defaults: Documents + "/TESSEL" and ResourceFolder().
struct RunOptions {
  std::filesystem::path outputRoot;
  std::filesystem::path resourceFolder;
  int jobs = 1;  // worker threads for pictures and icon libraries
  // The sizes of input the run takes and the memory its workers share.
  Limits limits;
  // Delete an output's private/ even when it holds entries no run writes
  // (--force); otherwise the host is asked (Host::confirmRemoval).
  bool force = false;
  // Take an output from the previous private/ when the run record shows it
  // was made from the same source bytes and settings (--no-reuse: false).
  bool reuse = true;
  // Tests only: decides which writes fail as on a full disk.
  const WriteFaults* writeFaults = nullptr;
  // Set (from any thread) to stop the run between two files: nothing
  // half-written stays, and no marker is written.
  const std::atomic<bool>* stop = nullptr;
};

}  // namespace tessel
