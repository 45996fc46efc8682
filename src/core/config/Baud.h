#pragma once
// The eight line speeds a target display offers, and the match of a computed
// speed against them.
#include <array>
#include <cmath>
#include <optional>

namespace tessel {

inline constexpr std::array<int, 8> baudRates = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};

// True when `index` may be used to index baudRates.
constexpr bool IsBaudIndex(int index) {
  return index >= 0 && index < static_cast<int>(baudRates.size());
}

// The first index whose speed lies within 5 % of `rate` (relative to rate),
// or nothing. A rate of 0 never matches.
inline std::optional<int> MatchBaudIndex(int rate) {
  if (rate == 0) return std::nullopt;
  for (int i = 0; i < static_cast<int>(baudRates.size()); ++i) {
    const double deviation = (static_cast<double>(baudRates[i]) - rate) / rate;
    if (std::fabs(deviation) < 0.05) return i;
  }
  return std::nullopt;
}

}  // namespace tessel
