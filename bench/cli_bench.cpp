// The tool's batches and commands in this process (the real programs on files, measured with
// hyperfine beside bench/batch_floor and SunCalc, are the figures that count).
#include <benchmark/benchmark.h>

#include <sstream>

#include "cli/batch.h"
#include "cli/commands.h"
#include "cli/input.h"
#include "cli/time_basis.h"
#include "solar/day_facts.h"
#include "solar/parallel.h"

namespace {

void BM_PositionBatch(benchmark::State& state) {
  std::string input;
  for (int i = 0; i < 200000; ++i) {
    input += "2005-06-" + std::to_string(1 + i % 28) + ",12:" + std::to_string(i % 60) + ":00,51:0:0,7:0:0\n";
  }
  for (auto _ : state) {
    std::istringstream in(input);
    std::ostringstream out, err;
    cli::RunPositionBatch(in, "Standardeingabe", out, err, cli::Format::kCsv, cli::DialogClock());
    benchmark::DoNotOptimize(out.str().size());
  }
  state.SetItemsProcessed(state.iterations() * 200000);
}
BENCHMARK(BM_PositionBatch)->Unit(benchmark::kMillisecond)->UseRealTime();

// `day --input` of 10,000 days through a year at places from the equator to 65 degrees, CSV.
void BM_DayBatch(benchmark::State& state) {
  std::string input;
  for (int i = 0; i < 10000; ++i) {
    input += "2005-" + std::to_string(1 + i % 12) + "-" + std::to_string(1 + i % 28) + "," + std::to_string(i % 66) +
             "," + std::to_string(i % 360 - 180) + "\n";
  }
  const cli::DayRequest request{0, {}, cli::Format::kCsv, cli::DialogClock()};
  for (auto _ : state) {
    std::istringstream in(input);
    std::ostringstream out, err;
    cli::RunDayBatch(in, "Standardeingabe", out, err, request);
    benchmark::DoNotOptimize(out.str().size());
  }
  state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_DayBatch)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

// `day` alone, with three extra heights and in a zone; `days` for a whole year, at most twice its
// computation alone (BM_YearOfDaysAlone).
void BM_Day(benchmark::State& state, std::vector<std::string> arguments) {
  for (auto _ : state) {
    std::istringstream in;
    std::ostringstream out, err;
    cli::Run(arguments, in, out, err);
    benchmark::DoNotOptimize(out.str().size());
  }
}
BENCHMARK_CAPTURE(BM_Day, alone, std::vector<std::string>{"day", "2005-06-21", "51", "7"})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Day, three_heights,
                  std::vector<std::string>{"day", "2005-06-21", "51", "7", "--height", "-6", "--height", "-12",
                                           "--height", "-18"})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Day, los_angeles_zone,
                  std::vector<std::string>{"day", "2005-06-21", "34.0522", "-118.2437", "--tz", "America/Los_Angeles"})
    ->Unit(benchmark::kMicrosecond);
// The computation alone of what `days` computes for a year (Berlin, 2005), on both cores as `days`
// does: the reference of BM_Day/days_a_year.
void BM_YearOfDaysAlone(benchmark::State& state) {
  const cli::TimeBasis berlin = cli::ReadTimeBasis("Europe/Berlin");
  std::vector<cli::DayBounds> bounds;
  for (QDate d(2005, 1, 1); d.year() == 2005; d = d.addDays(1)) bounds.push_back(*cli::BoundsOf(d, berlin));
  const cli::Place place = cli::ReadPlace("52.52", "13.405");
  for (auto _ : state) {
    solar::ForEachBlock(bounds.size(), 8, 0, [&](size_t first, size_t last) {
      for (size_t i = first; i < last; ++i) {
        solar::LocalDay day(bounds[i].start, bounds[i].end, 0, place.latitude, place.longitude);
        benchmark::DoNotOptimize(solar::FactsOf(day).highest.second);
      }
    });
  }
}
BENCHMARK(BM_YearOfDaysAlone)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_CAPTURE(BM_Day, days_a_year,
                  std::vector<std::string>{"days", "2005-01-01", "2005-12-31", "52.52", "13.405", "--tz",
                                           "Europe/Berlin", "--format", "csv"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
