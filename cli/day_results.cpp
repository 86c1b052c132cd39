#include "cli/day_results.h"

#include <algorithm>

#include "cli/results.h"
#include "dialog_model/day_record.h"
#include "solar/solar.h"

namespace cli {

namespace {

using State = solar::HeightState;

const char* StateKey(State s) { return s == State::kAbove ? "above" : s == State::kBelow ? "below" : "crossing"; }
const char* StateWords(State s) {
  return s == State::kAbove ? "immer darüber" : s == State::kBelow ? "immer darunter" : "kreuzt";
}

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

// Every crossing of the event heights, each named by the key of its event's field, in order: for
// scripts that need more than the first.
Cell CrossingsList(const LocalDay& day, const std::vector<dialog_model::DayValue>& values) {
  const std::span<const dialog_model::DayField> fields = dialog_model::DayFields();
  std::vector<ListItem> all;
  for (size_t i = 0; i < values.size(); ++i) {
    if (values[i].height == nullptr) continue;
    for (const solar::Crossing& c : values[i].height->crossings)
      if (c.rising == values[i].rising) all.push_back(ListItem{fields[i].key, day.InstantAfter(c.second), 0});
  }
  std::stable_sort(all.begin(), all.end(), [](const ListItem& a, const ListItem& b) { return a.first < b.first; });
  return Cell::List(std::move(all));
}

Cell StateCell(State state) { return Cell::Text(StateKey(state), StateWords(state)); }

// The columns of the fields of the one description, as text shows their kinds.
std::vector<Column> ColumnsOf(std::span<const dialog_model::DayField> fields) {
  using enum dialog_model::DayKind;
  std::vector<Column> columns;
  for (const dialog_model::DayField& f : fields) {
    const Show show = f.kind == kHours     ? Show::kHours
                      : f.kind == kDegrees ? Show::kField
                      : f.kind == kMinute  ? Show::kClockMinute
                      : f.kind == kInstant ? Show::kClock
                                           : Show::kPlain;
    columns.push_back({f.key, f.label, show, f.inText});
  }
  return columns;
}

// The cells of the values: a crossing shows every crossing of its direction in text.
void AppendCells(std::vector<Cell>& cells, const LocalDay& day, const std::vector<dialog_model::DayValue>& values) {
  using enum dialog_model::DayKind;
  for (const dialog_model::DayValue& v : values) {
    if (v.height != nullptr) {
      cells.push_back(CrossingCell(day, *v.height, v.rising));
    } else if (v.kind == kCount) {
      cells.push_back(Cell::Integer(static_cast<long long>(v.number)));
    } else if (v.kind == kHours || v.kind == kDegrees) {
      cells.push_back(Cell::Number(v.number));
    } else if (v.kind == kState) {
      cells.push_back(StateCell(v.state));
    } else {
      cells.push_back(v.missing ? Cell::Missing("–") : Cell::Instant(v.instant));
    }
  }
}

}  // namespace

const std::vector<Column>& DayColumns() {
  static const std::vector<Column> columns = [] {
    std::vector<Column> c{{"date", "Datum"}};
    for (Column& field : ColumnsOf(dialog_model::DayFields())) c.push_back(std::move(field));
    c.push_back({"crossings", "Durchgänge", Show::kPlain, false});
    return c;
  }();
  return columns;
}

std::vector<Cell> DayCells(LocalDay& day) {
  const solar::DayFacts facts = solar::FactsOf(day.sun);
  const std::vector<dialog_model::DayValue> values = dialog_model::DayValuesOf(day.sun, facts);
  std::vector<Cell> cells{Cell::Date(LocalDayNumber(day.date))};
  AppendCells(cells, day, values);
  cells.push_back(CrossingsList(day, values));
  return cells;
}

Record DayValues(LocalDay& day) { return Record{DayColumns(), DayCells(day)}; }

const std::vector<Column>& HeightColumns() {
  static const std::vector<Column> columns = [] {
    std::vector<Column> c{{"height_deg", "Höhe (Grad)", Show::kField}};
    for (Column& field : ColumnsOf(dialog_model::HeightFields())) c.push_back(std::move(field));
    c.push_back({"stretches", "Abschnitte"});
    return c;
  }();
  return columns;
}

Record HeightRecord(LocalDay& day, float height) {
  const solar::HeightFacts facts = solar::FactsAbove(day.sun, height);
  // Each stretch from its first to its last minute.
  std::vector<ListItem> items;
  items.reserve(facts.stretches.size());
  for (const solar::Stretch& stretch : facts.stretches) {
    items.push_back(ListItem{nullptr, day.InstantAfter(60LL * stretch.first), day.InstantAfter(60LL * stretch.last)});
  }
  std::vector<Cell> cells{Cell::Number(height)};
  AppendCells(cells, day, dialog_model::HeightValuesOf(day.sun, facts));
  cells.push_back(Cell::List(std::move(items)));
  return Record{HeightColumns(), std::move(cells)};
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
