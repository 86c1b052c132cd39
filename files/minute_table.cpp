#include "files/minute_table.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "platform/base/archive.h"

namespace files {

namespace {

constexpr int kFieldWidth = 7;
constexpr double kLowest = 0.2;

// The value in fixed point with `decimals` places after the point, rounded half up at the
// first dropped place of its 17 significant digits.
std::string RoundedFixed(double value, int decimals) {
  char sci[40];
  const char* end = std::to_chars(sci, sci + sizeof sci, value, std::chars_format::scientific, 16).ptr;
  const char* e = std::find(static_cast<const char*>(sci), end, 'e');
  std::string digits;  // d0 d1 ... d16 of d0.d1...d16 times 10^exponent
  for (const char* p = sci; p < e; ++p) {
    if (*p != '.') digits += *p;
  }
  int exponent = 0;
  std::from_chars(e + 1 + (e[1] == '+'), end, exponent);
  const auto digitAt = [&](int power) {
    const int i = exponent - power;
    return i >= 0 && i < static_cast<int>(digits.size()) ? digits[i] : '0';
  };
  std::string number;  // digits from the highest place down to 10^-decimals
  for (int power = std::max(exponent, 0); power >= -decimals; --power) number += digitAt(power);
  if (digitAt(-decimals - 1) >= '5') {
    int i = static_cast<int>(number.size()) - 1;
    while (i >= 0 && number[i] == '9') number[i--] = '0';
    if (i >= 0) {
      ++number[i];
    } else {
      number.insert(number.begin(), '1');
    }
  }
  const size_t wholeDigits = number.size() - decimals;
  return number.substr(0, wholeDigits) + "." + number.substr(wholeDigits);
}

}  // namespace

std::string NumberField(float value) {
  const double v = value;
  std::string text;
  if (!std::isfinite(v)) {
    text = std::isnan(v) ? "nan" : (v < 0 ? "-inf" : "inf");
  } else {
    const double magnitude = std::fabs(v);
    // Digits before the point of the unrounded value; a value below 1 keeps seven decimals.
    int integerDigits = 0;
    for (double p = 1; magnitude >= p && integerDigits < 400; p *= 10) ++integerDigits;
    const int decimals = std::max(0, kFieldWidth - integerDigits);
    text = RoundedFixed(magnitude, decimals);
    while (text.back() == '0') text.pop_back();
    if (v < 0) text = "-" + text;
  }
  text.resize(kFieldWidth, ' ');
  return text;
}

std::string MinuteLine(float azimuth, float height) {
  return NumberField(azimuth) + "  " + NumberField(height) + "\r\n";
}

void WriteMinuteTable(platform::CArchive& ar, const solar::DayTrack& track) {
  ar << ToWindows1252("Tagvaroskop im Tagesverlauf, ein Wertepaar pro Minute, 180 Grad = Süden!");
  ar.Write("      \r\n", 8);
  ar << ToWindows1252("1.Azimut 2.Höhe");
  ar.Write("       \r\n", 9);
  int m = 0;
  while (m < 1439) {
    if (track.height[m] > kLowest && track.azimuth[m] > kLowest) {
      const std::string line = MinuteLine(track.azimuth[m], track.height[m]);
      ar.Write(line.data(), line.size());
      m += 1;
    } else {
      m += 2;
    }
  }
}

void ExportMinuteTable(const std::string& path, const solar::DayTrack& track) {
  platform::CFile file(path,
                       platform::CFile::modeCreate | platform::CFile::modeWrite | platform::CFile::shareExclusive);
  platform::CArchive ar(&file, platform::CArchive::store);
  WriteMinuteTable(ar, track);
  ar.Close();
  file.Close();
}

std::string ToWindows1252(std::string_view utf8) {
  std::string bytes;
  for (size_t i = 0; i < utf8.size();) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    unsigned code = c;
    size_t length = 1;
    if (c >= 0xC0 && c < 0xE0 && i + 1 < utf8.size()) {
      code = ((c & 0x1F) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F);
      length = 2;
    } else if (c >= 0xE0) {
      code = 0xFFFF;
      length = c >= 0xF0 ? 4 : 3;
    }
    bytes += code < 0x100 ? static_cast<char>(code) : '?';
    i += length;
  }
  return bytes;
}

}  // namespace files
