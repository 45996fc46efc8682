// The register text reader over arbitrary bytes: the whole text at once must
// read the same as the text fed in pieces at points chosen by the input.
#include "FuzzSupport.h"
#include "config/SourceConfig.h"

using namespace tessel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const ByteView text = fuzz::view(data, size);
  const TextRegisters whole = ParseRegisterText(text);

  RegisterTextParser pieces;
  std::size_t at = 0;
  std::size_t step = size ? std::size_t(data[0]) % 17 + 1 : 1;
  while (at < size) {
    const std::size_t n = std::min(step, size - at);
    pieces.feed(text.subspan(at, n));
    at += n;
    step = std::size_t(data[at - 1]) % 29 + 1;
  }
  pieces.finish();
  TESSEL_FUZZ_CHECK(pieces.registers() == whole);
  TESSEL_FUZZ_CHECK(pieces.sawBytes() == (size > 0));

  SetupValues values;
  ApplyTextRegisters(values, whole);
  return 0;
}
