#include "platform/base/field_text.h"

#include <locale.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdlib>

#include "platform/base/number_format.h"

namespace platform {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view SkipBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

bool OnlyBlanks(std::string_view text) {
  for (char c : text) {
    if (!IsBlank(c)) return false;
  }
  return true;
}

// Length of the digit run at the start of the text.
size_t Digits(std::string_view text, size_t from) {
  size_t i = from;
  while (i < text.size() && IsDigit(text[i])) ++i;
  return i - from;
}

// Length of the longest prefix that reads as a decimal floating-point number, or 0.
size_t FloatPrefix(std::string_view text) {
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  const size_t whole = Digits(text, i);
  i += whole;
  size_t fraction = 0;
  if (i < text.size() && text[i] == '.') {
    fraction = Digits(text, i + 1);
    if (whole + fraction == 0) return 0;
    i += 1 + fraction;
  }
  if (whole + fraction == 0) return 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    const size_t exponent = Digits(text, j);
    if (exponent > 0) i = j + exponent;
  }
  return i;
}

// The number's text fits a field of 31 characters, so it is copied on the stack. from_chars
// rounds as strtod does and ignores the locale; beyond the range of a double strtod decides
// (infinity, or zero for an underflow).
double ConvertInCLocale(std::string_view number) {
  double value = 0.0;
  const std::string_view unsigned_ = number.starts_with('+') ? number.substr(1) : number;
  const auto [end, error] = std::from_chars(unsigned_.data(), unsigned_.data() + unsigned_.size(), value);
  if (error == std::errc() && end == unsigned_.data() + unsigned_.size()) return value;
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
  char copy[64];
  const size_t n = std::min(number.size(), sizeof copy - 1);
  number.copy(copy, n);
  copy[n] = '\0';
  return strtod_l(copy, nullptr, cLocale);
}

}  // namespace

size_t Utf8SequenceAt(std::string_view bytes, size_t at, char32_t& point) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
  const unsigned char lead = byte(at);
  if (lead < 0x80) return point = lead, 1;
  const size_t length = lead >= 0xF8 ? 0 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
  if (length == 0 || at + length > bytes.size()) return 0;
  point = lead & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
    point = (point << 6) | (byte(at + i) & 0x3F);
  }
  constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
  if (point < kLeast[length] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) return 0;
  return length;
}

std::string PrintableText(std::string_view text) {
  std::string s;
  for (size_t at = 0; at < text.size(); ++at) {
    const char c = text[at];
    const unsigned char u = static_cast<unsigned char>(c);
    char32_t point = 0;
    const size_t length = u >= 0x80 ? Utf8SequenceAt(text, at, point) : 0;
    if (length > 0 && point >= 0xA0) {  // a character beyond ASCII and its controls, whole
      s.append(text.substr(at, length));
      at += length - 1;
    } else if (u >= 0x20 && u < 0x7f)
      s += c;
    else if (c == '\n')
      s += "\\n";
    else if (c == '\t')
      s += "\\t";
    else if (c == '\r')
      s += "\\r";
    else
      s.append("\\x").append(1, "0123456789abcdef"[u >> 4]).append(1, "0123456789abcdef"[u & 0xF]);
  }
  return s;
}

std::string FirstCharacters(std::string_view text, int count) {
  size_t end = 0;
  for (int seen = 0; end < text.size() && seen < count; ++seen) {
    ++end;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
  }
  return std::string(text.substr(0, end));
}

std::string_view FirstLine(std::string_view text) { return text.substr(0, text.find_first_of("\r\n")); }

std::optional<int> ParseIntField(std::string_view text) {
  text = SkipBlanks(text);
  size_t i = (!text.empty() && (text[0] == '+' || text[0] == '-')) ? 1 : 0;
  const size_t digits = Digits(text, i);
  long long value = 0;
  for (size_t k = i; k < i + digits; ++k) {
    value = value * 10 + (text[k] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (text.substr(0, i) == "-") value = -value;
  if (value > INT_MAX) value = INT_MAX;
  if (digits == 0 || !OnlyBlanks(text.substr(i + digits))) return std::nullopt;
  if (value == 0 && text.front() != '0') return std::nullopt;
  return static_cast<int>(value);
}

std::optional<double> ParseFloatField(std::string_view text) {
  text = SkipBlanks(text);
  const size_t length = FloatPrefix(text);
  if (length == 0 || !OnlyBlanks(text.substr(length))) return std::nullopt;
  const double value = ConvertInCLocale(text.substr(0, length));
  if (value == 0.0 && text.front() != '0') return std::nullopt;
  return value;
}

std::string FormatFloatField(double value) {
  std::string text;
  AppendFloatField(text, value);
  return text;
}

void AppendFloatField(std::string& out, double value) { AppendSixDigits(out, value); }

std::string FormatIntField(long value) { return std::to_string(value); }

std::string IntExpectedMessage() { return "Geben Sie bitte eine ganze Zahl ein."; }

std::string NumberExpectedMessage() { return "Geben Sie bitte eine Zahl ein."; }

std::string IntRangeMessage(int minimum, int maximum) {
  return "Geben Sie bitte eine ganze Zahl zwischen " + FormatIntField(minimum) + " und " + FormatIntField(maximum) +
         " ein.";
}

std::string NumberRangeMessage(float minimum, float maximum) {
  return "Geben Sie bitte eine Zahl zwischen " + FormatFloatField(minimum) + " und " + FormatFloatField(maximum) +
         " ein.";
}

}  // namespace platform
