#pragma once

#include "solar/day_events.h"
#include "solar/types.h"

namespace solar {

inline constexpr int kSampleDays = 72;

// Calendar place of sample day k (1..72): days 1, 6, 11, 16, 21 and 26 of every month.
struct SampleDate {
  int month;
  int day;
};
SampleDate SampleDateOf(int k);

// A year at a place (degrees north and east), every minute of its days shifted by `second`.
struct YearPlace {
  int year;
  int second;
  float latitude, longitude;
};

// The scan of sample day k (1..72) of the year at the place, in the year series' rounding.
MinuteScan SampleDayScan(const YearPlace& place, int k);

// Fills entries 1..72 of both arrays with the fractional hours of the sample days of the year at
// the place. The sample days are independent: the months are shared between two threads.
void ComputeYearSeries(const YearPlace& place, YearSeries& series);

// The same series computed on the calling thread alone, month by month.
void ComputeYearSeriesOnOneThread(const YearPlace& place, YearSeries& series);

}  // namespace solar
