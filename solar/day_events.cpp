#include "solar/day_events.h"

#include <algorithm>

#include "solar/constants.h"
#include "solar/sun_position.h"

namespace solar {

namespace {

constexpr long long kSecondsPerDay = 86400;

// The model's day number and clock hours of a moment given in seconds after 0:00 of a day.
struct ModelTime {
  int dayNumber;
  float clockHours;
};

ModelTime ModelTimeOf(int dayNumber, long long secondsAfterMidnight) {
  long long days = secondsAfterMidnight / kSecondsPerDay;
  long long rest = secondsAfterMidnight % kSecondsPerDay;
  if (rest < 0) {
    rest += kSecondsPerDay;
    --days;
  }
  const int hour = static_cast<int>(rest / 3600), minute = static_cast<int>(rest / 60 % 60);
  return ModelTime{static_cast<int>(dayNumber + days),
                   ClockHours(hour, minute, static_cast<int>(rest % 60))};
}

long long StartSeconds(const MinuteScan& scan) { return 60LL * scan.startMinute + scan.second; }

}  // namespace

void ScanMinutes(const MinuteScan& scan, DayTrack& track) {
  SunTracker sun(scan.latitude, scan.longitude, Rounding::kDayScan);
  const int count = std::clamp(scan.minutes, 0, kTrackEntries);
  for (int i = 0; i < count; ++i) {
    const ModelTime t = ModelTimeOf(scan.dayNumber, StartSeconds(scan) + 60LL * i);
    const SunPosition p = sun.At(t.dayNumber, t.clockHours);
    track.azimuth[i] = p.azimuth;
    track.height[i] = p.height;
  }
}

float HeightAfter(const MinuteScan& scan, long long seconds) {
  const ModelTime t = ModelTimeOf(scan.dayNumber, StartSeconds(scan) + seconds);
  return ComputeSunPosition(t.dayNumber, t.clockHours, scan.latitude, scan.longitude,
                            Rounding::kDayScan)
      .height;
}

std::vector<Crossing> CrossingsOf(const MinuteScan& scan, const DayTrack& track, float height) {
  std::vector<Crossing> crossings;
  const int count = std::min(scan.minutes, kTrackEntries);
  for (int i = 0; i + 1 < count; ++i) {
    const bool before = track.height[i] > height;
    if ((track.height[i + 1] > height) == before) continue;
    long long low = 60LL * i, high = 60LL * (i + 1);  // before's state at low, the other at high
    while (high - low > 1) {
      const long long middle = (low + high) / 2;
      ((HeightAfter(scan, middle) > height) == before ? low : high) = middle;
    }
    crossings.push_back(Crossing{high, !before});
  }
  return crossings;
}

HighestPoint HighestPointOf(const MinuteScan& scan, const DayTrack& track) {
  const int count = std::min(scan.minutes, kTrackEntries);
  if (count <= 0) return HighestPoint{0, 0.0f};
  const int top = static_cast<int>(std::max_element(track.height, track.height + count) - track.height);
  // Near the top the single-precision height stays the same for some seconds: the middle of the
  // seconds at the greatest height.
  HighestPoint best{60LL * top, track.height[top]};
  long long lastAtBest = best.second;
  const long long from = 60LL * std::max(top - 1, 0), to = 60LL * std::min(top + 1, count - 1);
  for (long long s = from; s <= to; ++s) {
    const float h = HeightAfter(scan, s);
    if (h > best.height) {
      best = HighestPoint{s, h};
      lastAtBest = s;
    } else if (h == best.height) {
      best.second = std::min(best.second, s);
      lastAtBest = std::max(lastAtBest, s);
    }
  }
  best.second = (best.second + lastAtBest) / 2;
  return best;
}

}  // namespace solar
