#pragma once

#include <QDateTime>
#include <QTimeZone>
#include <string>
#include <string_view>

#include "solar/types.h"

namespace cli {

// The clock in which the tool reads and prints times: a zone of the system's time-zone
// database, UTC, a fixed offset, or by default the dialog's clock, one hour ahead of universal
// time all year.
struct TimeBasis {
  QTimeZone zone;
  std::string name;  // "MEZ", "Europe/Berlin", "UTC", "UTC+05:30"
  bool modelClock = false;  // the dialog's clock, on which the model computes
};

TimeBasis DialogClock();
// A zone as given to --tz: an IANA name, "UTC", or an offset such as "+05:30".
TimeBasis ReadTimeBasis(std::string_view text);

// A calendar date JJJJ-MM-TT of the years 1900 to 2100; impossible dates are refused.
QDate ReadCalendarDate(std::string_view text);
// A date and a clock time HH:MM[:SS] of the basis; a time that the clocks skip is refused.
QDateTime ReadMoment(std::string_view date, std::string_view time, const TimeBasis& basis);
// One ISO 8601 date-time (with Z or an offset; without one, of the basis), or "now".
QDateTime ReadMoment(std::string_view text, const TimeBasis& basis);

// Reads a date and a time of the basis into the fields' date and time on the model's clock and
// gives the moment as RFC 3339 in the basis. The dialog's clock needs no conversion.
void ReadMomentInto(std::string_view date, std::string_view time, const TimeBasis& basis,
                    solar::ObservationFields& f, std::string& rfc3339);

// Puts a moment on the model's clock into the fields' date and time.
void SetModelTime(const QDateTime& moment, solar::ObservationFields& f);

// A moment as RFC 3339 in the basis ("2005-06-21T05:42:13-07:00"), and its clock time there.
std::string Rfc3339(const QDateTime& moment, const TimeBasis& basis);
std::string ClockText(const QDateTime& moment, const TimeBasis& basis);
// The basis where no moment is known: "MEZ (UTC+01:00)", "UTC+05:30", "Europe/Berlin".
std::string ZoneName(const TimeBasis& basis);
// The basis with its offset at the moment, and any change of offset before `until`:
// "Europe/Berlin (UTC+01:00, ab 03:00 UTC+02:00)".
std::string ZoneText(const TimeBasis& basis, const QDateTime& moment, const QDateTime& until);

}  // namespace cli
