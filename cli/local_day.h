#pragma once

#include <QDate>

#include "cli/input.h"
#include "cli/time_basis.h"
#include "solar/local_day.h"

namespace cli {

// A calendar day of a time basis, followed minute by minute from its first instant (plus the
// entered seconds) up to the next date's first instant.
struct LocalDay {
  QDate date;
  TimeBasis basis;
  DayBounds bounds;
  solar::LocalDay sun;

  long long InstantAfter(long long second) const { return sun.InstantAfter(second); }
};

LocalDay ScanLocalDay(const QDate& date, const DayBounds& bounds, int second, const Place& place,
                      const TimeBasis& basis);

}  // namespace cli
