#include "cli/results.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

#include "cli/number_text.h"
#include "dialog_model/year_pick.h"
#include "platform/base/field_text.h"
#include "dialog_model/observation.h"
#include "solar/solar.h"

namespace cli {

using platform::FormatFloatField;
using platform::FormatIntField;

namespace {

// The name of the column of hours above a height: hours_above_6_deg, hours_above_minus_0_5_deg.
std::string HoursAboveKey(float height) {
  std::string name = ShortestText(height < 0 ? -height : height);
  std::replace(name.begin(), name.end(), '.', '_');
  return std::string("hours_above_") + (height < 0 ? "minus_" : "") + name + "_deg";
}

}  // namespace

std::string FieldsText(float degrees, float arcmin, float arcsec) {
  return FormatFloatField(degrees) + ":" + FormatFloatField(arcmin) + ":" + FormatFloatField(arcsec);
}

Record PlaceRecord(const Place& place) {
  return Record{Number("latitude_deg", "Breite (Grad)", static_cast<float>(place.shownLatitude),
                       FixedText(place.shownLatitude, 5)),
                Number("longitude_deg", "Länge (Grad)", static_cast<float>(place.shownLongitude),
                       FixedText(place.shownLongitude, 5))};
}

Value ZoneValue(const TimeBasis& basis, long long from, long long until, bool oneDay) {
  return String("time_zone", "Zeitzone", basis.name, ZoneText(basis, from, until, oneDay));
}

Value HoursValue(const std::string& key, const std::string& label, float hours) {
  const solar::HoursAndMinutes shown = solar::SplitHours(hours);
  return Number(key, label, hours,
                std::to_string(shown.hours) + " Std " + std::to_string(shown.minutes) + " min (" +
                    FormatFloatField(hours) + " Stunden)");
}

Record PositionRecord(long long instant, const Place& place, const TimeBasis& basis) {
  const solar::SunPosition p = solar::SunPositionAt(instant, place.latitude, place.longitude);
  Record r{String("date", "Datum", LocalDateOf(instant, basis).toString(Qt::ISODate).toStdString()),
           String("time", "Uhrzeit", Rfc3339(instant, basis), ClockText(instant, basis)),
           ZoneValue(basis, instant, instant, true)};
  Append(r, PlaceRecord(place));
  r.push_back(Number("azimuth_deg", "Azimut", p.azimuth, FormatFloatField(p.azimuth)));
  r.push_back(Number("elevation_deg", "Höhe", p.height, FormatFloatField(p.height)));
  return r;
}

Record YearHead(int year, const Place& place) {
  Record head{Integer("year", "Jahr", year)};
  Append(head, PlaceRecord(place));
  return head;
}

std::vector<Record> YearRows(const solar::ObservationFields& f, const solar::YearSeries& series,
                             const std::vector<float>& heights) {
  std::vector<Record> rows;
  for (int k = 1; k <= solar::kSampleDays; ++k) {
    const solar::SampleDate date = solar::SampleDateOf(k);
    char iso[16], shown[8];
    std::snprintf(iso, sizeof iso, "%04d-%02d-%02d", f.year, date.month, date.day);
    std::snprintf(shown, sizeof shown, "%02d.%02d.", date.day, date.month);
    Record row{String("date", "Tag", iso, shown)};
    for (const auto& [key, label, hours] : {std::tuple{"sunshine_hours", "Sonne", series.sunshine[k]},
                                            std::tuple{"twilight_hours", "inkl. Dämmerung", series.twilight[k]}}) {
      const solar::HoursAndMinutes split = solar::SplitHours(hours);
      Value whole = Integer("", std::string(label) + " Std", split.hours), minutes = Integer("", "min", split.minutes);
      whole.inMachine = minutes.inMachine = false;
      row.insert(row.end(), {whole, minutes});
      Value exact = Number(key, std::string(label) + " Stunden", hours, FormatFloatField(hours));
      row.push_back(exact);
    }
    if (k < solar::kSampleDays) {  // the change to the next sample day, as the year window shows it
      const dialog_model::DailyChange change = dialog_model::DailyChangeOf(dialog_model::SunshineChangePerDay(series, k, f.year));
      row.push_back(Integer("daily_change_minutes", "Veränderung min", change.minutes));
      row.push_back(Integer("daily_change_seconds", "sek", change.seconds));
    } else {
      row.push_back(Missing("daily_change_minutes", "Veränderung min", ""));
      row.push_back(Missing("daily_change_seconds", "sek", ""));
    }
    solar::ScanHeights day(solar::SampleDayScan(dialog_model::YearPlaceOf(f), k));
    for (const float height : heights) {
      const float hours = solar::MinutesToHours(day.CountAbove(height));
      row.push_back(Number(HoursAboveKey(height), "über " + FormatFloatField(height) + " Grad Stunden", hours,
                           FormatFloatField(hours)));
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace cli
