#pragma once

#include "platform/cdc.h"
#include "solar/types.h"

namespace charts {

// The pixels the chart, its labels and legend take in the client area.
inline constexpr platform::PixelRect kYearChartArea{0, 0, 481, 300};

// Rows of an hour value: 7.5 rows per hour where a curve segment starts, 7.55 where it ends.
int YearChartStartRow(double hours);
int YearChartEndRow(double hours);
// Column of sample day k (1..72).
inline int YearChartColumn(int k) { return 20 + 5 * k; }

// Draws frame, hour grid, labels, legend, the sunshine and the twilight curve from entries
// 1..72 and, once a position is picked, the marker at the picked column.
void DrawYearCourse(platform::CDC& dc, const solar::YearSeries& series, bool dayPicked, int markerOffset);

}  // namespace charts
