#pragma once
// Decoding a picture (every BMP Qt reads, baseline and progressive JPEG),
// with size limits, and the front steps every picture output shares:
// de-ripple, then rotation.
#include <QImage>
#include <cstdint>
#include <filesystem>
#include <string>

#include "model/Limits.h"
#include "util/Bytes.h"

namespace tessel {

// A decoded picture, or why there is none.
//
// The image is always Format_RGB32, or Format_ARGB32 when the source has an
// alpha channel (palette, grey and 24-bit sources are expanded). Alpha is
// kept here; it is flattened by the encoders' conversions to RGB16 and
// RGB888, which drop the alpha channel and keep the colour values as they
// are (a transparent pixel shows its stored colour; no background is
// blended in).
struct LoadedPicture {
  QImage image;
  std::string error;  // set when image is null
  bool ok() const { return !image.isNull(); }
};

// Pictures past the limits' sides or decoded bytes, and files that ask for
// more work than their bytes justify (ContentFault), are refused.
LoadedPicture LoadPicture(const std::filesystem::path& path, const Limits& limits);
LoadedPicture LoadPictureData(ByteView data, const Limits& limits);

// Rotation codes: 0 none, 1 = 90, 2 = 180, 3 = 270 degrees clockwise. Exact
// (pixels are moved, never resampled). Any other code leaves the picture as
// it is.
QImage RotatePicture(const QImage& picture, int code);

// The steps between loading and encoding: de-ripple (when asked) on the
// unrotated picture, then the rotation.
QImage PreparePicture(QImage picture, bool deRipple, int rotation);

}  // namespace tessel
