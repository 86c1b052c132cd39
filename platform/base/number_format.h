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

}  // namespace platform
