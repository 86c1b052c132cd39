#pragma once

#include <QDateTime>
#include <memory>

#include "cli/time_basis.h"
#include "solar/day_events.h"
#include "solar/scan_heights.h"
#include "solar/types.h"

namespace cli {

// A calendar day of a time basis, followed minute by minute, from its first moment (0:00 plus the
// entered seconds) to the next day's: 1440 minutes, or 1380 and 1500 where the clocks change.
struct LocalDay {
  QDate date;
  TimeBasis basis;
  QDateTime start;
  solar::MinuteScan scan;
  std::unique_ptr<solar::ScanHeights> heights;  // the minutes above heights, looked up as needed

  QDateTime MomentAfter(long long seconds) const { return start.addSecs(seconds); }
};

// The place is that of the fields; the scan runs on the model's clock, so that the dialog's
// clock gives the dialog's day scan to the bit.
LocalDay ScanLocalDay(const QDate& date, int second, const solar::ObservationFields& place,
                      const TimeBasis& basis);

}  // namespace cli
