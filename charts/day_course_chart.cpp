#include "charts/day_course_chart.h"

#include "charts/chart_parts.h"
#include "solar/constants.h"
#include "solar/numeric.h"

namespace charts {

using platform::CPen;

namespace {

constexpr double kPixelsPerDegree = 0.77777;

// Where an azimuth and a height lie on the chart, in fractions of a pixel.
double DayChartPointX(double azimuth);
double DayChartPointY(double height);

struct Label {
  const char* text;
  int x, y;
};

constexpr Label kLabels[] = {
    {"Horizont", 315, 215}, {"22.5 Grad", 315, 172}, {"45.0 Grad", 315, 127}, {"67.5 Grad", 315, 82},
    {"Zenith", 315, 41},    {"S", 161, 235},         {"O", 90, 235},          {"W", 231, 235},
    {"N", 21, 235},         {"N", 299, 235},
};

}  // namespace

namespace {
double DayChartPointX(double azimuth) { return 25 + kPixelsPerDegree * azimuth; }
double DayChartPointY(double height) { return 225 - 2 * height; }
}  // namespace

int DayChartX(double azimuth) { return solar::TruncToInt(DayChartPointX(azimuth)); }

int DayChartY(double height) { return solar::TruncToInt(DayChartPointY(height)); }

void DrawDayCourse(platform::CDC& dc, const solar::DayTrack& track, solar::SunPosition moment) {
  ChartGround ground(dc, kDayChartArea, 306, {60, 35, 270, 305});  // azimuths 45 to 315; heights 90 to 0
  for (const Label& label : kLabels) dc.TextOut(label.x, label.y, label.text);

  CPen pathPen(platform::PS_SOLID, 1, platform::Rgb{250, 0, 0});
  dc.SelectObject(&pathPen);
  dc.IntersectClipRect(25, 45, 385, 225);
  // Minute by minute; at device resolution the path runs through the exact points.
  for (int i = 0; i + 1 < solar::kMinutesPerScan; ++i) {
    dc.MoveToPoint(DayChartPointX(track.azimuth[i]), DayChartPointY(track.height[i]));
    dc.LineToPoint(DayChartPointX(track.azimuth[i + 1]), DayChartPointY(track.height[i + 1]));
  }

  CPen markerPen(platform::PS_INSIDEFRAME, 1, platform::Rgb{0, 0, 170});
  dc.SelectObject(&markerPen);
  const double az = moment.azimuth, h = moment.height;
  const int x = DayChartX(az), y = DayChartY(h);
  const int up = solar::TruncToInt(225 - 2 * h - 5);
  const int down = solar::TruncToInt(225 - 2 * h + 5);
  const int right = solar::TruncToInt(25 + kPixelsPerDegree * az + 5);
  const int left = solar::TruncToInt(25 + kPixelsPerDegree * az - 5);
  const int ends[4][2] = {{x, up}, {x, down}, {right, y}, {left, y}};
  for (const auto& end : ends) {
    dc.MoveTo(x, y);
    dc.LineTo(end[0], end[1]);
  }

  dc.SelectObject(static_cast<const CPen*>(nullptr));
  dc.SelectObject(static_cast<const platform::CFont*>(nullptr));
  markerPen.DeleteObject();
  pathPen.DeleteObject();
  ground.Delete();
}

}  // namespace charts
