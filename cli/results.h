#pragma once

#include <string>
#include <vector>

#include "cli/input.h"
#include "cli/output.h"
#include "cli/time_basis.h"
#include "solar/types.h"

namespace cli {

// The records of the commands: each column described once (results.cpp, day_results.cpp), the
// numbers in the forms the dialogs show.

// The place in decimal degrees as entered, the longitude from -180 (west) to 180.
const std::vector<Column>& PlaceColumns();
std::vector<Cell> PlaceCells(const Place& place);
Record PlaceRecord(const Place& place);
// The time basis; text adds its offset at `from` and any change before `until`, which is looked up
// only `forText`.
const Column& ZoneColumn();
Cell ZoneCell(const TimeBasis& basis, long long from, long long until, bool oneDay, bool forText);
// The sun at an instant and place: date, time, zone, place, azimuth and height (the zone's text
// with its offset only `forText`).
const std::vector<Column>& PositionColumns();
Record PositionRecord(long long instant, const Place& place, const TimeBasis& basis);
// The same cells, set in place (a batch reuses them); the zone's text only `forText`.
void SetPositionCells(std::vector<Cell>& cells, long long instant, const Place& place, const TimeBasis& basis,
                      bool forText);

// The year's head (year and place) and one row per sample day, with a column per height; the
// fields hold the year, the place and the seconds as the year window has them.
Record YearHead(int year, const Place& place);
std::vector<Record> YearRows(const solar::ObservationFields& f, const solar::YearSeries& series,
                             const std::vector<float>& heights);

// A place file's place, and its three stored fields of each angle ("51:30:0").
Record StoredPlaceRecord(const files::Place& stored);

}  // namespace cli
