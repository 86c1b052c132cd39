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
  SunTracker sun(scan.latitude, scan.longitude, scan.rounding);
  const int count = std::clamp(scan.minutes, 0, kTrackEntries);
  for (int i = 0; i < count; ++i) {
    const ModelTime t = ModelTimeOf(scan.dayNumber, StartSeconds(scan) + 60LL * i);
    const SunPosition p = sun.At(t.dayNumber, t.clockHours);
    track.azimuth[i] = p.azimuth;
    track.height[i] = p.height;
  }
}

float HeightAfter(const MinuteScan& scan, long long seconds) {
  SunTracker sun(scan.latitude, scan.longitude, scan.rounding);
  return HeightAfter(scan, sun, seconds);
}

float HeightAfter(const MinuteScan& scan, SunTracker& sun, long long seconds) {
  return StepsAfter(scan, sun, seconds, false).position.height;
}

PositionSteps StepsAfter(const MinuteScan& scan, SunTracker& sun, long long seconds, bool withAzimuth) {
  const ModelTime t = ModelTimeOf(scan.dayNumber, StartSeconds(scan) + seconds);
  return sun.Steps(t.dayNumber, t.clockHours, withAzimuth);
}

std::vector<Crossing> CrossingsOf(const MinuteScan& scan, const DayTrack& track, float height) {
  return CrossingsOf(scan, StretchesAbove(track, height, std::min(scan.minutes, kTrackEntries)), height);
}

std::vector<Crossing> CrossingsOf(const MinuteScan& scan, const std::vector<Stretch>& above,
                                  float height) {
  SunTracker sun(scan.latitude, scan.longitude, scan.rounding);
  const int count = std::min(scan.minutes, kTrackEntries);
  // Between minute i (low, in the state before) and minute i+1 (high), to the second.
  const auto between = [&](int i, bool rising) {
    long long low = 60LL * i, high = 60LL * (i + 1);
    while (high - low > 1) {
      const long long middle = (low + high) / 2;
      ((HeightAfter(scan, sun, middle) > height) != rising ? low : high) = middle;
    }
    return Crossing{high, rising};
  };
  std::vector<Crossing> crossings;
  for (const Stretch& s : above) {
    if (s.first > 0) crossings.push_back(between(s.first - 1, true));
    if (s.last + 1 < count) crossings.push_back(between(s.last, false));
  }
  return crossings;
}

HighestPoint HighestPointOf(const MinuteScan& scan, const DayTrack& track) {
  const int count = std::min(scan.minutes, kTrackEntries);
  if (count <= 0) return HighestPoint{0, 0.0f};
  const int top = static_cast<int>(std::max_element(track.height, track.height + count) - track.height);
  return HighestPointOf(scan, top, track.height[top]);
}

HighestPoint HighestPointOf(const MinuteScan& scan, int top, float topHeight) {
  const int count = std::min(scan.minutes, kTrackEntries);
  if (count <= 0) return HighestPoint{0, 0.0f};
  SunTracker sun(scan.latitude, scan.longitude, scan.rounding);
  TopSeconds seconds(HighestPoint{60LL * top, topHeight});
  const long long from = 60LL * std::max(top - 1, 0), to = 60LL * std::min(top + 1, count - 1);
  for (long long s = from; s <= to; ++s) seconds.Look(s, HeightAfter(scan, sun, s));
  return seconds.Middle();
}

float TopSeconds::Look(long long second, float height) {
  if (height > m_best.height) {
    m_best = HighestPoint{second, height};
    m_last = second;
  } else if (height == m_best.height) {
    m_best.second = std::min(m_best.second, second);
    m_last = std::max(m_last, second);
  }
  return height;
}

}  // namespace solar
