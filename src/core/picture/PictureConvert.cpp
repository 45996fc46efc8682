#include "picture/PictureConvert.h"

#include <string>

#include "picture/Jpeg.h"
#include "picture/PictureLoad.h"
#include "picture/Rgb565Load.h"
#include "picture/Zbmp.h"
#include "util/FileIO.h"
#include "util/Paths.h"

namespace tessel {

int JpegQualityFor(int pictureFormat) {
  switch (pictureFormat) {
    case kJpeg: return kJpegQualityNormal;
    case kJpegHigh: return kJpegQualityHigh;
    default: return 0;
  }
}

EncodedPicture EncodePicture(const ConversionSettings& settings, QImage picture, int rotation) {
  EncodedPicture out;
  if (picture.isNull()) {
    out.warning = "no picture";
    return out;
  }
  picture = PreparePicture(std::move(picture), settings.deRipple != 0, rotation);
  out.width = picture.width();
  out.height = picture.height();
  if (settings.pictureFormat == kZbmp) {
    out.extension = ".zbmp";
    out.bytes = EncodeZbmp(picture);
    if (out.bytes.empty()) {
      out.warning = "cannot encode it as .zbmp";
      return out;
    }
  } else if (const int quality = JpegQualityFor(settings.pictureFormat); quality > 0) {
    out.extension = ".jpg";
    std::string error;
    std::optional<Bytes> jpeg = EncodeJpeg(picture, quality, &error);
    if (!jpeg) {
      out.warning = error;
      return out;
    }
    out.bytes = std::move(*jpeg);
  } else {
    out.warning = "unknown picture format " + std::to_string(settings.pictureFormat);
    return out;
  }
  out.ok = true;
  return out;
}

namespace {
EncodedPicture encodeLoaded(const ConversionSettings& settings, LoadedPicture loaded,
                            int rotation, const std::string& name) {
  EncodedPicture out;
  if (!loaded.ok()) {
    out.warning = "skipped picture " + name + ": " + loaded.error;
    return out;
  }
  out = EncodePicture(settings, std::move(loaded.image), rotation);
  if (!out.ok) out.warning = "skipped picture " + name + ": " + out.warning;
  return out;
}
}  // namespace

EncodedPicture EncodePictureFile(const ConversionSettings& settings, const fs::path& sourcePath,
                                 int rotation) {
  const std::string name = pathToUtf8(sourcePath);
  if (settings.pictureFormat != kZbmp || settings.deRipple != 0) {
    return encodeLoaded(settings, LoadPicture(sourcePath), rotation, name);
  }
  // Without de-ripple a .zbmp needs only the RGB565 rows: the short way.
  EncodedPicture out;
  std::string error;
  const Rgb565Picture picture = LoadRgb565(sourcePath, rotation, error);
  if (!error.empty()) {
    out.warning = "skipped picture " + name + ": " + error;
    return out;
  }
  out.extension = ".zbmp";
  out.width = picture.width;
  out.height = picture.height;
  out.bytes = EncodeZbmpRows(picture.width, picture.height, ByteView(picture.rows));
  if (out.bytes.empty()) {
    out.warning = "skipped picture " + name + ": cannot encode it as .zbmp";
    return out;
  }
  out.ok = true;
  return out;
}

EncodedPicture EncodePictureData(const ConversionSettings& settings, ByteView data, int rotation) {
  // No name to give: the warning is the reason alone, for the caller to place.
  LoadedPicture loaded = LoadPictureData(data);
  if (!loaded.ok()) {
    EncodedPicture out;
    out.warning = loaded.error;
    return out;
  }
  return EncodePicture(settings, std::move(loaded.image), rotation);
}

bool ConvertPictureFile(const ConversionSettings& settings, const fs::path& sourcePath,
                        const fs::path& outputFolder, int number, int rotation, Report& report) {
  const EncodedPicture picture = EncodePictureFile(settings, sourcePath, rotation);
  if (!picture.ok) {
    report.warn(picture.warning);
    return false;
  }
  const fs::path target = outputFolder / pathFromUtf8(std::to_string(number) + picture.extension);
  if (!writeOutput(report, target, ByteView(picture.bytes))) return false;
  ++report.picturesWritten;
  return true;
}

std::optional<int> DecideRunRotation(const ConversionSettings& settings,
                                     const fs::path& picturePath, int configKind,
                                     int screenRotation) {
  if (settings.rotationChoice != 0) return settings.rotationChoice - 1;
  // Automatic: only a configuration of kind 0 lets the picture's shape and
  // the screen rotation decide. The picture must load all the same: the
  // first picture that loads decides.
  const LoadedPicture loaded = LoadPicture(picturePath);
  if (!loaded.ok()) return std::nullopt;
  if (configKind != 0) return 0;
  const bool portrait = loaded.image.width() < loaded.image.height();
  switch (screenRotation) {
    case 1: return portrait ? 3 : 0;
    case 2: return portrait ? 0 : 2;
    case 3: return portrait ? 1 : 2;
    default: return 0;
  }
}

}  // namespace tessel
