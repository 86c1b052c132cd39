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

// The scan of sample day k (1..72) of the fields' year at their place and seconds, in the year
// series' rounding.
MinuteScan SampleDayScan(const ObservationFields& fields, int k);

// Fills entries 1..72 of both arrays with the fractional hours of the sample days of the
// fields' year, at the fields' place and seconds. The sample days are independent: the months
// are shared between two threads.
void ComputeYearSeries(const ObservationFields& fields, YearSeries& series);

// The same series computed on the calling thread alone, month by month.
void ComputeYearSeriesOnOneThread(const ObservationFields& fields, YearSeries& series);

}  // namespace solar
