// The charts at device pixel ratios other than 1: the same geometry at the device's resolution,
// every grid line whole device pixels wide and all of one width, the paths unbroken and smooth,
// and every drawing the same pixels whatever was drawn before.
#include <gtest/gtest.h>

#include <cmath>

#include "charts/chart_parts.h"
#include "charts/day_course_chart.h"
#include "charts/year_chart.h"
#include "solar/solar.h"

namespace charts {
namespace {

bool IsGrid(const QImage& image, int x, int y) { return image.pixel(x, y) == qRgb(40, 40, 100); }

class ScaledChartTest : public testing::TestWithParam<double> {};

TEST_P(ScaledChartTest, GridLinesAreOfOneWholeWidthAndThePathIsUnbroken) {
  const double ratio = GetParam();
  const int width = std::max(1, static_cast<int>(std::lround(ratio)));
  platform::Surface surface(607, 326, ratio);
  solar::DayTrack track;
  solar::ScanDay(solar::DayNumber(2005, 6, 21.0f), 0, 51.0f, 7.0f, track);
  {
    platform::CDC dc(surface);
    DrawDayCourse(dc, track, solar::ComputeSunPosition(53542, 23.0f, 51.0f, 7.0f));  // below the chart
  }
  const QImage& image = surface.Image();
  ASSERT_EQ(image.width(), surface.Device(607));
  // The rows of the heights 67.5, 45 and 22.5 degrees and the columns of three azimuths: runs of
  // `width` grid pixels, at every device column between two vertical lines.
  const auto run = [&](int x, int y, bool across) {
    int n = 0;
    for (int d = -3; d < 4; ++d) n += IsGrid(image, x + (across ? 0 : d), y + (across ? d : 0));
    return n;
  };
  for (const int y : {90, 135, 180})
    for (int x = surface.Device(26); x < surface.Device(59); ++x)
      ASSERT_EQ(run(x, surface.Device(y), true), width) << y;
  for (const int x : {60, 95, 130}) EXPECT_EQ(run(surface.Device(x), surface.Device(100), false), width) << x;
  // The path (red) in every device column from sunrise to sunset, drawn smooth: some of its
  // pixels blend into the background.
  int blended = 0;
  for (int x = surface.Device(DayChartX(track.azimuth[280])); x < surface.Device(DayChartX(track.azimuth[1220])); ++x) {
    bool red = false;
    for (int y = surface.Device(45); y < surface.Device(225); ++y) {
      const QRgb p = image.pixel(x, y);
      red = red || (qRed(p) > 200 && qGreen(p) < 60);
      blended += qRed(p) > 200 && qGreen(p) > 60 && qGreen(p) < 200 && qBlue(p) < 200;
    }
    ASSERT_TRUE(red) << "column " << x;
  }
  EXPECT_GT(blended, 100);
}

// Both charts drawn ten times over give the pixels of one drawing: smoothed labels and lines are
// drawn anew, not over themselves.
TEST_P(ScaledChartTest, TenDrawingsGiveThePixelsOfOne) {
  solar::DayTrack track;
  solar::ScanDay(solar::DayNumber(2005, 6, 21.0f), 0, 51.0f, 7.0f, track);
  solar::YearSeries series{};
  solar::ComputeYearSeries(solar::YearPlace{2005, 0, 51.0f, 7.0f}, series);
  for (const int times : {1, 10}) {
    platform::Surface day(607, 326, GetParam()), year(650, 310, GetParam());
    for (int i = 0; i < times; ++i) {
      platform::CDC dayDc(day), yearDc(year);
      DrawDayCourse(dayDc, track, solar::ComputeSunPosition(53542, 11.0f, 51.0f, 7.0f));
      DrawYearCourse(yearDc, series, true, 88);
    }
    static QImage once[2];
    if (times == 1)
      once[0] = day.Image(), once[1] = year.Image();
    else
      EXPECT_TRUE(day.Image() == once[0] && year.Image() == once[1]);
  }
}

// The year's curves at device resolution are smooth: along the twilight curve (blue) the row of
// its middle moves by less than a logical pixel from one device column to the next.
TEST_P(ScaledChartTest, TheYearCurvesRunWithoutNotches) {
  solar::YearSeries series{};
  solar::ComputeYearSeries(solar::YearPlace{2005, 0, 51.0f, 7.0f}, series);
  platform::Surface surface(650, 310, GetParam());
  {
    platform::CDC dc(surface);
    DrawYearCourse(dc, series, false, 0);
  }
  double previous = -1;
  for (int x = surface.Device(YearChartColumn(1)) + 2; x < surface.Device(YearChartColumn(72)) - 2; ++x) {
    double rows = 0, weight = 0;
    for (int y = surface.Device(46); y < surface.Device(225); ++y) {
      const QRgb p = surface.Image().pixel(x, y);
      const double blue = qBlue(p) > 200 && qRed(p) < 200 ? (255.0 - qRed(p)) : 0.0;
      rows += blue * y, weight += blue;
    }
    if (weight == 0) continue;  // where the red curve covers it
    const double middle = rows / weight;
    if (previous >= 0) {
      ASSERT_LT(std::fabs(middle - previous), GetParam()) << "column " << x;
    }
    previous = middle;
  }
}

INSTANTIATE_TEST_SUITE_P(Ratios, ScaledChartTest, testing::Values(1.5, 2.0));

}  // namespace
}  // namespace charts
