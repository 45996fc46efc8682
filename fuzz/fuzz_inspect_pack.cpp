// The picture pack reader of tessel-cli inspect: the first two bytes give
// the length of image.idx, the rest is image.bin. Sound entries decode to
// their size; the reader never reads past either file.
#include <QBuffer>
#include <QImageReader>

#include "FuzzSupport.h"
#include "picture/PackReader.h"
#include "picture/PicturePipeline.h"

using namespace tessel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::setUpQt();
  if (size < 2) return 0;
  const std::size_t indexSize = std::min<std::size_t>(GetLe16(data), size - 2);
  const ByteView index = fuzz::view(data + 2, indexSize);
  const ByteView bin = fuzz::view(data + 2 + indexSize, size - 2 - indexSize);
  PackReading r = ReadPackIndex(index, bin.size());
  int last = -1;
  for (PackEntry& e : r.entries) {
    TESSEL_FUZZ_CHECK(e.number > last);
    last = e.number;
    // Large JPEG entries are slow to decode, not wrong: skipped.
    if (e.kind == kPackJpeg && std::int64_t(e.width) * e.height > (4 << 20)) continue;
    ReadPackEntry(e, bin, true, Limits());
    if (e.error.empty()) {
      TESSEL_FUZZ_CHECK(e.image.width() == e.width && e.image.height() == e.height);
    }
  }
  return 0;
}
