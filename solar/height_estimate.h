#pragma once

#include <array>
#include <cmath>

#include "solar/day_events.h"

namespace solar {

// The sine of the day scan's height (PositionSteps::heightSine, whose arcsine the model rounds)
// from arithmetic and one sine and cosine instead of eight transcendental functions, within
// Estimate::error of the model's own: a comparison it leaves clear of that band it decides as
// the model would.
//
// Notes
// 1. What changes quickly or in steps is formed as the model forms it: the clock hours, the day
//    numbers d and n with their rounding, the single-precision mean anomaly g, the mean longitude
//    and sidereal time. What changes slowly is carried from the scan's middle by Taylor
//    polynomials of degree 6 in the offset: the equation of centre 1.915 sin g + 0.02 sin 2g
//    (g moves 0.0172 radians a day), the sine and cosine of the ecliptic longitude λ (0.0178 a
//    day); the obliquity's sine and cosine (7e-9 radians a day) to the offset's square. Offsets
//    stay below 0.027 radians over a scan of three days; up to kLargestOffset (0.03) the
//    remainders stay below 5e-15.
// 2. Declination and right ascension without their functions. The model's right ascension
//    α = 2 atan(cos ε sin λ / (cos λ + cos δ)) is the angle of (cos λ, cos ε sin λ), whose length
//    is cos δ; so cos δ cos α = cos λ and cos δ sin α = cos ε sin λ. Its local hour angle is
//    τ = (H - α·c2 + 360·k + longitude)·c1, with H the reduced sidereal time, k the turn it adds
//    or takes, and c1, c2 its single-precision degree constants, whose product is 1 + κ
//    (κ = 7.8e-8) and with which 360·c1 = 2π - δ1 (δ1 = 4.9e-8). With θ = (H + longitude)·c1 and
//    e = k·δ1 + κ·α, τ = θ - e - α + 2πk, and
//      sin(height) = sin λ sin ε sin φ + cos φ (cos(θ - e) cos λ + sin(θ - e) cos ε sin λ).
//    Only e needs α itself, to 1e-7 radians: a cubic in the offset of λ gives it to 1e-8.
// 3. The model's case distinctions: its α changes branch at ±180 degrees, and its hour angle
//    takes or adds a turn at 0 and 360 degrees. Near these the estimate is not sure.
// 4. The error, Estimate::error = 1e-12 + 1e-12 / (π - |α|). Apart from the remainders (Note
//    1), the two computations round differently: a few units in the last place of values below
//    720 degrees (1.3e-14 radians of hour angle) and of the sine, together below 1e-13; the
//    first term keeps ten times that. Near α = ±π the model forms α = 2 atan(N / D) with
//    N = cos ε sin λ and D = cos λ + cos δ, a difference of two numbers near 1 whose roundings
//    leave D off by up to 2.2e-16. There N / D is large, so dα = 2 d(N/D) / (1 + (N/D)²) ≈
//    2 dD / N, and N = cos δ sin α ≈ 0.917 (π - |α|) at least: α is off by up to
//    4.8e-16 / (π - |α|), and the sine, whose slope in α is at most 1, by as much. The second
//    term keeps a margin of 2000 over that. Measured (HeightEstimateTest,
//    StaysFarWithinItsErrorAndIsAlmostAlwaysSure: 200,000 random seconds, 1900-2100, any place,
//    scans up to three days), the largest difference from the model's sine is 0.00217 of the
//    bound; the test asserts the hundredfold margin (below 0.01) the bound is meant to keep.
class HeightEstimate {
 public:
  explicit HeightEstimate(const MinuteScan& scan);

  struct Estimate {
    double sine;   // of the height
    double error;  // the model's sine lies within this of it
    bool sure;     // false: it may lie further away
  };
  // The local hour angle (radians) and the declination's sine and cosine, for guesses.
  struct Angles {
    double tau, sinDeclination, cosDeclination;
  };
  Estimate At(long long second, Angles* angles = nullptr);

  struct SinCos {
    double sin, cos;
  };
  static constexpr int kTerms = 7;
  using Taylor = std::array<double, kTerms>;  // coefficients of the powers of the offset

 private:
  struct Terms {
    double theta;             // (H + longitude)·c1, radians
    double hourAngleReduced;  // H, degrees
    double sinLambda, cosLambda, sinEps, cosEps, alpha;
    bool sure;
  };
  Terms TermsAt(long long second);
  // What depends on the rounded days since 2000 n alone: the equation of centre (degrees) and the
  // obliquity's sine and cosine, kept for the last n (seconds in a row share it).
  struct Anomaly {
    double n, centre, sinEps, cosEps;
    bool sure;
  };
  const Anomaly& AnomalyOf(double n);

  MinuteScan m_scan;
  double m_sinPhi, m_cosPhi;
  // At the scan's middle: the mean anomaly, the obliquity with its sine and cosine, the ecliptic
  // longitude and the right ascension with its first three derivatives by it.
  double m_g, m_obliquity, m_sinEps, m_cosEps, m_lambda;
  std::array<double, 4> m_alpha;
  Taylor m_centre, m_sinLambda, m_cosLambda;  // in the offsets of g and λ
  Anomaly m_anomaly{NAN, 0.0, 0.0, 0.0, false};
};

}  // namespace solar
