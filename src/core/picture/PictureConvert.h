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
// the settings' format. Touches no file but the source. A picture that cannot
// be decoded (or is too large) is not encoded: ok stays false and warning
// says why ("skipped picture <path>: ..."; for EncodePictureData and
// EncodePicture the reason alone).
EncodedPicture EncodePictureFile(const ConversionSettings& settings, const fs::path& sourcePath,
                                 int rotation);
EncodedPicture EncodePictureData(const ConversionSettings& settings, ByteView data, int rotation);
// The same for a picture already decoded (see LoadPicture).
EncodedPicture EncodePicture(const ConversionSettings& settings, QImage picture, int rotation);

// The JPEG quality of a picture format: 90 for kJpeg, 100 for kJpegHigh, 0
// for the others.
int JpegQualityFor(int pictureFormat);

// Encodes and writes outputFolder/<number>.zbmp or .jpg. Returns true when a
// file was written; a skipped picture or failed write is in the report.
bool ConvertPictureFile(const ConversionSettings& settings, const fs::path& sourcePath,
                        const fs::path& outputFolder, int number, int rotation, Report& report);

// Branch B: the rotation for every picture of the run, decided from the first
// picture that loads. A rotation chosen in the dialog (rotationChoice 1..4)
// gives rotationChoice - 1 without looking at the picture. Automatic loads
// it: 0 unless configKind is 0; then a portrait picture (width < height)
// gives 3, 0, 1 for screenRotation 1, 2, 3 and a landscape or square one 0,
// 2, 2 (0 for screenRotation 0). Returns nothing when the picture cannot be
// loaded (the decision moves on to the next picture).
std::optional<int> DecideRunRotation(const ConversionSettings& settings,
                                     const fs::path& picturePath, int configKind,
                                     int screenRotation);

}  // namespace tessel
