#include "picture/PictureLoad.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QTransform>
#include <algorithm>
#include <climits>

#include "picture/Dither.h"
#include "picture/PictureIntegrity.h"
#include "util/FileIO.h"
#include "util/Paths.h"
#include "util/Text.h"

namespace tessel {

namespace {

// Too large for the outputs or for memory: the reason, or empty when fine.
std::string SizeProblem(const QSize& size, const Limits& limits) {
  return LimitSentence(
      PictureSizeFault(limits, std::uint64_t(size.width()), std::uint64_t(size.height())));
}

// `file`: the bytes the reader reads, checked for a cut end once the size
// is known to be one the converter takes.
LoadedPicture ReadWith(QImageReader& reader, ByteView file, const Limits& limits) {
  LoadedPicture result;
  reader.setAutoTransform(false);  // pixels as stored; orientation tags are not applied
  // Qt's own guard, in whole MiB (0 would turn it off): the limits are
  // compared exactly below, once the size is known.
  const std::uint64_t mib = (limits.decodedBytes + (std::uint64_t(1) << 20) - 1) >> 20;
  reader.setAllocationLimit(static_cast<int>(std::clamp<std::uint64_t>(mib, 1, INT_MAX)));
  if (!reader.canRead()) {
    result.error = trText("Picture", "cannot decode it (%1)").arg(reader.errorString());
    return result;
  }
  const QSize announced = reader.size();
  if (announced.isValid()) {
    result.error = SizeProblem(announced, limits);
    if (!result.error.empty()) return result;
  }
  if (std::string problem = TruncationProblem(file); !problem.empty()) {
    result.error = trText("Picture", "cut short: %1").arg(problem);
    return result;
  }
  if (const LimitFault costly = ContentFault(file, limits)) {
    result.error = trText("Picture", "refused: %1").arg(LimitSentence(costly));
    return result;
  }
  QImage image;
  if (!reader.read(&image) || image.isNull()) {
    result.error = trText("Picture", "cannot decode it (%1)").arg(reader.errorString());
    return result;
  }
  if (image.width() <= 0 || image.height() <= 0) {
    result.error = trText("Picture", "cannot decode it (no pixels)");
    return result;
  }
  result.error = SizeProblem(image.size(), limits);
  if (!result.error.empty()) return result;
  const QImage::Format format =
      image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
  if (image.format() != format) image.convertTo(format);
  if (image.isNull()) {
    result.error = trText("Picture", "out of memory while decoding it");
    return result;
  }
  result.image = std::move(image);
  return result;
}

}  // namespace

LoadedPicture LoadPicture(const std::filesystem::path& path, const Limits& limits) {
  // Read here and decoded from memory: the bytes are checked before Qt
  // makes rows up for data the file does not hold.
  const std::optional<Bytes> head = ReadFile(path, 54, true);
  std::error_code sized;
  const std::uintmax_t fileSize = std::filesystem::file_size(path, sized);
  const std::optional<Bytes> data =
      head && !sized ? ReadFile(path, PictureReadLength(ByteView(*head), fileSize), true)
                     : std::nullopt;
  if (!data) {
    LoadedPicture result;
    std::error_code ec;
    result.error = std::filesystem::is_regular_file(path, ec)
                       ? trText("Picture", "cannot read it (or it is larger than 2 GiB)")
                       : trText("Picture", "cannot decode it (not a regular file)");
    return result;
  }
  return LoadPictureData(ByteView(*data), limits);
}

LoadedPicture LoadPictureData(ByteView data, const Limits& limits) {
  const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data.data()),
                                                   static_cast<qsizetype>(data.size()));
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  return ReadWith(reader, data, limits);
}

QImage RotatePicture(const QImage& picture, int code) {
  if (code < 1 || code > 3) return picture;
  // Qt's y axis points down, so a positive angle turns clockwise on screen.
  // Multiples of 90 degrees move pixels exactly, whatever the mode.
  return picture.transformed(QTransform().rotate(90.0 * code), Qt::FastTransformation);
}

QImage PreparePicture(QImage picture, bool deRipple, int rotation) {
  if (deRipple) ApplyDeRipple(picture);
  return RotatePicture(picture, rotation);
}

}  // namespace tessel
