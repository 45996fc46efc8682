#pragma once
// What carries over from one run to the next. Owned by the front end (the
// main dialog, or one command-line invocation).
#include "model/SetupValues.h"

namespace tessel {

struct Session {
  SetupValues setup;     // the confirmed device parameters
  int iconRotation = 0;  // rotation code for the picture library's icons; set
                         // by a T5LC1 block file in Branch A, never reset
};

}  // namespace tessel
