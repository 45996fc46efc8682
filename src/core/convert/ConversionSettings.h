#pragma once
// The options of one conversion, as the main dialog or the command line
// sets them.
#include <filesystem>
#include <string>

namespace tessel {

enum PictureFormat { kJpeg = 0, kJpegHigh = 1, kZbmp = 2 };

struct ConversionSettings {
  std::filesystem::path sourceFolder;  // used as given: no trimming
  int rotationChoice = 0;      // 0 automatic, 1 none, 2 = 90, 3 = 180, 4 = 270 clockwise
  int pictureFormat = kZbmp;   // 0 JPEG q90, 1 JPEG q100, 2 .zbmp
  int fontChoice = 1;          // index into the font table (0..4)
  int deRipple = 0;            // 1: dither pictures to RGB565 first
  int singlePictureFiles = 1;  // 0: Branch B builds the picture pack
  int fontDisplay = 0;         // 1: bitmap font for small sizes (RFC register line)
};

// Where a run writes and where it finds its resource files. Empty members
// take the defaults: Documents + "/TESSEL" and resourceFolder().
struct RunOptions {
  std::filesystem::path outputRoot;
  std::filesystem::path resourceFolder;
  int jobs = 1;  // worker threads for pictures and icon libraries
};

}  // namespace tessel
