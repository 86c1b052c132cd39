#include "platform/base/number_format.h"

#include <charconv>
#include <cmath>

namespace platform {

namespace {

constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
// A product with a power of ten is off by at most half a unit in its last place (2^-53 of it);
// results this close (relative) to a point where the exact rounding turns are left to to_chars.
constexpr double kDoubt = 0x1p-49;

template <typename... Format>
void AppendByLibrary(std::string& out, auto value, Format... format) {
  char text[400];  // the longest fixed double with nine places
  out.append(text, static_cast<size_t>(std::to_chars(text, text + sizeof text, value, format...).ptr - text));
}

// A whole number from 0 to 2^52 with a point before its last `places` digits ("0.05" from 5 and
// 2); without trailing zeros after the point, and the point then, where `trim`.
void AppendPointed(std::string& out, bool negative, unsigned long long digits, int places, bool trim) {
  char text[40];
  char* const end = text + sizeof text;
  char* at = end;
  const auto putPair = [&] {
    at -= 2;
    PutTwoDigits(at, digits % 100);
    digits /= 100;
  };
  for (int written = 0; written < places; written += 2) {
    if (written + 1 == places) {
      *--at = static_cast<char>('0' + digits % 10);
      digits /= 10;
    } else {
      putPair();
    }
  }
  if (places > 0) *--at = '.';
  while (digits >= 10) putPair();
  if (at == end || digits > 0 || *at == '.') *--at = static_cast<char>('0' + digits);  // at least one whole digit
  if (negative) *--at = '-';
  const char* last = end;
  if (trim && places > 0) {
    while (last[-1] == '0') --last;
    if (last[-1] == '.') --last;
  }
  out.append(at, static_cast<size_t>(last - at));
}

// The whole number nearest to a positive product below 2^52; false where it lies too near a half.
bool NearestWhole(double scaled, unsigned long long& whole) {
  if (!(scaled < 0x1p52)) return false;
  const long long below = static_cast<long long>(scaled);   // floor: the product is positive
  const double over = scaled - static_cast<double>(below);  // exact
  if (std::fabs(over - 0.5) <= scaled * kDoubt + 0x1p-60) return false;
  whole = static_cast<unsigned long long>(below) + (over > 0.5 ? 1 : 0);
  return true;
}

// The position of the leading decimal digit of a number from 1e-4 to below 1e6 (0 for 1 to
// 9.99…), by the doubles nearest to the powers of ten: a number next to one may get the one
// beside it, which the rounding then shows.
int LeadingDigit(double size) {
  constexpr double kPowers[] = {1e-3, 1e-2, 1e-1, 1e0, 1e1, 1e2, 1e3, 1e4, 1e5};
  int exponent = -4;
  for (const double power : kPowers) exponent += size >= power ? 1 : 0;
  return exponent;
}

}  // namespace

void AppendFixedPlaces(std::string& out, double value, int places) {
  const double size = std::fabs(value);
  unsigned long long digits = 0;
  if (places < 0 || places > 9 || !NearestWhole(size * kPowersOfTen[places], digits)) {
    return AppendByLibrary(out, value, std::chars_format::fixed, places);
  }
  AppendPointed(out, std::signbit(value), digits, places, false);
}

void AppendSixDigits(std::string& out, double value) {
  const double size = std::fabs(value);
  // %g writes numbers from 1e-4 to below 1e6 (after rounding) without an exponent.
  if (!(size >= 1e-4 && size < 1e6)) return AppendByLibrary(out, value, std::chars_format::general, 6);
  int exponent = LeadingDigit(size);
  unsigned long long digits = 0;
  if (!NearestWhole(size * kPowersOfTen[5 - exponent], digits) || digits < 100000) {
    return AppendByLibrary(out, value, std::chars_format::general, 6);
  }
  if (digits == 1000000) {  // rounded up to the next power of ten
    if (exponent == 5) return AppendByLibrary(out, value, std::chars_format::general, 6);
    digits = 100000;
    ++exponent;
  }
  AppendPointed(out, value < 0, digits, 5 - exponent, true);
}

}  // namespace platform
