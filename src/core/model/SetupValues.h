#pragma once
// The device parameters that a Branch B run confirms with its user.

namespace tessel {

struct SetupValues {
  int baudIndex = 3;               // index into baudRates; may hold anything a source gave
  bool useTouchFile = false;
  int coordinateNotify = 0;        // 0 press (0x73), 1 press + release (0x72)
  int touchFileNotify = 0;         // 0 release (0x78), 1 press (0x79) + release
  bool longPressNotify = false;
  int touchBeep = 0;               // 0 silent, 1 anywhere, 2 valid areas only
  int screenRotation = 0;          // rotation code 0..3
  bool restoreTextBackground = true;
  bool delayedRefresh = false;

  bool operator==(const SetupValues&) const = default;
};

}  // namespace tessel
