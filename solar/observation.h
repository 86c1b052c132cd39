#pragma once

#include "solar/day_scan.h"
#include "solar/sun_position.h"
#include "solar/types.h"

namespace solar {

// The place and moment of the main dialog's fields, formed as the computations take them.
inline float LatitudeOf(const ObservationFields& f) {
  return AngleDegrees(f.latDegrees, f.latArcmin, f.latArcsec);
}
inline float LongitudeOf(const ObservationFields& f) {
  return AngleDegrees(f.lonDegrees, static_cast<float>(f.lonArcmin), f.lonArcsec);
}
inline int DayNumberOf(const ObservationFields& f) { return DayNumber(f.year, f.month, f.day); }
inline float ClockHoursOf(const ObservationFields& f) {
  return ClockHours(f.hour, f.minute, f.second);
}

// The sun at the fields' moment and place, as the main dialog computes it.
inline SunPosition SunPositionOf(const ObservationFields& f) {
  return ComputeSunPosition(DayNumberOf(f), ClockHoursOf(f), LatitudeOf(f), LongitudeOf(f));
}

// The day scan of the fields' date and place, shifted by their seconds.
inline void ScanDayOf(const ObservationFields& f, DayTrack& track) {
  ScanDay(DayNumberOf(f), f.second, LatitudeOf(f), LongitudeOf(f), track);
}

}  // namespace solar
