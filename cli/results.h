#pragma once

#include <string>
#include <vector>

#include "cli/output.h"
#include "solar/types.h"

namespace cli {

// The results of the subcommands as records, the numbers in the forms the dialogs show.
Record PositionRecord(const solar::ObservationFields& f);
std::string ClockOfMinute(int minute);  // scan minute i is the entered clock time i minutes after 0:00
std::string PlaceText(float degrees, float arcmin, float arcsec);
std::string DateText(const solar::ObservationFields& f);
std::string TimeText(const solar::ObservationFields& f);

}  // namespace cli
