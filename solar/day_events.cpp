#include "solar/day_events.h"

#include <algorithm>

#include "solar/constants.h"
#include "solar/sun_position.h"

namespace solar {

void ScanMinutes(const MinuteScan& scan, DayTrack& track) {
  SunTracker sun(scan.latitude, scan.longitude, scan.rounding);
  const int count = std::clamp(scan.minutes, 0, kTrackEntries);
  for (int i = 0; i < count; ++i) {
    const SunPosition p = StepsAfter(scan, sun, 60LL * i).position;
    track.azimuth[i] = p.azimuth;
    track.height[i] = p.height;
  }
}

std::vector<float> FullTrackHeights(const MinuteScan& scan) {
  SunTracker sun(scan.latitude, scan.longitude, scan.rounding);
  std::vector<float> heights(static_cast<size_t>(std::max(scan.minutes, 0)));
  for (size_t i = 0; i < heights.size(); ++i) heights[i] = HeightAfter(scan, sun, 60LL * static_cast<long long>(i));
  return heights;
}

float HeightAfter(const MinuteScan& scan, long long seconds) {
  SunTracker sun(scan.latitude, scan.longitude, scan.rounding);
  return HeightAfter(scan, sun, seconds);
}

float HeightAfter(const MinuteScan& scan, SunTracker& sun, long long seconds) {
  return StepsAfter(scan, sun, seconds, false).position.height;
}

PositionSteps StepsAfter(const MinuteScan& scan, SunTracker& sun, long long seconds, bool withAzimuth) {
  const ScanTime t = TimeAfter(scan, seconds);
  return sun.Steps(t.dayNumber, t.clockHours, withAzimuth);
}

RoundedDays DaysAfter(const MinuteScan& scan, long long seconds) {
  const ScanTime t = TimeAfter(scan, seconds);
  return DaysOf(t.dayNumber, t.clockHours, scan.rounding);
}

std::vector<Crossing> CrossingsOf(const MinuteScan& scan, std::span<const float> heights, float height) {
  return CrossingsOf(scan, StretchesAbove(heights, height), height);
}

std::vector<Crossing> CrossingsOf(const MinuteScan& scan, const std::vector<Stretch>& above, float height) {
  SunTracker sun(scan.latitude, scan.longitude, scan.rounding);
  const auto isAbove = [&](long long second) { return HeightAfter(scan, sun, second) > height; };
  std::vector<Crossing> crossings;
  for (const Stretch& s : above) {
    if (s.first > 0) crossings.push_back(CrossingBetween(60LL * (s.first - 1), 60LL * s.first, true, isAbove));
    if (s.last + 1 < scan.minutes)
      crossings.push_back(CrossingBetween(60LL * s.last, 60LL * (s.last + 1), false, isAbove));
  }
  return crossings;
}

Plateau HighestPointOf(const MinuteScan& scan, std::span<const float> heights) {
  if (heights.empty()) return Plateau{0, 0, 0.0f};
  const auto top = std::max_element(heights.begin(), heights.end());
  return HighestPointOf(scan, static_cast<int>(top - heights.begin()), *top);
}

Plateau HighestPointOf(const MinuteScan& scan, int top, float topHeight) {
  const int count = scan.minutes;
  if (count <= 0) return Plateau{0, 0, 0.0f};
  SunTracker sun(scan.latitude, scan.longitude, scan.rounding);
  Plateau plateau{60LL * top, 60LL * top, topHeight};
  const long long from = 60LL * std::max(top - 1, 0), to = 60LL * std::min(top + 1, count - 1);
  for (long long s = from; s <= to; ++s) plateau.Look(s, HeightAfter(scan, sun, s));
  return plateau;
}

float Plateau::Look(long long second, float h) {
  if (h > height) {
    *this = Plateau{second, second, h};
  } else if (h == height) {
    first = std::min(first, second);
    last = std::max(last, second);
  }
  return h;
}

void Plateau::Join(const Plateau& other) {
  if (other.height > height) {
    *this = other;
  } else if (other.height == height) {
    first = std::min(first, other.first);
    last = std::max(last, other.last);
  }
}

}  // namespace solar
