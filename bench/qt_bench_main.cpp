// Benchmark main: starts Qt as the programs do and hashes a string with a seed, as Qt does when
// it parses a command line, so that the benchmarks see the processor state users see.
// TAGVAROSKOP_BENCH_WITHOUT_QT=1 leaves Qt out (for the computations alone, to compare).
#include <benchmark/benchmark.h>
#include <QGuiApplication>
#include <QHash>
#include <cstdlib>
#include <memory>

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  std::unique_ptr<QGuiApplication> application;
  const char* withoutQt = getenv("TAGVAROSKOP_BENCH_WITHOUT_QT");
  if (!withoutQt || *withoutQt != '1') {
    application = std::make_unique<QGuiApplication>(argc, argv);
    benchmark::DoNotOptimize(qHash(QStringLiteral("--format"), qGlobalQHashSeed()));
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
