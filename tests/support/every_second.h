#pragma once

// The reference of the searches through every second: the day scan's height at each second, as
// the model computes it, and what a look at every one of them gives.
#include <algorithm>
#include <utility>
#include <vector>

#include "solar/day_events.h"

namespace test_support {

class EverySecond {
 public:
  // The seconds [from, to] after the scan's first moment.
  EverySecond(const solar::MinuteScan& scan, long long from, long long to) : m_from(from) {
    solar::SunTracker sun(scan.latitude, scan.longitude, scan.rounding);
    for (long long s = from; s <= to; ++s) m_heights.push_back(StepsAfter(scan, sun, s, false).position.height);
  }
  // Each second on another side of the height than the second before it (the first second is
  // compared with nothing).
  std::vector<solar::Crossing> Crossings(float height) const {
    std::vector<solar::Crossing> crossings;
    for (size_t i = 1; i < m_heights.size(); ++i) {
      if ((m_heights[i] > height) != (m_heights[i - 1] > height))
        crossings.push_back(solar::Crossing{m_from + static_cast<long long>(i), m_heights[i] > height});
    }
    return crossings;
  }
  // The middle (rounded down) of the first and last second at the greatest height, from the
  // second after the first on, and that height.
  std::pair<long long, float> Highest() const {
    const auto top = std::max_element(m_heights.begin() + 1, m_heights.end());
    const long long first = top - m_heights.begin(),
                    last = m_heights.rend() - std::find(m_heights.rbegin(), m_heights.rend() - 1, *top) - 1;
    return {m_from + first + (last - first) / 2, *top};
  }
  float At(long long second) const { return m_heights[static_cast<size_t>(second - m_from)]; }

 private:
  long long m_from;
  std::vector<float> m_heights;
};

}  // namespace test_support
