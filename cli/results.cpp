#include "cli/results.h"

#include <cstdio>

#include "platform/field_text.h"
#include "solar/solar.h"

namespace cli {

using platform::FormatFloatField;

std::string PlaceText(float degrees, float arcmin, float arcsec) {
  return FormatFloatField(degrees) + ":" + FormatFloatField(arcmin) + ":" + FormatFloatField(arcsec);
}

std::string DateText(const solar::ObservationFields& f) {
  return std::to_string(f.year) + "-" + (f.month < 10 ? "0" : "") + std::to_string(f.month) + "-" +
         (f.day < 10 ? "0" : "") + FormatFloatField(f.day);
}

std::string ClockOfMinute(int minute) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d:%02d", (minute / 60) % 100, minute % 60);
  return text;
}

std::string TimeText(const solar::ObservationFields& f) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", f.hour, f.minute, f.second);
  return text;
}

Record PositionRecord(const solar::ObservationFields& f) {
  const solar::SunPosition p = solar::ComputeSunPosition(
      solar::DayNumberOf(f), solar::ClockHoursOf(f), solar::LatitudeOf(f), solar::LongitudeOf(f));
  return Record{
      {"datum", "Datum", DateText(f), false},
      {"zeit", "Uhrzeit", TimeText(f), false},
      {"breite", "Breite", PlaceText(f.latDegrees, f.latArcmin, f.latArcsec), false},
      {"laenge", "Länge", PlaceText(f.lonDegrees, static_cast<float>(f.lonArcmin), f.lonArcsec), false},
      {"azimut", "Azimut", FormatFloatField(p.azimuth), true},
      {"hoehe", "Höhe", FormatFloatField(p.height), true},
  };
}

}  // namespace cli
