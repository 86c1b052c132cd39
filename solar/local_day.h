#pragma once

#include <array>
#include <utility>
#include <vector>

#include "solar/day_events.h"
#include "solar/sparse_track.h"

namespace solar {

// A day of a zone's calendar: the instants from `start` (its first) up to `end` (the first of the
// next date), whatever its length. Its minutes are the instants start + second + 60·i before the
// end; the minute counts are those of these minutes, as the dialog counts its day. Crossings and
// the highest point are searched through every second of the day, the partial minutes before
// the first minute and after the last included.
class LocalDay {
 public:
  LocalDay(long long start, long long end, int second, float latitude, float longitude);

  int Minutes() const { return m_scan.minutes; }
  // The instant of a second counted from the first minute (negative before it).
  long long InstantAfter(long long second) const { return m_first + second; }

  int CountAbove(float height) { return m_heights.CountAbove(height); }
  std::vector<Stretch> StretchesAbove(float height) { return m_heights.StretchesAbove(height); }
  // Every second of the day on another side of the height than the second before it (the
  // first against the last second of the day before), counted from the first minute, as every
  // second below.
  std::vector<Crossing> Crossings(float height);
  // The middle of the first and the last second of the day at its greatest height (rounded
  // down), and that height.
  HighestPoint Highest();
  const MinuteScan& Scan() const { return m_scan; }
  HeightProbe& Probe() { return m_heights.Probe(); }

 private:
  // The partial minutes at the ends, as seconds from the first minute: [first, last]; empty
  // where first > last.
  struct Part {
    long long first, last;
    long long minute;  // the minute second next to it
  };
  Part Before() const { return Part{-m_lead, -1, 0}; }
  Part After() const;

  long long m_first;  // the instant of the first minute
  long long m_lead;   // seconds of the day before the first minute
  long long m_tail;   // seconds of the day after the last minute
  MinuteScan m_scan;
  SparseTrack m_heights;
};

}  // namespace solar
