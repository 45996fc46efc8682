// A whole icon library build from arbitrary bytes: scan, JPEG decoding in
// memory, RGB565 and the .zico, or the screen pictures of a picture library.
// The first byte picks the layout and the job; the rest is the library.
#include "FuzzSupport.h"
#include "icon/IconBuild.h"
#include "icon/Zico.h"

using namespace tessel;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::setUpQt();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::uint8_t choice = data[0];
  PictureEncoding encoding;
  encoding.format = static_cast<PictureFormat>((choice >> 2) % 3);
  encoding.deRipple = ((choice >> 4) & 1) != 0;
  IconLibraryJob job;
  job.path = "fuzz.icl";
  job.layout = (choice & 1) ? IconLayout::T5uic : IconLayout::Icl;
  job.toPictures = (choice & 2) != 0;
  job.rotation = (choice >> 5) & 3;

  const WorkLimits work;
  const BuiltIconLibrary built =
      BuildIconLibrary(encoding, job, fuzz::view(data + 1, size - 1), work);
  TESSEL_FUZZ_CHECK(!built.abandoned);
  if (built.missing) TESSEL_FUZZ_CHECK(built.zico.size() == 0 && built.pictures.empty());
  // Only an ICL library becomes pictures, and then it has no .zico content.
  TESSEL_FUZZ_CHECK(built.toPictures == (job.toPictures && job.layout == IconLayout::Icl));
  if (built.toPictures) TESSEL_FUZZ_CHECK(built.zico.size() == 0);
  if (!built.toPictures) TESSEL_FUZZ_CHECK(built.pictures.empty());

  // Every record points inside the data area, one block after the other.
  std::uint64_t next = 0;
  for (const ZicoRecord& record : built.zico.records()) {
    TESSEL_FUZZ_CHECK(record.dataOffset == next);
    TESSEL_FUZZ_CHECK(record.width >= 1 && record.height >= 1);
    next += record.dataSize;
  }
  TESSEL_FUZZ_CHECK(next == built.zico.dataArea().size());
  const Bytes file = EncodeZico(built.zico.records(), ByteView(built.zico.dataArea()));
  TESSEL_FUZZ_CHECK(file.empty() == (built.zico.size() == 0));
  if (!file.empty()) {
    TESSEL_FUZZ_CHECK(file.size() == 8 + kZicoRecordSize * built.zico.size() + next);
  }
  for (const IconPicture& picture : built.pictures) {
    TESSEL_FUZZ_CHECK(!picture.bytes.empty());
    TESSEL_FUZZ_CHECK(picture.extension ==
                      (encoding.format == PictureFormat::Zbmp ? ".zbmp" : ".jpg"));
  }
  return 0;
}
