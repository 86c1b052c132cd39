#include "cli/local_day.h"

#include <algorithm>

#include "solar/constants.h"
#include "solar/observation.h"

namespace cli {

LocalDay ScanLocalDay(const QDate& date, int second, const solar::ObservationFields& place,
                      const TimeBasis& basis) {
  LocalDay day;
  day.date = date;
  day.basis = basis;
  day.start = date.startOfDay(basis.zone).addSecs(second);
  const QDateTime end = date.addDays(1).startOfDay(basis.zone).addSecs(second);
  solar::ObservationFields model = place;
  SetModelTime(day.start, model);
  const long long minutes = day.start.secsTo(end) / 60;
  day.scan = solar::MinuteScan{solar::DayNumberOf(model), model.hour * 60 + model.minute, model.second,
                               static_cast<int>(std::clamp(minutes, 0LL, 1LL * solar::kTrackEntries)),
                               solar::LatitudeOf(place), solar::LongitudeOf(place)};
  day.heights = std::make_unique<solar::ScanHeights>(day.scan);
  return day;
}

}  // namespace cli
