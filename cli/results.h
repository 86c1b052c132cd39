#pragma once

#include <optional>
#include <string>
#include <vector>

#include <QByteArray>

#include "cli/output.h"
#include "cli/time_basis.h"
#include "solar/types.h"

namespace cli {

// The results of the subcommands as records, the numbers in the forms the dialogs show.

// The longitude of the fields from -180 (west) to 180.
double SignedLongitude(const solar::ObservationFields& f);
// The place of the fields in decimal degrees, the longitude from -180 (west) to 180.
Record PlaceRecord(const solar::ObservationFields& f);
// The time basis, with its offset at `from` and any change before `until` in text.
Value ZoneValue(const TimeBasis& basis, const QDateTime& from, const QDateTime& until);
// Fractional hours as the dialogs hold them; text shows them as whole hours and minutes too.
Value HoursValue(const std::string& key, const std::string& label, float hours);
// The sun at the moment, which the fields hold on the model's clock.
Record PositionRecord(const solar::ObservationFields& f, const QDateTime& moment, const TimeBasis& basis);

// The year's head (year and place) and one row per sample day, with a column per height.
Record YearHead(const solar::ObservationFields& f);
std::vector<Record> YearRows(const solar::ObservationFields& f, const solar::YearSeries& series,
                             const std::vector<float>& heights);

// The three fields of an angle as stored: "51:30:0".
std::string FieldsText(float degrees, float arcmin, float arcsec);
// Decimal degrees to five places, trailing zeros dropped.
std::string DecimalDegrees(double degrees);

}  // namespace cli
