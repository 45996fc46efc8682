#include "picture/PicturePipeline.h"

#include "picture/Jpeg.h"
#include "picture/PictureLoad.h"
#include "picture/PlainDecode.h"
#include "picture/Zbmp.h"
#include "util/FileIO.h"
#include "util/Zlib.h"

namespace tessel {

namespace fs = std::filesystem;

namespace {

// Read buffers up to this size stay with their thread between pictures.
constexpr std::size_t kKeptReadBuffer = std::size_t(8) << 20;

// A picture on its way: a file or bytes in memory.
struct Source {
  const fs::path* path = nullptr;
  ByteView data;
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
std::optional<Rgb565Picture> plainRows(const Source& source, int rotation) {
  ByteView data = source.data;
  // The file's bytes go into a buffer the thread keeps: a fresh one for every
  // picture costs clearing and mapping its pages each time.
  thread_local Bytes buffer;
  if (source.path) {
    // Only a file that starts like a BMP or a JPEG is read whole here; one
    // this way cannot take is read again by the general way (rare: other
    // depths, compression, CMYK, damaged data).
    const std::optional<Bytes> head = readFile(*source.path, 2, true);
    const bool likely = head && head->size() == 2 &&
                        (((*head)[0] == 'B' && (*head)[1] == 'M') ||
                         ((*head)[0] == 0xFF && (*head)[1] == 0xD8));
    if (!likely) return std::nullopt;
    const std::optional<ByteView> read = readFileInto(*source.path, buffer, std::uint64_t(1) << 31);
    if (!read) return std::nullopt;
    data = *read;
  }
  std::optional<Rgb565Picture> plain;
  if (data.size() >= 2 && data[0] == 'B' && data[1] == 'M') {
    plain = DecodePlainBmp(data, rotation);
  } else if (data.size() >= 2 && data[0] == 0xFF && data[1] == 0xD8) {
    plain = DecodePlainJpeg(data, rotation);
  }
  // A large picture's buffer is not kept for the rest of the run.
  if (buffer.capacity() > kKeptReadBuffer) Bytes().swap(buffer);
  return plain;
}

Prepared prepare(const Source& source, const PictureEncoding& encoding, int rotation) {
  Prepared prepared;
  if (encoding.format == PictureFormat::Zbmp && !encoding.deRipple) {
    if (std::optional<Rgb565Picture> rows = plainRows(source, rotation)) {
      prepared.rows = std::move(*rows);
      return prepared;
    }
  }
  LoadedPicture loaded = source.path ? LoadPicture(*source.path) : LoadPictureData(source.data);
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
    out.error = prepared.error.empty() ? "out of memory while preparing it" : prepared.error;
    return out;
  }
  const bool hasRows = prepared.rows.ok();
  out.width = hasRows ? prepared.rows.width : prepared.image.width();
  out.height = hasRows ? prepared.rows.height : prepared.image.height();

  if (encoding.format == PictureFormat::Zbmp) {
    const Bytes rows = hasRows ? std::move(prepared.rows.rows) : Rgb565Rows(prepared.image);
    if (target == PictureTarget::File) {
      out.extension = ".zbmp";
      out.bytes = EncodeZbmpRows(out.width, out.height, rows);
      if (out.bytes.empty()) {
        out.error = "cannot encode it as .zbmp";
        return out;
      }
    } else {
      // The pack always holds the compressed stream, even when it is longer
      // than the rows.
      // Compressed into a buffer the thread keeps, then copied at its length:
      // a buffer of the bound for every picture costs clearing and mapping
      // its pages each time.
      thread_local Bytes scratch;
      std::optional<Bytes> stream;
      const std::optional<std::size_t> bound = ZlibBound(rows.size());
      if (!rows.empty() && bound) {
        if (scratch.size() < *bound) scratch.resize(*bound);
        std::size_t written = 0;
        if (ZlibCompressInto(ByteView(rows), scratch.data(), *bound, written)) {
          stream.emplace(scratch.begin(), scratch.begin() + std::ptrdiff_t(written));
        }
        if (scratch.capacity() > kKeptReadBuffer) Bytes().swap(scratch);
      }
      if (!stream) {
        out.error = "cannot compress its pixels";
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

}  // namespace

EncodedPicture EncodePictureFile(const fs::path& path, const PictureEncoding& encoding,
                                 int rotation, PictureTarget target) {
  Source source;
  source.path = &path;
  return encode(prepare(source, encoding, rotation), encoding, target);
}

EncodedPicture EncodePictureBytes(ByteView data, const PictureEncoding& encoding, int rotation,
                                  PictureTarget target) {
  Source source;
  source.data = data;
  return encode(prepare(source, encoding, rotation), encoding, target);
}

std::optional<QSize> DecodedPictureSize(const fs::path& path) {
  const LoadedPicture loaded = LoadPicture(path);
  if (!loaded.ok()) return std::nullopt;
  return loaded.image.size();
}

}  // namespace tessel
