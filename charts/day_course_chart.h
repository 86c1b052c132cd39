#pragma once

#include "platform/cdc.h"
#include "solar/types.h"

namespace charts {

// The pixels the chart and its labels take in the client area.
inline constexpr platform::PixelRect kDayChartArea{0, 0, 391, 251};

// Pixel of a sky position: 0.77777 pixels per degree of azimuth, 2 per degree of height.
int DayChartX(double azimuth);
int DayChartY(double height);

// Draws frame, grid, labels, the sun's path over the 1440 minutes of the track and the cross
// at the entered moment.
void DrawDayCourse(platform::CDC& dc, const solar::DayTrack& track, solar::SunPosition moment);

}  // namespace charts
