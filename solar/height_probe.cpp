#include "solar/height_probe.h"

#include <algorithm>
#include <cmath>

#include "solar/constants.h"

namespace solar {

namespace {

constexpr size_t kFirstSize = 64;
// An estimate this close to ±1 makes the arcsine's slope grow too fast for its error to be
// carried over to first order: the model decides.
constexpr double kLeastCosine = 1e-4;
// Heights whose rounding boundary lies this close to ±90 degrees (radians) are left to the model.
constexpr double kLastRadians = 1.5707;

}  // namespace

HeightProbe::HeightProbe(const MinuteScan& scan, double leastError, double shift)
    : m_scan(scan),
      m_sun(scan.latitude, scan.longitude, scan.rounding),
      m_seen(kFirstSize),
      m_leastError(leastError),
      m_shift(shift) {
  if (scan.rounding == Rounding::kDayScan) m_estimate.emplace(scan);
}

void HeightProbe::Grow() {
  std::vector<Seen> old(m_seen.size() * 2);
  old.swap(m_seen);
  for (const Seen& seen : old) {
    if (seen.kind != Kind::kNone) Slot(seen.second) = seen;
  }
}

HeightProbe::Seen& HeightProbe::Add(Seen& slot, long long second, HeightEstimate::Angles* angles) {
  ++m_count;
  slot.second = second;
  if (m_estimate) {
    const HeightEstimate::Estimate e = m_estimate->At(second, angles);
    ++m_estimateCount;
    angles = nullptr;  // given
    if (e.sure) {
      slot.error = static_cast<float>(std::max(e.error, m_leastError) * (1.0 + 0x1p-20));  // rounded up
      slot.sine = e.sine + (second % 2 == 0 ? m_shift : -m_shift) * slot.error;
      slot.kind = Kind::kEstimated;
      return slot;
    }
  }
  return ComputeByModel(slot, angles);
}

HeightProbe::Seen& HeightProbe::ComputeByModel(Seen& seen, HeightEstimate::Angles* angles) {
  if (seen.kind == Kind::kComputed && !angles) return seen;
  const PositionSteps steps = StepsAfter(m_scan, m_sun, seen.second, false);
  ++m_modelCount;
  if (angles) *angles = {steps.tau, std::sin(steps.declination), std::cos(steps.declination)};
  seen.sine = steps.heightSine;
  seen.error = 0.0f;
  seen.radians = steps.heightRadians;
  seen.height = steps.position.height;
  seen.hasHeight = true;
  seen.kind = Kind::kComputed;
  return seen;
}

double HeightProbe::SineOf(float height) {
  if (!m_sines.empty() && m_sines.back().first == height) return m_sines.back().second;
  for (auto& known : m_sines) {
    if (known.first == height) {
      std::swap(known, m_sines.back());  // the next question is likely about it again
      return m_sines.back().second;
    }
  }
  const double radians = LeastRadians(std::nextafter(height, 1e9f));
  return m_sines.emplace_back(height, std::fabs(radians) < kLastRadians ? std::sin(radians) : NAN).second;
}

bool HeightProbe::Above(long long second, float height) {
  const double sine = SineOf(height);
  Room(1);
  Seen& seen = Look(second);
  if (seen.kind == Kind::kEstimated) {
    if (seen.sine - seen.error > sine) return true;
    if (seen.sine + seen.error < sine) return false;
  }
  return ComputeByModel(seen).height > height;
}

float HeightProbe::Height(long long second) {
  Room(1);
  Seen& seen = Look(second);
  if (seen.hasHeight) return seen.height;
  if (seen.kind == Kind::kEstimated) {
    const double cosine = std::sqrt(std::max(0.0, 1.0 - seen.sine * seen.sine));
    if (cosine > kLeastCosine) {
      // The arcsine's error from the sine's, with room for the two arcsines' own rounding.
      const double radians = std::asin(seen.sine), error = 1.01 * seen.error / cosine + 1e-15;
      const float low = HeightDegrees(radians - error);
      if (low == HeightDegrees(radians + error)) {
        seen.height = low;
        seen.hasHeight = true;
        return low;
      }
    }
  }
  return ComputeByModel(seen).height;
}

bool HeightProbe::Higher(long long a, long long b) {
  Room(2);
  Seen& first = Look(a);
  Seen& second = Look(b);
  if (first.kind == Kind::kEstimated || second.kind == Kind::kEstimated) {
    const double difference = first.sine - second.sine, error = first.error + second.error;
    if (std::fabs(difference) > error) return difference > 0.0;
  }
  return ComputeByModel(first).radians > ComputeByModel(second).radians;
}

double HeightProbe::Degrees(long long second) {
  Room(1);
  Seen& seen = Look(second);
  if (!seen.hasDegrees) {
    seen.degrees = std::asin(std::clamp(seen.sine, -1.0, 1.0)) * (180.0 / 3.14159265358979323846);
    seen.hasDegrees = true;
  }
  return seen.degrees;
}

HeightEstimate::Angles HeightProbe::AnglesAt(long long second) {
  HeightEstimate::Angles angles{};
  Room(1);
  Seen& seen = Slot(second);
  if (seen.kind == Kind::kNone) {
    Add(seen, second, &angles);
  } else if (m_estimate) {
    m_estimate->At(second, &angles);
  } else {
    ComputeByModel(seen, &angles);
  }
  return angles;
}

}  // namespace solar
