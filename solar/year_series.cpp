#include "solar/year_series.h"

#include "solar/day_scan.h"
#include "solar/numeric.h"
#include "solar/observation.h"
#include "solar/sun_position.h"

namespace solar {

SampleDate SampleDateOf(int k) { return SampleDate{(k - 1) / 6 + 1, 1 + 5 * ((k - 1) % 6)}; }

void ComputeYearSeries(const ObservationFields& fields, YearSeries& series) {
  const float latitude = LatitudeOf(fields);
  const float longitude = LongitudeOf(fields);
  DayTrack track;
  for (int month = 1; month <= 12; ++month) {
    const long long firstOfMonth = DayNumber(fields.year, month, 1.0f);
    for (int j = 0; j < 6; ++j) {
      const int k = 6 * (month - 1) + j + 1;
      const int dayNumber = WrapToInt(firstOfMonth + 5 * j);
      ScanDay(dayNumber, fields.second, latitude, longitude, Rounding::kYearSeries, track);
      const DayLengths lengths = CountDayLengths(track);
      series.sunshine[k] = MinutesToHours(lengths.minutesAboveHorizon);
      series.twilight[k] = MinutesToHours(lengths.minutesAboveTwilight);
    }
  }
}

}  // namespace solar
