#include "cli/local_day.h"

namespace cli {

LocalDay ScanLocalDay(const QDate& date, const DayBounds& bounds, int second, const Place& place,
                      const TimeBasis& basis) {
  return LocalDay{date, basis, bounds,
                  solar::LocalDay(bounds.start, bounds.end, second, place.latitude, place.longitude)};
}

}  // namespace cli
