#pragma once
// The two flag registers of the target display (R2 and R3), computed from
// check boxes or from the confirmed setup values, and read back into them.
#include <array>
#include <cstdint>

#include "model/SetupValues.h"

namespace tessel {

// Para1 uses the bit positions of register R2, Para2 those of R3.
struct ParaRegisters {
  std::uint8_t para1;
  std::uint8_t para2;
};

// The configuration dialog's ten check boxes: ticked[0] is box 1005, ...,
// ticked[9] is box 1014.
ParaRegisters ComputePara(const std::array<bool, 10>& ticked);

// R2 and R3 of a Branch B config.txt from the confirmed values.
struct SetupRegisters {
  std::uint8_t r2;
  std::uint8_t r3;
};
SetupRegisters ComposeSetupRegisters(const SetupValues& values);

// The inverse: sets useTouchFile, touchFileNotify (touch file only),
// longPressNotify, coordinateNotify (coordinates only), touchBeep,
// screenRotation, restoreTextBackground and delayedRefresh from R2 and R3.
// baudIndex and whichever notify value does not apply stay as they are.
void ApplySetupRegisters(SetupValues& values, std::uint32_t r2, std::uint32_t r3);

}  // namespace tessel
