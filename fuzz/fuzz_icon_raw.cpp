// The raw icon library reader. A raw library starts with a table of 131072
// bytes, far more than a fuzzer input usually holds, so an input is mapped
// onto a library: its first two bytes (little-endian) say how many of the
// following bytes fill the start of the table (the rest of the table is
// zero), and whatever follows comes after the table as the pixel data.
// Inputs of the table's size or more are also read as they are.
#include "FuzzSupport.h"
#include "icon/IconLibrary.h"

using namespace tessel;

namespace {

constexpr std::size_t kTable = 131072;

void scan(ByteView library) {
  int lastId = -1;
  const IconScanResult result = ReadIconLibrary(library, IconLayout::Raw, [&](IconEntry&& entry) {
    TESSEL_FUZZ_CHECK(entry.id > lastId && entry.id < 16384);
    lastId = entry.id;
    TESSEL_FUZZ_CHECK(entry.width >= 1 && entry.width <= 1023);
    TESSEL_FUZZ_CHECK(entry.height >= 1 && entry.height <= 1023);
    TESSEL_FUZZ_CHECK(entry.pixels.size() == std::size_t(entry.width) * entry.height * 2);
    TESSEL_FUZZ_CHECK(entry.pixels.size() <= library.size());
  });
  if (result.missing) TESSEL_FUZZ_CHECK(lastId == -1 && library.size() <= kShortestRaw);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size >= kTable) scan(fuzz::view(data, size));
  if (size < 2) return 0;
  const std::size_t tableBytes =
      std::min<std::size_t>(GetLe16(data), std::min(size - 2, kTable));
  Bytes library(data + 2, data + 2 + tableBytes);
  library.resize(kTable, 0);
  library.insert(library.end(), data + 2 + tableBytes, data + size);
  scan(ByteView(library));
  return 0;
}
