#include "config/ConfigRegisters.h"

namespace tessel {

ParaRegisters ComputePara(const std::array<bool, 10>& ticked) {
  std::uint8_t para1 = 0;
  if (!ticked[0]) para1 |= 0x80;  // 1005: coordinates on release
  if (!ticked[1]) para1 |= 0x40;  // 1006: repeat every 100 ms while pressed
  if (ticked[2]) para1 |= 0x20;   // 1007: touch configuration file
  if (ticked[3]) para1 |= 0x10;   // 1008: backlight by touch or keys
  if (!ticked[4]) para1 |= 0x08;  // 1009: buzzer
  if (ticked[5]) para1 |= 0x04;   // 1010: turned by 90 degrees
  if (ticked[6]) para1 |= 0x02;   // 1011: buzzer on valid positions only
  if (ticked[7]) para1 |= 0x01;   // 1012: 0x79 on press
  std::uint8_t para2 = 0xFF;
  if (!ticked[8]) para2 &= static_cast<std::uint8_t>(~0x40);  // 1013
  if (!ticked[9]) para2 &= static_cast<std::uint8_t>(~0x20);  // 1014
  return {para1, para2};
}

SetupRegisters ComposeSetupRegisters(const SetupValues& v) {
  unsigned r2 = 0;
  if (v.useTouchFile) {
    r2 = 0x20;
    if (!v.longPressNotify) r2 |= 0x40;
    if (v.touchFileNotify == 1) r2 |= 0x01;
    if (v.touchBeep == 0) r2 |= 0x08;
    if (v.touchBeep == 2) r2 |= 0x0A;
  } else {
    if (!v.longPressNotify) r2 |= 0x40;
    if (v.coordinateNotify == 0) r2 |= 0x80;
    if (v.touchBeep == 0) r2 |= 0x08;
  }
  if (v.screenRotation == 1 || v.screenRotation == 3) r2 |= 0x04;
  unsigned r3 = (v.screenRotation == 2 || v.screenRotation == 3) ? 0xDF : 0xFF;
  if (!v.delayedRefresh) r3 &= 0x7F;
  return {static_cast<std::uint8_t>(r2), static_cast<std::uint8_t>(r3)};
}

void ApplySetupRegisters(SetupValues& v, std::uint32_t r2, std::uint32_t r3) {
  v.screenRotation = ((r3 & 0x20) == 0 ? 2 : 0) + ((r2 & 0x04) != 0 ? 1 : 0);
  v.useTouchFile = (r2 & 0x20) != 0;
  v.restoreTextBackground = (r3 & 0x10) == 0;
  v.delayedRefresh = (r3 & 0x80) != 0;
  if (v.useTouchFile) {
    v.touchFileNotify = (r2 & 0x01) != 0 ? 1 : 0;
    v.longPressNotify = (r2 & 0x01) != 0 && (r2 & 0x40) == 0;
    v.touchBeep = (r2 & 0x08) == 0 ? 1 : ((r2 & 0x02) != 0 ? 2 : 0);
  } else {
    v.longPressNotify = (r2 & 0x40) == 0;
    v.coordinateNotify = (r2 & 0x80) == 0 ? 1 : 0;
    v.touchBeep = (r2 & 0x08) == 0 ? 1 : 0;
  }
}

}  // namespace tessel
