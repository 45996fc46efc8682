#include "picture/Jpeg.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <cstdlib>
#include <limits>

#include "picture/JpegError.h"
#include "util/Text.h"
// After jpeglib.h, which JpegError.h includes.
#include <jerror.h>

namespace tessel {

namespace {

void OnError(j_common_ptr cinfo) {
  auto* errors = reinterpret_cast<JpegErrors*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, errors->message);
  std::longjmp(errors->jump, 1);
}

// Warnings and trace messages: the core prints nothing.
void OnMessage(j_common_ptr) {}

}  // namespace

jpeg_error_mgr* InstallJpegErrors(JpegErrors& errors) {
  jpeg_error_mgr* manager = jpeg_std_error(&errors.manager);
  manager->error_exit = OnError;
  manager->output_message = OnMessage;
  errors.message[0] = '\0';
  return manager;
}

namespace {

// Everything the compressor's callbacks touch (see JpegErrors).
struct JpegContext {
  JpegErrors errors;  // first
  jpeg_compress_struct cinfo;
  jpeg_destination_mgr dest;
  JOCTET* buffer;    // grows by doubling; malloc'ed
  std::size_t capacity;
};

JpegContext* ContextOf(j_common_ptr cinfo) {
  return reinterpret_cast<JpegContext*>(cinfo->err);
}
constexpr std::size_t kInitialBuffer = 64 * 1024;

void InitDestination(j_compress_ptr cinfo) {
  JpegContext* ctx = ContextOf(reinterpret_cast<j_common_ptr>(cinfo));
  cinfo->dest->next_output_byte = ctx->buffer;
  cinfo->dest->free_in_buffer = ctx->capacity;
}

boolean EmptyOutputBuffer(j_compress_ptr cinfo) {
  JpegContext* ctx = ContextOf(reinterpret_cast<j_common_ptr>(cinfo));
  // The library calls this only when the whole buffer is full.
  const std::size_t used = ctx->capacity;
  const std::size_t grown = ctx->capacity * 2;
  auto* bigger = static_cast<JOCTET*>(std::realloc(ctx->buffer, grown));
  if (!bigger) {
    ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 10);
  }
  ctx->buffer = bigger;
  ctx->capacity = grown;
  cinfo->dest->next_output_byte = ctx->buffer + used;
  cinfo->dest->free_in_buffer = grown - used;
  return TRUE;
}

void TermDestination(j_compress_ptr) {}

// Runs the compressor; the only function that calls setjmp. Returns the
// number of bytes written into ctx->buffer, or -1 after a library error.
long long CompressRows(JpegContext* ctx, const std::uint8_t* rgb, int width, int height,
                       std::size_t pitch, int quality) {
  jpeg_compress_struct& cinfo = ctx->cinfo;
  cinfo.err = InstallJpegErrors(ctx->errors);
  if (setjmp(ctx->errors.jump)) {
    jpeg_destroy_compress(&cinfo);
    return -1;
  }
  jpeg_create_compress(&cinfo);
  ctx->dest.init_destination = InitDestination;
  ctx->dest.empty_output_buffer = EmptyOutputBuffer;
  ctx->dest.term_destination = TermDestination;
  cinfo.dest = &ctx->dest;

  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(rgb + std::size_t(cinfo.next_scanline) * pitch);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  const long long written =
      static_cast<long long>(ctx->capacity - cinfo.dest->free_in_buffer);
  jpeg_destroy_compress(&cinfo);
  return written;
}

}  // namespace

std::optional<Bytes> EncodeJpegRows(const std::uint8_t* rgb, int width, int height,
                                    std::size_t pitch, int quality, std::string* error) {
  if (!rgb || width <= 0 || height <= 0) {
    if (error) *error = trText("Picture", "JPEG: picture has no pixels");
    return std::nullopt;
  }
  auto* ctx = static_cast<JpegContext*>(std::calloc(1, sizeof(JpegContext)));
  if (!ctx) {
    if (error) *error = trText("Picture", "JPEG: out of memory");
    return std::nullopt;
  }
  ctx->capacity = kInitialBuffer;
  ctx->buffer = static_cast<JOCTET*>(std::malloc(ctx->capacity));
  std::optional<Bytes> result;
  if (!ctx->buffer) {
    if (error) *error = trText("Picture", "JPEG: out of memory");
  } else {
    const long long written = CompressRows(ctx, rgb, width, height, pitch, quality);
    if (written < 0) {
      // The library's own message, as it gives it.
      if (error) *error = trText("Picture", "JPEG: %1").arg(ctx->errors.message);
    } else {
      result = Bytes(ctx->buffer, ctx->buffer + written);
    }
  }
  std::free(ctx->buffer);
  std::free(ctx);
  return result;
}

std::optional<Bytes> EncodeJpeg(const QImage& picture, int quality, std::string* error) {
  if (picture.isNull() || picture.width() <= 0 || picture.height() <= 0) {
    if (error) *error = trText("Picture", "JPEG: picture has no pixels");
    return std::nullopt;
  }
  const QImage rgb = picture.format() == QImage::Format_RGB888
                         ? picture
                         : picture.convertToFormat(QImage::Format_RGB888);
  if (rgb.isNull()) {
    if (error) *error = trText("Picture", "JPEG: out of memory");
    return std::nullopt;
  }
  return EncodeJpegRows(rgb.constBits(), rgb.width(), rgb.height(),
                        static_cast<std::size_t>(rgb.bytesPerLine()), quality, error);
}

PictureReading ReadOutputJpeg(ByteView file, const Limits& limits) {
  PictureReading r;
  if (file.size() < 4 || file[0] != 0xFF || file[1] != 0xD8) {
    r.error = trText("Inspect", "it does not start with a JPEG start marker");
    return r;
  }
  if (file[file.size() - 2] != 0xFF || file[file.size() - 1] != 0xD9) {
    r.error = trText("Inspect", "it does not end with the JPEG end marker (cut short?)");
    return r;
  }
  if (file.size() > std::size_t(std::numeric_limits<int>::max())) {
    r.error = trText("Inspect", "it is too large to decode");
    return r;
  }
  QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(file.data()),
                                             static_cast<qsizetype>(file.size()));
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, "jpeg");
  const QSize size = reader.size();
  if (!size.isValid() || size.isEmpty()) {
    r.error = trText("Inspect", "it is not a JPEG picture a decoder can read (%1)")
                  .arg(reader.errorString());
    return r;
  }
  r.width = size.width();
  r.height = size.height();
  if (const LimitFault fault = PictureSizeFault(limits, r.width, r.height)) {
    r.error = LimitSentence(fault);
    return r;
  }
  if (!reader.read(&r.image) || r.image.isNull()) {
    r.error = trText("Inspect", "it does not decode (%1)").arg(reader.errorString());
    r.image = QImage();
    return r;
  }
  if (r.image.width() != r.width || r.image.height() != r.height) {
    r.error = trText("Inspect", "it decodes to %1 x %2, not the %3 x %4 it declares")
                  .arg(r.image.width())
                  .arg(r.image.height())
                  .arg(r.width)
                  .arg(r.height);
    r.image = QImage();
  }
  return r;
}

}  // namespace tessel
