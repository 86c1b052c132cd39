#pragma once

#include <span>
#include <vector>

#include "solar/constants.h"
#include "solar/sun_position.h"
#include "solar/types.h"

namespace solar {

// Fills entries 0..1439 of the track with the sun's position for every minute from one hour
// before 0:00 to 22:59 of the day, each shifted by the entered seconds.
void ScanDay(int dayNumber, int second, float latitude, float longitude, DayTrack& track);
void ScanDay(int dayNumber, int second, float latitude, float longitude, Rounding rounding, DayTrack& track);

// Counts the minutes of the track with the height strictly above 0 and strictly above -7.
DayLengths CountDayLengths(const DayTrack& track);

// Minutes among the first `minutes` of the track with the height strictly above the given height.
int CountMinutesAbove(const DayTrack& track, float height, int minutes = kMinutesPerScan);
// The first `minutes` heights of a track (at most its 1500 entries).
std::span<const float> HeightsOf(const DayTrack& track, int minutes = kMinutesPerScan);

// A run of consecutive scan minutes with the sun above a height, first and last minute included.
struct Stretch {
  int first, last;
  bool operator==(const Stretch&) const = default;
};
// Every stretch of minute heights above the height, in scan order.
std::vector<Stretch> StretchesAbove(std::span<const float> heights, float height);
inline std::vector<Stretch> StretchesAbove(const DayTrack& track, float height, int minutes = kMinutesPerScan) {
  return StretchesAbove(HeightsOf(track, minutes), height);
}

// Fractional hours of a minute count: count times the single-precision 1/60.
float MinutesToHours(int minutes);

// Whole hours and the minutes after them, both truncated, as the dialogs show a duration.
struct HoursAndMinutes {
  int hours;
  int minutes;
};
HoursAndMinutes SplitHours(float hours);

}  // namespace solar
