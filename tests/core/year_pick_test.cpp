#include "core/year_pick.h"

#include <gtest/gtest.h>

#include "solar/day_scan.h"
#include "tests/support/named_rows.h"

namespace core {
namespace {

// A series whose entry k holds k hours of sunshine and k + 2 hours with twilight.
solar::YearSeries Ramp() {
  solar::YearSeries s{};
  for (int k = 1; k <= 72; ++k) {
    s.sunshine[k] = static_cast<float>(k) / 8.0f;
    s.twilight[k] = static_cast<float>(k) / 8.0f + 2.0f;
  }
  return s;
}

struct ColumnRow : test_support::Named {
  int x, offset;
  float sunshine;  // of the ramp
};

class PickColumnTest : public testing::TestWithParam<ColumnRow> {};

TEST_P(PickColumnTest, ColumnAndInterpolatedValue) {
  const solar::YearSeries ramp = Ramp();
  const YearPick pick = PickAt(GetParam().x, ramp, 2005);
  EXPECT_EQ(pick.markerOffset, GetParam().offset);
  EXPECT_EQ(pick.sunshine, GetParam().sunshine);
  EXPECT_EQ(pick.twilight, GetParam().sunshine + 2.0f);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PickColumnTest,
    testing::Values(ColumnRow{{"entry_16"}, 101, 75, 16.0f / 8},
                    ColumnRow{{"between_16_and_17"}, 103, 77, 16.4f / 8},
                    ColumnRow{{"frame_edge_25"}, 25, 0, 1.0f / 8},
                    ColumnRow{{"frame_edge_26"}, 26, 0, 1.0f / 8},
                    ColumnRow{{"left_of_frame_mirrors"}, 0, 24, 5.8f / 8},
                    ColumnRow{{"entry_71"}, 376, 350, 71.0f / 8},
                    ColumnRow{{"far_right"}, 5000, 350, 71.0f / 8},
                    ColumnRow{{"far_left"}, -5000, 350, 71.0f / 8}),
    test_support::RowName());

TEST(PickTest, HoursAndMinutesAreTruncated) {
  solar::YearSeries s{};
  s.sunshine[1] = s.sunshine[2] = 12.995f;
  s.twilight[1] = s.twilight[2] = 12.75f;
  const YearPick pick = PickAt(25, s, 2005);
  EXPECT_EQ(pick.sunshineShown.hours, 12);
  EXPECT_EQ(pick.sunshineShown.minutes, 59);
  EXPECT_EQ(pick.twilightShown.hours, 12);
  EXPECT_EQ(pick.twilightShown.minutes, 45);
}

TEST(PickTest, NoSunriseAndNoSunsetBetweenEqualEntries) {
  solar::YearSeries s{};
  for (int k = 1; k <= 72; ++k) {
    s.sunshine[k] = 0.0f;
    s.twilight[k] = solar::MinutesToHours(1440);
  }
  const YearPick pick = PickAt(203, s, 2005);
  EXPECT_EQ(pick.sunshineShown.hours, 0);
  EXPECT_EQ(pick.sunshineShown.minutes, 0);
  EXPECT_EQ(pick.twilightShown.hours, 24);
  EXPECT_EQ(pick.twilightShown.minutes, 0);
  EXPECT_EQ(pick.change.minutes, 0);
  EXPECT_EQ(pick.change.seconds, 0);
}

struct ChangeRow : test_support::Named {
  int k;  // the pick lies between entries k and k + 1
  int year;
  float from, to;  // sunshine hours of entry k and of entry k + 1
  int minutes, seconds;
};

class DailyChangeTest : public testing::TestWithParam<ChangeRow> {};

TEST_P(DailyChangeTest, SpreadsTheDifferenceOverTheDaysBetween) {
  const ChangeRow& r = GetParam();
  solar::YearSeries s{};
  s.sunshine[r.k] = r.from;
  s.sunshine[r.k + 1] = r.to;
  const YearPick pick = PickAt(25 + 1 + 5 * (r.k - 1), s, r.year);
  EXPECT_EQ(pick.change.minutes, r.minutes);
  EXPECT_EQ(pick.change.seconds, r.seconds);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DailyChangeTest,
    testing::Values(
        // Within a month the entries are five days apart.
        ChangeRow{{"quarter_hour_more"}, 16, 2005, 10.0f, 10.25f, 3, 0},
        ChangeRow{{"three_minutes_less"}, 16, 2005, 10.0f, 9.95f, 0, -36},
        ChangeRow{{"six_minutes_more"}, 20, 2005, 10.0f, 10.1f, 1, 12},
        ChangeRow{{"minutes_carry_the_sign"}, 50, 2005, 10.0f, 9.7f, -3, 36},
        // Across the end of a month: the real gap of 6, 3 or 4 days.
        ChangeRow{{"january_to_february_6_days"}, 6, 2005, 10.0f, 10.25f, 2, 30},
        ChangeRow{{"february_to_march_3_days"}, 12, 2005, 10.0f, 10.25f, 5, 0},
        ChangeRow{{"february_to_march_leap_year"}, 12, 2004, 10.0f, 10.25f, 3, 45},
        ChangeRow{{"april_to_may_5_days"}, 24, 2005, 10.0f, 10.25f, 3, 0}),
    test_support::RowName());

TEST(DailyChangeTest, FarYearsStillGiveTheRealGap) {
  solar::YearSeries s{};
  s.sunshine[6] = solar::MinutesToHours(500);
  s.sunshine[7] = solar::MinutesToHours(515);
  EXPECT_EQ(SunshineChangePerDay(s, 6, 2147483647), SunshineChangePerDay(s, 6, 2005));
}

}  // namespace
}  // namespace core
