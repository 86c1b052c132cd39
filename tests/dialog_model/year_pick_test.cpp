#include "dialog_model/year_pick.h"

#include <gtest/gtest.h>

#include "solar/day_scan.h"
#include "tests/support/row_file.h"

namespace dialog_model {
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

using test_support::FileRow;

float Number(const std::string& word) { return std::stof(word); }

class PickColumnTest : public testing::TestWithParam<FileRow> {};

TEST_P(PickColumnTest, ColumnAndInterpolatedValue) {
  const std::vector<std::string>& row = GetParam().words;  // x, marker, ramp position
  const YearPick pick = PickAt(std::stoi(row[0]), Ramp(), 2005);
  EXPECT_EQ(pick.markerOffset, std::stoi(row[1]));
  EXPECT_EQ(pick.sunshine, Number(row[2]) / 8);
  EXPECT_EQ(pick.twilight, Number(row[2]) / 8 + 2.0f);
}

INSTANTIATE_TEST_SUITE_P(Rows, PickColumnTest,
                         testing::ValuesIn(test_support::ReadRows("dialog_model/pick_columns.rows")),
                         test_support::FileRowName());

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

class DailyChangeTest : public testing::TestWithParam<FileRow> {};

TEST_P(DailyChangeTest, SpreadsTheDifferenceOverTheDaysBetween) {
  const std::vector<std::string>& row = GetParam().words;  // k, year, from, to, minutes, seconds
  const int k = std::stoi(row[0]);
  solar::YearSeries s{};
  s.sunshine[k] = Number(row[2]);
  s.sunshine[k + 1] = Number(row[3]);
  const YearPick pick = PickAt(25 + 1 + 5 * (k - 1), s, std::stoi(row[1]));
  EXPECT_EQ(pick.change.minutes, std::stoi(row[4]));
  EXPECT_EQ(pick.change.seconds, std::stoi(row[5]));
}

INSTANTIATE_TEST_SUITE_P(Rows, DailyChangeTest,
                         testing::ValuesIn(test_support::ReadRows("dialog_model/daily_changes.rows")),
                         test_support::FileRowName());

TEST(DailyChangeTest, FarYearsStillGiveTheRealGap) {
  solar::YearSeries s{};
  s.sunshine[6] = solar::MinutesToHours(500);
  s.sunshine[7] = solar::MinutesToHours(515);
  EXPECT_EQ(SunshineChangePerDay(s, 6, 2147483647), SunshineChangePerDay(s, 6, 2005));
}

}  // namespace
}  // namespace dialog_model
