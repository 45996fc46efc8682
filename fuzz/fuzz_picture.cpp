// The picture path from bytes: decoding with its size limits, de-ripple,
// every rotation, and the outputs: .zbmp, JPEG at both qualities, and an
// entry of the picture pack. The first byte picks the variant:
//   bits 0-1 rotation code, bit 2 de-ripple,
//   bits 3-4 output: 0 .zbmp, 1 JPEG q90, 2 JPEG q100, 3 pack entry,
//   bit 5 pack entry as JPEG instead of zlib RGB565 rows.
// The rest of the input is the picture file, the last byte also the pack
// entry's number. Every input also goes through the short ways to RGB565 rows
// (plain BMP, plain JPEG), which must give the rows of the general way
// whenever they take a picture.
//
// Pictures that announce more than kFuzzPixels pixels but pass the loader's
// limits are not decoded: they are legal, only slow, and the fuzzer would
// spend its time filling memory. Pictures past the limits are handed to the
// loader, which must refuse them without decoding.
#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <zlib.h>

#include "FuzzSupport.h"
#include "picture/PictureLoad.h"
#include "picture/PicturePack.h"
#include "picture/PicturePipeline.h"
#include "picture/PlainDecode.h"
#include "picture/Rgb565.h"
#include "picture/Zbmp.h"

using namespace tessel;

namespace {

constexpr std::uint64_t kFuzzPixels = std::uint64_t(1) << 22;

// The program's limits, and a budget that every input has to itself.
const Limits kLimits;

// What the reader announces before decoding: 0 when nothing, else the area.
std::uint64_t announcedPixels(ByteView bytes, bool* pastLimits) {
  QByteArray array = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                             static_cast<qsizetype>(bytes.size()));
  QBuffer buffer(&array);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  const QSize size = reader.size();
  if (!size.isValid()) return 0;
  const std::uint64_t w = std::uint64_t(std::max(0, size.width()));
  const std::uint64_t h = std::uint64_t(std::max(0, size.height()));
  *pastLimits = !PictureSizeAllowed(kLimits, w, h);
  return w * h;
}

// The RGB565 rows of a zlib stream: exactly `rowBytes` of them.
void checkStream(const std::uint8_t* stream, std::size_t length, std::uint64_t rowBytes) {
  Bytes rows(rowBytes + 1);
  uLongf inflated = static_cast<uLongf>(rows.size());
  TESSEL_FUZZ_CHECK(uncompress(rows.data(), &inflated, stream, static_cast<uLong>(length)) == Z_OK);
  TESSEL_FUZZ_CHECK(inflated == rowBytes);
}

// A .zbmp file must read back completely: header, then rows of its size.
void checkZbmp(const Bytes& file, int width, int height) {
  TESSEL_FUZZ_CHECK(file.size() >= kZbmpHeaderSize);
  TESSEL_FUZZ_CHECK(GetLe16(file.data()) == width && GetLe16(file.data() + 2) == height);
  const std::uint16_t flag = GetLe16(file.data() + 4);
  for (std::size_t i = 6; i < kZbmpHeaderSize; ++i) TESSEL_FUZZ_CHECK(file[i] == 0);
  const std::uint64_t rowBytes = Rgb565Stride(std::uint64_t(width)) * std::uint64_t(height);
  const std::uint64_t stored = file.size() - kZbmpHeaderSize;
  if (flag == kZbmpRaw) {
    TESSEL_FUZZ_CHECK(stored == rowBytes);
    return;
  }
  TESSEL_FUZZ_CHECK(flag == kZbmpCompressed);
  TESSEL_FUZZ_CHECK(stored <= rowBytes);  // else the rows are stored raw
  checkStream(file.data() + kZbmpHeaderSize, stored, rowBytes);
}

void checkJpeg(const Bytes& file, int width, int height) {
  TESSEL_FUZZ_CHECK(file.size() > 4 && file[0] == 0xFF && file[1] == 0xD8);
  const LoadedPicture back = LoadPictureData(ByteView(file), kLimits);
  TESSEL_FUZZ_CHECK(back.ok());
  TESSEL_FUZZ_CHECK(back.image.width() == width && back.image.height() == height);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::setUpQt();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::uint8_t choice = data[0];
  const ByteView picture = fuzz::view(data + 1, size - 1);
  const int rotation = choice & 3;
  const bool deRipple = (choice & 4) != 0;
  const int output = (choice >> 3) & 3;

  bool pastLimits = false;
  const std::uint64_t pixels = announcedPixels(picture, &pastLimits);
  if (pastLimits) {
    TESSEL_FUZZ_CHECK(!LoadPictureData(picture, kLimits).ok());
    return 0;
  }
  if (pixels > kFuzzPixels) return 0;

  for (const std::optional<Rgb565Picture>& plain :
       {DecodePlainBmp(picture, kLimits), DecodePlainJpeg(picture, kLimits)}) {
    if (!plain) continue;
    TESSEL_FUZZ_CHECK(plain->ok() && plain->width >= 1 && plain->height >= 1);
    TESSEL_FUZZ_CHECK(plain->rows.size() ==
                      Rgb565Stride(std::uint64_t(plain->width)) * std::uint64_t(plain->height));
    const LoadedPicture general = LoadPictureData(picture, kLimits);
    TESSEL_FUZZ_CHECK(general.ok());
    TESSEL_FUZZ_CHECK(general.image.width() == plain->width &&
                      general.image.height() == plain->height);
    TESSEL_FUZZ_CHECK(Rgb565Rows(general.image) == plain->rows);
  }

  // The size the picture has once it is turned, when it loads.
  const LoadedPicture loaded = LoadPictureData(picture, kLimits);
  const WorkLimits work(kLimits);
  const bool turned = rotation == 1 || rotation == 3;
  const int width = turned ? loaded.image.height() : loaded.image.width();
  const int height = turned ? loaded.image.width() : loaded.image.height();

  if (output < 3) {
    const PictureFormat format = output == 0   ? PictureFormat::Zbmp
                                 : output == 1 ? PictureFormat::Jpeg
                                               : PictureFormat::JpegHigh;
    const EncodedPicture encoded =
        EncodePictureBytes(picture, {format, deRipple}, rotation, PictureTarget::File, work);
    if (!encoded.ok) {
      TESSEL_FUZZ_CHECK(!encoded.error.empty() && encoded.bytes.empty());
      return 0;
    }
    TESSEL_FUZZ_CHECK(loaded.ok() && encoded.width == width && encoded.height == height);
    if (output == 0) {
      TESSEL_FUZZ_CHECK(encoded.extension == ".zbmp");
      checkZbmp(encoded.bytes, encoded.width, encoded.height);
    } else {
      TESSEL_FUZZ_CHECK(encoded.extension == ".jpg");
      checkJpeg(encoded.bytes, encoded.width, encoded.height);
    }
    return 0;
  }

  // A pack entry, built the way the run builds one.
  const bool jpeg = (choice & 0x20) != 0;
  const EncodedPicture block =
      EncodePictureBytes(picture, {jpeg ? PictureFormat::Jpeg : PictureFormat::Zbmp, deRipple},
                         rotation, PictureTarget::PackBlock, work);
  const int number = data[size - 1];
  PicturePack pack;
  Report report;
  pack.append(number, block, "fuzz", report);
  if (!block.ok) {
    TESSEL_FUZZ_CHECK(!block.error.empty() && block.bytes.empty());
    TESSEL_FUZZ_CHECK(!pack.hasContent() && report.warnings.size() == 1);
    return 0;
  }
  TESSEL_FUZZ_CHECK(loaded.ok() && block.width == width && block.height == height);
  if (jpeg) {
    TESSEL_FUZZ_CHECK(block.packKind == kPackJpeg);
    checkJpeg(block.bytes, block.width, block.height);
  } else {
    TESSEL_FUZZ_CHECK(block.packKind == kPackZlibRgb565);
    checkStream(block.bytes.data(), block.bytes.size(),
                Rgb565Stride(std::uint64_t(block.width)) * std::uint64_t(block.height));
  }
  if (block.bytes.size() > kPackMaxBlock) {
    TESSEL_FUZZ_CHECK(!pack.hasContent() && report.warnings.size() == 1);
    return 0;
  }
  TESSEL_FUZZ_CHECK(pack.hasContent() && report.warnings.empty());
  const Bytes& index = pack.index();
  TESSEL_FUZZ_CHECK(index.size() == (std::size_t(number) + 1) * kPackEntrySize);
  const Bytes expected = PackIndexEntry(std::uint16_t(number), block.packKind, packBaseAddress,
                                        std::uint16_t(block.width), std::uint16_t(block.height),
                                        std::uint32_t(block.bytes.size()));
  TESSEL_FUZZ_CHECK(std::equal(expected.begin(), expected.end(),
                               index.begin() + std::ptrdiff_t(number * kPackEntrySize)));
  TESSEL_FUZZ_CHECK(pack.data() == block.bytes);
  return 0;
}
