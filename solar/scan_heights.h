#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "solar/constants.h"
#include "solar/day_events.h"
#include "solar/day_scan.h"
#include "solar/sun_position.h"
#include "solar/types.h"

namespace solar {

// The minutes of a scan above heights, as the full minute track gives them, found from a few
// exact minute heights. Between the day's highest and lowest minutes the heights rise or fall
// minute by minute, so each crossing is found by a search on exact minute heights. Close to a
// turning point the model's single-precision steps can make the sequence jitter; a height
// within a margin of any turning point's, or a day whose heights span less than a few degrees
// (near the poles), is answered from the full track instead.
class ScanHeights {
 public:
  explicit ScanHeights(const MinuteScan& scan);

  // What StretchesAbove, CountMinutesAbove, CrossingsOf and HighestPointOf give for the full
  // track of the scan, to the bit.
  std::vector<Stretch> StretchesAbove(float height);
  int CountAbove(float height);
  std::vector<Crossing> Crossings(float height);
  HighestPoint Highest();

  // Exact heights computed so far (for measuring).
  int Evaluations() const { return m_evaluations; }

 private:
  std::vector<Stretch> FindStretches(float height);
  float At(int minute);
  float AtSecond(long long second);
  int TurnNear(int minute, bool highest);
  std::pair<int, int> Change(int a, int b, float height);
  double GuessMinute(int a, int b, float height, bool rising) const;
  HighestPoint HighestSecond(int top);
  bool NeedsFullTrack(float height);
  const std::vector<float>& FullTrack();
  int Count() const;
  bool Flat() const;

  MinuteScan m_scan;
  SunTracker m_sun;
  bool Known(int minute) const { return (m_known[static_cast<size_t>(minute) / 64] >> (minute % 64)) & 1; }
  void SetKnown(int minute) { m_known[static_cast<size_t>(minute) / 64] |= 1ULL << (minute % 64); }
  int NextKnown(int minute) const;  // the first known minute after it, or Count()

  std::vector<float> m_height;           // of the minutes looked at
  std::vector<unsigned long long> m_known;  // which those are, a bit each
  int m_evaluations = 0;
  std::vector<int> m_bounds;  // the scan's ends and turning points, ascending
  float m_lowest = 0.0f, m_highest = 0.0f;
  float m_margin = 0.0f;  // heights this close to a turning point's need the full track
  double m_hourAngle = 0.0, m_hourAnglePerMinute = 0.25;  // at the first minute, degrees
  double m_sinDeclination[2] = {0.0, 0.0}, m_cosDeclination[2] = {1.0, 1.0};  // first and last minute
  double m_sinPhi = 0.0, m_cosPhi = 1.0;
  std::vector<std::pair<float, std::vector<Stretch>>> m_stretches;  // of the heights asked for
  std::vector<float> m_track;  // the full track's heights, once needed
};

}  // namespace solar
