#pragma once

#include "solar/model_terms.h"
#include "solar/types.h"

namespace solar {

// Modified Julian day number of the date at 0 h (2000-01-01 gives 51544). Every year divisible
// by four counts as a leap year and the day is not checked against the month.
int DayNumber(int year, int month, float day);

// Degrees plus arc minutes plus arc seconds, whatever the sign of the degrees.
float AngleDegrees(float degrees, float arcmin, float arcsec);

// Azimuth in degrees of the horizontal direction x (toward north), y (toward east): above 0 and
// at most 360, due north giving 360.
float AzimuthFromDirection(double x, float y);

// Position of the sun for the entered moment (the main dialog's rounding).
SunPosition ComputeSunPosition(int dayNumber, float clockHours, float latitude, float longitude);

SunPosition ComputeSunPosition(int dayNumber, float clockHours, float latitude, float longitude, Rounding rounding);

// The quantities of one position computation in the order in which they arise (angles in
// degrees unless named radians), for checking the steps one by one.
struct PositionSteps {
  float d;                   // day number with the fraction of the day
  double n;                  // days since J2000.0
  float g;                   // reduced mean anomaly, radians
  double meanLongitude;      // reduced
  double eclipticLongitude;  // radians
  double obliquity;          // radians
  double declination;        // radians
  double rightAscension;     // radians
  double siderealTime;       // Greenwich, degrees
  double hourAngle;          // Greenwich, degrees
  double tau;                // local hour angle, radians
  double heightSine;         // the sine of the height, whose arcsine is
  double heightRadians;      // the height before its rounding to single precision
  SunPosition position;
};

// The height in degrees from its arcsine in radians, rounded as the model rounds it: it never
// falls as the arcsine rises.
float HeightDegrees(double heightRadians);
// The least arcsine whose height rounds to `height` or more: the midpoint between two
// single-precision arcsines, which rounds either way.
double LeastRadians(float height);

PositionSteps ComputePositionSteps(int dayNumber, float clockHours, float latitude, float longitude, Rounding rounding);

// Positions at one place for many moments in a row. Except in the day scan's rounding, the
// sun's coordinates depend on the single-precision day number d alone; they are computed once
// for each d, which gives the same bits as computing them every time.
class SunTracker {
 public:
  SunTracker(float latitude, float longitude, Rounding rounding);
  // withAzimuth false leaves the azimuth 0 and saves its computation; the height is the same.
  PositionSteps Steps(int dayNumber, float clockHours, bool withAzimuth = true);
  SunPosition At(int dayNumber, float clockHours) { return Steps(dayNumber, clockHours).position; }

 private:
  // The sun's coordinates after the low-precision formulas of the Astronomical Almanac (section C,
  // "Low precision formulas for the Sun", good to 0.01 degrees from 1950 to 2050): mean anomaly
  // g = 357.528 + 0.9856003 n and mean longitude L = 280.46 + 0.9856474 n, ecliptic longitude
  // L + 1.915 sin g + 0.020 sin 2g, obliquity 23.439 - 0.0000004 n, then declination and right
  // ascension; n is the days since J2000.0.
  struct Coordinates {
    float g;
    double meanLongitude, eclipticLongitude, obliquity, declination, rightAscension;
    double sinDeclination, cosDeclination;
  };
  // What of them depends on n alone: the mean anomaly with its sines, the obliquity with its.
  struct Anomaly {
    float g;
    double sinG, sinTwoG, obliquity, sinObliquity, cosObliquity;
  };
  Anomaly ComputeAnomaly(double n) const;
  Coordinates ComputeCoordinates(const Anomaly& anomaly, double nLongitude) const;

  float m_longitude;
  Rounding m_rounding;
  double m_phi, m_sinPhi, m_cosPhi;
  bool m_haveKnown = false;
  float m_knownD = 0.0f;
  Coordinates m_known{};  // those of the day number m_knownD
  bool m_haveAnomaly = false;
  double m_anomalyN = 0.0;
  Anomaly m_anomaly{};  // that of m_anomalyN
};

}  // namespace solar
