// The T5UIC icon library reader over arbitrary bytes. Inputs shorter than the
// 4096-byte slot table are also tried as the start of a table padded with
// zeros, so that short inputs reach the slots and their data.
#include "FuzzSupport.h"
#include "icon/IconLibrary.h"

using namespace tessel;

namespace {

void scan(ByteView input) {
  int lastId = -1;
  const IconScanResult result = ReadIconLibrary(input, IconLayout::T5uic, [&](IconEntry&& entry) {
    TESSEL_FUZZ_CHECK(entry.id > lastId && entry.id < 256);
    lastId = entry.id;
    // A slot's data is a piece of the file longer than 10 bytes.
    TESSEL_FUZZ_CHECK(entry.jpeg.size() > 10 && entry.jpeg.size() <= input.size());
  });
  if (result.missing) TESSEL_FUZZ_CHECK(lastId == -1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  scan(fuzz::view(data, size));
  if (size < 4096) {
    // The input's bytes fill the table from its start; the data the slots
    // point at is the input again, placed after the table.
    Bytes padded(data, data + size);
    padded.resize(4096, 0);
    padded.insert(padded.end(), data, data + size);
    scan(ByteView(padded));
  }
  return 0;
}
