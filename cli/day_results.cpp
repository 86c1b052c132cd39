#include "cli/day_results.h"

#include <algorithm>

#include "cli/results.h"
#include "solar/solar.h"

namespace cli {

namespace {

// The names of the events of solar::kEventHeights, in its order.
struct EventNames {
  const char *rising, *setting, *state;
  const char *risingLabel, *settingLabel;
};
constexpr EventNames kEvents[] = {
    {"sunrise", "sunset", "sun_state", "Sonnenaufgang", "Sonnenuntergang"},
    {"civil_dawn", "civil_dusk", "civil_state", "Bürgerliche Morgendämmerung", "Bürgerliche Abenddämmerung"},
    {"nautical_dawn", "nautical_dusk", "nautical_state", "Nautische Morgendämmerung", "Nautische Abenddämmerung"},
    {"astronomical_dawn", "astronomical_dusk", "astronomical_state", "Astronomische Morgendämmerung",
     "Astronomische Abenddämmerung"},
};
static_assert(std::size(kEvents) == solar::kEventHeights.size());

using State = solar::HeightState;

const char* StateKey(State s) { return s == State::kAbove ? "above" : s == State::kBelow ? "below" : "crossing"; }
const char* StateWords(State s) {
  return s == State::kAbove ? "immer darüber" : s == State::kBelow ? "immer darunter" : "kreuzt";
}

// A second of the day, shown as a clock time in text.
Cell InstantAt(const LocalDay& day, long long second) { return Cell::Instant(day.InstantAfter(second)); }

// The first crossing of one direction; text shows every one of them.
Cell CrossingCell(const LocalDay& day, const solar::HeightFacts& facts, bool rising) {
  Cell cell = Cell::Missing(facts.state == State::kCrossing ? "–" : StateWords(facts.state));
  for (const solar::Crossing& c : facts.crossings) {
    if (c.rising != rising) continue;
    if (cell.type == Cell::Type::kMissing) cell = Cell::Instant(day.InstantAfter(c.second));
    cell.items.push_back(ListItem{nullptr, day.InstantAfter(c.second), 0});
  }
  return cell;
}

// Every crossing of the named heights (those of each in kEventHeights' order), in order: for
// scripts that need more than the first.
Cell CrossingsList(const LocalDay& day, const solar::DayFacts& facts) {
  std::vector<ListItem> all;
  for (size_t i = 0; i < facts.events.size(); ++i) {
    const EventNames& e = kEvents[i];
    for (const solar::Crossing& c : facts.events[i].crossings)
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
    for (const EventNames& e : kEvents) {
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
  const solar::DayFacts facts = solar::FactsOf(day.sun);
  const std::vector<solar::Stretch>& up = facts.aboveHorizon;
  std::vector<Cell> cells{Cell::Date(LocalDayNumber(day.date)),
                          Cell::Integer(facts.minutes),
                          Cell::Integer(facts.sunshineMinutes),
                          Cell::Number(solar::MinutesToHours(facts.sunshineMinutes)),
                          Cell::Integer(facts.twilightMinutes),
                          Cell::Number(solar::MinutesToHours(facts.twilightMinutes)),
                          MinuteCell(day, up.empty() ? -1 : up.front().first),
                          MinuteCell(day, up.empty() ? -1 : up.back().last)};
  for (const solar::HeightFacts& event : facts.events) {
    cells.push_back(CrossingCell(day, event, true));
    cells.push_back(CrossingCell(day, event, false));
    cells.push_back(StateCell(event.state));
  }
  cells.push_back(InstantAt(day, facts.highest.second));
  cells.push_back(Cell::Number(facts.highest.height));
  cells.push_back(CrossingsList(day, facts));
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
  const solar::HeightFacts facts = solar::FactsAbove(day.sun, height);
  const bool crossing = facts.state == State::kCrossing;
  // Each stretch from its first to its last minute.
  std::vector<ListItem> items;
  items.reserve(facts.stretches.size());
  for (const solar::Stretch& stretch : facts.stretches) {
    items.push_back(ListItem{nullptr, day.InstantAfter(60LL * stretch.first), day.InstantAfter(60LL * stretch.last)});
  }
  return Record{
      HeightColumns(),
      {Cell::Number(height), Cell::Integer(facts.minutesAbove), Cell::Number(solar::MinutesToHours(facts.minutesAbove)),
       StateCell(facts.state), MinuteCell(day, crossing ? facts.stretches.front().first : -1),
       MinuteCell(day, crossing ? facts.stretches.back().last : -1), CrossingCell(day, facts, true),
       CrossingCell(day, facts, false), Cell::List(std::move(items))}};
}

namespace {

// The columns of a day as `day` writes it: its date, the zone and the place, then the rest.
const std::vector<Column>& DayHeadColumns() {
  static const std::vector<Column> columns = [] {
    std::vector<Column> c{DayColumns().front(), ZoneColumn(), PlaceColumns()[0], PlaceColumns()[1]};
    c.insert(c.end(), DayColumns().begin() + 1, DayColumns().end());
    return c;
  }();
  return columns;
}

}  // namespace

void AppendDayCsvHeader(std::string& out, const DayRequest& request) {
  const Record heights{HeightColumns(), {}};
  AppendCsvHeader(out, Record{DayHeadColumns(), {}}, request.heights.empty() ? nullptr : &heights);
}

void AppendDay(std::string& out, const QDate& date, const Place& place, const DayRequest& request, bool csvHeader) {
  LocalDay day = ScanLocalDay(date, BoundsOrRefusal(date, request.basis), request.second, place, request.basis);
  std::vector<Cell> values = DayCells(day);
  std::vector<Cell> cells{std::move(values.front()), ZoneCell(request.basis, day.bounds.start, day.bounds.end, true,
                                                              request.format == Format::kText)};
  for (Cell& c : PlaceCells(place)) cells.push_back(std::move(c));
  std::move(values.begin() + 1, values.end(), std::back_inserter(cells));
  const Record r{DayHeadColumns(), std::move(cells)};
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
