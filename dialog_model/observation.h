#pragma once

#include "solar/day_scan.h"
#include "solar/numeric.h"
#include "solar/sun_position.h"
#include "solar/types.h"
#include "solar/year_series.h"

namespace dialog_model {

// The place and moment of the main dialog's fields, formed as the computations take them.
inline float LatitudeOf(const solar::ObservationFields& f) {
  return solar::AngleDegrees(f.latDegrees, f.latArcmin, f.latArcsec);
}
inline float LongitudeOf(const solar::ObservationFields& f) {
  return solar::AngleDegrees(f.lonDegrees, static_cast<float>(f.lonArcmin), f.lonArcsec);
}
inline int DayNumberOf(const solar::ObservationFields& f) { return solar::DayNumber(f.year, f.month, f.day); }
inline float ClockHoursOf(const solar::ObservationFields& f) { return solar::ClockHours(f.hour, f.minute, f.second); }

// The sun at the fields' moment and place, as the main dialog computes it.
inline solar::SunPosition SunPositionOf(const solar::ObservationFields& f) {
  return solar::ComputeSunPosition(DayNumberOf(f), ClockHoursOf(f), LatitudeOf(f), LongitudeOf(f));
}

// A place in decimal degrees (north and east positive) as the dialog's fields hold it, and so as
// the computations take it: a west longitude as its east equivalent. The tool computes with these
// for a place given in decimal degrees.
inline float ModelLatitude(double degrees) { return solar::Single(degrees) + 0.0f; }
inline float ModelLongitude(double degrees) {
  const float west = solar::Single(-degrees);
  return degrees < 0.0 && west != 0.0f ? solar::Single(360.0 - west) : solar::Single(degrees) + 0.0f;
}

// What the year series is computed for: the fields' year, place and seconds.
inline solar::YearPlace YearPlaceOf(const solar::ObservationFields& f) {
  return solar::YearPlace{f.year, f.second, LatitudeOf(f), LongitudeOf(f)};
}

// The day scan of the fields' date and place, shifted by their seconds.
inline void ScanDayOf(const solar::ObservationFields& f, solar::DayTrack& track) {
  solar::ScanDay(DayNumberOf(f), f.second, LatitudeOf(f), LongitudeOf(f), track);
}

}  // namespace dialog_model
