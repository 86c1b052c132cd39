#include "cli/input.h"

#include <algorithm>
#include <cmath>

#include "cli/number_text.h"
#include "platform/base/field_text.h"
#include "solar/numeric.h"
#include "solar/sun_position.h"

namespace cli {

std::string Shown(std::string_view text, bool quoted) {
  constexpr int kMostShown = 60;
  std::string shown = quoted ? "\"" : "";
  const std::string start = platform::FirstCharacters(text, kMostShown);
  shown.append(platform::PrintableText(start));
  if (start.size() < text.size()) {  // a long entry is cut, with its length
    long characters = 0;
    for (const char c : text) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    shown.append("…");
    if (quoted) shown.push_back('"');
    return shown + " (" + std::to_string(characters) + " Zeichen)";
  }
  if (quoted) shown.push_back('"');
  return shown;
}

Pieces Split(std::string_view text, char separator) {
  Pieces pieces;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == separator) {
      if (pieces.count < 3) pieces.part[pieces.count] = text.substr(start, i - start);
      ++pieces.count;
      start = i + 1;
    }
  }
  return pieces;
}

int ReadWhole(std::string_view text, const char* name, int low, int high) {
  long long value = 0;
  if (text.size() > 1 && text.front() == '-' && AllDigits(text.substr(1)) && low >= 0)  // -1: whole, too small
    throw InputError{std::string(name) + ": " + platform::IntRangeMessage(low, high)};
  for (const char c : text) {
    if (c < '0' || c > '9') throw InputError{std::string(name) + ": " + platform::IntExpectedMessage()};
    value = std::min(value * 10 + (c - '0'), 1LL << 40);  // a long run of digits stays out of range
  }
  if (text.empty()) throw InputError{std::string(name) + ": " + platform::IntExpectedMessage()};
  if (value < low || value > high) throw InputError{std::string(name) + ": " + platform::IntRangeMessage(low, high)};
  return static_cast<int>(value);
}

ClockTime ReadClockTime(std::string_view text) {
  const Pieces pieces = Split(text, ':');
  if (pieces.count < 2 || pieces.count > 3) {
    throw InputError{"Uhrzeit: erwartet HH:MM oder HH:MM:SS, nicht " + Shown(text) + "."};
  }
  return ClockTime{ReadWhole(pieces.part[0], "Stunde", 0, 23), ReadWhole(pieces.part[1], "Minute", 0, 59),
                   pieces.count == 3 ? ReadWhole(pieces.part[2], "Sekunde", 0, 59) : 0};
}

namespace {

std::string_view WithoutBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// The names of a coordinate in messages, its hemisphere letters and its range.
struct Kind {
  const char *name, *degrees, *arcmin, *arcsec;
  char positive, negative;
  float low, high;  // the whole angle: -low west or south at most, high east or north at most
};
constexpr Kind kLatitude{"Breite", "Breite (Grad)", "Breite (Arcmin)", "Breite (Arcsec)", 'N', 'S', -90, 90};
constexpr Kind kLongitude{"Länge", "Länge (Grad)", "Länge (Arcmin)", "Länge (Arcsec)", 'E', 'W', -180, 360};

// A coordinate's sign and its parts as written.
struct Angle {
  bool negative = false;
  double degrees = 0.0, arcmin = 0.0, arcsec = 0.0;
  size_t parts = 0;
  bool arcminFraction = false;  // the minutes are the last part and have a fraction
};

Angle ReadAngle(std::string_view text, const Kind& kind) {
  Angle angle;
  text = WithoutBlanks(text);
  bool hemisphere = false;
  if (!text.empty()) {
    const char last =
        text.back() >= 'a' && text.back() <= 'z' ? static_cast<char>(text.back() - 'a' + 'A') : text.back();
    if (last == kind.positive || last == kind.negative) {
      hemisphere = true;
      angle.negative = last == kind.negative;
      text.remove_suffix(1);
    }
  }
  if (text.starts_with('-') || text.starts_with('+')) {
    if (hemisphere) {
      throw InputError{std::string(kind.name) + ": entweder ein Vorzeichen oder " + kind.positive + "/" +
                       kind.negative + ", nicht beides."};
    }
    angle.negative = text.front() == '-';
    text.remove_prefix(1);
  }
  const std::optional<double> degrees = text.find(':') == std::string_view::npos ? ReadDecimal(text) : std::nullopt;
  if (degrees) {  // decimal degrees, the usual form
    angle.parts = 1;
    angle.degrees = *degrees;
    return angle;
  }
  const Pieces pieces = Split(text, ':');
  if (pieces.count > 3) {
    throw InputError{std::string(kind.name) + ": erwartet GRAD, GRAD:ARCMIN:ARCSEC oder eine Zahl mit " +
                     "Himmelsrichtung, nicht " + Shown(text) + "."};
  }
  angle.parts = pieces.count;
  const char* names[] = {kind.degrees, kind.arcmin, kind.arcsec};
  double* values[] = {&angle.degrees, &angle.arcmin, &angle.arcsec};
  for (size_t i = 0; i < pieces.count; ++i) {
    const bool last = i + 1 == pieces.count;
    std::optional<double> value = last ? ReadDecimal(pieces.part[i]) : std::nullopt;
    if (const std::optional<int> whole = last ? std::nullopt : ReadDigits(pieces.part[i])) value = *whole;
    if (!last && !value && !AllDigits(pieces.part[i])) {
      throw InputError{std::string(names[i]) + ": " + platform::IntExpectedMessage()};
    }
    if (last && !value) throw InputError{std::string(names[i]) + ": " + platform::NumberExpectedMessage()};
    *values[i] = value ? *value : 1000000000.0;  // more than nine digits: out of every range
    if (i > 0 && !(*values[i] < 60.0)) {
      throw InputError{std::string(names[i]) + ": Geben Sie bitte eine Zahl von 0 bis unter 60 ein."};
    }
  }
  angle.arcminFraction = pieces.count == 2 && angle.arcmin != static_cast<double>(static_cast<int>(angle.arcmin));
  return angle;
}

// The angle in decimal degrees, as entered.
double Decimal(const Angle& a) {
  const double magnitude = a.degrees + a.arcmin / 60.0 + a.arcsec / 3600.0;
  return a.negative ? -magnitude : magnitude;
}

// The angle as entered and as the model holds it (single precision) both within the range.
void CheckRange(const Angle& a, float whole, const Kind& kind) {
  const float most = a.negative ? -kind.low : kind.high;
  if (!(whole <= most) || !(std::fabs(Decimal(a)) <= most)) {
    throw InputError{std::string(kind.name) + ": " + platform::NumberRangeMessage(kind.low, kind.high)};
  }
}

}  // namespace

Place ReadPlace(std::string_view latitudeText, std::string_view longitudeText) {
  Place place{};
  files::Place& f = place.fields;
  const Angle lat = ReadAngle(latitudeText, kLatitude);
  const float latWhole =
      solar::AngleDegrees(solar::Single(lat.degrees), solar::Single(lat.arcmin), solar::Single(lat.arcsec));
  CheckRange(lat, latWhole, kLatitude);
  // North keeps the fields as the dialog holds them; south is the negation of the whole angle.
  const bool south = lat.negative && latWhole != 0.0f;
  f.latDegrees = south ? -latWhole : solar::Single(lat.degrees);
  f.latArcmin = south ? 0.0f : solar::Single(lat.arcmin);
  f.latArcsec = south ? 0.0f : solar::Single(lat.arcsec);

  const Angle lon = ReadAngle(longitudeText, kLongitude);
  // The dialog holds whole arc minutes of a longitude: a fraction of them goes to the seconds.
  const double arcmin = lon.arcminFraction ? static_cast<double>(static_cast<int>(lon.arcmin)) : lon.arcmin;
  const float arcsec = lon.arcminFraction ? solar::Single((lon.arcmin - arcmin) * 60.0) : solar::Single(lon.arcsec);
  const float lonWhole = solar::AngleDegrees(solar::Single(lon.degrees), solar::Single(arcmin), arcsec);
  CheckRange(lon, lonWhole, kLongitude);
  // East keeps the fields as the dialog holds them; west becomes its east equivalent.
  const bool west = lon.negative && lonWhole != 0.0f;
  f.lonDegrees = west ? solar::Single(360.0 - lonWhole) : solar::Single(lon.degrees);
  f.lonArcmin = west ? 0 : static_cast<int>(arcmin);
  f.lonArcsec = west ? 0.0f : arcsec;

  place = PlaceOfFields(f);
  place.shownLatitude = Decimal(lat);
  place.shownLongitude = Decimal(lon) > 180.0 ? Decimal(lon) - 360.0 : Decimal(lon);
  return place;
}

Place PlaceOfFields(const files::Place& fields) {
  Place place{};
  place.fields = fields;
  place.latitude = solar::AngleDegrees(fields.latDegrees, fields.latArcmin, fields.latArcsec);
  place.longitude = solar::AngleDegrees(fields.lonDegrees, static_cast<float>(fields.lonArcmin), fields.lonArcsec);
  place.shownLatitude = place.latitude;
  place.shownLongitude = place.longitude > 180.0f ? place.longitude - 360.0 : place.longitude;
  return place;
}

float ReadHeight(std::string_view text) {
  text = WithoutBlanks(text);
  const bool negative = text.starts_with('-');
  if (negative || text.starts_with('+')) text.remove_prefix(1);
  const std::optional<double> read = ReadDecimal(text);
  if (!read) throw InputError{"Höhe: " + platform::NumberExpectedMessage()};
  const double height = negative ? -*read : *read;
  if (!(height >= -90.0 && height <= 90.0)) {
    throw InputError{"Höhe: " + platform::NumberRangeMessage(-90.0f, 90.0f)};
  }
  return static_cast<float>(height);
}

files::Place StoredPlace(const Place& place) {
  files::Place stored = place.fields;
  if (stored.lonDegrees > 359.0f) {  // the degrees field ends at 359: the rest in minutes and seconds
    // from the longitude as entered, which single precision would blur by a tenth of a second
    const double longitude = place.shownLongitude < 0.0 ? place.shownLongitude + 360.0 : place.shownLongitude;
    const double minutes = longitude >= 360.0 ? 0.0 : (longitude - 359.0) * 60.0;
    stored.lonDegrees = longitude >= 360.0 ? 0.0f : 359.0f;
    stored.lonArcmin = solar::TruncToInt(minutes);
    stored.lonArcsec = solar::Single((minutes - stored.lonArcmin) * 60.0);
  }
  // The file holds what the dialog's fields take, and `place show` reads only that.
  const struct {
    const char* name;
    float value, low, high;
  } fields[] = {{"Breite (Grad)", stored.latDegrees, -89, 89},
                {"Breite (Arcmin)", stored.latArcmin, 0, 59},
                {"Breite (Arcsec)", stored.latArcsec, 0, 59},
                {"Länge (Grad)", stored.lonDegrees, 0, 359},
                {"Länge (Arcmin)", static_cast<float>(stored.lonArcmin), 0, 59},
                {"Länge (Arcsec)", stored.lonArcsec, 0, 59}};
  for (const auto& field : fields) {
    if (!(field.value >= field.low && field.value <= field.high)) {
      throw InputError{std::string(field.name) + ": " + platform::NumberRangeMessage(field.low, field.high)};
    }
  }
  return stored;
}

}  // namespace cli
