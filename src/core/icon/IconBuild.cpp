#include "icon/IconBuild.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <algorithm>
#include <limits>
#include <map>
#include <new>
#include <tuple>

#include "picture/MemoryBudget.h"
#include "picture/PictureIntegrity.h"
#include "picture/PicturePipeline.h"
#include "picture/PlainDecode.h"
#include "util/FileIO.h"
#include "util/Paths.h"
#include "util/QtMessages.h"
#include "util/Text.h"

namespace tessel {

std::optional<DecodedIcon> DecodeIconPicture(ByteView data, const Limits& limits,
                                             std::string* problem) {
  if (data.empty() || data.size() > std::size_t(std::numeric_limits<int>::max())) {
    return std::nullopt;
  }
  // Refused as a picture file would be, in the same words: one that would
  // take far more work than its bytes before anything is decoded, a cut one
  // (for which the decoders would make up grey rows) before Qt decodes it.
  if (const LimitFault costly = ContentFault(data, limits)) {
    if (problem) *problem = trText("Picture", "refused: %1").arg(LimitSentence(costly));
    return std::nullopt;
  }
  // A plain JPEG (nearly every icon) straight to RGB565, the same values Qt's
  // decoding and conversion give; anything else through Qt.
  if (std::optional<Rgb565Picture> plain = DecodePlainJpeg(data, limits)) {
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
  if (std::string cut = TruncationProblem(data); !cut.empty()) {
    if (problem) *problem = trText("Picture", "cut short: %1").arg(cut);
    return std::nullopt;
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
    for (int x = 0; x < icon.width; ++x) PutLe16(icon.pixels, row[x]);
  }
  return icon;
}

namespace {

// Where slot `id` of the library keeps its icon: slots naming the same record
// give the same key, so that it is decoded once.
std::tuple<std::uint64_t, std::uint64_t, std::uint64_t> IconRecordKey(ByteView data, IconLayout layout,
                                                                  int id) {
  const std::uint8_t* p = data.data();
  switch (layout) {
    case IconLayout::Icl: return {GetBe32(p + 16 + 4 * std::size_t(id)), 0, 0};
    case IconLayout::T5uic: {
      const std::size_t slot = 16 * std::size_t(id);
      return {GetBe32(p + slot + 4), GetBe24(p + slot + 8), 0};
    }
    case IconLayout::Raw: {
      const std::uint8_t* slot = p + 8 * std::size_t(id);
      return {GetBe24(slot + 3), slot[0] | ((slot[2] >> 6) & 0x3) << 8,
              slot[1] | ((slot[2] >> 4) & 0x3) << 8};
    }
  }
  return {};
}

// The RGB565 bytes a raw library's slots name together; slots that the
// reader skips count nothing.
std::uint64_t RawPixelBytes(ByteView data) {
  std::uint64_t total = 0;
  for (std::size_t k = 0; k < 16384 && (k + 1) * 8 <= data.size(); ++k) {
    const std::uint8_t* slot = data.data() + 8 * k;
    const std::uint64_t width = slot[0] | ((slot[2] >> 6) & 0x3) << 8;
    const std::uint64_t height = slot[1] | ((slot[2] >> 4) & 0x3) << 8;
    const std::uint64_t start = 2 * std::uint64_t(GetBe24(slot + 3));
    if (width == 0 || height == 0 || !FitsIn(start, width * height * 2, data.size())) continue;
    total += width * height * 2;
  }
  return total;
}

// The library named `name` skipped for a limit it passes.
std::string SkippedLibrary(const std::string& name, const LimitFault& fault) {
  //: an icon library, and the limit it passes
  return trText("Icon", "skipped %1: %2").arg(name).arg(LimitSentence(fault));
}

}  // namespace

namespace {

// Builds the library held in `data`, whose bytes `share` holds in the
// memory budget; each icon adds its decoded size while it is decoded.
BuiltIconLibrary BuildWithin(const PictureEncoding& encoding, const IconLibraryJob& job,
                             ByteView data, MemoryShare& share, const WorkLimits& work) {
  const Limits& limits = work.limits();
  const std::uint64_t held = share.bytes();
  // The icons' RGB565 bytes against Limits::iconPixelBytes: the one place
  // that limit is compared.
  const auto pixelFault = [&](std::uint64_t bytes, bool atLeast) {
    LimitFault fault;
    if (bytes > limits.iconPixelBytes) {
      fault.kind = LimitKind::IconPixelBytes;
      fault.amount = atLeast ? limits.iconPixelBytes : bytes;
      fault.limit = limits.iconPixelBytes;
      fault.atLeast = atLeast;
    }
    return fault;
  };
  BuiltIconLibrary built;
  built.zico.compression = encoding.compression;
  built.toPictures = job.toPictures && job.layout == IconLayout::Icl;
  const std::string name = PathToUtf8(job.path);
  auto skipIcon = [&](int id, const std::string& why) {
    built.warnings.push_back(trText("Icon", "skipped icon %1 of %2: %3").arg(id).arg(name).arg(why));
  };
  // What the image readers said while reading an icon.
  auto said = [&](int id, const std::string& message) {
    built.warnings.push_back(trText("Icon", "icon %1 of %2: %3").arg(id).arg(name).arg(message));
  };

  if (job.layout == IconLayout::Raw && data.size() > kShortestRaw) {
    if (const LimitFault fault = pixelFault(RawPixelBytes(data), false)) {
      built.missing = true;
      built.warnings.push_back(SkippedLibrary(name, fault));
      return built;
    }
  }
  // Each record once: the index of its icon in the .zico, or the reason it
  // was skipped.
  std::map<std::tuple<std::uint64_t, std::uint64_t, std::uint64_t>,
           std::pair<std::size_t, std::string>>
      done, donePictures;
  std::uint64_t pixelBytes = 0;
  bool overLimit = false;
  const auto store = [&](int id, int width, int height, ByteView pixels) {
    std::string error;
    pixelBytes += pixels.size();
    if (pixelFault(pixelBytes, true)) {
      overLimit = true;
      return std::string("over the limit");
    }
    if (!built.zico.add(id, width, height, pixels, &error)) skipIcon(id, error);
    return error;
  };

  const IconScanResult scan = ReadIconLibrary(data, job.layout, [&](IconEntry&& entry) {
    ++built.iconsFound;
    if (overLimit) return;
    if (built.toPictures) {
      // Each record once: the index of its picture, or why it was skipped.
      const auto key = IconRecordKey(data, job.layout, entry.id);
      if (const auto seen = donePictures.find(key); seen != donePictures.end()) {
        const auto& [index, why] = seen->second;
        if (!why.empty()) {
          skipIcon(entry.id, why);
        } else {
          built.pictures.push_back(
              {entry.id, built.pictures[index].extension, {}, static_cast<int>(index)});
        }
        return;
      }
      // The picture takes its own share: one share at a time on a thread.
      share.release();
      EncodedPicture picture = EncodePictureBytes(ByteView(entry.jpeg), encoding, job.rotation,
                                                  PictureTarget::File, work);
      share.resize(held);
      for (const std::string& message : picture.messages) said(entry.id, message);
      if (!picture.ok) {
        const std::string why =
            picture.error.empty()
                ? trText("Icon", "cannot make a picture of it").str()
                : trText("Icon", "cannot make a picture of it (%1)").arg(picture.error).str();
        skipIcon(entry.id, why);
        donePictures[key] = {0, why};
        return;
      }
      donePictures[key] = {built.pictures.size(), {}};
      built.pictures.push_back({entry.id, picture.extension, std::move(picture.bytes)});
      return;
    }
    const auto key = IconRecordKey(data, job.layout, entry.id);
    if (const auto seen = done.find(key); seen != done.end()) {
      const auto& [index, why] = seen->second;
      if (!why.empty()) {
        skipIcon(entry.id, why);
        return;
      }
      const ZicoRecord& record = built.zico.records()[index];
      pixelBytes += std::uint64_t(record.width) * record.height * 2;
      if (pixelFault(pixelBytes, true)) {
        overLimit = true;
        return;
      }
      std::string error;
      if (!built.zico.addCopy(entry.id, index, &error)) skipIcon(entry.id, error);
      return;
    }
    const std::size_t index = built.zico.size();
    std::string error;
    if (job.layout == IconLayout::Raw) {
      error = store(entry.id, entry.width, entry.height, ByteView(entry.pixels));
    } else {
      MessageCatch caught;
      std::string problem;
      const auto [width, height] = DeclaredPictureSize(ByteView(entry.jpeg));
      if (PictureSizeAllowed(limits, width, height)) {
        share.resize(held + width * height * kBytesPerPixelInFlight + entry.jpeg.size());
      }
      std::optional<DecodedIcon> icon = DecodeIconPicture(ByteView(entry.jpeg), limits, &problem);
      if (icon) {
        error = store(entry.id, icon->width, icon->height, ByteView(icon->pixels));
      } else {
        error = problem.empty() ? trText("Icon", "cannot decode picture").str() : problem;
        skipIcon(entry.id, error);
      }
      icon.reset();
      // The decoded pixels are compressed and gone: the share shrinks back.
      if (share.bytes() != held) share.resize(held);
      for (const std::string& message : caught.take()) said(entry.id, message);
    }
    done[key] = {index, error};
  });

  if (overLimit) {
    BuiltIconLibrary skipped;
    skipped.missing = true;
    skipped.iconsFound = built.iconsFound;
    skipped.warnings.push_back(SkippedLibrary(name, pixelFault(pixelBytes, true)));
    return skipped;
  }

  if (scan.missing) {
    built.missing = true;
    built.warnings.push_back(
        trText("Icon", "skipped %1: cannot read icon library or it is too short").arg(name));
    return built;
  }
  if (!scan.problem.empty()) {
    built.warnings.push_back(
        trText("Icon", "icon library %1 is damaged (%2): the icons after that point are left out")
            .arg(name)
            .arg(scan.problem));
  }
  return built;
}

}  // namespace

BuiltIconLibrary BuildIconLibrary(const PictureEncoding& encoding, const IconLibraryJob& job,
                                  ByteView data, const WorkLimits& work) {
  MemoryShare share(work.budget(), data.size());
  return BuildWithin(encoding, job, data, share, work);
}

BuiltIconLibrary BuildIconLibrary(const PictureEncoding& encoding, const IconLibraryJob& job,
                                  const WorkLimits& work, const IconLibraryShortcut& shortcut) {
  const Limits& limits = work.limits();
  try {
    if (job.layout != IconLayout::Raw) {
      std::error_code ec;
      const std::uintmax_t size = fs::file_size(job.path, ec);
      if (!ec && size > limits.iconLibraryBytes) {
        BuiltIconLibrary built;
        built.missing = true;
        built.warnings.push_back(SkippedLibrary(
            PathToUtf8(job.path),
            {LimitKind::IconLibraryBytes, 0, 0, size, limits.iconLibraryBytes}));
        return built;
      }
    }
    // A raw library is read only as far as its slots reach, and never into a
    // buffer larger than the file; its bytes are read once the memory budget
    // holds them.
    std::error_code sized;
    const std::uint64_t reach = job.layout == IconLayout::Raw ? kRawLibraryReach
                                                              : limits.iconLibraryBytes;
    const std::uint64_t fileSize = fs::file_size(job.path, sized);
    MemoryShare share(work.budget(), sized ? 0 : std::min(fileSize, reach));
    std::string why;
    const std::optional<Bytes> data =
        job.layout == IconLayout::Raw ? ReadFile(job.path, kRawLibraryReach, true, &why)
                                      : ReadFile(job.path, limits.iconLibraryBytes, false, &why);
    if (!data && !why.empty()) {
      BuiltIconLibrary built;
      built.missing = true;
      built.warnings.push_back(trText("Icon", "skipped %1: cannot read it (%2)")
                                   .arg(PathToUtf8(job.path))
                                   .arg(why));
      return built;
    }
    if (!data) {
      // Same outcome as a library too short to hold its table.
      return BuildWithin(encoding, job, ByteView(), share, work);
    }
    if (shortcut) {
      BuiltIconLibrary taken;
      if (shortcut(ByteView(*data), sized ? data->size() : fileSize, taken)) return taken;
    }
    return BuildWithin(encoding, job, ByteView(*data), share, work);
  } catch (const std::bad_alloc&) {
    BuiltIconLibrary built;
    built.abandoned = true;
    built.warnings.push_back(
        trText("Icon", "abandoned icon library %1: out of memory").arg(PathToUtf8(job.path)));
    return built;
  }
}

}  // namespace tessel
