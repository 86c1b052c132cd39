#pragma once

#include <vector>

#include "solar/day_events.h"
#include "solar/height_probe.h"

namespace solar {

// The searches through every second of a day scan (rounding kDayScan): crossings of a height and
// the seconds at the greatest height, found from a few of the seconds' heights.
//
// Notes
// 1. Smooth pieces. While the model's day number and its single-precision day numbers d and n
//    stay the same, every term of the day scan's height is a smooth function of the moment: the
//    mean longitude is formed from the unrounded days, the sidereal time is linear in the clock
//    hours, and the clock hours grow with every second. Over such a piece (at most 2^-7 days,
//    11 minutes) the sine of the height, s = sin δ sin φ + cos δ cos φ cos τ, has at most one
//    turning point, since the sun's tops and bottoms lie about 12 hours apart; the rounded height
//    is a monotone function of s. So within a piece the seconds above a height form one run
//    (below a top, above a bottom) or one end of it, found by a binary search on the slope for
//    the turning second and by bisection for each change of side.
// 2. Between pieces the model's values step: n moves the mean anomaly, and with it the
//    declination by at most dδ/dn = 2.34e-4 radians a day and the right ascension by at most
//    6.5e-4 radians a day; a step of n (at most 2^-8 days from 1900 to 2100) moves s by less than
//    8.8e-4 · step. A step of d moves the sidereal time forward by 0.9856 · step degrees, which
//    only makes up for the 0.041 degrees an hour that the piece's own sidereal time lags: the
//    hour angle grows with every second however the pieces fall. At the model's midnight the
//    sidereal time steps back by 3.2e-5 degrees (5.6e-7 in s). Against a smooth course, s is
//    therefore off by at most Perturbation() (half an n step's move plus the midnight's).
// 3. Where the seconds can cross. |s''| ≤ cos δ cos φ ω² < 1.91e-5 a minute squared (ω the hour
//    angle's 2π/1440 a minute), so between two whole minutes s exceeds the greater of the two
//    by at most 1.91e-5 / 8 (a turning point between them) plus twice the perturbation, and
//    falls below the smaller by as much. A minute's interval whose two ends lie on the same side
//    of a height, both further from it than that (Reach(), with a margin of three), holds no
//    crossing. Such ends near the height occur only at a crossing of the whole minutes (where
//    the minute track changes side), or at a turning point or an end of the scan whose height
//    lies within reach: the minutes around those are searched second by second (Note 1).
// 4. A steep crossing. Where the two whole minutes around a crossing differ in s by at least
//    SteepChange() (twice: 60 times the largest step between two seconds, plus the change of the
//    slope over three minutes), the seconds' sines rise or fall strictly through the minute and
//    its neighbours: it holds exactly one crossing, found by a search on the minute alone.
// 5. The tests. SecondSearchTest compares every crossing and the seconds of the greatest height
//    with a look at every second of the day: on days constructed to graze a height (the
//    latitude solved for a top or bottom 1e-6 to 1e-3 degrees from it), with their extreme in a
//    partial minute at either end, on polar plateaus, and on random days. The fuzz target
//    day_search_fuzz does the same for any date, place, zone offset, start and height.

// A run of seconds over which the day numbers stay the same (Note 1): [first, last].
struct SmoothPiece {
  long long first, last;
};
std::vector<SmoothPiece> SmoothPiecesOf(const MinuteScan& scan, long long from, long long to);
// The piece that holds the second, within [from, to].
SmoothPiece PieceAround(const MinuteScan& scan, long long second, long long from, long long to);
// Takes the piece's seconds at the plateau's height or above into it: from its highest second
// (a binary search on the slope), those next to it at the same height.
void LookAtPiece(HeightProbe& probe, const SmoothPiece& piece, Plateau& plateau);

// The largest difference of the sine of a scan's height from a smooth course (Note 2).
double Perturbation(const MinuteScan& scan);
// How near a height a whole minute's sine must lie for its neighbouring seconds to reach the
// other side (Note 3), and the least change of sine over a minute that crosses steeply (Note 4).
double Reach(const MinuteScan& scan);
double SteepChange(const MinuteScan& scan);

// Appends every crossing of the height at the seconds (from, to]: each second on another side of
// the height than the second before it, in order.
void AppendCrossingsWithin(const MinuteScan& scan, HeightProbe& probe, long long from, long long to, float height,
                           std::vector<Crossing>& crossings);

}  // namespace solar
