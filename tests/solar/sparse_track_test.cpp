#include "solar/sparse_track.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "solar/day_events.h"
#include "solar/sun_position.h"
#include "tests/support/every_second.h"

namespace solar {
namespace {

std::string Describe(const MinuteScan& s, float height) {
  char text[200];
  std::snprintf(text, sizeof text, "MinuteScan{%d, %d, %d, %d, %a, %a, %d} height %a", s.dayNumber, s.startMinute,
                s.second, s.minutes, s.latitude, s.longitude, static_cast<int>(s.rounding), height);
  return text;
}

// The greatest height's first and last second around every minute as high as its neighbours and
// within 0.13 degrees of the greatest minute (no second rises further above its nearest minute):
// within a minute of the minutes within 0.005 degrees of it (far beyond the model's jitter).
Plateau WidePlateau(const MinuteScan& scan, const std::vector<float>& track) {
  Plateau plateau = HighestPointOf(scan, track);
  const float greatest = *std::max_element(track.begin(), track.end());
  const long n = scan.minutes;
  const auto at = [&](long m) { return track[static_cast<size_t>(m)]; };
  SunTracker sun(scan.latitude, scan.longitude, scan.rounding);
  for (long top = 0; top < n; ++top) {
    if (at(top) < greatest - 0.13f || (top > 0 && at(top - 1) > at(top)) || (top + 1 < n && at(top + 1) > at(top)))
      continue;
    const auto high = [&](long m) { return m >= 0 && m < n && at(m) >= at(top) - 0.005f; };
    long from = top;
    while (high(from - 1)) --from;
    while (high(top + 1)) ++top;
    for (long long s = 60LL * std::max(from - 1, 0L); s <= 60LL * std::min(top + 1, n - 1); ++s)
      plateau.Look(s, HeightAfter(scan, sun, s));
  }
  return plateau;
}

// Compares what the sparse track gives for the scan with the full track's: the stretches above
// each height and the highest point; with `everySecond` also the crossings, with a look at
// every second in the day scan's rounding. Returns the failures.
int Compare(const MinuteScan& scan, const std::vector<float>& heights, bool everySecond, SparseTrack& exact) {
  const std::vector<float> track = FullTrackHeights(scan);
  const bool dayScan = scan.rounding == Rounding::kDayScan;
  int failures = 0;
  const auto expect = [&](bool same, float height, const char* what) {
    if (!same) ADD_FAILURE() << Describe(scan, height) << what, ++failures;
  };
  for (const float height : heights) {
    expect(exact.StretchesAbove(height) == StretchesAbove(track, height), height, " stretches");
    if (everySecond) {
      expect(exact.Crossings(height) ==
                 (dayScan ? test_support::EverySecond(scan, 0, 60LL * (scan.minutes - 1)).Crossings(height)
                          : CrossingsOf(scan, track, height)),
             height, " crossings");
    }
  }
  const Plateau highest = exact.Highest(), expected = dayScan ? WidePlateau(scan, track) : HighestPointOf(scan, track);
  expect(highest.first == expected.first && highest.last == expected.last && highest.height == expected.height, 0.0f,
         " highest point");
  return failures;
}

// Days that once went wrong (near the poles in the year series' steps, a top one second two ulps
// above a plateau, a 25-hour day whose second top near the zenith rises above the first between
// its minutes) and where a simpler search would (a turning point outside the scan, the pole, two
// tops a day apart at the same height, 76.2760468 degrees).
TEST(SparseTrackTest, EqualsTheFullTrackOnDaysThatOnceDiffered) {
  const std::vector<float> heights{0.0f, -7.0f, -0.833f, -6.0f, -12.0f, -18.0f};
  for (const MinuteScan& scan : {MinuteScan{73354, 0, 2, 1440, -0x1.6302c6p+6f, -0x1.1d6ff4p+7f, Rounding::kYearSeries},
                                 MinuteScan{71530, 0, 31, 1440, 0x1.60cd1ep+6f, 0x1.88f77ep+7f, Rounding::kYearSeries},
                                 MinuteScan{42835, 0, 49, 1440, 0x1.614d2ap+6f, 0x1.99a594p+6f, Rounding::kYearSeries},
                                 MinuteScan{51766, 1012, 56, 1440, -0x1.3b2704p+6f, -0x1.011cbp+7f},
                                 MinuteScan{38980, 993, 1, 1380, 0x1.46e9aep+6f, 0x1.435796p+8f},
                                 MinuteScan{56463, 1174, 59, 1440, -0x1.67fae4p+6f, -0x1.277c98p+6f},
                                 MinuteScan{63036, 757, 23, 1471, 0x1.76faacp+4f, 0.0f},
                                 MinuteScan{58289, 1331, 0, 1535, 0x1.294674p+5f, -0x1.2b9b3ep+7f}}) {
    SparseTrack exact(scan);
    Compare(scan, heights, true, exact);
  }
}

// Random days (places all over the earth, 1900 to 2100, any start of the day, any length from
// one minute to three days, both roundings of day scans) give what the full track gives, to the
// minute, for the named heights and a random one from -90 to 90 degrees; every hundredth day of
// the day scan also its crossings against every second.
// TAGVAROSKOP_DIFFERENTIAL_DAYS sets how many (10,000 here; run it with millions once in a while).
TEST(SparseTrackTest, EqualsTheFullTrackOnRandomDays) {
  const auto setting = [](const char* name, long otherwise) {
    return std::getenv(name) ? std::atol(std::getenv(name)) : otherwise;
  };
  const long days = setting("TAGVAROSKOP_DIFFERENTIAL_DAYS", 10000);
  const long seed = setting("TAGVAROSKOP_DIFFERENTIAL_SEED", 1);
  std::mt19937_64 random(static_cast<unsigned long long>(seed));
  const auto uniform = [&](double low, double high) {
    return low + (high - low) * std::generate_canonical<double, 64>(random);
  };
  const auto whole = [&](int low, int high) { return low + static_cast<int>(random() % (high - low + 1)); };
  long fullTracks = 0, evaluations = 0, failures = 0;
  for (long d = 0; d < days && failures < 10; ++d) {
    MinuteScan scan{DayNumber(whole(1900, 2100), 1, 1.0f) + whole(0, 365),
                    whole(0, 1439),
                    whole(0, 59),
                    d % 2 ? whole(1, kLongestScan) : std::array{1380, 1440, 1500}[static_cast<size_t>(whole(0, 2))],
                    static_cast<float>(uniform(-90, 90)),
                    static_cast<float>(uniform(-180, 360))};
    // Every sixteenth day the sun passes near the zenith, its tops far above their minutes.
    if (d % 16 == 3)
      scan.latitude = static_cast<float>(23.44 * std::sin((scan.dayNumber - 51623) / 58.13) + uniform(-1, 1));
    if (d % 8 == 0)
      scan = MinuteScan{scan.dayNumber, 0, scan.second, 1440, scan.latitude, scan.longitude, Rounding::kYearSeries};
    SparseTrack exact(scan);
    failures += Compare(scan, {0.0f, -7.0f, -0.833f, -6.0f, -12.0f, -18.0f, static_cast<float>(uniform(-90, 90))},
                        d % 8 == 0 || (d % 100 == 1 && scan.minutes < 1600), exact);
    evaluations += exact.Evaluations();
    fullTracks += exact.Evaluations() >= scan.minutes;
  }
  std::printf("%ld days (TAGVAROSKOP_DIFFERENTIAL_SEED=%ld): %.1f heights per day, %ld full tracks\n", days, seed,
              static_cast<double>(evaluations) / days, fullTracks);
}

}  // namespace
}  // namespace solar
