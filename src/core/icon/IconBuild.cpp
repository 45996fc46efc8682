#include "icon/IconBuild.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <algorithm>
#include <limits>
#include <new>

#include "picture/PicturePipeline.h"
#include "picture/PlainDecode.h"
#include "util/FileIO.h"
#include "util/Paths.h"

namespace tessel {

std::optional<DecodedIcon> DecodeIconPicture(ByteView data) {
  if (data.empty() || data.size() > std::size_t(std::numeric_limits<int>::max())) {
    return std::nullopt;
  }
  // A plain JPEG (nearly every icon) straight to RGB565, the same values Qt's
  // decoding and conversion give; anything else through Qt.
  if (std::optional<Rgb565Picture> plain = DecodePlainJpeg(data)) {
    DecodedIcon icon;
    icon.width = plain->width;
    icon.height = plain->height;
    const std::size_t used = std::size_t(icon.width) * 2;
    const auto stride = static_cast<std::size_t>(Rgb565Stride(std::uint64_t(icon.width)));
    if (stride == used) {
      icon.pixels = std::move(plain->rows);
    } else {
      icon.pixels.resize(used * std::size_t(icon.height));
      for (std::size_t y = 0; y < std::size_t(icon.height); ++y) {
        std::copy_n(plain->rows.data() + y * stride, used, icon.pixels.data() + y * used);
      }
    }
    return icon;
  }
  QByteArray array = QByteArray::fromRawData(reinterpret_cast<const char*>(data.data()),
                                             static_cast<qsizetype>(data.size()));
  QBuffer buffer(&array);
  if (!buffer.open(QIODevice::ReadOnly)) return std::nullopt;
  QImageReader reader(&buffer);
  QImage image = reader.read();
  if (image.isNull()) return std::nullopt;
  image = image.convertToFormat(QImage::Format_RGB16);
  if (image.isNull()) return std::nullopt;

  DecodedIcon icon;
  icon.width = image.width();
  icon.height = image.height();
  icon.pixels.reserve(std::size_t(icon.width) * std::size_t(icon.height) * 2);
  for (int y = 0; y < icon.height; ++y) {
    const auto* row = reinterpret_cast<const quint16*>(image.constScanLine(y));
    for (int x = 0; x < icon.width; ++x) putLe16(icon.pixels, row[x]);
  }
  return icon;
}

BuiltIconLibrary BuildIconLibrary(const PictureEncoding& encoding, const IconLibraryJob& job,
                                  ByteView data) {
  BuiltIconLibrary built;
  built.toPictures = job.toPictures && job.layout == IconLayout::Icl;
  const std::string name = pathToUtf8(job.path);
  auto skipIcon = [&](int id, const std::string& why) {
    built.warnings.push_back("skipped icon " + std::to_string(id) + " of " + name + ": " + why);
  };

  const IconScanResult scan = ReadIconLibrary(data, job.layout, [&](IconEntry&& entry) {
    ++built.iconsFound;
    if (built.toPictures) {
      EncodedPicture picture = EncodePictureBytes(ByteView(entry.jpeg), encoding, job.rotation,
                                                  PictureTarget::File);
      if (!picture.ok) {
        skipIcon(entry.id, "cannot make a picture of it" +
                               (picture.error.empty() ? std::string() : " (" + picture.error + ")"));
        return;
      }
      built.pictures.push_back({entry.id, picture.extension, std::move(picture.bytes)});
      return;
    }
    std::string error;
    if (job.layout == IconLayout::Raw) {
      if (!built.zico.add(entry.id, entry.width, entry.height, ByteView(entry.pixels), &error)) {
        skipIcon(entry.id, error);
      }
      return;
    }
    std::optional<DecodedIcon> icon = DecodeIconPicture(ByteView(entry.jpeg));
    if (!icon) {
      skipIcon(entry.id, "cannot decode picture");
      return;
    }
    if (!built.zico.add(entry.id, icon->width, icon->height, ByteView(icon->pixels), &error)) {
      skipIcon(entry.id, error);
    }
  });

  if (scan.missing) {
    built.missing = true;
    built.warnings.push_back("skipped " + name + ": cannot read icon library or it is too short");
    return built;
  }
  if (!scan.problem.empty()) {
    built.warnings.push_back("icon library " + name + " is damaged (" + scan.problem +
                             "): the icons after that point are left out");
  }
  return built;
}

BuiltIconLibrary BuildIconLibrary(const PictureEncoding& encoding, const IconLibraryJob& job) {
  try {
    if (job.layout != IconLayout::Raw) {
      std::error_code ec;
      const std::uintmax_t size = fs::file_size(job.path, ec);
      if (!ec && size > kMaxIconLibraryBytes) {
        BuiltIconLibrary built;
        built.missing = true;
        built.warnings.push_back("skipped " + pathToUtf8(job.path) + ": icon library of " +
                                 std::to_string(size) + " bytes is larger than the limit of " +
                                 std::to_string(kMaxIconLibraryBytes >> 20) + " MiB");
        return built;
      }
    }
    // A raw library is read only as far as its slots reach, and never into a
    // buffer larger than the file.
    const std::optional<Bytes> data =
        job.layout == IconLayout::Raw ? readFile(job.path, kRawLibraryReach, true)
                                      : readFile(job.path, kMaxIconLibraryBytes);
    if (!data) {
      // Same outcome as a library too short to hold its table.
      return BuildIconLibrary(encoding, job, ByteView());
    }
    return BuildIconLibrary(encoding, job, ByteView(*data));
  } catch (const std::bad_alloc&) {
    BuiltIconLibrary built;
    built.abandoned = true;
    built.warnings.push_back("abandoned icon library " + pathToUtf8(job.path) +
                             ": out of memory");
    return built;
  }
}

}  // namespace tessel
