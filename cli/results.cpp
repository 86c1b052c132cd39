#include "cli/results.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

#include "core/year_pick.h"
#include "platform/field_text.h"
#include "solar/solar.h"

namespace cli {

using platform::FormatFloatField;
using platform::FormatIntField;

namespace {

// The name of the column of hours above a height: hours_above_6_deg, hours_above_minus_0_5_deg.
std::string HoursAboveKey(float height) {
  std::string name = NumberText(height < 0 ? -height : height);
  std::replace(name.begin(), name.end(), '.', '_');
  return std::string("hours_above_") + (height < 0 ? "minus_" : "") + name + "_deg";
}

}  // namespace

std::string FieldsText(float degrees, float arcmin, float arcsec) {
  return FormatFloatField(degrees) + ":" + FormatFloatField(arcmin) + ":" + FormatFloatField(arcsec);
}

std::string DecimalDegrees(double degrees) {
  char text[32];
  std::snprintf(text, sizeof text, "%.5f", degrees);
  std::string s = text;
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  return s == "-0" ? "0" : s;
}

double SignedLongitude(const solar::ObservationFields& f) {
  const double longitude = solar::LongitudeOf(f);
  return longitude > 180.0 ? longitude - 360.0 : longitude;
}

Record PlaceRecord(const solar::ObservationFields& f) {
  const float latitude = solar::LatitudeOf(f);
  const float longitude = static_cast<float>(SignedLongitude(f));
  return Record{Number("latitude_deg", "Breite (Grad)", latitude, DecimalDegrees(latitude)),
                Number("longitude_deg", "Länge (Grad)", longitude, DecimalDegrees(SignedLongitude(f)))};
}

Value ZoneValue(const TimeBasis& basis, const QDateTime& from, const QDateTime& until) {
  return String("time_zone", "Zeitzone", basis.name, ZoneText(basis, from, until));
}

Value HoursValue(const std::string& key, const std::string& label, float hours) {
  const solar::HoursAndMinutes shown = solar::SplitHours(hours);
  return Number(key, label, hours,
                std::to_string(shown.hours) + " Std " + std::to_string(shown.minutes) + " min (" +
                    FormatFloatField(hours) + " Stunden)");
}

Record PositionRecord(const solar::ObservationFields& f, const QDateTime& moment, const TimeBasis& basis) {
  const solar::SunPosition p = solar::SunPositionOf(f);
  const QDateTime local = moment.toTimeZone(basis.zone);
  Record r{String("date", "Datum", local.date().toString(Qt::ISODate).toStdString()),
           String("time", "Uhrzeit", Rfc3339(moment, basis), ClockText(moment, basis)),
           ZoneValue(basis, moment, moment)};
  Append(r, PlaceRecord(f));
  r.push_back(Number("azimuth_deg", "Azimut", p.azimuth, FormatFloatField(p.azimuth)));
  r.push_back(Number("elevation_deg", "Höhe", p.height, FormatFloatField(p.height)));
  return r;
}

Record YearHead(const solar::ObservationFields& f) {
  Record head{Integer("year", "Jahr", f.year)};
  Append(head, PlaceRecord(f));
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
      const core::DailyChange change = core::DailyChangeOf(core::SunshineChangePerDay(series, k, f.year));
      row.push_back(Integer("daily_change_minutes", "Veränderung min", change.minutes));
      row.push_back(Integer("daily_change_seconds", "sek", change.seconds));
    } else {
      row.push_back(Missing("daily_change_minutes", "Veränderung min", ""));
      row.push_back(Missing("daily_change_seconds", "sek", ""));
    }
    solar::ScanHeights day(solar::SampleDayScan(f, k));
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
