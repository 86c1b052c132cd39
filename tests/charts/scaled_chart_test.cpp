// The day chart at device pixel ratios other than 1: the same geometry at the device's
// resolution, every grid line whole device pixels wide and all of one width, the path unbroken.
#include <gtest/gtest.h>

#include <cmath>

#include "charts/chart_parts.h"
#include "charts/day_course_chart.h"
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

INSTANTIATE_TEST_SUITE_P(Ratios, ScaledChartTest, testing::Values(1.5, 2.0));

}  // namespace
}  // namespace charts
