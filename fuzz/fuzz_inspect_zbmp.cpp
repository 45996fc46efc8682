// The picture readers of tessel-cli inspect: the first byte picks the .zbmp
// reader (even) or the JPEG reader (odd). A picture that reads as sound has
// the size its header gives.
#include <QBuffer>
#include <QImageReader>

#include "FuzzSupport.h"
#include "picture/Jpeg.h"
#include "picture/Zbmp.h"

using namespace tessel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::setUpQt();
  if (size < 1) return 0;
  const ByteView file = fuzz::view(data + 1, size - 1);
  if (data[0] % 2 == 0) {
    const PictureReading r = ReadZbmp(file, data[0] % 4 == 0, Limits());
    if (r.ok() && !r.image.isNull()) {
      TESSEL_FUZZ_CHECK(r.image.width() == r.width && r.image.height() == r.height);
    }
    if (r.ok()) TESSEL_FUZZ_CHECK(file.size() >= 16);
    return 0;
  }
  // Large declared JPEGs are slow to decode, not wrong: skipped.
  QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(file.data()),
                                             static_cast<qsizetype>(file.size()));
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  const QSize declared = QImageReader(&buffer, "jpeg").size();
  if (declared.isValid() && qint64(declared.width()) * declared.height() > (4 << 20)) return 0;
  const PictureReading r = ReadOutputJpeg(file, Limits());
  if (r.ok()) {
    TESSEL_FUZZ_CHECK(!r.image.isNull());
    TESSEL_FUZZ_CHECK(r.image.width() == r.width && r.image.height() == r.height);
  } else {
    TESSEL_FUZZ_CHECK(r.image.isNull());
  }
  return 0;
}
