#include "solar/second_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "solar/day_facts.h"
#include "solar/local_day.h"
#include "solar/moment.h"

namespace solar {
namespace {

constexpr long long kDay = 86400;

// A local day: its first instant, the first of the next, the seconds of its first minute, the place.
struct Day {
  long long start, end;
  int second;
  float latitude, longitude;
};

std::string Describe(const Day& d, float height) {
  char text[160];
  std::snprintf(text, sizeof text, "Day{%lld, %lld, %d, %a, %a} height %a", d.start, d.end, d.second, d.latitude,
                d.longitude, height);
  return text;
}

// The day's heights at every second from the last of the day before on, as the day scan gives them.
struct EverySecond {
  explicit EverySecond(const Day& d) : day(d) {
    const MinuteScan scan = MinuteScanFrom(d.start, 1, d.latitude, d.longitude);
    SunTracker sun(scan.latitude, scan.longitude, scan.rounding);
    for (long long s = -1; d.start + s < d.end; ++s) heights.push_back(StepsAfter(scan, sun, s, false).position.height);
  }
  // The instants of the crossings: each second on another side than the second before it.
  std::vector<long long> Crossings(float height) const {
    std::vector<long long> instants;
    for (size_t i = 1; i < heights.size(); ++i) {
      if ((heights[i] > height) != (heights[i - 1] > height))
        instants.push_back(day.start + static_cast<long long>(i) - 1);
    }
    return instants;
  }
  // The middle of the first and last second at the greatest height, as an instant, and the height.
  std::pair<long long, float> Highest() const {
    const auto top = std::max_element(heights.begin() + 1, heights.end());
    const auto last = std::find(heights.rbegin(), heights.rend() - 1, *top);
    const long long first = top - heights.begin() - 1, final = heights.rend() - last - 2;
    return {day.start + first + (final - first) / 2, *top};
  }
  Day day;
  std::vector<float> heights;
};

// Compares the day's crossings of each height, its states and its highest point with the look at
// every second; returns whether all agree.
bool AgreesWithEverySecond(const Day& d, const std::vector<float>& heights) {
  const EverySecond every(d);
  LocalDay day(d.start, d.end, d.second, d.latitude, d.longitude);
  bool same = true;
  for (const float height : heights) {
    std::vector<long long> found;
    for (const Crossing& c : day.Crossings(height)) found.push_back(day.InstantAfter(c.second));
    EXPECT_EQ(found, every.Crossings(height)) << Describe(d, height);
    const HeightFacts facts = FactsAbove(day, height);
    const HeightState state = found.empty() ? (every.heights[1] > height ? HeightState::kAbove : HeightState::kBelow)
                                            : HeightState::kCrossing;
    EXPECT_EQ(facts.state, state) << Describe(d, height);
    same = same && found == every.Crossings(height) && facts.state == state;
  }
  const HighestPoint highest = day.Highest();
  EXPECT_EQ(std::make_pair(day.InstantAfter(highest.second), highest.height), every.Highest()) << Describe(d, 0.0f);
  return same && std::make_pair(day.InstantAfter(highest.second), highest.height) == every.Highest();
}

// The latitude between low and high at which `extreme` (rising from low to high) meets the
// value: bisection on the floats.
float SolveLatitude(float low, float high, double value, const std::function<double(float)>& extreme) {
  for (int i = 0; i < 60 && std::nextafter(low, high) != high; ++i) {
    const float middle = 0.5f * (low + high);
    (extreme(middle) < value ? low : high) = middle;
  }
  return low;
}

double TopOf(Day d, float latitude) {
  d.latitude = latitude;
  return LocalDay(d.start, d.end, d.second, d.latitude, d.longitude).Highest().height;
}

// The day's lowest height: the lowest whole minute's, then every second within a minute of it.
double BottomOf(Day d, float latitude) {
  const MinuteScan scan = MinuteScanFrom(d.start, 1440, latitude, d.longitude);
  const std::vector<float> track = FullTrackHeights(scan);
  const long long low = std::min_element(track.begin(), track.end()) - track.begin();
  float bottom = track[static_cast<size_t>(low)];
  for (long long s = 60 * low - 60; s <= 60 * low + 60; ++s) bottom = std::min(bottom, HeightAfter(scan, s));
  return bottom;
}

long long MidnightUtc(int year, int month, int day) {
  return 86400LL * (DayNumber(year, month, static_cast<float>(day)) - 40587);
}

// Days whose top or bottom comes within 1e-6 to 1e-3 degrees of a height, above and below it: the
// latitude solved for each, in several years, zones and heights.
TEST(SecondSearchTest, GrazingDaysCrossAsEverySecond) {
  struct Row {
    const char* name;
    int year, month, day;
    int offset;  // the zone's offset from universal time, seconds
    float height;
    bool top;
    float from, to;  // latitudes between which the top or bottom rises through the height
  };
  const Row rows[] = {
      {"sunrise at the polar night's edge", 2010, 12, 16, 0, -0.833f, true, 89.999f, 20.0f},
      {"the midnight sun's bottom at sunset", 2021, 6, 21, 3600, -0.833f, false, 20.0f, 89.999f},
      {"civil twilight's bottom in 1900", 1900, 5, 30, 20700, -6.0f, false, 20.0f, 89.999f},
      {"a high top in 2100", 2100, 8, 1, -43200, 60.0f, true, 89.999f, 20.0f},
      {"the horizon's top after the equinox", 1942, 9, 25, 46800, 0.0f, true, 90.0f, 20.0f},
      {"an astronomical bottom in 2063", 2063, 6, 15, -10800, -18.0f, false, 20.0f, 89.999f},
      {"a low top in the southern summer", 1977, 12, 30, 34200, 5.5f, true, 89.999f, 20.0f},
      {"the southern polar night's edge", 1999, 6, 21, 36000, -0.833f, true, -89.999f, -20.0f},
  };
  int failing = 0;
  for (const Row& row : rows) {
    const long long start = MidnightUtc(row.year, row.month, row.day) - row.offset;
    Day d{start, start + kDay, 0, 0.0f, 13.4f};
    const auto extreme = [&](float latitude) { return row.top ? TopOf(d, latitude) : BottomOf(d, latitude); };
    ASSERT_LT(extreme(row.from), row.height - 1e-3) << row.name;
    ASSERT_GT(extreme(row.to), row.height + 1e-3) << row.name;
    for (const double offset : {1e-6, -1e-6, 1e-5, -1e-5, 1e-4, -1e-4, 1e-3, -1e-3}) {
      d.latitude = SolveLatitude(row.from, row.to, row.height + offset, extreme);
      EXPECT_NEAR(extreme(d.latitude), row.height + offset, 2e-5) << row.name;
      failing += !AgreesWithEverySecond(d, {row.height});
      if (failing > 5) FAIL() << row.name;
    }
  }
}

// Near the zenith the sine of the height is flat: a stay above a height 0.05 degrees under the
// top can be shorter than a minute though the whole minutes nearest it lie 0.03 degrees below.
TEST(SecondSearchTest, TopsNearTheZenithCrossAsEverySecond) {
  const long long start = MidnightUtc(2024, 6, 21);
  for (const double top : {89.98, 89.95, 89.9}) {
    Day d{start, start + kDay, 0, 0.0f, 0.0f};
    d.latitude = SolveLatitude(30.0f, 23.435f, top, [&](float latitude) { return TopOf(d, latitude); });
    for (const float longitude : {0.0f, 0.05f, 0.1f, 0.15f, 0.2f}) {
      d.longitude = longitude;
      const float reached = static_cast<float>(TopOf(d, d.latitude));
      if (!AgreesWithEverySecond(d, {reached - 0.005f, reached - 0.02f, reached - 0.05f, reached - 0.1f}))
        FAIL() << "top " << top << ", longitude " << longitude;
    }
  }
}

// Days whose top lies in the partial minute before the first whole minute or after the last, or
// at the first or last second, with heights just under the top: the sun stays above them for
// seconds, all outside the whole minutes.
TEST(SecondSearchTest, ExtremesInPartialMinutesCrossAsEverySecond) {
  for (const auto& [latitude, longitude] : {std::pair{52.5f, 13.4f}, {-33.9f, 151.2f}, {89.99f, -179.99f}}) {
    const long long midnight = MidnightUtc(2024, 6, 21);
    const Day probe{midnight, midnight + kDay, 0, latitude, longitude};
    const long long noon = probe.start + LocalDay(probe.start, probe.end, 0, latitude, longitude).Highest().second;
    const float top = EverySecond(Day{noon - 1, noon + 1, 0, latitude, longitude}).heights[2];
    for (const long long lead : {0LL, 1LL, 10LL, 59LL}) {
      for (const int second : {0, 30, 59}) {
        // The top `lead` seconds into the day, the first whole minute `second` seconds after its
        // start; then the same at the day's end.
        const Day atStart{noon - lead, noon - lead + kDay, second, latitude, longitude};
        const Day atEnd{noon + lead + 1 - kDay, noon + lead + 1, second, latitude, longitude};
        for (const Day& d : {atStart, atEnd}) {
          if (!AgreesWithEverySecond(d, {top - 1e-5f, std::nextafter(top, -1.0f), top, -0.833f}))
            FAIL() << "lead " << lead;
        }
      }
    }
  }
}

// At and near the poles the sun's daily swing is a fraction of a degree: whole days sit within
// reach of a height, and the greatest height can last for minutes.
TEST(SecondSearchTest, PolarPlateausAsEverySecond) {
  struct Row {
    int year, month, day;
    float latitude, longitude;
    std::vector<float> heights;
  };
  const Row rows[] = {
      {2031, 6, 20, 89.99f, -179.99f, {23.4362f, 23.436f}}, {2005, 3, 20, 90.0f, 0.0f, {-0.833f, 0.0f, -0.1f}},
      {2005, 9, 22, -90.0f, 0.0f, {-0.833f, 0.0f, 0.1f}},   {1942, 11, 23, 87.65048f, -127.3196f, {-22.5944f, -18.0f}},
      {2100, 3, 20, 89.9f, 45.0f, {-0.833f, 0.0f}},         {1900, 9, 23, -89.95f, 170.0f, {-0.833f, 0.0f}},
  };
  for (const Row& row : rows) {
    const long long start = MidnightUtc(row.year, row.month, row.day);
    EXPECT_TRUE(AgreesWithEverySecond(Day{start, start + kDay, 0, row.latitude, row.longitude}, row.heights));
  }
}

// Days once found wrong: no crossing found for a stay shorter than a minute, the last of three
// crossings within a minute, a day whose only crossings lie in its partial minutes.
TEST(SecondSearchTest, DaysOnceWrongAsEverySecond) {
  struct Row {
    int year, month, day, offset, second;
    float latitude, longitude, height;
  };
  const Row rows[] = {
      {2100, 12, 31, -43200, 0, 43.04802f, 359.99f, 23.967613f}, {2005, 6, 10, 0, 0, 90.0f, 0.0f, 23.07518f},
      {2005, 10, 10, 0, 59, 45.0f, 176.75f, 38.402374f},         {2010, 12, 16, 0, 0, 67.51538f, 15.0f, -0.833f},
      {1942, 11, 23, 0, 0, 87.65048f, -127.3196f, -22.5944f},
  };
  for (const Row& row : rows) {
    const long long start = MidnightUtc(row.year, row.month, row.day) - row.offset;
    EXPECT_TRUE(AgreesWithEverySecond(Day{start, start + kDay, row.second, row.latitude, row.longitude},
                                      {row.height, -0.833f}));
  }
}

}  // namespace
}  // namespace solar
