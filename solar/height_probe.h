#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "solar/day_events.h"
#include "solar/height_estimate.h"
#include "solar/sun_position.h"

namespace solar {

// The model's heights at seconds of a scan, as far as the questions below need them: answered
// from the estimate (height_estimate.h) where its error leaves the answer clear, from the model's
// own computation where it does not or where there is no estimate (roundings other than the day
// scan's). Every answer is the one the model's heights give. Each second is looked at once.
class HeightProbe {
 public:
  // For checking the answers: leastError raises the estimate's error bound, and each estimate is
  // moved by `shift` times its error (up at even seconds, down at odd ones).
  explicit HeightProbe(const MinuteScan& scan, double leastError = 0.0, double shift = 0.0);

  // Whether the height `second` after the scan's first moment lies above `height`.
  bool Above(long long second, float height);
  // The height there.
  float Height(long long second);
  // Whether the height's arcsine, before its rounding, is greater at a than at b.
  bool Higher(long long a, long long b);
  // The sine of the height, near enough for guesses; in degrees, the height itself.
  double Sine(long long second) {
    Room(1);
    return Look(second).sine;
  }
  double Degrees(long long second);
  // The sine the height crosses `height` at: above it where the sine is greater.
  double SineOf(float height);
  HeightEstimate::Angles AnglesAt(long long second);

  // How many heights were estimated, and how many the model computed.
  int EstimateCount() const { return m_estimateCount; }
  int ModelCount() const { return m_modelCount; }

 private:
  enum class Kind : std::uint8_t { kNone, kEstimated, kComputed };
  struct Seen {
    long long second = 0;
    double sine = 0.0;
    double degrees = 0.0;  // the height from the sine, once asked for
    double radians = 0.0;  // the arcsine, once computed
    float error = 0.0f;    // of the sine, for an estimate
    float height = 0.0f;   // once computed
    Kind kind = Kind::kNone;
    bool hasDegrees = false;
    bool hasHeight = false;  // known to be `height`
  };
  // The second's entry, looked at now if it was not before. Each question first makes room for
  // the seconds it looks at (Room), so that the table never grows between two lookups: the
  // entries it gives stay where they are until the next question.
  Seen& Look(long long second) {
    Seen& seen = Slot(second);
    return seen.kind != Kind::kNone ? seen : Add(seen, second, nullptr);
  }
  void Room(size_t seconds) {
    while (4 * (m_count + seconds) > 3 * m_seen.size()) Grow();
  }
  // A second not looked at before, in its empty slot; with its angles where asked for.
  Seen& Add(Seen& slot, long long second, HeightEstimate::Angles* angles);
  // The entry with the model's own height (and angles where asked for).
  Seen& ComputeByModel(Seen& seen, HeightEstimate::Angles* angles = nullptr);
  // The place of the second in the table, or the empty one where it goes.
  Seen& Slot(long long second) {
    const size_t mask = m_seen.size() - 1;
    size_t i = static_cast<size_t>((static_cast<unsigned long long>(second) * 0x9E3779B97F4A7C15ULL) >> 40) & mask;
    while (m_seen[i].kind != Kind::kNone && m_seen[i].second != second) i = (i + 1) & mask;
    return m_seen[i];
  }
  void Grow();

  MinuteScan m_scan;
  SunTracker m_sun;
  std::optional<HeightEstimate> m_estimate;
  std::vector<Seen> m_seen;  // open addressing by second; a size of a power of two
  size_t m_count = 0;
  std::vector<std::pair<float, double>> m_sines;  // of the heights asked about
  double m_leastError, m_shift;
  int m_estimateCount = 0, m_modelCount = 0;
};

}  // namespace solar
