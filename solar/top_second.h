#pragma once

#include "solar/day_events.h"
#include "solar/height_probe.h"

namespace solar {

// The seconds at the greatest height of a day scan (its rounding kDayScan) within [from, to], as
// HighestPointOf finds them by looking at each of them: from a dozen or so heights instead of a
// hundred. Between the steps of the rounded day numbers
// the arcsine of the height rises to one top and falls after it, so the top of each such piece
// is climbed to from `guess` (the second where the top is expected), and the first and last
// second at the greatest height are found where the parabola through a top and its neighbours
// reaches the least arcsine that rounds to that height, each checked with its neighbour.
Plateau TopSecond(const MinuteScan& scan, HeightProbe& probe, long long from, long long to, double guess);

}  // namespace solar
