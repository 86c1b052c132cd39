#include "charts/year_chart.h"

#include <vector>

#include "charts/chart_parts.h"
#include "solar/numeric.h"
#include "solar/year_series.h"

namespace charts {

using platform::CPen;
using platform::Rgb;

namespace {

struct Label {
  const char* text;
  int x, y;
};

constexpr Label kHourLabels[] = {{"0 Stunden", 395, 215},
                                 {"6 Stunden", 395, 172},
                                 {"12 Stunden", 395, 127},
                                 {"18 Stunden", 395, 82},
                                 {"24 Stunden", 395, 41}};
constexpr const char* kMonthLetters[12] = {"J", "F", "M", "A", "M", "J", "J", "A", "S", "O", "N", "D"};

// The exact row of a day length; the raster's segments start at its whole pixel.
double YearChartPointY(double hours) { return 225 - 7.5 * hours; }

void DrawCurve(platform::CDC& dc, const float* hours) {
  dc.IntersectClipRect(25, 45, 385, 285);
  if (dc.Ratio() != 1.0) {  // at device resolution: one smooth line through the exact values
    std::vector<QPointF> points;
    for (int k = 1; k <= solar::kSampleDays; ++k) points.emplace_back(YearChartColumn(k), YearChartPointY(hours[k]));
    dc.Polyline(points);
    return;
  }
  for (int k = 1; k < solar::kSampleDays; ++k) {
    dc.MoveTo(YearChartColumn(k), YearChartStartRow(hours[k]));
    dc.LineTo(YearChartColumn(k) + 5, YearChartEndRow(hours[k + 1]));
  }
}

void DrawLegendLine(platform::CDC& dc, int y) {
  dc.MoveTo(25, y);
  dc.LineTo(40, y);
}

}  // namespace

int YearChartStartRow(double hours) { return solar::TruncToInt(YearChartPointY(hours)); }

int YearChartEndRow(double hours) { return solar::TruncToInt(225 - 7.55 * hours); }

void DrawYearCourse(platform::CDC& dc, const solar::YearSeries& series, bool dayPicked, int markerOffset) {
  ChartGround ground(dc, kYearChartArea, 385, {55, 30, 355, 384});  // February to December; every 6 hours
  for (const Label& label : kHourLabels) dc.TextOut(label.x, label.y, label.text);
  for (int m = 1; m <= 12; ++m) dc.TextOut(34 + 30 * (m - 1), 235, kMonthLetters[m - 1]);

  CPen sunshinePen(platform::PS_SOLID, 1, Rgb{250, 0, 0});
  dc.SelectObject(&sunshinePen);
  dc.TextOut(44, 255, "Sonnenscheinstunden");
  dc.TextOut(44, 270, "Sonnenscheinstunden plus Dämmerung (Sonne 7 Grad unter dem Horizont)");
  DrawCurve(dc, series.sunshine);
  DrawLegendLine(dc, 260);

  CPen twilightPen(platform::PS_SOLID, 1, Rgb{0, 0, 240});
  dc.SelectObject(&twilightPen);
  DrawCurve(dc, series.twilight);
  DrawLegendLine(dc, 275);

  if (dayPicked) {
    CPen markerPen(platform::PS_SOLID, 1, Rgb{100, 0, 100});
    dc.SelectObject(&markerPen);
    for (const int x : {25 + markerOffset, 26 + markerOffset}) {
      dc.MoveTo(x, 215);
      dc.LineTo(x, 55);
    }
    dc.SelectObject(&twilightPen);
    markerPen.DeleteObject();
  }

  dc.SelectObject(static_cast<const CPen*>(nullptr));
  dc.SelectObject(static_cast<const platform::CFont*>(nullptr));
  twilightPen.DeleteObject();
  sunshinePen.DeleteObject();
  ground.Delete();
}

}  // namespace charts
