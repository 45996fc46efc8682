// The 64-byte block file header as both branches read it: DecodeRegisterSet
// (Branch A) and ApplyConfigHeader (Branch B). The header is the input's
// first 64 bytes (zero-filled when shorter); byte 64, when present, picks the
// rotation choice.
#include "FuzzSupport.h"
#include "config/SourceConfig.h"

using namespace tessel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const ConfigHeader header = MakeConfigHeader(fuzz::view(data, size));
  for (std::size_t i = 0; i < kConfigHeaderSize; ++i) {
    TESSEL_FUZZ_CHECK(header[i] == (i < size ? data[i] : 0));
  }
  const int rotationChoice = size > kConfigHeaderSize ? data[kConfigHeaderSize] % 5 : 0;

  Session sessionA;
  const RegisterSet set = DecodeRegisterSet(header, rotationChoice, sessionA);
  // Levels are scaled by 64 / 100: 255 gives the largest, 163.
  TESSEL_FUZZ_CHECK(set.backlightOn <= 163 && set.backlightOff <= 163);
  if (set.layout == ConfigLayout::T5LC1) TESSEL_FUZZ_CHECK(HasMarker(header, kMarkerT5LC1));

  Session sessionB;
  SetupValues values;
  ApplyHeaderFallbackDefaults(values);
  const int kind = ApplyConfigHeader(header, values, sessionB);
  TESSEL_FUZZ_CHECK(kind == 0 || kind == 1 || kind == 4);
  TESSEL_FUZZ_CHECK(values.screenRotation >= 0 && values.screenRotation <= 3);
  return 0;
}
