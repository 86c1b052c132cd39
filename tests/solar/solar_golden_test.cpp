// The computations to the bit for real places and days, against the tables in tests/data/solar:
// every step of the position in the three roundings, day scans, and year series.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>

#include "solar/solar.h"
#include "tests/support/golden.h"

namespace solar {
namespace {

struct Place {
  float latitude, longitude;
};

// Sydney, Svalbard, Los Angeles (as 241.75 east), the equator at the date line, 51° N.
constexpr Place kPlaces[] = {{51, 7}, {-33.8688f, 151.2093f}, {78.2f, 15.6f}, {34.05f, 241.75f}, {0.5f, 359}, {89, 0}};
struct Day {
  int year, month, day;
};
// Before and after the sign change of the mean anomaly (January 1999), both solstices, the ends
// of the year range.
constexpr Day kDays[] = {{1998, 3, 5},   {1999, 1, 2}, {1999, 1, 4},  {2005, 6, 21},
                         {2005, 12, 21}, {1900, 1, 1}, {2100, 12, 31}};

// Floating-point values in hexadecimal, to the bit.
struct Table : std::ostringstream {
  Table() { *this << std::hexfloat; }
};

TEST(SolarGoldenTest, EveryStepOfThePositionInEachRounding) {
  Table table;
  table << "# day hours latitude longitude rounding: d n g L lambda epsilon delta alpha theta "
           "hourangle tau azimuth height\n";
  const Rounding roundings[] = {Rounding::kMoment, Rounding::kDayScan, Rounding::kYearSeries};
  for (const Day& day : kDays) {
    for (const Place& p : kPlaces) {
      for (const float hours : {ClockHours(0, 30, 0), ClockHours(12, 0, 0), ClockHours(23, 59, 59)}) {
        for (int r = 0; r < 3; ++r) {
          const int n = DayNumber(day.year, day.month, static_cast<float>(day.day));
          const PositionSteps s = ComputePositionSteps(n, hours, p.latitude, p.longitude, roundings[r]);
          table << n << " " << hours << " " << p.latitude << " " << p.longitude << " " << r << ":";
          for (const double v : {double(s.d), s.n, double(s.g), s.meanLongitude, s.eclipticLongitude, s.obliquity,
                                 s.declination, s.rightAscension, s.siderealTime, s.hourAngle, s.tau,
                                 double(s.position.azimuth), double(s.position.height)})
            table << " " << v;
          table << "\n";
        }
      }
    }
  }
  test_support::ExpectSameText("solar/positions.txt", table.str());
}

TEST(SolarGoldenTest, DayScansAndTheirCounts) {
  Table table;
  table << "# day seconds latitude longitude: above 0, above -7, stretches above 0, first and last "
           "two minutes (azimuth height)\n";
  DayTrack track;
  for (const Day& day : kDays) {
    for (const Place& p : kPlaces) {
      for (const int second : {0, 59}) {
        const int n = DayNumber(day.year, day.month, static_cast<float>(day.day));
        ScanDay(n, second, p.latitude, p.longitude, track);
        const DayLengths lengths = CountDayLengths(track);
        table << n << " " << second << " " << p.latitude << " " << p.longitude << ": " << lengths.minutesAboveHorizon
              << " " << lengths.minutesAboveTwilight;
        for (const Stretch& s : StretchesAbove(track, kHorizonHeight)) table << " " << s.first << "-" << s.last;
        for (const int i : {0, 1, 1438, 1439}) table << " " << track.azimuth[i] << " " << track.height[i];
        table << "\n";
      }
    }
  }
  test_support::ExpectSameText("solar/day_scans.txt", table.str());
}

// 60° N 147° E changes with the rounding of the obliquity alone, 79° N 217° E with that of the
// latitude alone, 72° N 105° E with either.
TEST(SolarGoldenTest, YearSeriesOnBothThreadsAsOnOne) {
  struct Row {
    float latitude, longitude;
    int year, second;
  };
  const Row rows[] = {{51, 7, 2005, 0}, {60, 147, 2005, 0},        {79, 217, 2005, 0},   {72, 105, 2005, 0},
                      {80, 0, 2005, 0}, {-33.9f, 18.4f, 2024, 31}, {0.5f, 359, 1900, 59}};
  Table table;
  table << "# latitude longitude year second: sunshine and twilight of days 1..72\n";
  for (const Row& r : rows) {
    const YearPlace f{r.year, r.second, r.latitude, r.longitude};
    YearSeries both{}, one{};
    ComputeYearSeries(f, both);
    ComputeYearSeriesOnOneThread(f, one);
    EXPECT_EQ(std::memcmp(&both, &one, sizeof both), 0) << r.latitude;
    table << r.latitude << " " << r.longitude << " " << r.year << " " << r.second << ":";
    for (int k = 1; k <= kSampleDays; ++k) table << " " << both.sunshine[k] << " " << both.twilight[k];
    table << "\n";
  }
  test_support::ExpectSameText("solar/year_series.txt", table.str());
}

}  // namespace
}  // namespace solar
