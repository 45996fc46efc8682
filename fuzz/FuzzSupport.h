#pragma once
// Helpers shared by the fuzz targets: a check that aborts (so libFuzzer keeps
// the input as a crash) and the Qt set-up the picture targets need.
#include <cstdio>
#include <cstdlib>

#include "util/Bytes.h"

namespace tessel::fuzz {

// A property of the output that must hold for every input.
#define TESSEL_FUZZ_CHECK(cond)                                                    \
  do {                                                                             \
    if (!(cond)) {                                                                 \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
      std::abort();                                                                \
    }                                                                              \
  } while (0)

// Rotation codes as every step uses them: 0 none, 1 = 90, 2 = 180, 3 = 270
// degrees clockwise.
constexpr bool isRotationCode(int code) { return code >= 0 && code <= 3; }

inline ByteView view(const std::uint8_t* data, std::size_t size) { return ByteView(data, size); }

// QImage decoding needs no application object; the platform is set anyway so
// that nothing tries to reach a display.
inline void setUpQt() { setenv("QT_QPA_PLATFORM", "offscreen", 0); }

}  // namespace tessel::fuzz
