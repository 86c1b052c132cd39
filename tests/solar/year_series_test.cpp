#include "solar/year_series.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "solar/day_scan.h"
#include "solar/sun_position.h"

namespace solar {
namespace {

ObservationFields Place(float latitude, float longitude, int year, int second = 0) {
  ObservationFields f{};
  f.latDegrees = latitude;
  f.lonDegrees = longitude;
  f.year = year;
  f.second = second;
  f.month = 7;
  f.day = 4;
  f.hour = 10;
  f.minute = 20;
  return f;
}

TEST(SampleDateTest, SixDaysInEveryMonth) {
  EXPECT_EQ(SampleDateOf(1).month, 1);
  EXPECT_EQ(SampleDateOf(1).day, 1);
  EXPECT_EQ(SampleDateOf(10).month, 2);
  EXPECT_EQ(SampleDateOf(10).day, 16);
  EXPECT_EQ(SampleDateOf(71).month, 12);
  EXPECT_EQ(SampleDateOf(71).day, 21);
  EXPECT_EQ(SampleDateOf(72).month, 12);
  EXPECT_EQ(SampleDateOf(72).day, 26);
}

TEST(YearSeriesTest, WorkedExample2005At51North) {
  YearSeries s{};
  ComputeYearSeries(Place(51, 7, 2005), s);
  EXPECT_EQ(s.sunshine[1], 7.8000002f);   // 468 minutes on 1 January
  EXPECT_EQ(s.twilight[1], 9.5666676f);   // 574 minutes
  EXPECT_EQ(s.sunshine[71], 7.6833339f);  // 461 minutes on 21 December
  EXPECT_EQ(s.twilight[71], 9.4833336f);  // 569 minutes
}

TEST(YearSeriesTest, DependsOnSecondsButNotOnTheEnteredDateOrTime) {
  YearSeries base{}, otherMoment{}, otherSeconds{};
  ComputeYearSeries(Place(51, 7, 2005), base);
  ObservationFields moved = Place(51, 7, 2005);
  moved.month = 1;
  moved.day = 30;
  moved.hour = 0;
  moved.minute = 59;
  ComputeYearSeries(moved, otherMoment);
  ComputeYearSeries(Place(51, 7, 2005, 59), otherSeconds);
  int changed = 0;
  for (int k = 1; k <= 72; ++k) {
    EXPECT_EQ(base.sunshine[k], otherMoment.sunshine[k]) << k;
    EXPECT_EQ(base.twilight[k], otherMoment.twilight[k]) << k;
    if (base.sunshine[k] != otherSeconds.sunshine[k] || base.twilight[k] != otherSeconds.twilight[k])
      ++changed;
  }
  EXPECT_GT(changed, 0);
}

}  // namespace
}  // namespace solar
