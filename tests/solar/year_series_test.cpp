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
