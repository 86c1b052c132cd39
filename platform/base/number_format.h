#pragma once

#include <string>

// Decimal forms of numbers as std::to_chars writes them, byte for byte, at half its cost
// for the numbers a batch writes millions of (degrees, heights, hours). Numbers of ordinary
// size go the short way: scaled by a power of ten, rounded to a whole number and written with a
// point; where that rounding could differ from the exact one (a value within the scaling's
// rounding error of a half), and for every other number, std::to_chars writes them.
namespace platform {

// The value rounded to `places` (0 to 9) places (std::to_chars(value, fixed, places)).
void AppendFixedPlaces(std::string& out, double value, int places);
// The value with six significant digits as "%.6g" writes it (std::to_chars(value, general, 6)).
void AppendSixDigits(std::string& out, double value);

// Writes the two digits of a value from 0 to 99 (with a leading zero); returns the place after them.
inline char* PutTwoDigits(char* at, unsigned long long value) {
  static constexpr char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  at[0] = kPairs[2 * value];
  at[1] = kPairs[2 * value + 1];
  return at + 2;
}

}  // namespace platform
