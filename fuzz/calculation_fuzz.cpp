// A whole calculation, year series, pick and both charts on any bit pattern of the 16 fields.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "charts/day_course_chart.h"
#include "charts/year_chart.h"
#include "dialog_model/observation.h"
#include "dialog_model/year_pick.h"
#include "fuzz/fuzz_support.h"
#include "solar/solar.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  StartGuiApplication();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < sizeof(solar::ObservationFields) + 4) return 0;
  solar::ObservationFields f;
  std::memcpy(&f, data, sizeof f);
  int x;
  std::memcpy(&x, data + sizeof f, 4);

  const solar::SunPosition p = dialog_model::SunPositionOf(f);
  FUZZ_CHECK(std::isnan(p.azimuth) || (p.azimuth > 0 && p.azimuth <= 360));
  static solar::DayTrack track;
  dialog_model::ScanDayOf(f, track);
  const solar::DayLengths lengths = solar::CountDayLengths(track);
  FUZZ_CHECK(lengths.minutesAboveHorizon >= 0 && lengths.minutesAboveHorizon <= 1440);
  FUZZ_CHECK(lengths.minutesAboveHorizon <= lengths.minutesAboveTwilight);

  static platform::Surface day(607, 326), year(649, 310);
  {
    platform::CDC dc(day);
    charts::DrawDayCourse(dc, track, p);
  }
  static solar::YearSeries series;
  solar::ComputeYearSeries(dialog_model::YearPlaceOf(f), series);
  const dialog_model::YearPick pick = dialog_model::PickAt(x, series, f.year);
  FUZZ_CHECK(pick.markerOffset >= 0 && pick.markerOffset <= 350);
  platform::CDC dc(year);
  charts::DrawYearCourse(dc, series, true, pick.markerOffset);
  return 0;
}
