#include "cli/day_results.h"

#include <algorithm>

#include "cli/results.h"
#include "solar/solar.h"

namespace cli {

namespace {

// A sun height whose crossings are named events of the day.
struct EventHeight {
  float height;
  const char *rising, *setting, *state;
  const char *risingLabel, *settingLabel;
};

// Sunrise and sunset: the sun's centre 0.833 degrees below the horizon (refraction and the
// sun's radius); then the three twilights.
constexpr EventHeight kEventHeights[] = {
    {-0.833f, "sunrise", "sunset", "sun_state", "Sonnenaufgang", "Sonnenuntergang"},
    {-6.0f, "civil_dawn", "civil_dusk", "civil_state", "Bürgerliche Morgendämmerung", "Bürgerliche Abenddämmerung"},
    {-12.0f, "nautical_dawn", "nautical_dusk", "nautical_state", "Nautische Morgendämmerung",
     "Nautische Abenddämmerung"},
    {-18.0f, "astronomical_dawn", "astronomical_dusk", "astronomical_state", "Astronomische Morgendämmerung",
     "Astronomische Abenddämmerung"},
};

enum class State { kAbove, kBelow, kCrossing };

State StateOf(LocalDay& day, const std::vector<solar::Crossing>& crossings, float height) {
  if (!crossings.empty()) return State::kCrossing;
  return day.sun.CountAbove(height) > 0 ? State::kAbove : State::kBelow;
}

const char* StateKey(State s) { return s == State::kAbove ? "above" : s == State::kBelow ? "below" : "crossing"; }
const char* StateWords(State s) {
  return s == State::kAbove ? "immer darüber" : s == State::kBelow ? "immer darunter" : "kreuzt";
}

// A second of the day, shown as a clock time in text.
Cell InstantAt(const LocalDay& day, long long second) { return Cell::Instant(day.InstantAfter(second)); }

// The first crossing of one direction; text shows every one of them.
Cell CrossingCell(const LocalDay& day, const std::vector<solar::Crossing>& crossings, bool rising, State state) {
  Cell cell = Cell::Missing(state == State::kCrossing ? "–" : StateWords(state));
  for (const solar::Crossing& c : crossings) {
    if (c.rising != rising) continue;
    if (cell.type == Cell::Type::kMissing) cell = Cell::Instant(day.InstantAfter(c.second));
    cell.items.push_back(ListItem{nullptr, day.InstantAfter(c.second), 0});
  }
  return cell;
}

// Every crossing of the named heights (those of each in kEventHeights' order), in order: for
// scripts that need more than the first.
Cell CrossingsList(const LocalDay& day, const std::vector<std::vector<solar::Crossing>>& ofEvents) {
  std::vector<ListItem> all;
  for (size_t i = 0; i < ofEvents.size(); ++i) {
    const EventHeight& e = kEventHeights[i];
    for (const solar::Crossing& c : ofEvents[i])
      all.push_back(ListItem{c.rising ? e.rising : e.setting, day.InstantAfter(c.second), 0});
  }
  std::stable_sort(all.begin(), all.end(), [](const ListItem& a, const ListItem& b) { return a.first < b.first; });
  return Cell::List(std::move(all));
}

// A minute of the scan, or the missing value.
Cell MinuteCell(const LocalDay& day, int minute) {
  return minute < 0 ? Cell::Missing("–") : InstantAt(day, 60LL * minute);
}

Cell StateCell(State state) { return Cell::Text(StateKey(state), StateWords(state)); }

}  // namespace

const std::vector<Column>& DayColumns() {
  static const std::vector<Column> columns = [] {
    std::vector<Column> c{{"date", "Datum"},
                          {"day_minutes", "Minuten des Tages"},
                          {"sunshine_minutes", "Minuten über dem Horizont"},
                          {"sunshine_hours", "Sonne über Horizont", Show::kHours},
                          {"twilight_minutes", "Minuten über -7 Grad"},
                          {"twilight_hours", "inkl. Dämmerung (-7 Grad)", Show::kHours},
                          {"first_minute_above_horizon", "Erste Minute über dem Horizont", Show::kClockMinute},
                          {"last_minute_above_horizon", "Letzte Minute über dem Horizont", Show::kClockMinute}};
    for (const EventHeight& e : kEventHeights) {
      c.push_back({e.rising, e.risingLabel, Show::kClock});
      c.push_back({e.setting, e.settingLabel, Show::kClock});
      c.push_back({e.state, "Zustand", Show::kPlain, false});
    }
    c.push_back({"solar_noon", "Höchster Stand", Show::kClock});
    c.push_back({"solar_noon_elevation_deg", "Höhe im höchsten Stand", Show::kField});
    c.push_back({"crossings", "Durchgänge", Show::kPlain, false});
    return c;
  }();
  return columns;
}

std::vector<Cell> DayCells(LocalDay& day) {
  solar::LocalDay& sun = day.sun;
  const int sunshine = sun.CountAbove(solar::kHorizonHeight);
  const int twilight = sun.CountAbove(solar::kTwilightHeight);
  const std::vector<solar::Stretch> up = sun.StretchesAbove(solar::kHorizonHeight);
  std::vector<Cell> cells{Cell::Date(LocalDayNumber(day.date)),
                          Cell::Integer(sun.Minutes()),
                          Cell::Integer(sunshine),
                          Cell::Number(solar::MinutesToHours(sunshine)),
                          Cell::Integer(twilight),
                          Cell::Number(solar::MinutesToHours(twilight)),
                          MinuteCell(day, up.empty() ? -1 : up.front().first),
                          MinuteCell(day, up.empty() ? -1 : up.back().last)};
  std::vector<std::vector<solar::Crossing>> ofEvents;
  ofEvents.reserve(std::size(kEventHeights));
  for (const EventHeight& e : kEventHeights) {
    const std::vector<solar::Crossing>& crossings = ofEvents.emplace_back(sun.Crossings(e.height));
    const State state = StateOf(day, crossings, e.height);
    cells.push_back(CrossingCell(day, crossings, true, state));
    cells.push_back(CrossingCell(day, crossings, false, state));
    cells.push_back(StateCell(state));
  }
  const solar::HighestPoint noon = sun.Highest();
  cells.push_back(InstantAt(day, noon.second));
  cells.push_back(Cell::Number(noon.height));
  cells.push_back(CrossingsList(day, ofEvents));
  return cells;
}

Record DayValues(LocalDay& day) { return Record{DayColumns(), DayCells(day)}; }

const std::vector<Column>& HeightColumns() {
  static const std::vector<Column> columns{{"height_deg", "Höhe (Grad)", Show::kField},
                                           {"minutes_above", "Minuten darüber"},
                                           {"hours_above", "darüber", Show::kHours},
                                           {"above_state", "Zustand"},
                                           {"first_minute_above", "Erste Minute", Show::kClockMinute},
                                           {"last_minute_above", "Letzte Minute", Show::kClockMinute},
                                           {"rising", "Steigt darüber", Show::kClock},
                                           {"setting", "Sinkt darunter", Show::kClock},
                                           {"stretches", "Abschnitte"}};
  return columns;
}

Record HeightRecord(LocalDay& day, float height) {
  const std::vector<solar::Stretch> stretches = day.sun.StretchesAbove(height);
  const std::vector<solar::Crossing> crossings = day.sun.Crossings(height);
  const int count = day.sun.CountAbove(height);
  const State state = StateOf(day, crossings, height);
  const bool crossing = state == State::kCrossing;
  // Each stretch from its first to its last minute.
  std::vector<ListItem> items;
  items.reserve(stretches.size());
  for (const solar::Stretch& stretch : stretches) {
    items.push_back(ListItem{nullptr, day.InstantAfter(60LL * stretch.first), day.InstantAfter(60LL * stretch.last)});
  }
  return Record{HeightColumns(),
                {Cell::Number(height), Cell::Integer(count), Cell::Number(solar::MinutesToHours(count)),
                 StateCell(state), MinuteCell(day, crossing ? stretches.front().first : -1),
                 MinuteCell(day, crossing ? stretches.back().last : -1), CrossingCell(day, crossings, true, state),
                 CrossingCell(day, crossings, false, state), Cell::List(std::move(items))}};
}

namespace {

// The head of a day as `day` writes it: the day's cells with the zone and the place after its date.
Record DayHead(const Record& values, const Record& zoneAndPlace) {
  Record r{{values.columns.front()}, {values.cells.front()}};
  r.Append(zoneAndPlace);
  r.columns.insert(r.columns.end(), values.columns.begin() + 1, values.columns.end());
  r.cells.insert(r.cells.end(), values.cells.begin() + 1, values.cells.end());
  return r;
}

Record ZoneAndPlace(const TimeBasis& basis, const DayBounds& bounds, const Place& place) {
  Record r;
  AddZone(r, basis, bounds.start, bounds.end, true);
  r.Append(PlaceRecord(place));
  return r;
}

}  // namespace

void AppendDayCsvHeader(std::string& out, const DayRequest& request) {
  const Record head = DayHead(Record{DayColumns(), std::vector<Cell>(DayColumns().size())},
                              ZoneAndPlace(request.basis, DayBounds{0, 0}, Place{}));
  const Record heights{HeightColumns(), std::vector<Cell>(HeightColumns().size())};
  AppendCsvHeader(out, head, request.heights.empty() ? nullptr : &heights);
}

void AppendDay(std::string& out, const QDate& date, const Place& place, const DayRequest& request, bool csvHeader) {
  LocalDay day = ScanLocalDay(date, BoundsOrRefusal(date, request.basis), request.second, place, request.basis);
  const Record r = DayHead(DayValues(day), ZoneAndPlace(request.basis, day.bounds, place));
  if (request.heights.empty()) return AppendRecord(out, request.format, r, request.basis, csvHeader);
  std::vector<Record> rows;
  for (const float height : request.heights) rows.push_back(HeightRecord(day, height));
  AppendTable(out, request.format, r, rows, "heights", request.basis, csvHeader);
}

void WriteDay(std::ostream& out, const QDate& date, const Place& place, const DayRequest& request) {
  std::string text;
  AppendDay(text, date, place, request, true);
  out << text;
}

}  // namespace cli
