#include "solar/day_scan.h"

#include <algorithm>

#include "solar/constants.h"
#include "solar/numeric.h"

namespace solar {

void ScanDay(int dayNumber, int second, float latitude, float longitude, DayTrack& track) {
  ScanDay(dayNumber, second, latitude, longitude, Rounding::kDayScan, track);
}

void ScanDay(int dayNumber, int second, float latitude, float longitude, Rounding rounding, DayTrack& track) {
  SunTracker sun(latitude, longitude, rounding);
  for (int hour = 0; hour < 24; ++hour) {
    for (int minute = 0; minute < 60; ++minute) {
      // The scan's t is the clock hours of (hour, minute, second): one hour earlier.
      const float t = ClockHours(hour, minute, second);
      const SunPosition p = sun.At(dayNumber, t);
      const int i = minute + 60 * hour;
      track.azimuth[i] = p.azimuth;
      track.height[i] = p.height;
    }
  }
}

std::span<const float> HeightsOf(const DayTrack& track, int minutes) {
  return std::span<const float>(track.height, static_cast<size_t>(std::clamp(minutes, 0, kTrackEntries)));
}

int CountMinutesAbove(const DayTrack& track, float height, int minutes) {
  const std::span<const float> heights = HeightsOf(track, minutes);
  return static_cast<int>(std::count_if(heights.begin(), heights.end(), [height](float h) { return h > height; }));
}

std::vector<Stretch> StretchesAbove(std::span<const float> heights, float height) {
  std::vector<Stretch> stretches;
  for (int i = 0; i < static_cast<int>(heights.size()); ++i) {
    if (!(heights[static_cast<size_t>(i)] > height)) continue;
    if (!stretches.empty() && stretches.back().last == i - 1) {
      stretches.back().last = i;
    } else {
      stretches.push_back(Stretch{i, i});
    }
  }
  return stretches;
}

DayLengths CountDayLengths(const DayTrack& track) {
  return DayLengths{CountMinutesAbove(track, kHorizonHeight), CountMinutesAbove(track, kTwilightHeight)};
}

float MinutesToHours(int minutes) { return Single(minutes * static_cast<double>(kPerMinute)); }

HoursAndMinutes SplitHours(float hours) {
  const int whole = TruncToInt(hours);
  return HoursAndMinutes{whole, TruncToInt((static_cast<double>(hours) - whole) * 60.0)};
}

}  // namespace solar
