#include "cli/input.h"

#include <cctype>
#include <charconv>
#include <optional>

#include "core/field_rules.h"
#include "platform/field_text.h"
#include "res/ids.h"
#include "solar/numeric.h"
#include "solar/observation.h"
#include "solar/sun_position.h"

namespace cli {

namespace {

// At most three parts, and how many there were.
struct Pieces {
  std::string_view part[3];
  size_t count = 0;
};

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

// Plain digits (at most nine), as most entries are: read directly, as the field rules would.
std::optional<int> PlainDigits(std::string_view text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

// A plain decimal number "digits[.digits]" (at most 31 characters): what the field rules read
// for it, found directly; anything else is left to them.
std::optional<double> PlainDecimal(std::string_view text) {
  if (text.empty() || text.size() > static_cast<size_t>(platform::kMaxFieldCharacters)) return std::nullopt;
  const size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  if (whole.empty() || whole.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
  if (point != std::string_view::npos) {
    const std::string_view fraction = text.substr(point + 1);
    if (fraction.empty() || fraction.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
  }
  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// Reads one part into the member of the control, as the dialog reads that field.
void ReadField(int control, const char* name, std::string_view text, solar::ObservationFields& f) {
  const core::FieldRule& rule = *core::RuleOf(control);
  if (const std::optional<int> plain = PlainDigits(text)) {  // within the range, as checked below
    if (auto member = std::get_if<int solar::ObservationFields::*>(&rule.member)) {
      if (!rule.checked || (static_cast<int>(rule.minimum) <= *plain && *plain <= static_cast<int>(rule.maximum))) {
        f.*(*member) = *plain;
        return;
      }
    } else if (auto floatMember = std::get_if<float solar::ObservationFields::*>(&rule.member)) {
      const float value = static_cast<float>(*plain);
      if (!rule.checked || (static_cast<float>(rule.minimum) <= value && value <= static_cast<float>(rule.maximum))) {
        f.*(*floatMember) = value;
        return;
      }
    }
  }
  // A field holds its first 31 characters; a shorter text is the field as it stands.
  std::string longText;
  std::string_view field = text;
  if (text.size() > static_cast<size_t>(platform::kMaxFieldCharacters)) {
    longText = platform::FirstCharacters(text, platform::kMaxFieldCharacters);
    field = longText;
  }
  const auto fail = [&](const std::string& message) {
    throw InputError{std::string(name) + ": " + message};
  };
  if (auto member = std::get_if<float solar::ObservationFields::*>(&rule.member)) {
    const std::optional<double> read = platform::ParseFloatField(field);
    if (!read) fail(platform::NumberExpectedMessage());
    const float value = static_cast<float>(*read);
    const float low = static_cast<float>(rule.minimum), high = static_cast<float>(rule.maximum);
    if (rule.checked && !(low <= value && value <= high)) fail(platform::NumberRangeMessage(low, high));
    f.*(*member) = value;
  } else {
    const std::optional<int> read = platform::ParseIntField(field);
    if (!read) fail(platform::IntExpectedMessage());
    const int low = static_cast<int>(rule.minimum), high = static_cast<int>(rule.maximum);
    if (rule.checked && !(low <= *read && *read <= high)) fail(platform::IntRangeMessage(low, high));
    f.*std::get<int solar::ObservationFields::*>(rule.member) = *read;
  }
}

struct Part {
  int control;
  const char* name;
};

// Reads "a<sep>b<sep>c" into up to three fields; fewer parts than `required` is wrong.
void ReadParts(std::string_view text, char separator, const char* what, const char* form,
               std::initializer_list<Part> parts, size_t required, solar::ObservationFields& f) {
  const Pieces pieces = Split(text, separator);
  if (pieces.count < required || pieces.count > parts.size()) {
    throw InputError{std::string(what) + ": erwartet " + form + ", nicht \"" + std::string(text) +
                     "\"."};
  }
  size_t i = 0;
  for (const Part& part : parts) {
    if (i < pieces.count) ReadField(part.control, part.name, pieces.part[i], f);
    ++i;
  }
}

}  // namespace

float ReadHeight(std::string_view text) {
  const std::optional<double> read =
      platform::ParseFloatField(platform::FirstCharacters(text, platform::kMaxFieldCharacters));
  if (!read) throw InputError{"Höhe: " + platform::NumberExpectedMessage()};
  if (!(-90.0 <= *read && *read <= 90.0)) {
    throw InputError{"Höhe: " + platform::NumberRangeMessage(-90.0f, 90.0f)};
  }
  return static_cast<float>(*read);
}

solar::ObservationFields StartFields() {
  solar::ObservationFields f{};
  f.day = 1.0f;
  f.month = 1;
  f.year = 2000;
  f.latDegrees = 51.0f;
  f.lonDegrees = 7.0f;
  return f;
}

void ReadDate(std::string_view text, solar::ObservationFields& f) {
  ReadParts(text, '-', "Datum", "JJJJ-MM-TT",
            {{res::IDC_YEAR, "Jahr"}, {res::IDC_MONTH, "Monat"}, {res::IDC_DAY, "Tag"}}, 3, f);
}

void ReadTime(std::string_view text, solar::ObservationFields& f) {
  f.second = 0;
  ReadParts(text, ':', "Uhrzeit", "HH:MM oder HH:MM:SS",
            {{res::IDC_HOUR, "Stunde"}, {res::IDC_MINUTE, "Minute"}, {res::IDC_SECOND, "Sekunde"}},
            2, f);
}

void ReadYear(std::string_view text, solar::ObservationFields& f) {
  ReadField(res::IDC_YEAR, "Jahr", text, f);
}

void ReadSecond(std::string_view text, solar::ObservationFields& f) {
  ReadField(res::IDC_SECOND, "Sekunde", text, f);
}

namespace {

// One coordinate as people write it: signed decimal degrees, D:M:S with the sign on the whole
// angle, or either with a hemisphere letter instead of the sign.
struct Coordinate {
  bool negative = false;
  std::string_view magnitude;
};

Coordinate SplitSign(std::string_view text, const char* what, char positive, char negative) {
  Coordinate c{false, text};
  if (!text.empty()) {
    const char last = static_cast<char>(std::toupper(static_cast<unsigned char>(text.back())));
    if (last == positive || last == negative) {
      c.negative = last == negative;
      c.magnitude.remove_suffix(1);
      if (c.magnitude.starts_with('-')) {
        throw InputError{std::string(what) + ": entweder ein Minuszeichen oder " + positive + "/" +
                         negative + ", nicht beides."};
      }
    }
  }
  if (c.magnitude.starts_with('-')) {
    c.negative = true;
    c.magnitude.remove_prefix(1);
  }
  return c;
}

// The magnitude of a coordinate as the dialog's three fields hold it, and the whole angle
// formed the dialog's way.
struct Angle {
  float degrees = 0.0f, arcmin = 0.0f, arcsec = 0.0f;
  float whole = 0.0f;
};

// The range a coordinate's message names, and the names of its parts in messages.
struct Range {
  float low, high;
  const char *degrees, *arcmin, *arcsec;
};

// Reads D[:M[:S]]: the degrees a number from 0 to `maximum` (the whole angle too), the arc minutes
// and seconds by the rules of the fields `arcminControl` and `arcsecControl`.
Angle ReadAngle(const Coordinate& c, const char* what, int arcminControl, int arcsecControl,
                float maximum, Range range) {
  const Pieces pieces = Split(c.magnitude, ':');
  if (pieces.count > 3) {
    throw InputError{std::string(what) + ": erwartet GRAD, GRAD:ARCMIN:ARCSEC oder eine Zahl mit " +
                     "Himmelsrichtung, nicht \"" + std::string(c.magnitude) + "\"."};
  }
  std::optional<double> degrees = PlainDecimal(pieces.part[0]);
  if (!degrees) {
    degrees = platform::ParseFloatField(platform::FirstCharacters(pieces.part[0], platform::kMaxFieldCharacters));
  }
  if (!degrees) throw InputError{std::string(range.degrees) + ": " + platform::NumberExpectedMessage()};
  solar::ObservationFields scratch{};
  if (pieces.count > 1) ReadField(arcminControl, range.arcmin, pieces.part[1], scratch);
  if (pieces.count > 2) ReadField(arcsecControl, range.arcsec, pieces.part[2], scratch);
  Angle angle;
  angle.degrees = static_cast<float>(*degrees);
  angle.arcmin = arcminControl == res::IDC_LON_ARCMIN ? static_cast<float>(scratch.lonArcmin) : scratch.latArcmin;
  angle.arcsec = arcsecControl == res::IDC_LON_ARCSEC ? scratch.lonArcsec : scratch.latArcsec;
  angle.whole = solar::AngleDegrees(angle.degrees, angle.arcmin, angle.arcsec);
  if (!(*degrees >= 0.0 && angle.whole <= maximum)) {
    throw InputError{std::string(what) + ": " + platform::NumberRangeMessage(range.low, range.high)};
  }
  return angle;
}

}  // namespace

void ReadLatitude(std::string_view text, solar::ObservationFields& f) {
  const Coordinate c = SplitSign(text, "Breite", 'N', 'S');
  const Angle a = ReadAngle(c, "Breite", res::IDC_LAT_ARCMIN, res::IDC_LAT_ARCSEC, 90.0f,
                            {-90, 90, "Breite (Grad)", "Breite (Arcmin)", "Breite (Arcsec)"});
  // North keeps the fields as the dialog holds them; south is the negation of the whole angle.
  const bool south = c.negative && a.whole != 0.0f;
  f.latDegrees = south ? -a.whole : a.degrees;
  f.latArcmin = south ? 0.0f : a.arcmin;
  f.latArcsec = south ? 0.0f : a.arcsec;
}

void ReadLongitude(std::string_view text, solar::ObservationFields& f) {
  const Coordinate c = SplitSign(text, "Länge", 'E', 'W');
  const Angle a = ReadAngle(c, "Länge", res::IDC_LON_ARCMIN, res::IDC_LON_ARCSEC,
                            c.negative ? 180.0f : 360.0f,
                            {-180, 360, "Länge (Grad)", "Länge (Arcmin)", "Länge (Arcsec)"});
  // East keeps the fields as the dialog holds them; west becomes its east equivalent.
  const bool west = c.negative && a.whole != 0.0f;
  f.lonDegrees = west ? solar::Single(360.0 - a.whole) : a.degrees;
  f.lonArcmin = west ? 0 : static_cast<int>(a.arcmin);
  f.lonArcsec = west ? 0.0f : a.arcsec;
}

solar::ObservationFields StoredPlace(const solar::ObservationFields& f) {
  if (!(f.latDegrees >= -89.0f && f.latDegrees <= 89.0f)) {
    throw InputError{"Breite (Grad): " + platform::NumberRangeMessage(-89.0f, 89.0f)};
  }
  solar::ObservationFields stored = f;
  const double longitude = solar::LongitudeOf(f);
  if (f.lonDegrees > 359.0f) {
    const double minutes = longitude >= 360.0 ? 0.0 : (longitude - 359.0) * 60.0;
    stored.lonDegrees = longitude >= 360.0 ? 0.0f : 359.0f;
    stored.lonArcmin = solar::TruncToInt(minutes);
    stored.lonArcsec = solar::Single((minutes - stored.lonArcmin) * 60.0);
  }
  return stored;
}

}  // namespace cli
