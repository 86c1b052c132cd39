#include "solar/scan_heights.h"

#include <algorithm>
#include <cmath>

#include "solar/constants.h"

namespace solar {

namespace {

// Heights this close to a turning point's (degrees) are left to the full track: the jitter of
// the model's rounding stays far below it.
constexpr float kTurnMargin = 0.01f;
// Seconds this far below the greatest height so far (degrees) end the search for the top: the
// jitter of the seconds' heights there is below 2e-5 degrees.
constexpr float kTopMargin = 2e-4f;
// Days whose heights span less than this (degrees) are left to the full track.
constexpr float kLeastSpan = 2.0f;
// The local hour angle advances by about this much per minute (degrees).
constexpr double kHourAnglePerMinute = 0.25;

}  // namespace

ScanHeights::ScanHeights(const MinuteScan& scan)
    : m_scan(scan), m_sun(scan.latitude, scan.longitude, scan.rounding) {
  m_scan.minutes = std::clamp(scan.minutes, 0, kTrackEntries);
  const int n = Count();
  if (n == 0) return;
  m_bounds = {0, n - 1};
  // The model's hour angle at the first minute tells roughly where the sun passes 0 degrees
  // (its highest point) and 180 (its lowest); each is then found on the exact minute heights.
  const double tau = StepsAfter(m_scan, m_sun, 0, false).tau * kRadToDeg;
  const double firstPass = std::fmod(std::fmod(-tau, 180.0) + 180.0, 180.0) / kHourAnglePerMinute;
  const double atFirstPass = std::fmod(std::fmod(tau, 360.0) + 360.0 + firstPass * kHourAnglePerMinute, 360.0);
  const bool firstIsHighest = atFirstPass < 90.0 || atFirstPass > 270.0;
  // Passes a little outside the scan count too: the turning point of the heights can lie some
  // minutes from the pass where the declination changes fast against a small daily swing.
  int k = 0;
  for (double m = firstPass - 720.0; m < n + 720.0; m += 720.0, ++k) {
    if (m < -60.0 || m > n + 60.0) continue;
    const bool highest = firstIsHighest == (k % 2 == 1);
    m_bounds.push_back(TurnNear(std::clamp(static_cast<int>(std::lround(m)), 0, n - 1), highest));
  }
  std::sort(m_bounds.begin(), m_bounds.end());
  m_bounds.erase(std::unique(m_bounds.begin(), m_bounds.end()), m_bounds.end());
  m_lowest = m_highest = At(m_bounds.front());
  for (const int b : m_bounds) {
    m_lowest = std::min(m_lowest, At(b));
    m_highest = std::max(m_highest, At(b));
  }
}

int ScanHeights::Count() const { return m_scan.minutes; }

float ScanHeights::At(int minute) {
  if (!m_known[minute]) {
    m_height[minute] = HeightAfter(m_scan, m_sun, 60LL * minute);
    m_known[minute] = true;
    ++m_evaluations;
  }
  return m_height[minute];
}

// Climbs (or descends) from the minute to where neither neighbour is further along.
int ScanHeights::TurnNear(int minute, bool highest) {
  const auto better = [&](int a, int b) { return highest ? At(a) > At(b) : At(a) < At(b); };
  for (;;) {
    if (minute > 0 && better(minute - 1, minute)) {
      --minute;
    } else if (minute + 1 < Count() && better(minute + 1, minute)) {
      ++minute;
    } else {
      return minute;
    }
  }
}

bool ScanHeights::NeedsFullTrack(float height) {
  if (m_track) return true;
  if (m_highest - m_lowest < kLeastSpan) return true;
  for (const int b : m_bounds) {
    if (std::fabs(At(b) - height) < kTurnMargin) return true;
  }
  return false;
}

const DayTrack& ScanHeights::FullTrack() {
  if (!m_track) {
    m_track = std::make_unique<DayTrack>();
    ScanMinutes(m_scan, *m_track);
    m_evaluations += Count();
  }
  return *m_track;
}

std::vector<Stretch> ScanHeights::StretchesAbove(float height) {
  if (Count() == 0) return {};
  if (NeedsFullTrack(height)) return solar::StretchesAbove(FullTrack(), height, Count());
  std::vector<Stretch> stretches;
  const auto add = [&](int first, int last) {
    if (first > last) return;
    if (!stretches.empty() && stretches.back().last + 1 >= first) {
      stretches.back().last = std::max(stretches.back().last, last);
    } else {
      stretches.push_back(Stretch{first, last});
    }
  };
  // In each piece between turning points the minutes above the height are one end of it.
  for (size_t p = 0; p + 1 < m_bounds.size(); ++p) {
    const int a = m_bounds[p], b = m_bounds[p + 1];
    const bool aAbove = At(a) > height, bAbove = At(b) > height;
    if (aAbove == bAbove) {
      if (aAbove) add(a, b);
      continue;
    }
    const auto [low, high] = Change(a, b, height);
    if (aAbove) {
      add(a, low);
    } else {
      add(high, b);
    }
  }
  if (m_bounds.size() == 1 && At(0) > height) add(0, 0);
  return stretches;
}

// The two neighbouring minutes between a and b where the state (above the height or not)
// changes, a and b being in different states. The heights are smooth there: a secant through
// the last two minutes looked at lands within a minute after a few steps; where it would not
// move at most half as far as the step before, a bisection step follows.
std::pair<int, int> ScanHeights::Change(int a, int b, float height) {
  const bool aAbove = At(a) > height;
  int low = a, high = b;  // low in a's state, high in b's
  // Minutes looked at for other heights narrow the bracket: in the piece the states change once.
  for (int m = a + 1; m < b; ++m) {
    if (!m_known[m]) continue;
    if ((m_height[m] > height) == aAbove) {
      low = m;
    } else {
      high = m;
      break;
    }
  }
  int previous = low, last = high;
  int step = b - a;  // how far the last probe moved
  while (high - low > 1) {
    int middle = low + (high - low) / 2;
    const double slope = (static_cast<double>(At(last)) - At(previous)) / (last - previous);
    if (slope != 0.0) {
      const double estimate = last + (height - At(last)) / slope;
      if (estimate > low && estimate < high) {
        int guess = std::clamp(static_cast<int>(std::floor(estimate)), low + 1, high - 1);
        if (guess == last) guess = std::clamp(guess + 1, low + 1, high - 1);
        if (2 * std::abs(guess - last) <= step + 1) middle = guess;
      }
    }
    step = std::abs(middle - last);
    ((At(middle) > height) == aAbove ? low : high) = middle;
    previous = last;
    last = middle;
  }
  return {low, high};
}

int ScanHeights::CountAbove(float height) {
  int count = 0;
  for (const Stretch& s : StretchesAbove(height)) count += s.last - s.first + 1;
  return count;
}

std::vector<Crossing> ScanHeights::Crossings(float height) {
  return CrossingsOf(m_scan, StretchesAbove(height), height);
}

HighestPoint ScanHeights::Highest() {
  if (Count() == 0) return HighestPoint{0, 0.0f};
  if (m_track || m_highest - m_lowest < kLeastSpan) return HighestPointOf(m_scan, FullTrack());
  // The first minute of the greatest height lies near one of the turning points or ends: around
  // each, every minute within the margin of its height is looked at.
  int top = -1;
  for (const int b : m_bounds) {
    const auto near = [&](int m) { return std::fabs(At(m) - At(b)) <= kTurnMargin; };
    int from = b, to = b;
    while (from > 0 && near(from - 1)) --from;
    while (to + 1 < Count() && near(to + 1)) ++to;
    for (int m = from; m <= to; ++m) {
      if (top < 0 || At(m) > At(top) || (At(m) == At(top) && m < top)) top = m;
    }
  }
  return HighestSecond(top);
}

// As HighestPointOf, which looks at every second within a minute of the top. In the day scan's
// rounding the seconds there
// fall off from the greatest height like a parabola, so the search spreads from the vertex of
// the parabola through the three minutes and stops on each side once the heights lie clearly
// below the greatest so far.
HighestPoint ScanHeights::HighestSecond(int top) {
  // Other roundings hold the sun's coordinates for minutes at a time; their steps are larger.
  if (m_scan.rounding != Rounding::kDayScan) return HighestPointOf(m_scan, top, At(top));
  const long long from = 60LL * std::max(top - 1, 0), to = 60LL * std::min(top + 1, Count() - 1);
  long long vertex = 60LL * top;
  if (top > 0 && top + 1 < Count()) {
    const double l = At(top - 1), c = At(top), r = At(top + 1), bend = l - 2.0 * c + r;
    if (bend < 0.0) vertex += std::llround(std::clamp(30.0 * (l - r) / bend, -60.0, 60.0));
  }
  HighestPoint best{60LL * top, At(top)};
  long long lastAtBest = best.second;
  const auto look = [&](long long second) {
    const float h = second % 60 == 0 ? At(static_cast<int>(second / 60)) : HeightAfter(m_scan, m_sun, second);
    if (h > best.height) {
      best = HighestPoint{second, h};
      lastAtBest = second;
    } else if (h == best.height) {
      best.second = std::min(best.second, second);
      lastAtBest = std::max(lastAtBest, second);
    }
    return h;
  };
  look(vertex);
  bool left = true, right = true;
  for (long long d = 1; left || right; ++d) {
    if (left) left = vertex - d >= from && look(vertex - d) >= best.height - kTopMargin;
    if (right) right = vertex + d <= to && look(vertex + d) >= best.height - kTopMargin;
  }
  best.second = (best.second + lastAtBest) / 2;
  return best;
}

}  // namespace solar
