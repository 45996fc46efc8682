// The ICL icon library reader over arbitrary bytes, and the JPEG rebuild of
// every record it hands out.
#include "FuzzSupport.h"
#include "icon/IconLibrary.h"

using namespace tessel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const ByteView input = fuzz::view(data, size);
  int lastId = -1;
  std::uint64_t total = 0;
  const IconScanResult scan = ReadIconLibrary(input, IconLayout::Icl, [&](IconEntry&& entry) {
    // Slots come out in ascending order, each at most once.
    TESSEL_FUZZ_CHECK(entry.id > lastId);
    lastId = entry.id;
    TESSEL_FUZZ_CHECK(!entry.jpeg.empty());
    TESSEL_FUZZ_CHECK(entry.jpeg.size() <= size);
    total += entry.jpeg.size();
  });
  if (scan.missing) TESSEL_FUZZ_CHECK(lastId == -1 && size <= kShortestIclOrT5uic);
  // Heads and bodies are pieces of the file: a record is never longer than
  // what it was made of. Each slot reads its own record, so the total is
  // bounded by the number of slots times the file.
  TESSEL_FUZZ_CHECK(total <= std::uint64_t(lastId + 1) * size);

  // The rebuild on its own, with the input split in two at a point chosen by
  // its first byte.
  if (size >= 1) {
    const std::size_t cut = std::size_t(data[0]) % size;
    const Bytes rebuilt = RebuildIclJpeg(input.subspan(0, cut), input.subspan(cut));
    TESSEL_FUZZ_CHECK(rebuilt.size() <= size);
  }
  return 0;
}
