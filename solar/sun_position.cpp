#include "solar/sun_position.h"

#include <cmath>

#include "solar/clean_registers.h"
#include "solar/constants.h"
#include "solar/numeric.h"

namespace solar {

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
  const long long n = 367 * y + TruncToInt(day) + (275 * m) / 9 - (7 * (y + (m + 9) / 12)) / 4 - 678987;
  return WrapToInt(n);
}

float AngleDegrees(float degrees, float arcmin, float arcsec) {
  return Single(degrees + (arcmin * static_cast<double>(kPerMinute) + arcsec * static_cast<double>(kPerSecond)));
}

SunPosition ComputeSunPosition(int dayNumber, float clockHours, float latitude, float longitude) {
  return ComputeSunPosition(dayNumber, clockHours, latitude, longitude, Rounding::kMoment);
}

SunPosition ComputeSunPosition(int dayNumber, float clockHours, float latitude, float longitude, Rounding rounding) {
  return SunTracker(latitude, longitude, rounding).Steps(dayNumber, clockHours).position;
}

PositionSteps ComputePositionSteps(int dayNumber, float clockHours, float latitude, float longitude,
                                   Rounding rounding) {
  return SunTracker(latitude, longitude, rounding).Steps(dayNumber, clockHours);
}

SunTracker::SunTracker(float latitude, float longitude, Rounding rounding)
    : m_longitude(longitude), m_rounding(rounding) {
  ClearUpperRegisters();  // every computation makes a tracker first
  m_phi = latitude * static_cast<double>(kDegToRad);
  if (rounding == Rounding::kYearSeries) m_phi = Single(m_phi);
  m_sinPhi = std::sin(m_phi);
  m_cosPhi = std::cos(m_phi);
}

SunTracker::Anomaly SunTracker::ComputeAnomaly(double n) const {
  Anomaly a{};
  a.g = MeanAnomalyRadians(n);
  const double g = a.g;
  a.sinG = std::sin(g);
  a.sinTwoG = std::sin(g + g);
  a.obliquity = ObliquityRadians(n);
  if (m_rounding == Rounding::kYearSeries) a.obliquity = Single(a.obliquity);
  a.sinObliquity = std::sin(a.obliquity);
  a.cosObliquity = std::cos(a.obliquity);
  return a;
}

SunTracker::Coordinates SunTracker::ComputeCoordinates(const Anomaly& a, double nLongitude) const {
  Coordinates c{};
  c.g = a.g;
  c.meanLongitude = MeanLongitudeDegrees(nLongitude);
  c.eclipticLongitude = EclipticLongitudeRadians(c.meanLongitude, a.sinG, a.sinTwoG);
  c.obliquity = a.obliquity;
  c.declination = std::asin(std::sin(c.eclipticLongitude) * a.sinObliquity);
  c.sinDeclination = std::sin(c.declination);
  c.cosDeclination = std::cos(c.declination);
  c.rightAscension = 2.0 * std::atan(a.cosObliquity * std::sin(c.eclipticLongitude) /
                                     (std::cos(c.eclipticLongitude) + c.cosDeclination));
  return c;
}

float HeightDegrees(double heightRadians) { return Single(Single(heightRadians) * static_cast<double>(kRadToDeg)); }

double LeastRadians(float height) {
  float below = static_cast<float>(height / static_cast<double>(kRadToDeg));
  for (int step = 0; step < 64 && HeightDegrees(below) >= height; ++step) below = std::nextafter(below, -4.0f);
  for (int step = 0; step < 64 && HeightDegrees(std::nextafter(below, 4.0f)) < height; ++step)
    below = std::nextafter(below, 4.0f);
  return 0.5 * (static_cast<double>(below) + static_cast<double>(std::nextafter(below, 4.0f)));
}

PositionSteps SunTracker::Steps(int dayNumber, float clockHours, bool withAzimuth) {
  PositionSteps s{};
  const double t = clockHours;
  const RoundedDays days = DaysOf(dayNumber, clockHours, m_rounding);
  s.d = days.d;
  s.n = days.n;
  // The day scan forms the mean longitude unrounded.
  const double nLongitude = m_rounding == Rounding::kDayScan ? DaysSince2000(dayNumber, clockHours) : s.n;

  // Apart from the day scan, the sun's coordinates depend on d alone, which stays the same for several
  // minutes in a row: they are computed once for each d.
  // In the day scan only the mean anomaly and the obliquity stay with n, which holds for some
  // seconds in a row.
  if (m_rounding == Rounding::kDayScan) {
    if (!m_haveAnomaly || s.n != m_anomalyN) {
      m_anomaly = ComputeAnomaly(s.n);
      m_anomalyN = s.n;
      m_haveAnomaly = true;
    }
    m_known = ComputeCoordinates(m_anomaly, nLongitude);
  } else if (!m_haveKnown || s.d != m_knownD) {
    m_known = ComputeCoordinates(ComputeAnomaly(s.n), nLongitude);
    m_knownD = s.d;
    m_haveKnown = true;
  }
  const Coordinates& c = m_known;
  s.g = c.g;
  s.meanLongitude = c.meanLongitude;
  s.eclipticLongitude = c.eclipticLongitude;
  s.obliquity = c.obliquity;
  s.declination = c.declination;
  s.rightAscension = c.rightAscension;

  s.siderealTime = SiderealDegrees(s.d, t);
  s.hourAngle = HourAngleDegrees(s.siderealTime, s.rightAscension);
  s.tau = (s.hourAngle + m_longitude) * kDegToRad;

  const double cosTau = std::cos(s.tau);
  s.heightSine = c.sinDeclination * m_sinPhi + c.cosDeclination * m_cosPhi * cosTau;
  s.heightRadians = std::asin(s.heightSine);
  s.position.height = HeightDegrees(s.heightRadians);
  if (withAzimuth) {
    const float y = Single(-std::sin(s.tau));
    const double x = std::tan(s.declination) * m_cosPhi - m_sinPhi * cosTau;
    s.position.azimuth = AzimuthFromDirection(x, y);
  }
  return s;
}

}  // namespace solar
