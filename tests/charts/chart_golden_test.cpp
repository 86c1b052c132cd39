// Both charts for real days and years, pixel for pixel against the images in tests/data/charts.
#include <gtest/gtest.h>

#include "charts/day_course_chart.h"
#include "charts/year_chart.h"
#include "dialog_model/observation.h"
#include "dialog_model/year_pick.h"
#include "platform/gdi.h"
#include "solar/solar.h"
#include "tests/support/golden_image.h"
#include "tests/support/row_file.h"

namespace charts {
namespace {

solar::ObservationFields FieldsOf(const std::vector<std::string>& row) {
  solar::ObservationFields f{};
  f.latDegrees = std::stof(row[1]), f.lonDegrees = std::stof(row[2]), f.lonArcmin = std::stoi(row[3]);
  f.year = 2005, f.month = std::stoi(row[4]), f.day = std::stof(row[5]);
  f.hour = std::stoi(row[6]), f.minute = std::stoi(row[7]);
  return f;
}

// Each label's text, place and cell, one per line; and the boxes its glyphs may cover.
std::string Labels(const std::vector<platform::TextOutRecord>& log, std::vector<QRect>& boxes) {
  std::string text;
  for (const platform::TextOutRecord& r : log) {
    text += std::to_string(r.x) + " " + std::to_string(r.y) + " " + std::to_string(r.cellHeight) + " " + r.text + "\n";
    boxes.emplace_back(r.x, r.y, 7 * static_cast<int>(r.text.size()), r.cellHeight);
  }
  return text;
}

class ChartGoldenTest : public testing::TestWithParam<test_support::FileRow> {};

TEST_P(ChartGoldenTest, DrawsTheGoldenImageAndLabelsAndLeavesNoObjectBehind) {
  const std::vector<std::string>& row = GetParam().words;
  const solar::ObservationFields f = FieldsOf(row);
  const bool year = row[0] == "year";
  platform::Surface surface = year ? platform::Surface(649, 310) : platform::Surface(607, 326);
  std::vector<platform::TextOutRecord> log;
  platform::CDC::s_textLog = &log;
  const int live = platform::CGdiObject::LiveCount();
  {
    platform::CDC dc(surface);
    if (year) {
      solar::YearSeries series{};
      solar::ComputeYearSeries(dialog_model::YearPlaceOf(f), series);
      const bool picked = row[8] != "-";
      DrawYearCourse(dc, series, picked, picked ? dialog_model::PickColumn(std::stoi(row[8])) : 0);
    } else {
      solar::DayTrack track;
      dialog_model::ScanDayOf(f, track);
      DrawDayCourse(dc, track, dialog_model::SunPositionOf(f));
    }
  }
  platform::CDC::s_textLog = nullptr;
  EXPECT_EQ(platform::CGdiObject::LiveCount(), live);
  std::vector<QRect> boxes;
  const std::string name = "charts/" + GetParam().name;
  test_support::ExpectSameText(name + ".labels", Labels(log, boxes));
  test_support::ExpectSameImage(name + ".png", surface.Image(), boxes);
}

INSTANTIATE_TEST_SUITE_P(Rows, ChartGoldenTest, testing::ValuesIn(test_support::ReadRows("charts/charts.rows")),
                         test_support::FileRowName());

}  // namespace
}  // namespace charts
