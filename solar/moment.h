#pragma once

#include "solar/day_events.h"
#include "solar/sun_position.h"
#include "solar/types.h"

namespace solar {

// Instants are whole seconds since 1970-01-01T00:00:00Z on the true (Gregorian) calendar. The
// model's clock runs one hour ahead of universal time all year.
inline constexpr long long kModelClockOffset = 3600;
inline constexpr long long kSecondsPerDay = 86400;

// An instant on the model's clock: the day number (modified Julian day of the date) and the
// clock time. From March 1900 to February 2100 the day number is DayNumber's for the same date;
// outside those months it is the true one, where DayNumber takes 1900 and 2100 as leap years.
struct ModelTime {
  int dayNumber;
  int hour, minute, second;
};
ModelTime ModelTimeAt(long long instant);

// The sun at an instant and a place (degrees north, degrees east), as the dialog computes it for
// the same clock time and day number.
SunPosition SunPositionAt(long long instant, float latitude, float longitude);
// The same with every step of its computation (declination, right ascension, hour angle, ...).
PositionSteps PositionStepsAt(long long instant, float latitude, float longitude);

// `minutes` minutes at a place, the first at the instant `first`, in the day scan's rounding.
MinuteScan MinuteScanFrom(long long first, int minutes, float latitude, float longitude);

}  // namespace solar
