// Target: position --input at >= 2.5 million lines per second on the 2-core machine (the real
// program on a file is the figure that counts; this in-process one has no file to read).
#include <benchmark/benchmark.h>

#include <sstream>

#include "cli/batch.h"
#include "cli/commands.h"

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

// Targets: `day` with its events (and three extra heights) within 1.3 times of the day's scan and
// counts alone, which took 0.34 ms; `days` for a whole year under 0.2 s.
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
BENCHMARK_CAPTURE(BM_Day, days_a_year,
                  std::vector<std::string>{"days", "2005-01-01", "2005-12-31", "52.52", "13.405", "--tz",
                                           "Europe/Berlin", "--format", "csv"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
