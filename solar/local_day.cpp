#include "solar/local_day.h"

#include <algorithm>
#include <cmath>

#include "solar/constants.h"
#include "solar/moment.h"
#include "solar/second_search.h"

namespace solar {

namespace {

int MinutesOf(long long start, long long end, int second) {
  const long long span = end - start - second;
  return span <= 0 ? 0 : static_cast<int>(std::min<long long>((span + 59) / 60, kLongestScan));
}

}  // namespace

LocalDay::LocalDay(long long start, long long end, int second, float latitude, float longitude)
    : m_first(start + second),
      m_lead(second),
      m_tail(0),
      m_scan(MinuteScanFrom(m_first, MinutesOf(start, end, second), latitude, longitude)),
      m_heights(m_scan) {
  if (m_scan.minutes > 0)
    m_tail = std::max(0LL, end - 1 - (m_first + 60LL * (m_scan.minutes - 1)));
  else
    m_lead = 0;
}

LocalDay::Part LocalDay::After() const {
  const long long last = 60LL * (m_scan.minutes - 1);
  return Part{last + 1, last + m_tail, last};
}

std::vector<Crossing> LocalDay::Crossings(float height) {
  std::vector<Crossing> crossings = m_heights.Crossings(height);
  if (m_scan.minutes == 0) return crossings;
  // The crossings between an end of the day and the minute next to it, every second looked at
  // where the whole minute lies within the sun's greatest change in a minute of the height. A
  // crossing is the first second on the sun's new side, so one at the day's first instant is
  // told by the second before it, the last of the day before; one at the next day's first
  // instant is that day's.
  HeightProbe& probe = m_heights.Probe();
  const auto near = [&](long long second) {
    return std::fabs(probe.Degrees(second) - height) <= kMostHeightChangeInAMinute;
  };
  std::vector<Crossing> before;
  if (near(0)) AppendCrossingsWithin(m_scan, probe, -m_lead - 1, 0, height, before);
  crossings.insert(crossings.begin(), before.begin(), before.end());
  const Part after = After();
  if (after.first <= after.last && near(after.minute))
    AppendCrossingsWithin(m_scan, probe, after.minute, after.last, height, crossings);
  return crossings;
}

HighestPoint LocalDay::Highest() {
  Plateau best = m_heights.Highest();
  if (m_scan.minutes == 0) return best.Middle();
  // A partial minute can hold a higher point only where the whole minute next to it comes within
  // the sun's greatest change in a minute of the best; then every second of it is looked at.
  HeightProbe& probe = m_heights.Probe();
  for (const Part& part : {Before(), After()}) {
    if (part.first > part.last) continue;
    if (probe.Degrees(part.minute) + kMostHeightChangeInAMinute < best.height) continue;
    Plateau seconds{part.first, part.first, probe.Height(part.first)};
    for (long long s = part.first + 1; s <= part.last; ++s) seconds.Look(s, probe.Height(s));
    best.Join(seconds);
  }
  return best.Middle();
}

}  // namespace solar
