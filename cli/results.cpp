#include "cli/results.h"

#include <algorithm>

#include "cli/number_text.h"
#include "dialog_model/observation.h"
#include "dialog_model/year_pick.h"
#include "platform/base/field_text.h"
#include "solar/solar.h"

namespace cli {

using platform::FormatFloatField;

namespace {

// The name of the column of hours above a height: hours_above_6_deg, hours_above_minus_0_5_deg.
std::string HoursAboveKey(float height) {
  std::string name = ShortestText(height < 0 ? -height : height);
  std::replace(name.begin(), name.end(), '.', '_');
  return std::string("hours_above_") + (height < 0 ? "minus_" : "") + name + "_deg";
}

std::string FieldsText(float degrees, float arcmin, float arcsec) {
  return FormatFloatField(degrees) + ":" + FormatFloatField(arcmin) + ":" + FormatFloatField(arcsec);
}

}  // namespace

Record PlaceRecord(const Place& place) {
  Record r;
  r.Add({"latitude_deg", "Breite (Grad)", Show::kDegrees}, Cell::Number(place.shownLatitude));
  r.Add({"longitude_deg", "Länge (Grad)", Show::kDegrees}, Cell::Number(place.shownLongitude));
  return r;
}

void AddZone(Record& record, const TimeBasis& basis, long long from, long long until, bool oneDay) {
  record.Add({"time_zone", "Zeitzone", Show::kPlain, true, true, false},
             Cell::Text(basis.name, ZoneText(basis, from, until, oneDay)));
}

const std::vector<Column>& PositionColumns() {
  static const std::vector<Column> columns{{"date", "Datum"},
                                           {"time", "Uhrzeit", Show::kClock},
                                           {"time_zone", "Zeitzone", Show::kPlain, true, true, false},
                                           {"latitude_deg", "Breite (Grad)", Show::kDegrees},
                                           {"longitude_deg", "Länge (Grad)", Show::kDegrees},
                                           {"azimuth_deg", "Azimut", Show::kField},
                                           {"elevation_deg", "Höhe", Show::kField}};
  return columns;
}

Record PositionRecord(long long instant, const Place& place, const TimeBasis& basis, bool forText) {
  const solar::SunPosition p = solar::SunPositionAt(instant, place.latitude, place.longitude);
  return Record{PositionColumns(),
                {Cell::Date(LocalDayNumber(LocalDateOf(instant, basis))), Cell::Instant(instant),
                 Cell::Text(basis.name, forText ? ZoneText(basis, instant, instant, true) : std::string()),
                 Cell::Number(place.shownLatitude), Cell::Number(place.shownLongitude), Cell::Number(p.azimuth),
                 Cell::Number(p.height)}};
}

Record YearHead(int year, const Place& place) {
  Record head;
  head.Add({"year", "Jahr"}, Cell::Integer(year));
  head.Append(PlaceRecord(place));
  return head;
}

std::vector<Record> YearRows(const solar::ObservationFields& f, const solar::YearSeries& series,
                             const std::vector<float>& heights) {
  std::vector<Record> rows;
  for (int k = 1; k <= solar::kSampleDays; ++k) {
    const solar::SampleDate date = solar::SampleDateOf(k);
    Record row;
    row.Add({"date", "Tag", Show::kDayMonth}, Cell::Date(LocalDayNumber(QDate(f.year, date.month, date.day))));
    for (const auto& [key, label, hours] : {std::tuple{"sunshine_hours", "Sonne", series.sunshine[k]},
                                            std::tuple{"twilight_hours", "inkl. Dämmerung", series.twilight[k]}}) {
      const solar::HoursAndMinutes split = solar::SplitHours(hours);
      row.Add({"", std::string(label) + " Std", Show::kPlain, true, false}, Cell::Integer(split.hours));
      row.Add({"", "min", Show::kPlain, true, false}, Cell::Integer(split.minutes));
      row.Add({key, std::string(label) + " Stunden", Show::kField}, Cell::Number(hours));
    }
    if (k < solar::kSampleDays) {  // the change to the next sample day, as the year window shows it
      const dialog_model::DailyChange change =
          dialog_model::DailyChangeOf(dialog_model::SunshineChangePerDay(series, k, f.year));
      row.Add({"daily_change_minutes", "Veränderung min"}, Cell::Integer(change.minutes));
      row.Add({"daily_change_seconds", "sek"}, Cell::Integer(change.seconds));
    } else {
      row.Add({"daily_change_minutes", "Veränderung min"}, Cell::Missing(""));
      row.Add({"daily_change_seconds", "sek"}, Cell::Missing(""));
    }
    solar::SparseTrack day(solar::SampleDayScan(dialog_model::YearPlaceOf(f), k));
    for (const float height : heights) {
      row.Add({HoursAboveKey(height), "über " + FormatFloatField(height) + " Grad Stunden", Show::kField},
              Cell::Number(solar::MinutesToHours(day.CountAbove(height))));
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

Record StoredPlaceRecord(const files::Place& stored) {
  Record r = PlaceRecord(PlaceOfFields(stored));
  r.Add({"stored_latitude", "Breite (Grad:Arcmin:Arcsec)"},
        Cell::Text(FieldsText(stored.latDegrees, stored.latArcmin, stored.latArcsec)));
  r.Add({"stored_longitude", "Länge (Grad:Arcmin:Arcsec)"},
        Cell::Text(FieldsText(stored.lonDegrees, static_cast<float>(stored.lonArcmin), stored.lonArcsec)));
  return r;
}

}  // namespace cli
