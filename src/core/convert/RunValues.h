#pragma once
// Values shared by the steps of a run, and the ones that outlive it.
#include <cstdint>
#include <filesystem>

#include "config/SetupValues.h"

namespace tessel {

constexpr std::uint16_t kNoPictureLibrary = 0xFFFF;

// Owned by the front end (the main dialog, or one CLI invocation): what
// carries over from one run to the next.
struct Session {
  SetupValues setup;                          // confirmed device parameters
  int iconRotation = 0;                       // set by a T5LC1 header in Branch A only
  std::filesystem::path pictureLibraryFolder; // emptied at the start of every run
  std::uint16_t pictureLibraryNumber = kNoPictureLibrary;  // reset every run
};

// Values of one run.
struct RunValues {
  int runRotation = -1;  // Branch B: rotation code for every picture, -1 undecided
  int configKind = 0;    // Branch B: 4 for T5C1/T5C4, 1 for T5C2, 0 otherwise
};

}  // namespace tessel
