#pragma once
// The values one run shares between its steps. The run owns them; readers
// return what they found and the run decides.
#include <cstdint>

namespace tessel {

constexpr std::uint16_t kNoPictureLibrary = 0xFFFF;

struct RunValues {
  // The file number of the icon library that holds the screen pictures, as
  // the configuration named it; kNoPictureLibrary for none, and again once
  // that library has been taken.
  std::uint16_t pictureLibraryNumber = kNoPictureLibrary;
  int runRotation = -1;  // Branch B: rotation code for every picture, -1 undecided
  int configKind = 0;    // Branch B: 4 for T5C1/T5C4, 1 for T5C2, 0 otherwise
};

}  // namespace tessel
