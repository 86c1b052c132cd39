#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "solar/constants.h"
#include "solar/day_events.h"
#include "solar/day_scan.h"
#include "solar/sun_position.h"
#include "solar/types.h"

namespace solar {

// The minutes of a scan above heights, crossings and the highest point, as the full minute
// track gives them to the bit, found from a few exact minute heights (a track of which only the
// minutes needed are computed).
//
// Given: a MinuteScan (its place, first moment, count of minutes and rounding).
// Returned: StretchesAbove, CountAbove, Crossings and Highest equal StretchesAbove,
// CountMinutesAbove, CrossingsOf and HighestPointOf of the full track (FullTrackHeights).
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
// 2. Where it fails, and the margins. The model rounds to single precision (the height, and in
//    the day scan the days since 2000, whose float step moves the declination unevenly by at
//    most 0.0132 degrees a day): near a turning point, where h changes slowly, these steps can
//    make h jitter up and down. A height within m_margin of a turning point's height goes to
//    the full track: 0.01 degrees in the day scan (the jitter stays far below it); in the year series' coarse
//    rounding (coordinates held for up to 11 minutes, then moved by up to 3e-3 degrees) the
//    jitter reaches about 0.5 degrees divided by the day's span, twice that is kept clear. A
//    day spanning less than 2 degrees (kLeastSpan, near the poles) goes to the full track
//    altogether.
// 3. Turning points are found from the model's own hour angle and declination at the first and
//    last minute (GuessMinute's interpolation), then by climbing on exact minute heights
//    (TurningPointNear). A turning point can lie minutes from the hour angle's pass where the
//    declination changes fast against a small daily swing: passes up to 60 minutes outside the
//    scan are looked at too.
// 4. The crossing second: where the two minutes around a crossing differ by at least 0.05
//    degrees (kSteepMinute), the seconds' heights rise or fall through the minute (their jitter
//    stays below 1e-4 degrees) and the second is found like a minute; otherwise by bisection,
//    exactly as CrossingsOf does it.
// 5. The highest point: the first minute of the greatest height lies near a turning point or an
//    end; every minute within TopMargin of its height is looked at. TopMargin is four times the
//    effect of a step of the days since 2000 on the height, and at least 1e-5 degrees (a top one
//    second two ulps above a plateau nine seconds away). The seconds then spread from the
//    vertex of the parabola through three minutes until they lie clearly below the greatest.
// 6. The tests. SparseTrackTest.EqualsTheFullTrackOnRandomDays compares 10,000 random days (any
//    place, 1900-2100, any start and length, both roundings, the named heights and a random one)
//    with the full track and prints its seed; a long run is
//    `TAGVAROSKOP_DIFFERENTIAL_DAYS=10000000 TAGVAROSKOP_DIFFERENTIAL_SEED=11 build/tests/solar/solar_tests
//    --gtest_filter='SparseTrack*'` (10,000,000 days without a difference). Each margin above is
//    pinned by a row of SparseTrackTest.EqualsTheFullTrackOnDaysThatOnceDiffered: the year-series
//    days near the poles (the margin of 1/span), a top two ulps above a plateau (TopMargin's
//    floor), a turning point outside the scan (the 60-minute pass window) and a day at the pole
//    (kLeastSpan).
class SparseTrack {
 public:
  explicit SparseTrack(const MinuteScan& scan);

  // What StretchesAbove, CountMinutesAbove, CrossingsOf and HighestPointOf give for the full
  // track of the scan, to the bit.
  std::vector<Stretch> StretchesAbove(float height);
  int CountAbove(float height);
  std::vector<Crossing> Crossings(float height);
  HighestPoint Highest();

  // Exact heights computed so far (for measuring).
  int Evaluations() const { return m_evaluations; }

 private:
  std::vector<Stretch> FindStretches(float height);
  float HeightOfMinute(int minute);
  float HeightOfSecond(long long second);
  int TurningPointNear(int minute, bool highest);
  std::pair<int, int> CrossingMinutes(int a, int b, float height);
  double GuessMinute(int a, int b, float height, bool rising) const;
  HighestPoint HighestSecond(int top);
  bool NeedsFullTrack(float height);
  const std::vector<float>& FullTrack();
  int MinuteCount() const;
  bool TooFlat() const;

  MinuteScan m_scan;
  SunTracker m_sun;
  bool Known(int minute) const { return (m_known[static_cast<size_t>(minute) / 64] >> (minute % 64)) & 1; }
  void SetKnown(int minute) { m_known[static_cast<size_t>(minute) / 64] |= 1ULL << (minute % 64); }
  int NextKnown(int minute) const;  // the first known minute after it, or MinuteCount()

  std::vector<float> m_height;              // of the minutes looked at
  std::vector<unsigned long long> m_known;  // which those are, a bit each
  int m_evaluations = 0;
  std::vector<int> m_turns;  // the scan's ends and turning points, ascending
  float m_lowest = 0.0f, m_highest = 0.0f;
  float m_margin = 0.0f;                                  // heights this close to a turning point's need the full track
  double m_hourAngle = 0.0, m_hourAnglePerMinute = 0.25;  // at the first minute, degrees
  double m_sinDeclination[2] = {0.0, 0.0}, m_cosDeclination[2] = {1.0, 1.0};  // first and last minute
  double m_sinPhi = 0.0, m_cosPhi = 1.0;
  std::vector<std::pair<float, std::vector<Stretch>>> m_stretches;  // of the heights asked for
  std::vector<float> m_track;                                       // the full track's heights, once needed
};

}  // namespace solar
