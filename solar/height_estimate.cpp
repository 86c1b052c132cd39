#include "solar/height_estimate.h"

#include <algorithm>
#include <cmath>

#include "solar/constants.h"

namespace solar {

namespace {

using Taylor = HeightEstimate::Taylor;
using SinCos = HeightEstimate::SinCos;

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;
constexpr double kLargestOffset = 0.03;
// The model's degree constants in double: 1 + κ = c1·c2 and δ1 = 2π - 360·c1 are exact.
constexpr double kC1 = kDegToRad, kC2 = kRadToDeg;
constexpr double kKappa = kC1 * kC2 - 1.0;
constexpr double kTurnShort = kTwoPi - 360.0 * kC1;
// How close α may come to ±π and the hour angle to 0 or 360 degrees before the estimate is not
// sure of the model's case: a hundred times the cubic's error in α.
constexpr double kCaseDistance = 1e-6;
// The rounding of the two computations, and the loss of the model's α near ±π (Notes 4).
constexpr double kRoundingError = 1e-12;
constexpr double kAscensionLoss = 1e-12;

// The Taylor polynomial of scale·sin(a + rate·x) at x = 0, from the sine and cosine of a.
Taylor SineSeries(SinCos a, double scale, double rate) {
  Taylor t{};
  const double derivatives[4] = {a.sin, a.cos, -a.sin, -a.cos};
  double factor = scale;
  for (int k = 0; k < HeightEstimate::kTerms; ++k) {
    t[static_cast<size_t>(k)] = derivatives[k % 4] * factor;
    factor *= rate / (k + 1);
  }
  return t;
}

SinCos Of(double angle) { return SinCos{std::sin(angle), std::cos(angle)}; }

Taylor Sum(const Taylor& a, const Taylor& b) {
  Taylor t{};
  for (size_t k = 0; k < t.size(); ++k) t[k] = a[k] + b[k];
  return t;
}

// The polynomial at x, in Estrin's order (short dependency chains).
double Evaluate(const Taylor& t, double x) {
  const double x2 = x * x, x4 = x2 * x2;
  return ((t[0] + t[1] * x) + x2 * (t[2] + t[3] * x)) + x4 * ((t[4] + t[5] * x) + x2 * t[6]);
}

// The sine and cosine of an angle of at most a few turns: reduced by quarter turns (π/2 in a part
// of 33 bits, whose products with the quotient are exact, and the rest), then their Taylor series
// to the 15th and 16th power on [-π/4, π/4] (remainders below 5e-17).
SinCos QuarterTurns(double angle) {
  constexpr double kHalfPi = 1.57079632673412561417e+00, kHalfPiRest = 6.07710050650619224932e-11;
  const long long quarters = static_cast<long long>(angle * (2.0 / kPi) + (angle < 0.0 ? -0.5 : 0.5));
  const double quarter = static_cast<double>(quarters);
  const double x = (angle - quarter * kHalfPi) - quarter * kHalfPiRest, x2 = x * x;
  double sin = 1.0 / 1307674368000.0, cos = 1.0 / 20922789888000.0;
  for (const double k : {6227020800.0, 39916800.0, 362880.0, 5040.0, 120.0, 6.0}) sin = 1.0 / k - x2 * sin;
  for (const double k : {87178291200.0, 479001600.0, 3628800.0, 40320.0, 720.0, 24.0, 2.0}) cos = 1.0 / k - x2 * cos;
  sin = x * (1.0 - x2 * sin);
  cos = 1.0 - x2 * cos;
  switch (quarters & 3) {
    case 0:
      return SinCos{sin, cos};
    case 1:
      return SinCos{cos, -sin};
    case 2:
      return SinCos{-sin, -cos};
    default:
      return SinCos{-cos, sin};
  }
}

// The offset of an angle from the middle's, by whole turns into [-π, π].
double Offset(double angle, double middle) {
  double offset = angle - middle;
  if (offset > kPi) offset -= kTwoPi;
  if (offset < -kPi) offset += kTwoPi;
  return offset;
}

}  // namespace

HeightEstimate::HeightEstimate(const MinuteScan& scan) : m_scan(scan) {
  const double phi = scan.latitude * kC1;
  m_sinPhi = std::sin(phi);
  m_cosPhi = std::cos(phi);
  const ScanTime t = TimeAfter(scan, 30LL * std::max(scan.minutes - 1, 0));
  const RoundedDays days = DaysOf(t.dayNumber, t.clockHours, Rounding::kDayScan);
  m_g = MeanAnomalyRadians(days.n);
  const SinCos g = Of(m_g), twoG = Of(m_g + m_g);
  m_centre = Sum(SineSeries(g, 1.915, 1.0), SineSeries(twoG, 0.02, 2.0));
  m_obliquity = ObliquityRadians(days.n);
  const SinCos eps = Of(m_obliquity);
  m_sinEps = eps.sin;
  m_cosEps = eps.cos;
  m_lambda = EclipticLongitudeRadians(MeanLongitudeDegrees(DaysSince2000(t.dayNumber, t.clockHours)), g.sin, twoG.sin);
  const SinCos l = Of(m_lambda);
  m_sinLambda = SineSeries(l, 1.0, 1.0);
  m_cosLambda = SineSeries(SinCos{l.cos, -l.sin}, 1.0, 1.0);  // cos λ = sin(λ + π/2)
  // α(λ) = atan2(cos ε sin λ, cos λ): α' = cos ε / D with D = 1 - sin²ε sin²λ, and on.
  const double s2 = eps.sin * eps.sin, d = 1.0 - s2 * l.sin * l.sin;
  const double sin2L = 2.0 * l.sin * l.cos, cos2L = l.cos * l.cos - l.sin * l.sin;
  m_alpha = {std::atan2(eps.cos * l.sin, l.cos), eps.cos / d, eps.cos * s2 * sin2L / (d * d) / 2.0,
             eps.cos * s2 * (2.0 * cos2L / (d * d) + 2.0 * s2 * sin2L * sin2L / (d * d * d)) / 6.0};
}

const HeightEstimate::Anomaly& HeightEstimate::AnomalyOf(double n) {
  if (m_anomaly.n == n) return m_anomaly;
  const double g = Offset(MeanAnomalyRadians(n), m_g), o = ObliquityRadians(n) - m_obliquity;
  m_anomaly = Anomaly{n, Evaluate(m_centre, g), m_sinEps + o * (m_cosEps - 0.5 * o * m_sinEps),
                      m_cosEps - o * (m_sinEps + 0.5 * o * m_cosEps), std::fabs(g) < kLargestOffset};
  return m_anomaly;
}

HeightEstimate::Terms HeightEstimate::TermsAt(long long second) {
  const ScanTime t = TimeAfter(m_scan, second);
  const RoundedDays days = DaysOf(t.dayNumber, t.clockHours, Rounding::kDayScan);
  Terms terms{};
  terms.hourAngleReduced = ReduceTurns(SiderealDegrees(days.d, t.clockHours));
  terms.theta = (terms.hourAngleReduced + m_scan.longitude) * kC1;
  const Anomaly& a = AnomalyOf(days.n);
  const double lambda = (MeanLongitudeDegrees(DaysSince2000(t.dayNumber, t.clockHours)) + a.centre) * kC1;
  const double l = Offset(lambda, m_lambda);
  terms.sinLambda = Evaluate(m_sinLambda, l);
  terms.cosLambda = Evaluate(m_cosLambda, l);
  terms.sinEps = a.sinEps;
  terms.cosEps = a.cosEps;
  double alpha = m_alpha[0] + l * (m_alpha[1] + l * (m_alpha[2] + l * m_alpha[3]));
  if (alpha > kPi) alpha -= kTwoPi;
  if (alpha <= -kPi) alpha += kTwoPi;
  terms.alpha = alpha;
  terms.sure = a.sure && std::fabs(l) < kLargestOffset;
  return terms;
}

HeightEstimate::Estimate HeightEstimate::At(long long second, Angles* angles) {
  const Terms t = TermsAt(second);
  if (angles) {
    const double sinDeclination = t.sinLambda * t.sinEps;
    *angles = Angles{t.theta - t.alpha, sinDeclination, std::sqrt(1.0 - sinDeclination * sinDeclination)};
  }
  // The model's hour angle before its turn, and the turn k it adds (Notes 2).
  const double hourAngle = t.hourAngleReduced - t.alpha * kC2;
  const int k = hourAngle < 0.0 ? 1 : hourAngle > 360.0 ? -1 : 0;
  const double e = k * kTurnShort + kKappa * t.alpha, cosE = 1.0 - 0.5 * e * e;
  const SinCos theta = QuarterTurns(t.theta);
  const double cosShifted = theta.cos * cosE + theta.sin * e, sinShifted = theta.sin * cosE - theta.cos * e;
  Estimate estimate{};
  estimate.sine =
      t.sinLambda * t.sinEps * m_sinPhi + m_cosPhi * (cosShifted * t.cosLambda + sinShifted * t.cosEps * t.sinLambda);
  const double branch = kPi - std::fabs(t.alpha);
  estimate.error = kRoundingError + kAscensionLoss / branch;
  estimate.sure = t.sure && branch > kCaseDistance && std::fabs(hourAngle) > kCaseDistance * kC2 &&
                  std::fabs(hourAngle - 360.0) > kCaseDistance * kC2;
  return estimate;
}

}  // namespace solar
