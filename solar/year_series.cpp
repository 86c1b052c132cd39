#include "solar/year_series.h"

#include <functional>

#include "solar/day_scan.h"
#include "solar/numeric.h"
#include "solar/parallel.h"
#include "solar/sparse_track.h"
#include "solar/sun_position.h"

namespace solar {

SampleDate SampleDateOf(int k) { return SampleDate{(k - 1) / 6 + 1, 1 + 5 * ((k - 1) % 6)}; }

MinuteScan SampleDayScan(const YearPlace& place, int k) {
  const SampleDate date = SampleDateOf(k);
  // The day number of the 1st of the month, then 5 days on per sample.
  const long long firstOfMonth = DayNumber(place.year, date.month, 1.0f);
  const int dayNumber = WrapToInt(firstOfMonth + (date.day - 1));
  return MinuteScan{
      dayNumber, 0, place.second, kMinutesPerScan, place.latitude, place.longitude, Rounding::kYearSeries};
}

namespace {

// Entries of the months first..last (1..12) of the series. Only the counts are needed, so the
// minutes above each height are found without the full track.
void ComputeMonths(const YearPlace& place, int first, int last, YearSeries& series) {
  for (int k = 6 * (first - 1) + 1; k <= 6 * last; ++k) {
    SparseTrack day(SampleDayScan(place, k));
    series.sunshine[k] = MinutesToHours(day.CountAbove(kHorizonHeight));
    series.twilight[k] = MinutesToHours(day.CountAbove(kTwilightHeight));
  }
}

}  // namespace

void ComputeYearSeries(const YearPlace& place, YearSeries& series) {
  // Each block writes its own entries: those of its month.
  ForEachBlock(12, 1, 0, [&](size_t first, size_t last) {
    if (first < last) ComputeMonths(place, static_cast<int>(first) + 1, static_cast<int>(last), series);
  });
}

void ComputeYearSeriesOnOneThread(const YearPlace& place, YearSeries& series) { ComputeMonths(place, 1, 12, series); }

}  // namespace solar
