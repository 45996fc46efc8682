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
  const auto rotationChoice = static_cast<RotationChoice>(
      size > kConfigHeaderSize ? data[kConfigHeaderSize] % 5 : 0);

  const RegisterSet set = DecodeRegisterSet(header, rotationChoice);
  // Levels are scaled by 64 / 100: 255 gives the largest, 163.
  TESSEL_FUZZ_CHECK(set.backlightOn <= 163 && set.backlightOff <= 163);
  const bool t5lc1 = HasMarker(header, kMarkerT5LC1);
  TESSEL_FUZZ_CHECK((set.layout == ConfigLayout::T5LC1) == t5lc1);
  // Only a T5LC1 header names a picture library (byte 8) and an icon
  // rotation (a rotation code).
  if (t5lc1) {
    TESSEL_FUZZ_CHECK(set.findings.pictureLibrary == header[8]);
    TESSEL_FUZZ_CHECK(set.findings.iconRotation &&
                      fuzz::isRotationCode(*set.findings.iconRotation));
  } else {
    TESSEL_FUZZ_CHECK(set.findings == BlockFindings{});
  }

  SetupValues values;
  ApplyHeaderFallbackDefaults(values);
  const SetupReading reading = ApplyConfigHeader(header, values);
  TESSEL_FUZZ_CHECK(reading.configKind == 0 || reading.configKind == 1 || reading.configKind == 4);
  TESSEL_FUZZ_CHECK(reading.pictureLibrary == set.findings.pictureLibrary);
  TESSEL_FUZZ_CHECK(fuzz::isRotationCode(values.screenRotation));
  return 0;
}
