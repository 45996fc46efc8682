#include "picture/PicturePipeline.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <new>

#include "picture/Jpeg.h"
#include "picture/PictureIntegrity.h"
#include "picture/PictureLoad.h"
#include "picture/PlainDecode.h"
#include "picture/Zbmp.h"
#include "util/FileIO.h"
#include "util/Text.h"
#include "util/Zlib.h"

namespace tessel {

namespace fs = std::filesystem;

namespace {

// Read buffers up to this size stay with their thread between pictures.
constexpr std::size_t kKeptReadBuffer = std::size_t(8) << 20;

// The memory the workers' pictures in flight may take together, so that
// more workers do not multiply the peak. A picture larger than the budget
// goes alone.
constexpr std::uint64_t kPictureBudget = std::uint64_t(512) << 20;
// What one decoded pixel costs on its way: 32 bits decoded, 32 bits turned or
// converted, 16 bits of rows, and the encoder's output.
constexpr std::uint64_t kBytesPerPixelInFlight = 10;

class PictureBudget {
 public:
  std::uint64_t take(std::uint64_t bytes) {
    std::unique_lock lock(mutex_);
    freed_.wait(lock, [&] { return used_ == 0 || used_ + bytes <= kPictureBudget; });
    used_ += bytes;
    return bytes;
  }
  void give(std::uint64_t bytes) {
    {
      std::lock_guard lock(mutex_);
      used_ -= bytes;
    }
    freed_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable freed_;
  std::uint64_t used_ = 0;
};

PictureBudget& budget() {
  static PictureBudget shared;
  return shared;
}

// A share of the budget for one picture, from its declared size.
class BudgetShare {
 public:
  explicit BudgetShare(ByteView file) {
    const auto [width, height] = DeclaredPictureSize(file);
    if (PictureSizeAllowed(width, height)) {
      held_ = budget().take(width * height * kBytesPerPixelInFlight + file.size());
    }
  }
  ~BudgetShare() {
    if (held_ > 0) budget().give(held_);
  }
  BudgetShare(const BudgetShare&) = delete;
  BudgetShare& operator=(const BudgetShare&) = delete;

 private:
  std::uint64_t held_ = 0;
};

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
std::optional<Rgb565Picture> plainRows(ByteView data, int rotation) {
  std::optional<Rgb565Picture> plain;
  if (data.size() >= 2 && data[0] == 'B' && data[1] == 'M') {
    plain = DecodePlainBmp(data, rotation);
  } else if (data.size() >= 2 && data[0] == 0xFF && data[1] == 0xD8) {
    // A JPEG of too many scans is refused by the general way before it is
    // decoded at all.
    if (!ContentProblem(data).empty()) return std::nullopt;
    plain = DecodePlainJpeg(data, rotation);
  }
  return plain;
}

Prepared prepare(ByteView data, const PictureEncoding& encoding, int rotation) {
  Prepared prepared;
  if (encoding.format == PictureFormat::Zbmp && !encoding.deRipple) {
    if (std::optional<Rgb565Picture> rows = plainRows(data, rotation)) {
      prepared.rows = std::move(*rows);
      return prepared;
    }
  }
  LoadedPicture loaded = LoadPictureData(data);
  if (!loaded.ok()) {
    prepared.error = loaded.error;
    return prepared;
  }
  prepared.image = PreparePicture(std::move(loaded.image), encoding.deRipple, rotation);
  return prepared;
}

EncodedPicture encode(Prepared prepared, const PictureEncoding& encoding, PictureTarget target) {
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
      out.extension = ".zbmp";
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
  out.extension = ".jpg";
  out.packKind = kPackJpeg;
  out.bytes = std::move(*jpeg);
  out.ok = true;
  return out;
}

// Decoded and encoded within the shared budget; out of memory skips the
// picture, not the run.
EncodedPicture encodeWithin(ByteView data, const PictureEncoding& encoding, int rotation,
                            PictureTarget target) {
  try {
    BudgetShare share(data);
    return encode(prepare(data, encoding, rotation), encoding, target);
  } catch (const std::bad_alloc&) {
    EncodedPicture out;
    out.error = trText("Picture", "out of memory while converting it");
    return out;
  }
}

}  // namespace

EncodedPicture EncodePictureFile(const fs::path& path, const PictureEncoding& encoding,
                                 int rotation, PictureTarget target) {
  // The file's bytes go into a buffer the thread keeps: a fresh one for every
  // picture costs clearing and mapping its pages each time. Only the bytes
  // the format needs are read (not the rest of an oversized BMP).
  thread_local Bytes buffer;
  EncodedPicture out;
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) {
    out.error = trText("Picture", "cannot decode it (not a regular file)");
    return out;
  }
  try {
    const std::uintmax_t size = fs::file_size(path, ec);
    const std::optional<Bytes> head = readFile(path, 54, true);
    const std::optional<ByteView> data =
        head && !ec ? readFileInto(path, buffer,
                                   std::min<std::uint64_t>(
                                       PictureReadLength(ByteView(*head), size),
                                       std::uint64_t(1) << 31),
                                   true)
                    : std::nullopt;
    if (!data) {
      out.error = trText("Picture", "cannot read it");
      return out;
    }
    out = encodeWithin(*data, encoding, rotation, target);
  } catch (const std::bad_alloc&) {
    out = EncodedPicture();
    out.error = trText("Picture", "out of memory while reading it");
  }
  // A large picture's buffer is not kept for the rest of the run.
  if (buffer.capacity() > kKeptReadBuffer) Bytes().swap(buffer);
  return out;
}

EncodedPicture EncodePictureBytes(ByteView data, const PictureEncoding& encoding, int rotation,
                                  PictureTarget target) {
  return encodeWithin(data, encoding, rotation, target);
}

std::optional<QSize> DecodedPictureSize(const fs::path& path) {
  const LoadedPicture loaded = LoadPicture(path);
  if (!loaded.ok()) return std::nullopt;
  return loaded.image.size();
}

}  // namespace tessel
