#pragma once

#include <vector>

#include "solar/day_scan.h"
#include "solar/sun_position.h"
#include "solar/types.h"

namespace solar {

// Consecutive minutes on the model's clock (the clock one hour ahead of universal time that the
// day number and ClockHours describe): from minute `startMinute` after 0:00 of `dayNumber`, each
// shifted by `second`, `minutes` of them (at most 1500, the size of a DayTrack).
struct MinuteScan {
  int dayNumber;
  int startMinute;
  int second;
  int minutes;
  float latitude, longitude;
  Rounding rounding = Rounding::kDayScan;  // the year series scans its days in its own
};

// Fills entries 0..minutes-1 with the day scan's positions. The scan of a dialog's day, from
// minute 0 for 1440 minutes, gives ScanDay's track to the bit.
void ScanMinutes(const MinuteScan& scan, DayTrack& track);

// The sun's height, in the scan's rounding, `seconds` after the scan's first moment: at
// 60·i seconds exactly entry i of the scan.
float HeightAfter(const MinuteScan& scan, long long seconds);
// The same with a tracker of the scan's place and rounding, which saves setting one up.
float HeightAfter(const MinuteScan& scan, SunTracker& sun, long long seconds);
// Every step of the computation `seconds` after the scan's first moment.
PositionSteps StepsAfter(const MinuteScan& scan, SunTracker& sun, long long seconds,
                         bool withAzimuth = true);

// Where the sun passes a height: the first second after the scan's first moment at which it is
// above the height (rising) or no longer above it (setting).
struct Crossing {
  long long second;
  bool rising;
  bool operator==(const Crossing&) const = default;
};

// Every crossing of the height within the scan, in order, each found between the two scan
// minutes that bracket it to the second (by bisection on the model's heights).
std::vector<Crossing> CrossingsOf(const MinuteScan& scan, const DayTrack& track, float height);
// The same from the stretches of minutes above the height.
std::vector<Crossing> CrossingsOf(const MinuteScan& scan, const std::vector<Stretch>& above,
                                  float height);

// The day's highest point: the middle of the seconds of greatest height within a minute of the
// scan's highest minute.
struct HighestPoint {
  long long second;
  float height;
};
HighestPoint HighestPointOf(const MinuteScan& scan, const DayTrack& track);
// The same from the scan's highest minute (the first of the greatest height) and its height.
HighestPoint HighestPointOf(const MinuteScan& scan, int top, float topHeight);

// The seconds of the greatest height looked at so far, starting from a known one. Near the top
// the single-precision height stays the same for some seconds: the point is their middle.
class TopSeconds {
 public:
  explicit TopSeconds(HighestPoint start) : m_best(start), m_last(start.second) {}
  float Look(long long second, float height);  // returns the height
  float Height() const { return m_best.height; }
  HighestPoint Middle() const { return HighestPoint{(m_best.second + m_last) / 2, m_best.height}; }

 private:
  HighestPoint m_best;  // the first second at the greatest height
  long long m_last;     // the last one
};

}  // namespace solar
