#include "solar/sun_position.h"

#include <gtest/gtest.h>

#include "tests/support/named_rows.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "solar/day_scan.h"
#include "solar/year_series.h"

namespace solar {
namespace {

std::string Digits(double value, int significant) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*g", significant, value);
  return text;
}

struct DayNumberRow : test_support::Named {
  int year, month;
  float day;
  int expected;
};

class DayNumberTest : public testing::TestWithParam<DayNumberRow> {};

TEST_P(DayNumberTest, GivesTheModifiedJulianDay) {
  const DayNumberRow& r = GetParam();
  EXPECT_EQ(DayNumber(r.year, r.month, r.day), r.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DayNumberTest,
    testing::Values(DayNumberRow{{"summer_2005"}, 2005, 6, 21, 53542},
                    DayNumberRow{{"first_day_1900"}, 1900, 1, 1, 15019},
                    DayNumberRow{{"march_2100"}, 2100, 3, 1, 88129},
                    DayNumberRow{{"april_31_is_may_1"}, 2005, 4, 31, 53491},
                    DayNumberRow{{"february_30_is_march_2"}, 2005, 2, 30, 53431},
                    DayNumberRow{{"fraction_truncated"}, 2005, 6, 15.9f, 53536},
                    DayNumberRow{{"nan_day_counts_as_0"}, 2005, 6, std::nanf(""), 53521},
                    DayNumberRow{{"huge_day_saturates"}, 2005, 6, 1e30f,
                                 static_cast<int>(53521LL + 2147483647LL - 4294967296LL)}),
    test_support::RowName());

TEST(DayNumberTest, FarYearsWrapInsteadOfOverflowing) {
  // 2190821044 in 64 bits, beyond the int range, wrapped.
  EXPECT_EQ(DayNumber(6000000, 1, 1), -2104146252);
}

TEST(ClockHoursTest, SubtractsOneHour) {
  EXPECT_EQ(ClockHours(12, 0, 0), 11.0f);
  // Hour 0 reaches back into the day before: -0.5 to the last place of single precision.
  EXPECT_EQ(ClockHours(0, 30, 0), -0x1.fffffep-2f);
  EXPECT_EQ(ClockHours(12, 0, 30), 0x1.604444p+3f);
  EXPECT_EQ(ClockHours(23, 59, 59), 0x1.6ffedcp+4f);
}

TEST(AngleDegreesTest, AddsMinutesAndSecondsWhateverTheSign) {
  EXPECT_EQ(AngleDegrees(-10, 30, 0), -9.5f);
  EXPECT_EQ(AngleDegrees(51, 0, 0), 51.0f);
  EXPECT_EQ(AngleDegrees(52, 31, 12), 0x1.a428f6p+5f);
}

TEST(SunPositionTest, WorkedExampleSummerNoon) {
  const int n = DayNumber(2005, 6, 21);
  const float t = ClockHours(12, 0, 0);
  ASSERT_EQ(n, 53542);
  ASSERT_EQ(t, 11.0f);
  const PositionSteps s = ComputePositionSteps(n, t, AngleDegrees(51, 0, 0),
                                               AngleDegrees(7, 0, 0), Rounding::kMoment);
  EXPECT_EQ(s.d, 53542.457f);  // the single value nearest N + 11/24
  EXPECT_EQ(Digits(s.n, 6), "1997.96");
  EXPECT_EQ(Digits(s.g, 6), "2.90973");
  EXPECT_EQ(Digits(s.meanLongitude, 6), "89.7412");
  EXPECT_EQ(Digits(s.eclipticLongitude, 6), "1.5738");
  EXPECT_EQ(Digits(s.obliquity, 6), "0.409074");
  EXPECT_EQ(Digits(s.declination, 6), "0.409072");
  EXPECT_EQ(Digits(s.rightAscension, 6), "1.57407");
  EXPECT_EQ(Digits(s.siderealTime, 6), "20234.7");
  EXPECT_EQ(Digits(s.hourAngle, 6), "344.554");
  EXPECT_EQ(Digits(s.tau, 6), "6.13577");
  EXPECT_EQ(s.position.azimuth, 0x1.470034p+7f);  // 163.50, before culmination
  EXPECT_EQ(s.position.height, 0x1.ed6108p+5f);   // 61.67
  EXPECT_EQ(Digits(s.position.azimuth, 5), "163.5");
  EXPECT_EQ(Digits(s.position.height, 4), "61.67");
}

struct DirectionRow : test_support::Named {
  double x;
  float y;
  float azimuth;
};

class AzimuthTest : public testing::TestWithParam<DirectionRow> {};

TEST_P(AzimuthTest, CountsFromNorthThroughEast) {
  EXPECT_EQ(AzimuthFromDirection(GetParam().x, GetParam().y), GetParam().azimuth);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, AzimuthTest,
    testing::Values(DirectionRow{{"due_north_is_360"}, 1.0, 0.0f, 360.0f},
                    DirectionRow{{"due_north_negative_zero"}, 1.0, -0.0f, 360.0f},
                    DirectionRow{{"east"}, 0.0, 1.0f, 0x1.680002p+6f},
                    DirectionRow{{"south"}, -1.0, 0.0f, 180.0f},
                    DirectionRow{{"west"}, 0.0, -1.0f, 270.0f},
                    DirectionRow{{"zenith_no_direction"}, 0.0, 0.0f, 360.0f},
                    DirectionRow{{"nan_direction"}, std::nan(""), std::nanf(""), 360.0f}),
    test_support::RowName());

}  // namespace
}  // namespace solar
