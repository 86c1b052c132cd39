#include "cli/number_text.h"

#include <algorithm>
#include <charconv>

#include "platform/base/number_format.h"

namespace cli {

bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<int> ReadDigits(std::string_view text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

namespace {

// Digits with at most one point and at most 15 digits in all: a whole number of units of the last
// place, divided by a power of ten in one correctly rounded step, which is what from_chars gives.
std::optional<double> PlainDecimal(std::string_view text) {
  static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                            1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  long long units = 0;
  int digits = 0, places = -1;
  for (const char c : text) {
    if (c >= '0' && c <= '9') {
      if (++digits > 15) return std::nullopt;  // before the units could overflow
      units = units * 10 + (c - '0');
      if (places >= 0) ++places;
    } else if (c == '.' && places < 0) {
      places = 0;
    } else {
      return std::nullopt;
    }
  }
  if (digits == 0) return std::nullopt;
  return static_cast<double>(units) / kPowersOfTen[places < 0 ? 0 : places];
}

}  // namespace

std::optional<double> ReadDecimal(std::string_view text) {
  if (const std::optional<double> plain = PlainDecimal(text)) return plain;
  size_t exponent = 0;  // a loop: find_first_of would search its set for every character
  while (exponent < text.size() && text[exponent] != 'e' && text[exponent] != 'E') ++exponent;
  if (exponent == text.size()) exponent = std::string_view::npos;
  const std::string_view mantissa = text.substr(0, exponent);
  const size_t point = mantissa.find('.');
  const std::string_view whole = mantissa.substr(0, point);
  const std::string_view fraction = point == std::string_view::npos ? std::string_view() : mantissa.substr(point + 1);
  if ((!whole.empty() && !AllDigits(whole)) || (!fraction.empty() && !AllDigits(fraction)) ||
      whole.size() + fraction.size() == 0) {
    return std::nullopt;
  }
  if (exponent != std::string_view::npos) {
    std::string_view power = text.substr(exponent + 1);
    if (power.starts_with('+') || power.starts_with('-')) power.remove_prefix(1);
    if (!AllDigits(power)) return std::nullopt;
  }
  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (end != text.data() + text.size()) return std::nullopt;
  if (error == std::errc::result_out_of_range) return std::nullopt;
  return value;
}

char* PutShortest(char* at, char* end, float value) {
  if (!(value == value)) return std::copy_n("nan", 3, at);
  return std::to_chars(at, end, value, std::chars_format::fixed).ptr;
}

void AppendShortest(std::string& out, float value) {
  char text[64];  // the longest float without an exponent, 1e-45, takes 47 characters
  out.append(text, static_cast<size_t>(PutShortest(text, text + sizeof text, value) - text));
}

std::string ShortestText(float value) {
  std::string text;
  AppendShortest(text, value);
  return text;
}

double NearestDouble(float value) {
  const std::string text = ShortestText(value);
  double nearest = 0.0;
  std::from_chars(text.data(), text.data() + text.size(), nearest);
  return nearest;
}

void AppendFixed(std::string& out, double value, int places) {
  const size_t start = out.size();
  platform::AppendFixedPlaces(out, value, places);
  if (out.find('.', start) != std::string::npos) {
    while (out.back() == '0') out.pop_back();
    if (out.back() == '.') out.pop_back();
  }
  if (out.compare(start, std::string::npos, "-0") == 0) {
    out.resize(start);
    out += '0';
  }
}

}  // namespace cli
