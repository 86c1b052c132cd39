#pragma once

#include <vector>

#include "cli/local_day.h"
#include "cli/output.h"

namespace cli {

// What a scanned day gives: its date, both day lengths, the first and last minute above the
// horizon, sunrise and sunset, civil, nautical and astronomical dawn and dusk, solar noon.
Record DayValues(const LocalDay& day);

// The time above one height: its minutes, hours, state, the first rising and setting to the
// second, and every stretch above it.
Record HeightRecord(const LocalDay& day, float height);

}  // namespace cli
