#include "solar/sun_position.h"

#include <cmath>

#include "solar/constants.h"
#include "solar/numeric.h"

namespace solar {

namespace {

constexpr double kJ2000 = 51544.5;
constexpr double kEpoch1950 = 33282.0;

// value − 360·trunc(value/360): removes whole turns, keeping the sign of the value.
double ReduceTurns(double value) {
  const long long turns = TruncToInt(value * kPerTurn);
  return value - static_cast<double>(360LL * turns);
}

}  // namespace

float AzimuthFromDirection(double x, float y) {
  const float r = Single(std::sqrt(x * x + static_cast<double>(y) * y));
  double q = static_cast<double>(Single(x)) / r;
  if (!(q <= 1.0)) q = 1.0;  // also the zenith and nadir, where q is 0/0: due north
  if (q < -1.0) q = -1.0;
  double a = y > 0.0f ? std::acos(q) : -std::acos(q);
  if (a <= 0.0) a += kFullTurnRad;
  return Single(a * kRadToDeg);
}

int DayNumber(int year, int month, float day) {
  const long long y = year;
  const long long m = month;
  const long long n = 367 * y + TruncToInt(day) + (275 * m) / 9 - (7 * (y + (m + 9) / 12)) / 4 -
                      678987;
  return WrapToInt(n);
}

float ClockHours(int hour, int minute, int second) {
  const float secondsTerm = Single(second * static_cast<double>(kPerSecond));
  return Single((hour - 1.0) + minute * static_cast<double>(kPerMinute) + secondsTerm);
}

float AngleDegrees(float degrees, float arcmin, float arcsec) {
  return Single(degrees + (arcmin * static_cast<double>(kPerMinute) +
                           arcsec * static_cast<double>(kPerSecond)));
}

SunPosition ComputeSunPosition(int dayNumber, float clockHours, float latitude, float longitude) {
  return ComputeSunPosition(dayNumber, clockHours, latitude, longitude, Rounding::kMoment);
}

SunPosition ComputeSunPosition(int dayNumber, float clockHours, float latitude, float longitude,
                               Rounding rounding) {
  return ComputePositionSteps(dayNumber, clockHours, latitude, longitude, rounding).position;
}

PositionSteps ComputePositionSteps(int dayNumber, float clockHours, float latitude,
                                   float longitude, Rounding rounding) {
  PositionSteps s{};
  const double t = clockHours;
  const double dayAndFraction = dayNumber + t * kPerHour;
  s.d = Single(dayAndFraction);

  // n serves the anomaly and the obliquity; the day scan forms the mean longitude unrounded.
  s.n = s.d - kJ2000;
  double nLongitude = s.n;
  if (rounding == Rounding::kDayScan) {
    nLongitude = dayAndFraction - kJ2000;
    s.n = Single(nLongitude);
  }

  const double meanAnomaly = ReduceTurns(357.528 + 0.9856003 * s.n);
  s.g = Single(meanAnomaly * kDegToRad);
  const double g = s.g;
  s.meanLongitude = ReduceTurns(280.46 + 0.9856474 * nLongitude);
  s.eclipticLongitude =
      (s.meanLongitude + 1.915 * std::sin(g) + 0.02 * std::sin(g + g)) * kDegToRad;

  s.obliquity = (23.439 - 0.0000004 * s.n) * kDegToRad;
  if (rounding == Rounding::kYearSeries) s.obliquity = Single(s.obliquity);

  s.declination = std::asin(std::sin(s.eclipticLongitude) * std::sin(s.obliquity));
  s.rightAscension = 2.0 * std::atan(std::cos(s.obliquity) * std::sin(s.eclipticLongitude) /
                                     (std::cos(s.eclipticLongitude) + std::cos(s.declination)));

  s.siderealTime =
      100.07554 + 0.985647348 * (s.d - t * kPerHour - kEpoch1950) + 15.04107 * t;
  s.hourAngle = ReduceTurns(s.siderealTime) - s.rightAscension * kRadToDeg;
  if (s.hourAngle < 0.0) s.hourAngle += 360.0f;
  if (s.hourAngle > 360.0) s.hourAngle -= 360.0f;

  s.tau = (s.hourAngle + longitude) * kDegToRad;
  double phi = latitude * static_cast<double>(kDegToRad);
  if (rounding == Rounding::kYearSeries) phi = Single(phi);

  const double sinDec = std::sin(s.declination);
  const double cosDec = std::cos(s.declination);
  const float h = Single(std::asin(sinDec * std::sin(phi) + cosDec * std::cos(phi) * std::cos(s.tau)));
  const float y = Single(-std::sin(s.tau));
  const double x = std::tan(s.declination) * std::cos(phi) - std::sin(phi) * std::cos(s.tau);
  s.position = SunPosition{AzimuthFromDirection(x, y), Single(h * static_cast<double>(kRadToDeg))};
  return s;
}

}  // namespace solar
