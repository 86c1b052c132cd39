#pragma once

#include <optional>
#include <string>
#include <vector>

#include <QByteArray>

#include "cli/output.h"
#include "solar/types.h"

namespace cli {

// The results of the subcommands as records, the numbers in the forms the dialogs show.
Record PositionRecord(const solar::ObservationFields& f);
Record PlaceRecord(const solar::ObservationFields& f);

// The day of the fields: date, place, both day lengths and the first and last minute above
// the horizon.
Record DayRecord(const solar::ObservationFields& f, const solar::DayTrack& track);
// The time above one height: its minutes, hours, state, and every stretch above it.
Record HeightRecord(const solar::DayTrack& track, float height);

// The year's head (year and place) and one row per sample day, with a column per height.
Record YearHead(const solar::ObservationFields& f);
std::vector<Record> YearRows(const solar::ObservationFields& f, const solar::YearSeries& series,
                             const std::vector<float>& heights);

// The charts as the dialogs draw them, cut to the chart's area, as PNG bytes.
QByteArray DayChartPng(const solar::ObservationFields& f);
QByteArray YearChartPng(const solar::ObservationFields& f, std::optional<int> clickX);

std::string ClockOfMinute(int minute);  // scan minute i is the entered clock time i minutes after 0:00
std::string PlaceText(float degrees, float arcmin, float arcsec);
std::string DateText(const solar::ObservationFields& f);
std::string TimeText(const solar::ObservationFields& f);

}  // namespace cli
