// Targets on the 2-core machine: one position within 5 % of its time without Qt, a day scan
// <= 0.3 ms, a year series on one thread <= 1 ms, a day's counts and events <= 15 us.
#include <benchmark/benchmark.h>

#include <thread>
#include <vector>

#include "dialog_model/observation.h"
#include "solar/height_estimate.h"
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

// The C++ loop that the Python package's position runs: 10,000,000 rows of an instant in
// nanoseconds and a place in decimal degrees (the rows of bench/python_bench.py), on both cores.
void BM_PositionsOfRowsOnBothCores(benchmark::State& state) {
  const size_t n = 10'000'000;
  std::vector<long long> ns(n);
  std::vector<double> latitude(n), longitude(n);
  for (size_t i = 0; i < n; ++i) {
    ns[i] = (631152000LL + 97LL * static_cast<long long>(i)) * 1000000000LL;
    latitude[i] = static_cast<double>(i % 17999) / 100.0 - 89.99;
    longitude[i] = static_cast<double>(i % 36001) / 100.0 - 180.0;
  }
  std::vector<float> azimuth(n), elevation(n);
  const auto work = [&](size_t first, size_t last) {
    for (size_t i = first; i < last; ++i) {
      const solar::SunPosition p = solar::SunPositionAt(ns[i] / 1000000000, dialog_model::ModelLatitude(latitude[i]),
                                                        dialog_model::ModelLongitude(longitude[i]));
      azimuth[i] = p.azimuth;
      elevation[i] = p.height;
    }
  };
  for (auto _ : state) {
    std::thread other(work, 0, n / 2);
    work(n / 2, n);
    other.join();
    benchmark::DoNotOptimize(azimuth[n / 3]);
  }
}
BENCHMARK(BM_PositionsOfRowsOnBothCores)->Unit(benchmark::kMillisecond)->UseRealTime();

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
  double estimates = 0.0, modelHeights = 0.0;  // a day: how many of its heights the estimate decides
  for (auto _ : state) {
    const solar::MinuteScan scan{53371 + i % 365, 0, 0, 1440, static_cast<float>(i % 66), static_cast<float>(i % 360)};
    solar::SparseTrack day(scan);
    benchmark::DoNotOptimize(day.CountAbove(solar::kHorizonHeight) + day.CountAbove(solar::kTwilightHeight));
    benchmark::DoNotOptimize(day.StretchesAbove(solar::kHorizonHeight).size());
    for (const float height : {-0.833f, -6.0f, -12.0f, -18.0f}) benchmark::DoNotOptimize(day.Crossings(height).size());
    benchmark::DoNotOptimize(day.Highest().first);
    estimates += day.Probe().EstimateCount();
    modelHeights += day.Probe().ModelCount();
    ++i;
  }
  state.counters["estimates"] = benchmark::Counter(estimates, benchmark::Counter::kAvgIterations);
  state.counters["model_heights"] = benchmark::Counter(modelHeights, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_DayCountsAndEvents)->Unit(benchmark::kMicrosecond);

// One height of a day scan: as the model computes it, and the estimate the searches decide by
// wherever it is clear (solar/height_estimate.h), at seconds spread over the day.
void BM_ModelHeight(benchmark::State& state) {
  const solar::MinuteScan scan{61000, 0, 0, 1440, 52.5f, 13.4f};
  solar::SunTracker sun(scan.latitude, scan.longitude, scan.rounding);
  long long second = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(solar::StepsAfter(scan, sun, second, false).heightSine);
    second = (second + 7919) % 86400;
  }
}
BENCHMARK(BM_ModelHeight);

void BM_HeightEstimate(benchmark::State& state) {
  const solar::MinuteScan scan{61000, 0, 0, 1440, 52.5f, 13.4f};
  solar::HeightEstimate estimate(scan);
  long long second = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(estimate.At(second).sine);
    second = (second + 7919) % 86400;
  }
}
BENCHMARK(BM_HeightEstimate);

// The facts of local days (as `day` and the Python package's day_events give them) for the rows
// of bench/python_bench.py: 365 days of 2025 on the dialog's clock at 274 latitudes from -68 to
// 68 degrees, 13.4 degrees east; the time is per day.
void BM_DayFactsOfRows(benchmark::State& state) {
  const long long first = (20089LL) * 86400 - 3600;  // 2025-01-01 0:00 UTC+1
  size_t i = 0;
  for (auto _ : state) {
    const long long start = first + static_cast<long long>(i % 365) * 86400;
    const double latitude = -68.0 + 136.0 * static_cast<double>(i / 365 % 274) / 273.0;
    solar::LocalDay day(start, start + 86400, 0, dialog_model::ModelLatitude(latitude),
                        dialog_model::ModelLongitude(13.4));
    benchmark::DoNotOptimize(solar::FactsOf(day).highest.second);
    ++i;
  }
}
BENCHMARK(BM_DayFactsOfRows)->Unit(benchmark::kMicrosecond)->Iterations(100010);

}  // namespace
