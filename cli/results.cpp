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

const std::vector<Column>& PlaceColumns() {
  static const std::vector<Column> columns{{"latitude_deg", "Breite (Grad)", Show::kDegrees},
                                           {"longitude_deg", "Länge (Grad)", Show::kDegrees}};
  return columns;
}

std::vector<Cell> PlaceCells(const Place& place) {
  return {Cell::Number(place.shownLatitude), Cell::Number(place.shownLongitude)};
}

Record PlaceRecord(const Place& place) { return Record{PlaceColumns(), PlaceCells(place)}; }

const Column& ZoneColumn() {
  static const Column column{"time_zone", "Zeitzone", Show::kPlain, true, true, false};
  return column;
}

Cell ZoneCell(const TimeBasis& basis, long long from, long long until, bool oneDay, bool forText) {
  return Cell::Text(basis.name, forText ? ZoneText(basis, from, until, oneDay) : std::string());
}

const std::vector<Column>& PositionColumns() {
  static const std::vector<Column> columns{{"date", "Datum"},
                                           {"time", "Uhrzeit", Show::kClock},
                                           ZoneColumn(),
                                           PlaceColumns()[0],
                                           PlaceColumns()[1],
                                           {"azimuth_deg", "Azimut", Show::kField},
                                           {"elevation_deg", "Höhe", Show::kField}};
  return columns;
}

void SetPositionCells(std::vector<Cell>& cells, long long instant, const Place& place, const TimeBasis& basis,
                      bool forText) {
  const solar::SunPosition p = solar::SunPositionAt(instant, place.latitude, place.longitude);
  cells.resize(PositionColumns().size());
  const auto set = [&cells](size_t i, Cell::Type type, double number, long long integer) {
    cells[i].type = type;
    cells[i].number = number;
    cells[i].integer = integer;
  };
  set(0, Cell::Type::kDate, 0, LocalDayOf(instant, basis));
  set(1, Cell::Type::kInstant, 0, instant);
  set(2, Cell::Type::kText, 0, 0);
  cells[2].text.assign(basis.name);  // in place: a batch reuses the cells
  cells[2].shown = forText ? ZoneText(basis, instant, instant, true) : std::string();
  set(3, Cell::Type::kNumber, place.shownLatitude, 0);
  set(4, Cell::Type::kNumber, place.shownLongitude, 0);
  set(5, Cell::Type::kNumber, p.azimuth, 0);
  set(6, Cell::Type::kNumber, p.height, 0);
}

Record PositionRecord(long long instant, const Place& place, const TimeBasis& basis) {
  Record r{PositionColumns(), {}};
  SetPositionCells(r.cells, instant, place, basis, true);
  return r;
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
