#include "cli/local_day.h"

namespace cli {

LocalDay ScanLocalDay(const QDate& date, const DayBounds& bounds, int second, const Place& place,
                      const TimeBasis& basis) {
  return LocalDay{date, basis, bounds,
                  solar::LocalDay(bounds.start, bounds.end, second, place.latitude, place.longitude)};
}

DayBounds BoundsOrRefusal(const QDate& date, const TimeBasis& basis) {
  const std::optional<DayBounds> bounds = BoundsOf(date, basis);
  if (!bounds) {
    throw InputError{"Datum: den " + date.toString(Qt::ISODate).toStdString() + " gibt es in " + basis.name +
                     " nicht: die Zeitzone überspringt diesen Tag."};
  }
  return *bounds;
}

}  // namespace cli
