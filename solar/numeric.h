#pragma once

#include <climits>
#include <cstdint>

namespace solar {

// Truncates toward zero into the int range: NaN gives 0, values beyond the range saturate.
// Every float-to-integer conversion of the program goes through here.
inline int TruncToInt(double value) {
  if (!(value == value)) return 0;
  if (value >= 2147483647.0) return INT_MAX;
  if (value <= -2147483648.0) return INT_MIN;
  return static_cast<int>(value);
}

// Wraps a 64-bit value into int as two's complement arithmetic would.
inline int WrapToInt(long long value) {
  return static_cast<int>(static_cast<std::uint32_t>(static_cast<unsigned long long>(value)));
}

// Rounds a double to single precision; names the rounding points of the computations.
inline float Single(double value) { return static_cast<float>(value); }

}  // namespace solar
