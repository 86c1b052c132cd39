// Targets: a whole calculation of the main dialog, chart included, <= 0.5 ms; opening the year
// dialog, series and first drawing included, <= 5 ms.
#include <benchmark/benchmark.h>

#include "app/day_course_dlg.h"
#include "app/sun_app.h"
#include "platform/headless/headless_backend.h"
#include "res/ids.h"

namespace {

void BM_CalculateWithChart(benchmark::State& state) {
  platform::HeadlessBackend ui;
  app::CSunApp app(ui, "tagvaroskop");
  app::CDayCourseDlg dlg(app);
  platform::HeadlessBackend::Window& window = ui.Open(dlg);
  for (auto _ : state) window.Click(res::IDC_CALCULATE);
  benchmark::DoNotOptimize(window.Client().Pixel(150, 100));
}
BENCHMARK(BM_CalculateWithChart)->Unit(benchmark::kMicrosecond);

void BM_OpenYearDialog(benchmark::State& state) {
  platform::HeadlessBackend ui;
  app::CSunApp app(ui, "tagvaroskop");
  app::CDayCourseDlg dlg(app);
  platform::HeadlessBackend::Window& window = ui.Open(dlg);
  for (auto _ : state) window.Click(res::IDC_YEAR_COURSE);  // opens, initialises and ends
  benchmark::DoNotOptimize(dlg.m_yearDlg.m_series.sunshine[36]);
}
BENCHMARK(BM_OpenYearDialog)->Unit(benchmark::kMillisecond);

}  // namespace
