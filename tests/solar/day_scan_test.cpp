#include "solar/day_scan.h"

#include <gtest/gtest.h>

#include "tests/support/named_rows.h"

#include <string>

#include "solar/sun_position.h"

namespace solar {
namespace {

struct DayRow : test_support::Named {
  int year, month, day;
  float latitude, longitude;
  int aboveHorizon, aboveTwilight;
};

class DayLengthTest : public testing::TestWithParam<DayRow> {};

TEST_P(DayLengthTest, CountsTheMinutesAboveBothHeights) {
  const DayRow& r = GetParam();
  static DayTrack track;
  ScanDay(DayNumber(r.year, r.month, static_cast<float>(r.day)), 0, r.latitude, r.longitude,
          track);
  const DayLengths lengths = CountDayLengths(track);
  EXPECT_EQ(lengths.minutesAboveHorizon, r.aboveHorizon);
  EXPECT_EQ(lengths.minutesAboveTwilight, r.aboveTwilight);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DayLengthTest,
    testing::Values(DayRow{{"winter_51N"}, 2005, 12, 21, 51, 7, 461, 569},
                    DayRow{{"summer_51N"}, 2005, 6, 21, 51, 7, 979, 1106},
                    DayRow{{"midnight_sun_80N"}, 2005, 6, 21, 80, 0, 1440, 1440},
                    DayRow{{"polar_night_80N"}, 2005, 12, 21, 80, 0, 0, 0}),
    test_support::RowName());

TEST(ScanDayTest, RunsFromOneHourBeforeMidnightTo2259AndLeavesTheSpareEntries) {
  static DayTrack track;
  for (int i = 0; i < 1500; ++i) track.azimuth[i] = track.height[i] = -1234.5f;
  const int n = DayNumber(2005, 6, 21);
  ScanDay(n, 0, 51.0f, 7.0f, track);

  ASSERT_EQ(ClockHours(0, 0, 0), -1.0f);  // 23:00 of the day before
  const SunPosition first = ComputeSunPosition(n, -1.0f, 51.0f, 7.0f, Rounding::kDayScan);
  EXPECT_EQ(track.azimuth[0], first.azimuth);
  EXPECT_EQ(track.height[0], first.height);
  const SunPosition last =
      ComputeSunPosition(n, ClockHours(23, 59, 0), 51.0f, 7.0f, Rounding::kDayScan);
  EXPECT_EQ(track.azimuth[1439], last.azimuth);
  EXPECT_EQ(track.height[1439], last.height);
  for (int i = 1440; i < 1500; ++i) {
    ASSERT_EQ(track.azimuth[i], -1234.5f) << i;
    ASSERT_EQ(track.height[i], -1234.5f) << i;
  }
}

TEST(ScanDayTest, EveryRoundingGivesThePositionComputedOnItsOwn) {
  // The scan remembers the sun's coordinates from one minute to the next where they repeat.
  static DayTrack track;
  const int n = DayNumber(2005, 6, 21);
  for (Rounding rounding : {Rounding::kMoment, Rounding::kDayScan, Rounding::kYearSeries}) {
    ScanDay(n, 17, 51.0f, 7.0f, rounding, track);
    for (int i = 0; i < 1440; ++i) {
      const SunPosition p =
          ComputeSunPosition(n, ClockHours(i / 60, i % 60, 17), 51.0f, 7.0f, rounding);
      ASSERT_EQ(track.azimuth[i], p.azimuth) << i;
      ASSERT_EQ(track.height[i], p.height) << i;
    }
  }
}

TEST(ScanDayTest, EnteredSecondsShiftEveryMinute) {
  static DayTrack zero, thirty;
  const int n = DayNumber(2005, 3, 20);
  ScanDay(n, 0, 51.0f, 7.0f, zero);
  ScanDay(n, 30, 51.0f, 7.0f, thirty);
  for (int i : {0, 61, 720, 1439}) {
    const SunPosition p =
        ComputeSunPosition(n, ClockHours(i / 60, i % 60, 30), 51.0f, 7.0f, Rounding::kDayScan);
    EXPECT_EQ(thirty.height[i], p.height) << i;
    EXPECT_EQ(thirty.azimuth[i], p.azimuth) << i;
    EXPECT_NE(thirty.height[i], zero.height[i]) << i;
  }
}

TEST(CountDayLengthsTest, ExactBoundaryHeightsDoNotCount) {
  static DayTrack track;
  for (int i = 0; i < 1440; ++i) track.height[i] = -90.0f;
  track.height[0] = 0.0f;          // neither sunshine nor above twilight
  track.height[1] = -7.0f;         // not above twilight
  track.height[2] = 0x1p-149f;     // the smallest height above 0
  track.height[3] = -6.9999995f;   // just above -7
  track.height[1439] = 45.0f;      // the last scanned minute counts
  for (int i = 1440; i < 1500; ++i) track.height[i] = 45.0f;  // spare entries never count
  const DayLengths lengths = CountDayLengths(track);
  EXPECT_EQ(lengths.minutesAboveHorizon, 2);
  EXPECT_EQ(lengths.minutesAboveTwilight, 4);
  EXPECT_EQ(CountMinutesAbove(track, -91.0f), 1440);
}

TEST(DayLengthDisplayTest, HoursAreCountsTimesSingleOneSixtieth) {
  EXPECT_EQ(MinutesToHours(1440), 24.000002f);
  EXPECT_EQ(MinutesToHours(750), 12.500001f);
  EXPECT_EQ(MinutesToHours(0), 0.0f);
  const HoursAndMinutes h754 = SplitHours(MinutesToHours(754));
  EXPECT_EQ(h754.hours, 12);
  EXPECT_EQ(h754.minutes, 34);
}

TEST(DayLengthDisplayTest, EveryCountSplitsIntoItsHoursAndMinutes) {
  for (int k = 0; k <= 1440; ++k) {
    const HoursAndMinutes hm = SplitHours(MinutesToHours(k));
    ASSERT_EQ(hm.hours, k / 60) << k;
    ASSERT_EQ(hm.minutes, k % 60) << k;
  }
}

}  // namespace
}  // namespace solar
