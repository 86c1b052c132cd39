// Both charts for real days and years, pixel for pixel against the images in tests/data/charts.
#include <gtest/gtest.h>

#include "charts/day_course_chart.h"
#include "charts/year_chart.h"
#include "core/year_pick.h"
#include "platform/gdi.h"
#include "solar/solar.h"
#include "tests/support/golden_image.h"
#include "tests/support/named_rows.h"

namespace charts {
namespace {

struct ChartRow : test_support::Named {
  bool year;  // the year chart of the fields' year, else the day chart of their moment
  float latitude, longitude, longitudeArcmin;
  int month, day, hour, minute;
  int clickX;  // year chart: a click at this column, or -1 for none
};

solar::ObservationFields FieldsOf(const ChartRow& r) {
  solar::ObservationFields f{};
  f.latDegrees = r.latitude;
  f.lonDegrees = r.longitude;
  f.lonArcmin = static_cast<int>(r.longitudeArcmin);
  f.year = 2005;
  f.month = r.month;
  f.day = static_cast<float>(r.day);
  f.hour = r.hour;
  f.minute = r.minute;
  return f;
}

// Each label's text, place and cell, one per line; and the boxes its glyphs may cover.
std::string Labels(const std::vector<platform::TextOutRecord>& log, std::vector<QRect>& boxes) {
  std::string text;
  for (const platform::TextOutRecord& r : log) {
    text += std::to_string(r.x) + " " + std::to_string(r.y) + " " + std::to_string(r.cellHeight) +
            " " + r.text + "\n";
    boxes.emplace_back(r.x, r.y, 7 * static_cast<int>(r.text.size()), r.cellHeight);
  }
  return text;
}

class ChartGoldenTest : public testing::TestWithParam<ChartRow> {};

TEST_P(ChartGoldenTest, DrawsTheGoldenImageAndLabelsAndLeavesNoObjectBehind) {
  const ChartRow& row = GetParam();
  const solar::ObservationFields f = FieldsOf(row);
  platform::Surface surface = row.year ? platform::Surface(649, 310) : platform::Surface(607, 326);
  std::vector<platform::TextOutRecord> log;
  platform::CDC::s_textLog = &log;
  const int live = platform::CGdiObject::LiveCount();
  {
    platform::CDC dc(surface);
    if (row.year) {
      solar::YearSeries series{};
      solar::ComputeYearSeries(f, series);
      DrawYearCourse(dc, series, row.clickX >= 0, core::PickColumn(row.clickX));
    } else {
      solar::DayTrack track;
      solar::ScanDayOf(f, track);
      DrawDayCourse(dc, track, solar::SunPositionOf(f));
    }
  }
  platform::CDC::s_textLog = nullptr;
  EXPECT_EQ(platform::CGdiObject::LiveCount(), live);
  std::vector<QRect> boxes;
  const std::string name = std::string("charts/") + row.name;
  test_support::ExpectSameText(name + ".labels", Labels(log, boxes));
  test_support::ExpectSameImage(name + ".png", surface.Image(), boxes);
}

// Svalbard at 15°20' and 15°45' east: the midnight sun crosses north (the path's long jump
// across the chart) in the first and in the last minute of the scan.
INSTANTIATE_TEST_SUITE_P(
    Rows, ChartGoldenTest,
    testing::Values(
        ChartRow{{"day_51n_june_noon"}, false, 51, 7, 0, 6, 21, 12, 0, -1},
        ChartRow{{"day_51n_december_morning"}, false, 51, 7, 0, 12, 21, 10, 30, -1},
        ChartRow{{"day_78n_midnight_sun_first_minute"}, false, 78, 15, 20, 6, 21, 1, 0, -1},
        ChartRow{{"day_78n_midnight_sun_last_minute"}, false, 78, 15, 45, 6, 21, 23, 59, -1},
        ChartRow{{"day_80n_polar_night"}, false, 80, 0, 0, 12, 21, 12, 0, -1},
        ChartRow{{"day_sydney_sunset"}, false, -33, 151, 0, 12, 21, 10, 0, -1},
        ChartRow{{"year_51n"}, true, 51, 7, 0, 1, 1, 0, 0, -1},
        ChartRow{{"year_51n_picked_march"}, true, 51, 7, 0, 1, 1, 0, 0, 88},
        ChartRow{{"year_78n_picked_far_right"}, true, 78, 15, 45, 1, 1, 0, 0, 400},
        ChartRow{{"year_sydney_picked_left_of_frame"}, true, -33, 151, 0, 1, 1, 0, 0, 3}),
    test_support::RowName());

}  // namespace
}  // namespace charts
