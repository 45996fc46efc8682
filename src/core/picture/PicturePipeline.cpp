#include "picture/PicturePipeline.h"

#include <algorithm>
#include <atomic>
#include <new>

#include "model/OutputLayout.h"
#include "picture/Jpeg.h"
#include "picture/MemoryBudget.h"
#include "picture/PictureIntegrity.h"
#include "picture/PictureLoad.h"
#include "picture/PlainDecode.h"
#include "picture/Zbmp.h"
#include "util/FileIO.h"
#include "util/QtMessages.h"
#include "util/Text.h"
#include "util/Zlib.h"

namespace tessel {

namespace fs = std::filesystem;

namespace {

// Read buffers up to this size stay with their thread between pictures.
constexpr std::size_t kKeptReadBuffer = std::size_t(8) << 20;

// What a picture costs in flight: its file's bytes and, when its header
// declares a size the converter takes, its pixels on their way.
std::uint64_t PictureCost(ByteView head, std::uint64_t fileBytes, const Limits& limits) {
  const auto [width, height] = DeclaredPictureSize(head);
  if (!PictureSizeAllowed(limits, width, height)) return fileBytes;
  return width * height * kBytesPerPixelInFlight + fileBytes;
}

// A decoded, prepared picture: RGB565 rows when the encoding needs nothing
// else, a 32-bit picture otherwise.
struct Prepared {
  Rgb565Picture rows;
  QImage image;
  std::string error;
  bool ok() const { return rows.ok() || !image.isNull(); }
};

// The short way: a plain BMP or JPEG straight to turned rows. Nothing when
// the picture is not plain; the general way then decides what it is.
std::optional<Rgb565Picture> PlainRows(ByteView data, int rotation, const Limits& limits) {
  std::optional<Rgb565Picture> plain;
  if (data.size() >= 2 && data[0] == 'B' && data[1] == 'M') {
    plain = DecodePlainBmp(data, limits, rotation);
  } else if (data.size() >= 2 && data[0] == 0xFF && data[1] == 0xD8) {
    // A JPEG of too many scans is refused by the general way before it is
    // decoded at all.
    if (ContentFault(data, limits)) return std::nullopt;
    plain = DecodePlainJpeg(data, limits, rotation);
  }
  return plain;
}

Prepared Prepare(ByteView data, const PictureEncoding& encoding, int rotation,
                 const Limits& limits) {
  Prepared prepared;
  if (encoding.format == PictureFormat::Zbmp && !encoding.deRipple) {
    if (std::optional<Rgb565Picture> rows = PlainRows(data, rotation, limits)) {
      prepared.rows = std::move(*rows);
      return prepared;
    }
  }
  LoadedPicture loaded = LoadPictureData(data, limits);
  if (!loaded.ok()) {
    prepared.error = loaded.error;
    return prepared;
  }
  prepared.image = PreparePicture(std::move(loaded.image), encoding.deRipple, rotation);
  return prepared;
}

EncodedPicture Encode(Prepared prepared, const PictureEncoding& encoding, PictureTarget target) {
  EncodedPicture out;
  if (!prepared.ok()) {
    out.error = prepared.error.empty() ? trText("Picture", "out of memory while preparing it").str()
                                       : prepared.error;
    return out;
  }
  const bool hasRows = prepared.rows.ok();
  out.width = hasRows ? prepared.rows.width : prepared.image.width();
  out.height = hasRows ? prepared.rows.height : prepared.image.height();

  if (encoding.format == PictureFormat::Zbmp) {
    const Bytes rows = hasRows ? std::move(prepared.rows.rows) : Rgb565Rows(prepared.image);
    if (target == PictureTarget::File) {
      out.extension = OutputLayout::kZbmp;
      out.bytes = EncodeZbmpRows(out.width, out.height, rows, encoding.compression);
      if (out.bytes.empty()) {
        out.error = trText("Picture", "cannot encode it as .zbmp");
        return out;
      }
    } else {
      // The pack always holds the compressed stream, even when it is longer
      // than the rows.
      std::optional<Bytes> stream;
      if (!rows.empty()) stream = ZlibCompress(rows, encoding.compression);
      if (!stream) {
        out.error = trText("Picture", "cannot compress its pixels");
        return out;
      }
      out.packKind = kPackZlibRgb565;
      out.bytes = std::move(*stream);
    }
    out.ok = true;
    return out;
  }

  std::optional<Bytes> jpeg =
      EncodeJpeg(prepared.image, JpegQualityFor(encoding.format), &out.error);
  if (!jpeg) return out;
  out.error.clear();
  out.extension = OutputLayout::kJpg;
  out.packKind = kPackJpeg;
  out.bytes = std::move(*jpeg);
  out.ok = true;
  return out;
}

std::atomic<std::uint64_t> encodedCount{0};

// Decoded and encoded within the caller's share of the budget. What the
// image readers say on the way is kept with the picture.
EncodedPicture EncodeHeld(ByteView data, const PictureEncoding& encoding, int rotation,
                          PictureTarget target, const Limits& limits) {
  ++encodedCount;
  MessageCatch said;
  EncodedPicture out = Encode(Prepare(data, encoding, rotation, limits), encoding, target);
  out.messages = said.take();
  return out;
}

// A picture that fails beside others in flight (out of memory, or a
// decoder that could not get its rows) waits until it is alone and tries
// once more; alone, out of memory skips it, not the run. So the same
// pictures convert at every job count. `attempt(alone, crowded)` sets
// `crowded` when it failed while other shares were held.
template <typename Attempt>
EncodedPicture WithinBudget(const Attempt& attempt, const char* outOfMemory) {
  for (const bool alone : {false, true}) {
    bool crowded = false;
    try {
      EncodedPicture out = attempt(alone, crowded);
      if (out.ok || alone || !crowded) return out;
    } catch (const std::bad_alloc&) {
      if (alone || !crowded) break;
    }
  }
  EncodedPicture out;
  out.error = trText("Picture", outOfMemory);
  return out;
}

}  // namespace

EncodedPicture EncodePictureFile(const fs::path& path, const PictureEncoding& encoding,
                                 int rotation, PictureTarget target, const WorkLimits& work,
                                 const PictureShortcut& shortcut) {
  const Limits& limits = work.limits();
  // The file's bytes go into a buffer the thread keeps: a fresh one for every
  // picture costs clearing and mapping its pages each time. Only the bytes
  // the format needs are read (not the rest of an oversized BMP), and only
  // once the budget holds what the picture will cost.
  thread_local Bytes buffer;
  EncodedPicture out;
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) {
    out.error = trText("Picture", "cannot decode it (not a regular file)");
    return out;
  }
  const std::uintmax_t size = fs::file_size(path, ec);
  std::optional<Bytes> head;
  std::string why = ec ? ec.message() : std::string();
  try {
    if (!ec) head = ReadFile(path, limits.pictureHeadBytes, true, &why);
  } catch (const std::bad_alloc&) {
  }
  // Why it cannot be read, in the system's words where it gives them.
  const auto unreadable = [](const std::string& reason) {
    EncodedPicture unread;
    unread.error = reason.empty() ? trText("Picture", "cannot read it").str()
                                  : trText("Picture", "cannot read it (%1)").arg(reason).str();
    return unread;
  };
  if (!head) return unreadable(why);
  const std::uint64_t length =
      std::min<std::uint64_t>(PictureReadLength(ByteView(*head), size), std::uint64_t(1) << 31);
  out = WithinBudget(
      [&](bool alone, bool& crowded) {
        MemoryShare share(work.budget(), PictureCost(ByteView(*head), length, limits), alone);
        try {
          const std::optional<ByteView> data = ReadFileInto(path, buffer, length, true, &why);
          if (!data) return unreadable(why);
          if (shortcut && shortcut(*data, size)) {
            EncodedPicture taken;
            taken.ok = true;
            return taken;
          }
          EncodedPicture encoded = EncodeHeld(*data, encoding, rotation, target, limits);
          crowded = !encoded.ok && share.othersHold();
          return encoded;
        } catch (const std::bad_alloc&) {
          crowded = share.othersHold();
          Bytes().swap(buffer);
          throw;
        }
      },
      QT_TRANSLATE_NOOP("Picture", "out of memory while converting it"));
  // A large picture's buffer is not kept for the rest of the run.
  if (buffer.capacity() > kKeptReadBuffer) Bytes().swap(buffer);
  return out;
}

EncodedPicture EncodePictureBytes(ByteView data, const PictureEncoding& encoding, int rotation,
                                  PictureTarget target, const WorkLimits& work) {
  return WithinBudget(
      [&](bool alone, bool& crowded) {
        MemoryShare share(work.budget(), PictureCost(data, data.size(), work.limits()), alone);
        try {
          EncodedPicture encoded = EncodeHeld(data, encoding, rotation, target, work.limits());
          crowded = !encoded.ok && share.othersHold();
          return encoded;
        } catch (const std::bad_alloc&) {
          crowded = share.othersHold();
          throw;
        }
      },
      QT_TRANSLATE_NOOP("Picture", "out of memory while converting it"));
}

std::uint64_t PicturesEncoded() { return encodedCount.load(); }

std::optional<QSize> DecodedPictureSize(const fs::path& path, const Limits& limits) {
  MessageCatch dropped;  // the picture's conversion reports what the readers say
  const LoadedPicture loaded = LoadPicture(path, limits);
  if (!loaded.ok()) return std::nullopt;
  return loaded.image.size();
}

}  // namespace tessel
