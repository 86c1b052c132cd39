// Target: position --input at >= 1 million lines per second on the 2-core machine.
#include <benchmark/benchmark.h>

#include <sstream>

#include "cli/batch.h"

namespace {

void BM_PositionBatch(benchmark::State& state) {
  std::string input;
  for (int i = 0; i < 200000; ++i) {
    input += "2005-06-" + std::to_string(1 + i % 28) + ",12:" + std::to_string(i % 60) +
             ":00,51:0:0,7:0:0\n";
  }
  for (auto _ : state) {
    std::istringstream in(input);
    std::ostringstream out, err;
    cli::RunPositionBatch(in, out, err, cli::Format::kCsv);
    benchmark::DoNotOptimize(out.str().size());
  }
  state.SetItemsProcessed(state.iterations() * 200000);
}
BENCHMARK(BM_PositionBatch)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
