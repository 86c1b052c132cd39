#include "solar/moment.h"

namespace solar {

namespace {

constexpr long long kUnixEpochDayNumber = 40587;  // 1970-01-01

// Division rounding toward minus infinity: instants before 1970 are negative.
long long FloorDivide(long long value, long long divisor) {
  const long long quotient = value / divisor;
  return quotient - (value % divisor < 0 ? 1 : 0);
}

}  // namespace

ModelTime ModelTimeAt(long long instant) {
  const long long model = instant + kModelClockOffset;
  const long long days = FloorDivide(model, kSecondsPerDay);
  const int secondOfDay = static_cast<int>(model - days * kSecondsPerDay);
  return ModelTime{static_cast<int>(days + kUnixEpochDayNumber), secondOfDay / 3600, secondOfDay / 60 % 60,
                   secondOfDay % 60};
}

SunPosition SunPositionAt(long long instant, float latitude, float longitude) {
  return PositionStepsAt(instant, latitude, longitude).position;
}

PositionSteps PositionStepsAt(long long instant, float latitude, float longitude) {
  const ModelTime t = ModelTimeAt(instant);
  return ComputePositionSteps(t.dayNumber, ClockHours(t.hour, t.minute, t.second), latitude, longitude,
                              Rounding::kMoment);
}

MinuteScan MinuteScanFrom(long long first, int minutes, float latitude, float longitude) {
  const ModelTime t = ModelTimeAt(first);
  return MinuteScan{t.dayNumber, t.hour * 60 + t.minute, t.second, minutes, latitude, longitude};
}

}  // namespace solar
