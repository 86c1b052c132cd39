#include "solar/second_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "solar/day_facts.h"
#include "solar/local_day.h"
#include "solar/moment.h"
#include "tests/support/every_second.h"
#include "tests/support/row_file.h"

namespace solar {
namespace {

constexpr long long kDay = 86400;

// A local day: its first instant, the first of the next, the seconds of its first minute, the place.
struct Day {
  long long start, end;
  int second;
  float latitude, longitude;
};

// Its crossings of each height, its states and its highest point against a look at every second
// (from the last second of the day before); returns whether the test is still without failure.
bool AgreesWithEverySecond(const Day& d, const std::vector<float>& heights) {
  char shown[160];
  std::snprintf(shown, sizeof shown, "Day{%lld, %lld, %d, %a, %a}", d.start, d.end, d.second, d.latitude, d.longitude);
  const test_support::EverySecond every(MinuteScanFrom(d.start, 1, d.latitude, d.longitude), -1, d.end - d.start - 1);
  LocalDay day(d.start, d.end, d.second, d.latitude, d.longitude);
  for (const float height : heights) {
    std::vector<long long> found, expected;
    for (const Crossing& c : day.Crossings(height)) found.push_back(day.InstantAfter(c.second));
    for (const Crossing& c : every.Crossings(height)) expected.push_back(d.start + c.second);
    const HeightState state = !expected.empty()      ? HeightState::kCrossing
                              : every.At(0) > height ? HeightState::kAbove
                                                     : HeightState::kBelow;
    EXPECT_EQ(found, expected) << shown << " height " << height;
    EXPECT_EQ(FactsAbove(day, height).state, state) << shown << " height " << height;
  }
  const HighestPoint highest = day.Highest();
  const auto [second, height] = every.Highest();
  EXPECT_EQ(std::make_pair(day.InstantAfter(highest.second), highest.height), std::make_pair(d.start + second, height))
      << shown;
  return !testing::Test::HasFailure();
}

long long MidnightUtc(int year, int month, int day) {
  return 86400LL * (DayNumber(year, month, static_cast<float>(day)) - 40587);
}

// The latitude between low and high at which `extreme` (rising from low to high) meets the value.
float SolveLatitude(float low, float high, double value, const std::function<double(float)>& extreme) {
  for (int i = 0; i < 60 && std::nextafter(low, high) != high; ++i) {
    const float middle = 0.5f * (low + high);
    (extreme(middle) < value ? low : high) = middle;
  }
  return low;
}

double TopOf(const Day& d, float latitude) {
  return LocalDay(d.start, d.end, d.second, latitude, d.longitude).Highest().height;
}

// The day's lowest height: the lowest whole minute's, then every second within a minute of it.
double BottomOf(const Day& d, float latitude) {
  const MinuteScan scan = MinuteScanFrom(d.start, 1440, latitude, d.longitude);
  const std::vector<float> track = FullTrackHeights(scan);
  const long long low = std::min_element(track.begin(), track.end()) - track.begin();
  float bottom = track[static_cast<size_t>(low)];
  for (long long s = 60 * low - 60; s <= 60 * low + 60; ++s) bottom = std::min(bottom, HeightAfter(scan, s));
  return bottom;
}

void Grazing(const std::vector<double>& w, bool top) {
  const long long start = MidnightUtc(int(w[0]), int(w[1]), int(w[2])) - static_cast<long long>(w[3]);
  Day d{start, start + kDay, 0, 0.0f, 13.4f};
  const auto extreme = [&](float latitude) { return top ? TopOf(d, latitude) : BottomOf(d, latitude); };
  const float height = static_cast<float>(w[4]), from = static_cast<float>(w[5]), to = static_cast<float>(w[6]);
  ASSERT_LT(extreme(from), height - 1e-3);
  ASSERT_GT(extreme(to), height + 1e-3);
  for (const double offset : {1e-6, -1e-6, 1e-5, -1e-5, 1e-4, -1e-4, 1e-3, -1e-3}) {
    d.latitude = SolveLatitude(from, to, height + offset, extreme);
    EXPECT_NEAR(extreme(d.latitude), height + offset, 2e-5);
    if (!AgreesWithEverySecond(d, {height})) return;
  }
}

void Partial(const std::vector<double>& w) {
  const float latitude = static_cast<float>(w[3]), longitude = static_cast<float>(w[4]);
  const long long midnight = MidnightUtc(int(w[0]), int(w[1]), int(w[2]));
  const long long noon = midnight + LocalDay(midnight, midnight + kDay, 0, latitude, longitude).Highest().second;
  const float top = test_support::EverySecond(MinuteScanFrom(noon, 1, latitude, longitude), 0, 0).At(0);
  for (const long long lead : {0LL, 1LL, 10LL, 59LL}) {
    for (const int second : {0, 30, 59}) {
      for (const Day& d : {Day{noon - lead, noon - lead + kDay, second, latitude, longitude},
                           Day{noon + lead + 1 - kDay, noon + lead + 1, second, latitude, longitude}}) {
        if (!AgreesWithEverySecond(d, {top - 1e-5f, std::nextafter(top, -1.0f), top, -0.833f})) return;
      }
    }
  }
}

// Near the zenith the sine of the height is flat: a stay above a height 0.05 degrees under the
// top can be shorter than a minute though the whole minutes nearest it lie 0.03 degrees below.
void Zenith(double top) {
  const long long start = MidnightUtc(2024, 6, 21);
  Day d{start, start + kDay, 0, 0.0f, 0.0f};
  d.latitude = SolveLatitude(30.0f, 23.435f, top, [&](float latitude) { return TopOf(d, latitude); });
  for (const float longitude : {0.0f, 0.05f, 0.1f, 0.15f, 0.2f}) {
    d.longitude = longitude;
    const float reached = static_cast<float>(TopOf(d, d.latitude));
    if (!AgreesWithEverySecond(d, {reached - 0.005f, reached - 0.02f, reached - 0.05f, reached - 0.1f})) return;
  }
}

void RandomDays(int count) {
  std::mt19937_64 random(7);
  const auto uniform = [&](double low, double high) {
    return low + (high - low) * std::generate_canonical<double, 64>(random);
  };
  for (int k = 0; k < count; ++k) {
    const long long start = -2208988800LL + static_cast<long long>(random() % 6311520000ULL);
    const float latitude = k % 5 ? static_cast<float>(uniform(-90, 90)) : (k % 10 ? 90.0f : -89.9f);
    const Day d{start, start + 82800 + static_cast<long long>(random() % 7201), static_cast<int>(random() % 60),
                latitude, static_cast<float>(uniform(-180, 180))};
    if (!AgreesWithEverySecond(d, {-0.833f, -18.0f, 30.0f})) return;
  }
}

class SecondSearchTest : public testing::TestWithParam<test_support::FileRow> {};

TEST_P(SecondSearchTest, AgreesWithEverySecond) {
  const std::string kind = GetParam().words[0];
  std::vector<double> w;
  std::vector<std::string> words(GetParam().words.begin() + 1, GetParam().words.end());
  for (const std::string& word : words) w.push_back(word == "top" || word == "bottom" ? 0.0 : std::stod(word));
  if (kind == "grazing") {
    w.erase(w.begin() + 5);
    Grazing(w, words[5] == "top");
  } else if (kind == "partial") {
    Partial(w);
  } else if (kind == "zenith") {
    Zenith(w[0]);
  } else if (kind == "random") {
    RandomDays(static_cast<int>(w[0]));
  } else {
    const long long start = MidnightUtc(int(w[0]), int(w[1]), int(w[2])) - static_cast<long long>(w[3]);
    AgreesWithEverySecond(Day{start, start + kDay, int(w[4]), float(w[5]), float(w[6])},
                          std::vector<float>(w.begin() + 7, w.end()));
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, SecondSearchTest, testing::ValuesIn(test_support::ReadRows("solar/second_search.rows")),
                         test_support::FileRowName());

}  // namespace
}  // namespace solar
