#pragma once

#include <optional>

#include "solar/day_scan.h"
#include "solar/types.h"

namespace dialog_model {

// Marker column of a click at client column x, counted from the chart frame's left edge:
// |x - 25| - 1, held to 0..350. The row of the click does not count.
int PickColumn(int x);
inline constexpr int kLastPickColumn = 350;
// A client column whose click picks marker column `column`.
inline int ClickXOfColumn(int column) { return 26 + column; }

// A pick by keyboard: a day back or forward from the picked column (held to the chart), or the
// first or last day. Before any pick, a step forward starts at the first day, a step back at the last.
enum class DayStep { kBack, kForward, kFirst, kLast };
int SteppedColumn(DayStep step, std::optional<int> picked);

// Daily change of the sunshine duration in whole minutes and the seconds after them; the sign
// stands on the minutes, or on the seconds when the change is less than a minute.
struct DailyChange {
  int minutes;
  int seconds;
};
DailyChange DailyChangeOf(double minutesPerDay);

// Minutes per day by which the sunshine changes between sample days k and k + 1 of a year:
// the difference of the two entries spread over the real days between them.
double SunshineChangePerDay(const solar::YearSeries& series, int k, int year);

// Everything a click shows: the interpolated durations and the daily change.
struct YearPick {
  int markerOffset;
  float sunshine, twilight;
  solar::HoursAndMinutes sunshineShown, twilightShown;
  DailyChange change;
};
YearPick PickAt(int x, const solar::YearSeries& series, int year);

}  // namespace dialog_model
