#include "cli/input.h"


#include "core/field_rules.h"
#include "platform/field_text.h"
#include "res/ids.h"

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

// Reads one part into the member of the control, as the dialog reads that field.
void ReadField(int control, const char* name, std::string_view text, solar::ObservationFields& f) {
  const core::FieldRule& rule = *core::RuleOf(control);
  const std::string field = platform::FirstCharacters(text, platform::kMaxFieldCharacters);
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

void ReadLatitude(std::string_view text, solar::ObservationFields& f) {
  f.latArcmin = f.latArcsec = 0.0f;
  ReadParts(text, ':', "Breite", "GRAD:ARCMIN:ARCSEC",
            {{res::IDC_LAT_DEGREES, "Breite (Grad)"},
             {res::IDC_LAT_ARCMIN, "Breite (Arcmin)"},
             {res::IDC_LAT_ARCSEC, "Breite (Arcsec)"}},
            1, f);
}

void ReadLongitude(std::string_view text, solar::ObservationFields& f) {
  f.lonArcmin = 0;
  f.lonArcsec = 0.0f;
  ReadParts(text, ':', "Länge", "GRAD:ARCMIN:ARCSEC",
            {{res::IDC_LON_DEGREES, "Länge (Grad)"},
             {res::IDC_LON_ARCMIN, "Länge (Arcmin)"},
             {res::IDC_LON_ARCSEC, "Länge (Arcsec)"}},
            1, f);
}

}  // namespace cli
