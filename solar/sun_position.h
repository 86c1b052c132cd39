#pragma once

#include "solar/types.h"

namespace solar {

// Modified Julian day number of the date at 0 h (2000-01-01 gives 51544). Every year divisible
// by four counts as a leap year and the day is not checked against the month.
int DayNumber(int year, int month, float day);

// Clock hours that enter the formulas: one hour before the entered clock time.
float ClockHours(int hour, int minute, int second);

// Degrees plus arc minutes plus arc seconds, whatever the sign of the degrees.
float AngleDegrees(float degrees, float arcmin, float arcsec);

// Azimuth in degrees of the horizontal direction x (toward north), y (toward east): above 0 and
// at most 360, due north giving 360.
float AzimuthFromDirection(double x, float y);

// Position of the sun for the entered moment (the main dialog's rounding).
SunPosition ComputeSunPosition(int dayNumber, float clockHours, float latitude, float longitude);

// Where the three callers of the position round to single precision.
enum class Rounding {
  kMoment,      // the entered moment
  kDayScan,     // the day scan: n rounded, the mean longitude from the unrounded difference
  kYearSeries,  // the year series: as the moment, with obliquity and latitude also rounded
};

SunPosition ComputeSunPosition(int dayNumber, float clockHours, float latitude, float longitude,
                               Rounding rounding);

// The quantities of one position computation in the order in which they arise (angles in
// degrees unless named radians), for checking the steps one by one.
struct PositionSteps {
  float d;                       // day number with the fraction of the day
  double n;                      // days since J2000.0
  float g;                       // reduced mean anomaly, radians
  double meanLongitude;          // reduced
  double eclipticLongitude;      // radians
  double obliquity;              // radians
  double declination;            // radians
  double rightAscension;         // radians
  double siderealTime;           // Greenwich, degrees
  double hourAngle;              // Greenwich, degrees
  double tau;                    // local hour angle, radians
  SunPosition position;
};

PositionSteps ComputePositionSteps(int dayNumber, float clockHours, float latitude,
                                   float longitude, Rounding rounding);

}  // namespace solar
