#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "solar/constants.h"
#include "solar/day_events.h"
#include "solar/day_scan.h"
#include "solar/height_probe.h"
#include "solar/sun_position.h"
#include "solar/types.h"

namespace solar {

// The minutes of a scan above heights, crossings and the highest point, as the full minute
// track gives them to the bit, found from a few minute heights (a track of which only the
// minutes needed are looked at, through a HeightProbe: estimated, and computed by the model where
// the estimate leaves a comparison open).
//
// Given: a MinuteScan (its place, first moment, count of minutes and rounding).
// Returned: StretchesAbove and CountAbove equal StretchesAbove and CountMinutesAbove of the full
// track (FullTrackHeights); in the day scan's rounding Crossings and Highest give what a look at
// every second of the scan's whole minutes gives (second_search.h), in the others CrossingsOf
// and HighestPointOf of the full track.
//
// Notes
// 1. The argument. The height of minute m is h(m) = asin(sin δ sin φ + cos δ cos φ cos τ(m)),
//    with the hour angle τ advancing by about 0.25 degrees a minute and the declination δ
//    changing by at most 0.4 degrees a day. Between two neighbouring turning points of h (the
//    day's highest and lowest minutes) and the scan's ends, h is monotone: its change over a
//    minute is dominated by the hour angle. Monotone pieces make the set of minutes above a
//    height one end of each piece, so a search that keeps two minutes on either side of the
//    height (StateChange: a secant step, safeguarded by bisection, from the hour angle at which
//    the sun stands at the height) ends on the two neighbouring minutes between which a full
//    scan changes its count: the stretches are the full scan's.
// 2. Where it fails, and the margins. Near a turning point, where h changes slowly, the model's
//    single-precision steps can make h jitter up and down; a height within m_margin of a turning
//    point's height goes to the full track. Near a turning point h(t) ≈ h0 - A ω² t² / 2 with A
//    half the day's span (degrees) and ω = 2π/1440 a minute, so h changes by A ω² t a minute: a
//    jitter of ε degrees a minute can turn it back only where that is below ε, within
//    ε² / (2 A ω²) = ε² / (span · ω²) = 52500 ε² / span degrees of the turning point's height.
//    - In the day scan the days since 2000 enter the mean anomaly in single precision (a step
//      of at most 2^-8 days from 1900 to 2100). The declination moves with the anomaly by at
//      most dδ/dn = (1.915 + 2 · 0.020) · 0.9856003 · π/180 · sin 23.439° = 0.0134 degrees a
//      day, so by 5.2e-5 degrees a step; the height's own rounding adds an ulp (7.6e-6 degrees at
//      90). With ε = 6e-5 the reach is 1.9e-4 / span, below 1e-4 for the spans of at least
//      kLeastSpan that are searched at all: the margin kTurnMargin = 0.01 keeps a hundredfold.
//    - The year series holds the sun's coordinates while its single-precision day number stays
//      (up to 2^-7 days, 11.25 minutes, after 2038) and then moves them by the declination's
//      change over that time: at most 0.4 · 11.25 / 1440 = 3.1e-3 degrees. With ε = 3.1e-3 the
//      reach is 0.50 / span; the margin is twice that, 1/span.
//    - A day spanning less than kLeastSpan = 2 degrees (near the poles) goes to the full track
//      altogether: there the year series' margin would cover a quarter of the day's heights.
// 3. Turning points are found from the model's own hour angle and declination at the first and
//    last minute (GuessMinute's interpolation), then by climbing on the minute heights' arcsines
//    (TurningPointNear). A turning point can lie minutes from the hour angle's pass where the
//    declination changes fast against a small daily swing: passes up to 60 minutes outside the
//    scan are looked at too.
// 4. The crossing seconds and the seconds at the greatest height beyond the top's minutes:
//    second_search.h, Notes 3 and 4.
// 5. The highest point: the first minute of the greatest height lies near a turning point or an
//    end; every minute within TopMargin of its height is looked at. TopMargin is four times the
//    declination's move over a step of the days since 2000 (0.0134 degrees a day, note 2), and
//    at least 1e-5 degrees: measured, a top one second two ulps above a plateau nine seconds away
//    (the row below). The second within the minute either side: where the rounded days since
//    2000 step every 42 seconds or less (1988 to 2011) the seconds spread from the vertex of the
//    parabola through three minutes until they lie TopMargin below the greatest; elsewhere
//    TopSecond (top_second.h) finds it with no margin: between the steps of the rounded day
//    numbers the height's arcsine has one top, which is climbed to in each piece.
//    In the day scan a top other than the highest minute's can hold the highest second: a
//    second lies within half a minute of a whole minute and the height changes by less than
//    kMostHeightChangeInAMinute a minute, so every top whose minute comes within half of that of
//    the best second found is searched as well (two tops of a day longer than the sun's turn
//    near a solstice; near the zenith the height is a sharp peak, up to 0.125 degrees above its
//    nearest minute).
// 6. What is exact and what is not. Every comparison the result rests on (above a height or
//    not, which arcsine is greater, the rounded height at a top) is the model's: the probe
//    answers it from the estimate only where the estimate's error bound leaves it clear. The
//    margins, bands and guesses above take the estimate's heights in degrees (off by less than
//    1e-9 degrees); the bands around a top are widened by kBandSlack = 1e-6 degrees for that.
// 7. The tests. SparseTrackTest.EqualsTheFullTrackOnRandomDays compares 10,000 random days (any
//    place, 1900-2100, any start, any length from 1 to 4,320 minutes, both roundings, the named
//    heights and a random one from -90 to 90 degrees) with the full track and prints its seed; a
//    long run is `TAGVAROSKOP_DIFFERENTIAL_DAYS=1000000 TAGVAROSKOP_DIFFERENTIAL_SEED=12
//    build/tests/solar/solar_tests --gtest_filter='SparseTrack*'` (1,000,000 days without a
//    difference). Each margin is pinned by a row of
//    SparseTrackTest.EqualsTheFullTrackOnDaysThatOnceDiffered: the year-series days near the poles
//    (1/span), a top two ulps above a plateau (TopMargin's floor), a turning point outside the
//    scan (the 60-minute pass window), a day at the pole (kLeastSpan) and a 25-hour day whose
//    second top near the zenith is higher between its minutes and lower at them, and one whose two
//    tops a day apart have the same height (the tops searched in note 5).
class SparseTrack {
 public:
  explicit SparseTrack(const MinuteScan& scan);

  // What StretchesAbove and CountMinutesAbove give for the full track of the scan, to the bit.
  std::vector<Stretch> StretchesAbove(float height);
  int CountAbove(float height);
  // In the day scan's rounding, every crossing of the height through every second of the scan's
  // whole minutes, and the first and last of those seconds at the greatest height
  // (second_search.h); in the others, the crossings between the minutes that change side and the
  // greatest height within a minute of the highest minute.
  std::vector<Crossing> Crossings(float height);
  Plateau Highest();

  // The heights at the scan's seconds, each looked at once.
  HeightProbe& Probe() { return m_probe; }

  // Heights computed so far, estimates and the model's own (for measuring).
  int Evaluations() const { return m_probe.EstimateCount() + m_probe.ModelCount() + static_cast<int>(m_track.size()); }

 private:
  std::vector<Stretch> FindStretches(float height);
  // The stretches of a height, kept until the next height is asked about.
  const std::vector<Stretch>& Stretches(float height);
  // A minute's height: whether above a height, and in degrees near enough for margins and guesses.
  bool MinuteAbove(int minute, float height);
  double MinuteDegrees(int minute);
  double MinuteSine(int minute);
  int TurningPointNear(int minute, bool highest);
  std::pair<int, int> CrossingMinutes(int a, int b, float height);
  double GuessMinute(int a, int b, float height, bool rising) const;
  std::vector<std::pair<int, float>> TopMinutes();
  // The seconds at the greatest height around a top minute.
  Plateau SecondsAround(int top, float topHeight);
  Plateau HighestSecond(int top, float topHeight);
  void WidenPlateau(Plateau& plateau, int top);
  std::vector<Crossing> SecondCrossings(float height, const std::vector<std::pair<int, bool>>& brackets);
  Crossing SteepCrossing(int minute, float height);
  bool NeedsFullTrack(float height);
  const std::vector<float>& FullTrack();
  int MinuteCount() const;
  bool TooFlat() const;

  MinuteScan m_scan;
  HeightProbe m_probe;
  bool Known(int minute) const { return (m_known[static_cast<size_t>(minute) / 64] >> (minute % 64)) & 1; }
  void SetKnown(int minute) { m_known[static_cast<size_t>(minute) / 64] |= 1ULL << (minute % 64); }
  int NextKnown(int minute) const;  // the first minute looked at after it, or MinuteCount()

  std::vector<unsigned long long> m_known;                // the minutes looked at, a bit each
  std::vector<int> m_turns;                               // the scan's ends and turning points, ascending
  std::vector<double> m_turnSines;                        // the sines of their heights
  double m_lowest = 0.0, m_highest = 0.0;                 // degrees
  double m_margin = 0.0;                                  // heights this close to a turning point's need the full track
  double m_hourAngle = 0.0, m_hourAnglePerMinute = 0.25;  // at the first minute, degrees
  double m_sinDeclination[2] = {0.0, 0.0}, m_cosDeclination[2] = {1.0, 1.0};  // first and last minute
  double m_sinPhi = 0.0, m_cosPhi = 1.0;
  std::vector<std::pair<float, std::vector<Stretch>>> m_stretches;  // of the heights asked for
  std::vector<float> m_track;                                       // the full track's heights, once needed
};

}  // namespace solar
