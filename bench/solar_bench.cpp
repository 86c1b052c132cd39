// Targets on the 2-core machine: one position <= 180 ns, a day scan <= 0.3 ms,
// a year series on both cores <= 10 ms.
#include <benchmark/benchmark.h>

#include "solar/solar.h"

namespace {

void BM_ComputeSunPosition(benchmark::State& state) {
  float t = 0.0f;
  for (auto _ : state) {
    benchmark::DoNotOptimize(solar::ComputeSunPosition(53542, t, 51.0f, 7.0f));
    t += 0.016666668f;
    if (t > 23.0f) t = -1.0f;
  }
}
BENCHMARK(BM_ComputeSunPosition);

void BM_ScanDay(benchmark::State& state) {
  static solar::DayTrack track;
  for (auto _ : state) {
    solar::ScanDay(53542, 0, 51.0f, 7.0f, track);
    benchmark::DoNotOptimize(track.height[720]);
  }
  state.SetLabel("1440 positions");
}
BENCHMARK(BM_ScanDay)->Unit(benchmark::kMicrosecond);

void BM_ComputeYearSeries(benchmark::State& state) {
  solar::ObservationFields f{};
  f.latDegrees = 51.0f;
  f.lonDegrees = 7.0f;
  f.year = 2005;
  solar::YearSeries series{};
  for (auto _ : state) {
    solar::ComputeYearSeries(f, series);
    benchmark::DoNotOptimize(series.sunshine[36]);
  }
}
BENCHMARK(BM_ComputeYearSeries)->Unit(benchmark::kMillisecond);

}  // namespace
