#pragma once

#include <span>
#include <vector>

#include "solar/day_scan.h"
#include "solar/sun_position.h"
#include "solar/types.h"

namespace solar {

// Consecutive minutes on the model's clock (the clock one hour ahead of universal time that the
// day number and ClockHours describe): from minute `startMinute` after 0:00 of `dayNumber`, each
// shifted by `second`, `minutes` of them.
struct MinuteScan {
  int dayNumber;
  int startMinute;
  int second;
  int minutes;
  float latitude, longitude;
  Rounding rounding = Rounding::kDayScan;  // the year series scans its days in its own
};

// Fills entries 0..minutes-1 (at most the track's 1500) with the day scan's positions. The scan
// of a dialog's day, from minute 0 for 1440 minutes, gives ScanDay's track to the bit.
void ScanMinutes(const MinuteScan& scan, DayTrack& track);
// The heights of every minute of the scan, however many: those ScanMinutes gives.
std::vector<float> FullTrackHeights(const MinuteScan& scan);

// The sun's height, in the scan's rounding, `seconds` after the scan's first moment: at
// 60·i seconds exactly entry i of the scan.
float HeightAfter(const MinuteScan& scan, long long seconds);
// The same with a tracker of the scan's place and rounding, which saves setting one up.
float HeightAfter(const MinuteScan& scan, SunTracker& sun, long long seconds);
// Every step of the computation `seconds` after the scan's first moment.
PositionSteps StepsAfter(const MinuteScan& scan, SunTracker& sun, long long seconds, bool withAzimuth = true);
// The model's day number and clock hours of that moment.
struct ScanTime {
  int dayNumber;
  float clockHours;
};
inline ScanTime TimeAfter(const MinuteScan& scan, long long seconds) {
  constexpr long long kDay = 86400;
  const long long moment = 60LL * scan.startMinute + scan.second + seconds;  // after 0:00 of the day number
  long long days = moment / kDay, rest = moment % kDay;
  if (rest < 0) {
    rest += kDay;
    --days;
  }
  const int hour = static_cast<int>(rest / 3600), minute = static_cast<int>(rest / 60 % 60);
  return ScanTime{static_cast<int>(scan.dayNumber + days), ClockHours(hour, minute, static_cast<int>(rest % 60))};
}
// The rounded day numbers of that moment, without the sun.
RoundedDays DaysAfter(const MinuteScan& scan, long long seconds);

// Where the sun passes a height: the first second after the scan's first moment at which it is
// above the height (rising) or no longer above it (setting).
struct Crossing {
  long long second;
  bool rising;
  bool operator==(const Crossing&) const = default;
};

// Every crossing of the height within the scan, in order, each found between the two scan
// minutes that bracket it to the second (by bisection on the model's heights), from the heights
// of the scan's minutes.
std::vector<Crossing> CrossingsOf(const MinuteScan& scan, std::span<const float> heights, float height);
// The same from the stretches of minutes above the height.
std::vector<Crossing> CrossingsOf(const MinuteScan& scan, const std::vector<Stretch>& above, float height);
// The crossing between two seconds of the scan on different sides of the height, `after` above
// it when `rising`: the first second after `before` on the side of `after`, by bisection on
// whether the sun stands above the height (`above` of a second).
template <typename Above>
Crossing CrossingBetween(long long before, long long after, bool rising, Above above) {
  while (after - before > 1) {
    const long long middle = before + (after - before) / 2;
    (above(middle) != rising ? before : after) = middle;
  }
  return Crossing{after, rising};
}

// The day's highest point: the middle of the first and the last second at the greatest height
// (rounded down), and that height.
struct HighestPoint {
  long long second;
  float height;
};
// The seconds at the greatest height looked at so far, the first and the last of them. Near the
// top the single-precision height stays the same for some seconds, near the poles for minutes.
struct Plateau {
  long long first, last;
  float height;
  // Takes in a second's height; returns it.
  float Look(long long second, float h);
  // Takes in another plateau.
  void Join(const Plateau& other);
  HighestPoint Middle() const { return HighestPoint{first + (last - first) / 2, height}; }
};
// The plateau within a minute of the scan's highest minute.
Plateau HighestPointOf(const MinuteScan& scan, std::span<const float> heights);
// The same from the scan's highest minute (the first of the greatest height) and its height.
Plateau HighestPointOf(const MinuteScan& scan, int top, float topHeight);

}  // namespace solar
