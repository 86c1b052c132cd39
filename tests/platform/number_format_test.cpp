// The short ways of writing numbers against std::to_chars, which they must equal byte for byte:
// families of values at the edges of the short ways (powers of ten and two, halves, the ends of
// their ranges) and random ones across and beyond them.
#include "platform/base/number_format.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

using platform::AppendFixedPlaces;
using platform::AppendSixDigits;

template <typename T, typename... Format>
std::string Library(T value, Format... format) {
  char text[400];
  return std::string(text, std::to_chars(text, text + sizeof text, value, format...).ptr);
}

template <typename T>
std::string Ours(const std::function<void(std::string&, T)>& append, T value) {
  std::string text = "x";  // appended to, not replaced
  append(text, value);
  return text.substr(1);
}

// Values around each power of ten and two in range, a few units in the last place either side,
// with both signs.
template <typename T>
std::vector<T> Edges(int lowestTen, int highestTen) {
  std::vector<T> values{0,
                        -T(0),
                        std::numeric_limits<T>::infinity(),
                        std::numeric_limits<T>::quiet_NaN(),
                        std::numeric_limits<T>::denorm_min(),
                        std::numeric_limits<T>::max()};
  std::vector<T> centres;
  for (int e = lowestTen; e <= highestTen; ++e) {
    centres.push_back(static_cast<T>(std::pow(10.0, e)));
    centres.push_back(static_cast<T>(std::pow(10.0, e) * 0.5));
    centres.push_back(static_cast<T>(std::pow(10.0, e) - 0.5));
    centres.push_back(static_cast<T>(std::pow(10.0, e) * 0.999999));
  }
  for (int e = -40; e <= 40; ++e) centres.push_back(std::ldexp(T(1), e));
  for (T c : centres) {
    for (int step = 0; step < 4; ++step) c = std::nextafter(c, T(0));
    for (int step = 0; step < 8; ++step, c = std::nextafter(c, std::numeric_limits<T>::infinity())) {
      values.push_back(c);
      values.push_back(-c);
    }
  }
  return values;
}

// Decimals with few digits (whose halves lie on the short way's doubts) and random magnitudes.
template <typename T>
std::vector<T> Spread(unsigned seed, int count) {
  std::mt19937_64 random(seed);
  std::vector<T> values;
  for (int i = 0; i < count; ++i) {
    const int places = static_cast<int>(random() % 10);
    const double decimal = static_cast<double>(random() % 100000000) / std::pow(10.0, places);
    const double anywhere =
        std::ldexp(static_cast<double>(random() % (1ULL << 53)), static_cast<int>(random() % 80) - 80);
    values.push_back(static_cast<T>(i % 2 ? decimal : anywhere) * (i % 3 ? 1 : -1));
    values.push_back(static_cast<T>(decimal + 0.5 / std::pow(10.0, places)));  // a half of the last place
  }
  return values;
}

TEST(NumberFormat, SixDigitsEqualTheLibrary) {
  const std::function<void(std::string&, double)> ours = AppendSixDigits;
  for (const auto& values : {Edges<double>(-6, 8), Spread<double>(2, 300000)}) {
    for (const double v : values) ASSERT_EQ(Ours(ours, v), Library(v, std::chars_format::general, 6)) << v;
  }
}

TEST(NumberFormat, FixedPlacesEqualTheLibrary) {
  for (int places = 0; places <= 10; ++places) {
    const std::function<void(std::string&, double)> ours = [places](std::string& out, double v) {
      AppendFixedPlaces(out, v, places);
    };
    for (const auto& values : {Edges<double>(-10, 10), Spread<double>(3 + places, 30000)}) {
      for (const double v : values) {
        ASSERT_EQ(Ours(ours, v), Library(v, std::chars_format::fixed, places)) << v << " to " << places;
      }
    }
  }
}

}  // namespace
