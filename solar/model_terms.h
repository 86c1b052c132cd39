#pragma once

// The model's formulas for the moment and the sun's coordinates, term by term: shared by its
// computation (sun_position.h) and by the estimate of its heights (height_estimate.h).

#include "solar/constants.h"
#include "solar/numeric.h"

namespace solar {

inline constexpr double kJ2000 = 51544.5;      // modified Julian day of J2000.0
inline constexpr double kEpoch1950 = 33282.0;  // that of 1950-01-01 0 h

// Where the three callers of the position round to single precision.
enum class Rounding {
  kMoment,      // the entered moment
  kDayScan,     // the day scan: n rounded, the mean longitude from the unrounded difference
  kYearSeries,  // the year series: as the moment, with obliquity and latitude also rounded
};

// Clock hours that enter the formulas: one hour before the entered clock time.
inline float ClockHours(int hour, int minute, int second) {
  const float secondsTerm = Single(second * static_cast<double>(kPerSecond));
  return Single((hour - 1.0) + minute * static_cast<double>(kPerMinute) + secondsTerm);
}

// value − 360·trunc(value/360) (degrees): removes whole turns, keeping the sign of the value.
inline double ReduceTurns(double value) {
  const long long turns = TruncToInt(value * kPerTurn);
  return value - static_cast<double>(360LL * turns);
}

// The terms of the computation, in the order in which they arise (n the single-precision days
// since J2000.0 and nLongitude those the mean longitude takes), each as the computation forms it:
// the unrounded days since J2000.0; the reduced mean anomaly, rounded to single precision; the obliquity; the reduced
// mean longitude; the ecliptic longitude; Greenwich sidereal time for the day number d with the fraction of the day and
// the clock hours; Greenwich hour angle from it and the right ascension (radians), moved into [0, 360] by at most a
// turn.
inline double DaysSince2000(int dayNumber, float clockHours) {
  return dayNumber + static_cast<double>(clockHours) * kPerHour - kJ2000;
}

inline float MeanAnomalyRadians(double n) { return Single(ReduceTurns(357.528 + 0.9856003 * n) * kDegToRad); }

inline double ObliquityRadians(double n) { return (23.439 - 0.0000004 * n) * kDegToRad; }

inline double MeanLongitudeDegrees(double nLongitude) { return ReduceTurns(280.46 + 0.9856474 * nLongitude); }

inline double EclipticLongitudeRadians(double meanLongitude, double sinG, double sinTwoG) {
  return (meanLongitude + 1.915 * sinG + 0.02 * sinTwoG) * kDegToRad;
}

inline double SiderealDegrees(float d, double clockHours) {
  return 100.07554 + 0.985647348 * (d - clockHours * kPerHour - kEpoch1950) + 15.04107 * clockHours;
}

inline double HourAngleDegrees(double siderealTime, double rightAscension) {
  double hourAngle = ReduceTurns(siderealTime) - rightAscension * kRadToDeg;
  if (hourAngle < 0.0) hourAngle += 360.0f;
  if (hourAngle > 360.0) hourAngle -= 360.0f;
  return hourAngle;
}

// The single-precision day numbers of a moment, d and n: while both stay the same, the day scan's
// height follows the moment smoothly (one top, no steps).
struct RoundedDays {
  float d;
  double n;
  bool operator==(const RoundedDays&) const = default;
};

inline RoundedDays DaysOf(int dayNumber, float clockHours, Rounding rounding) {
  const double dayAndFraction = dayNumber + static_cast<double>(clockHours) * kPerHour;
  const float d = Single(dayAndFraction);
  // n serves the anomaly and the obliquity; the day scan rounds it from the unrounded difference.
  return RoundedDays{d, rounding == Rounding::kDayScan ? Single(dayAndFraction - kJ2000) : d - kJ2000};
}

}  // namespace solar
