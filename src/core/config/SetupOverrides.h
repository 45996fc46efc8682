#pragma once
// Corrections of the setup values from the command line ("--set NAME=VALUE")
// and a readable listing of them for a terminal.
#include <string>
#include <string_view>

#include "model/SetupValues.h"

namespace tessel {

// Applies one "NAME=VALUE" correction. Names and values:
//   baud=1200|2400|4800|9600|19200|38400|57600|115200
//   touch-file=on|off            coordinate-notify=0|1
//   touch-file-notify=0|1        long-press=on|off
//   touch-beep=0|1|2             screen-rotation=0|90|180|270
//   restore-text-background=on|off   delayed-refresh=on|off
// Names and on/off are matched without regard to case; white space around
// the name and the value is ignored. On a refusal `values` is unchanged,
// false is returned and `error` (when given) says why.
bool ApplySetupOverride(SetupValues& values, std::string_view nameEqualsValue,
                        std::string* error);

// One "name=value" line per value, with the names and values of
// ApplySetupOverride; a baud index outside the list reads
// "baud=invalid (register 1 = N)".
std::string DescribeSetupValues(const SetupValues& values);

}  // namespace tessel
