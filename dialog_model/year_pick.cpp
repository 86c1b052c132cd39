#include "dialog_model/year_pick.h"

#include <algorithm>
#include <cstdlib>

#include "solar/numeric.h"
#include "solar/sun_position.h"
#include "solar/year_series.h"

namespace dialog_model {

int PickColumn(int x) {
  const long long o = std::llabs(static_cast<long long>(x) - 25) - 1;
  return static_cast<int>(std::clamp(o, 0LL, static_cast<long long>(kLastPickColumn)));
}

int SteppedColumn(DayStep step, std::optional<int> picked) {
  switch (step) {
    case DayStep::kFirst:
      return 0;
    case DayStep::kLast:
      return kLastPickColumn;
    case DayStep::kBack:
      return picked ? std::max(*picked - 1, 0) : kLastPickColumn;
    case DayStep::kForward:
      return picked ? std::min(*picked + 1, kLastPickColumn) : 0;
  }
  return 0;
}

DailyChange DailyChangeOf(double r) {
  const int minutes = solar::TruncToInt(r);
  if (minutes == 0) return DailyChange{0, solar::TruncToInt(r * 60)};
  return DailyChange{minutes, std::abs(solar::TruncToInt((r - minutes) * 60))};
}

double SunshineChangePerDay(const solar::YearSeries& series, int k, int year) {
  const solar::SampleDate from = solar::SampleDateOf(k), to = solar::SampleDateOf(k + 1);
  const int first = solar::DayNumber(year, from.month, static_cast<float>(from.day));
  const int second = solar::DayNumber(year, to.month, static_cast<float>(to.day));
  // The day numbers may have wrapped for a far year; their wrapped difference is still exact.
  const int gapDays = solar::WrapToInt(static_cast<long long>(second) - first);
  const double dS = static_cast<double>(series.sunshine[k + 1]) - series.sunshine[k];
  return dS * 0.2 * 60.0 * (5.0 / gapDays);
}

YearPick PickAt(int x, const solar::YearSeries& series, int year) {
  YearPick pick{};
  pick.markerOffset = PickColumn(x);
  const double t = 1 + 0.2 * pick.markerOffset;
  const int k = solar::TruncToInt(t);
  const double f = t - k;
  const double dS = static_cast<double>(series.sunshine[k + 1]) - series.sunshine[k];
  const double dT = static_cast<double>(series.twilight[k + 1]) - series.twilight[k];
  pick.sunshine = solar::Single(series.sunshine[k] + f * dS);
  pick.twilight = solar::Single(series.twilight[k] + f * dT);
  pick.sunshineShown = solar::SplitHours(pick.sunshine);
  pick.twilightShown = solar::SplitHours(pick.twilight);
  pick.change = DailyChangeOf(SunshineChangePerDay(series, k, year));
  return pick;
}

}  // namespace dialog_model
