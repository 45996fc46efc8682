#pragma once
// One picture file to one output file, the Branch B rotation decision and the
// picture pack. Encoding (pure, may run on any thread) is kept apart from
// writing (done by the caller in the run's order).
#include <QImage>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "convert/ConversionSettings.h"
#include "util/Bytes.h"
#include "util/Report.h"

namespace tessel {

namespace fs = std::filesystem;

// The encoded output of one picture.
struct EncodedPicture {
  bool ok = false;
  std::string warning;     // why the picture was skipped, when !ok
  std::string extension;   // ".zbmp" or ".jpg"
  Bytes bytes;             // the whole output file
  int width = 0, height = 0;  // after rotation
};

// Loads, de-ripples (settings.deRipple), rotates and encodes one picture in
// the settings' format. Touches no file but the source.
EncodedPicture EncodePictureFile(const ConversionSettings& settings, const fs::path& sourcePath,
                                 int rotation);
EncodedPicture EncodePictureData(const ConversionSettings& settings, ByteView data, int rotation);

// Encodes and writes outputFolder/<number>.zbmp or .jpg. Returns true when a
// file was written; a skipped picture or failed write is in the report.
bool ConvertPictureFile(const ConversionSettings& settings, const fs::path& sourcePath,
                        const fs::path& outputFolder, int number, int rotation, Report& report);

// Branch B: the rotation for every picture of the run, decided from the first
// picture that loads. Returns nothing when this picture cannot be loaded (the
// decision moves on to the next picture).
std::optional<int> DecideRunRotation(const ConversionSettings& settings,
                                     const fs::path& picturePath, int configKind,
                                     int screenRotation);

}  // namespace tessel
