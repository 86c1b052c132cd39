#pragma once

#include <optional>
#include <string>
#include <vector>

#include <QByteArray>

#include "cli/input.h"
#include "cli/output.h"
#include "cli/time_basis.h"
#include "solar/types.h"

namespace cli {

// The results of the subcommands as records, the numbers in the forms the dialogs show.

// The place in decimal degrees as entered, the longitude from -180 (west) to 180.
Record PlaceRecord(const Place& place);
// The time basis, with its offset at `from` and any change before `until` in text.
Value ZoneValue(const TimeBasis& basis, long long from, long long until, bool oneDay);
// Fractional hours as the dialogs hold them; text shows them as whole hours and minutes too.
Value HoursValue(const std::string& key, const std::string& label, float hours);
// The sun at an instant and place.
Record PositionRecord(long long instant, const Place& place, const TimeBasis& basis);

// The year's head (year and place) and one row per sample day, with a column per height; the
// fields hold the year, the place and the seconds as the year window has them.
Record YearHead(int year, const Place& place);
std::vector<Record> YearRows(const solar::ObservationFields& f, const solar::YearSeries& series,
                             const std::vector<float>& heights);

// The three fields of an angle as stored: "51:30:0".
std::string FieldsText(float degrees, float arcmin, float arcsec);

}  // namespace cli
