#pragma once

#include <ostream>
#include <vector>

#include "cli/local_day.h"
#include "cli/output.h"

namespace cli {

// What a scanned day gives: its date, both day lengths, the first and last minute above the
// horizon, sunrise and sunset, civil, nautical and astronomical dawn and dusk, solar noon.
Record DayValues(LocalDay& day);

// The time above one height: its minutes, hours, state, the first rising and setting to the
// second, and every stretch above it.
Record HeightRecord(LocalDay& day, float height);

// What `day` is asked for besides the date and place.
struct DayRequest {
  int second;                  // the seconds every minute is shifted by
  std::vector<float> heights;  // extra heights, each with its own row
  Format format;
  TimeBasis basis;
};

// Writes the day as `day` does: its record, or with heights its table. A date that the zone
// skips is a wrong entry. A batch writes the CSV header once, before the first day.
void WriteDay(std::ostream& out, const QDate& date, const Place& place, const DayRequest& request);
void AppendDay(std::string& out, const QDate& date, const Place& place, const DayRequest& request, bool csvHeader);
// The CSV header of the days that `day` writes for the request.
void AppendDayCsvHeader(std::string& out, const DayRequest& request);

}  // namespace cli
