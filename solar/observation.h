#pragma once

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

}  // namespace solar
