// Targets on the 2-core machine: one position within 5 % of its time without Qt, a day scan
// <= 0.3 ms, a year series on one thread <= 1 ms, a day's counts and events <= 15 us.
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

// The year series of 51 N 7 E in 2005, by the given function (both cores, or one thread).
void BM_YearSeries(benchmark::State& state, void (*compute)(const solar::YearPlace&, solar::YearSeries&)) {
  const solar::YearPlace f{2005, 0, 51.0f, 7.0f};
  solar::YearSeries series{};
  for (auto _ : state) {
    compute(f, series);
    benchmark::DoNotOptimize(series.sunshine[36]);
  }
}
BENCHMARK_CAPTURE(BM_YearSeries, both_cores, solar::ComputeYearSeries)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_YearSeries, one_thread, solar::ComputeYearSeriesOnOneThread)->Unit(benchmark::kMillisecond);

// What the CLI computes for one day: both day lengths, the first and last minute above the
// horizon, sunrise, sunset and the three twilights to the second, and the highest point. The
// days run through a year and the places from the equator to 65 degrees.
void BM_DayCountsAndEvents(benchmark::State& state) {
  int i = 0;
  for (auto _ : state) {
    const solar::MinuteScan scan{53371 + i % 365, 0, 0, 1440, static_cast<float>(i % 66), static_cast<float>(i % 360)};
    solar::SparseTrack day(scan);
    benchmark::DoNotOptimize(day.CountAbove(solar::kHorizonHeight) + day.CountAbove(solar::kTwilightHeight));
    benchmark::DoNotOptimize(day.StretchesAbove(solar::kHorizonHeight).size());
    for (const float height : {-0.833f, -6.0f, -12.0f, -18.0f}) benchmark::DoNotOptimize(day.Crossings(height).size());
    benchmark::DoNotOptimize(day.Highest().second);
    ++i;
  }
}
BENCHMARK(BM_DayCountsAndEvents)->Unit(benchmark::kMicrosecond);

}  // namespace
