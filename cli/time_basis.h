#pragma once

#include <QDate>
#include <QTimeZone>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// Instants are whole seconds since 1970-01-01T00:00:00Z, as the solar library takes them.

// From this instant on, the clock stands `offset` seconds ahead of universal time.
struct OffsetFrom {
  long long instant;
  int offset;
};

// The clock in which the tool reads and prints times: a zone of the system's time-zone
// database, UTC, a fixed offset, or by default the dialog's clock, one hour ahead of universal
// time all year. Zones come from Qt (QTimeZone); what a local day or a local time is follows
// from the offsets alone.
struct TimeBasis {
  QTimeZone zone;
  std::string name;                // "MEZ", "Europe/Berlin", "UTC", "UTC+05:30"
  std::optional<int> fixedOffset;  // UTC, an offset and the dialog's clock

  int OffsetAt(long long instant) const;
  // Every offset from `margin` seconds (at most two days) before the instant to as long after it,
  // from a window of four days kept per thread; not for a fixed offset.
  const std::vector<OffsetFrom>& OffsetsAround(long long instant, long long margin = 0) const;
  // The offset at `from`, then every change up to `to`.
  std::vector<OffsetFrom> Offsets(long long from, long long to) const;
};

TimeBasis DialogClock();
// A zone as given to --tz: a name of the time-zone database, "UTC", or an offset from -12:00 to
// +14:00 such as "+05:30".
TimeBasis ReadTimeBasis(std::string_view text);

// Local times and dates as seconds and days counted from 1970-01-01 on the local calendar.
long long LocalDayNumber(const QDate& date);
QDate DateOfLocalDay(long long day);
long long LocalDayOf(long long instant, const TimeBasis& basis);
QDate LocalDateOf(long long instant, const TimeBasis& basis);

// The earliest instant at which the clocks show the local time (seconds of the local calendar),
// or none where they skip it.
std::optional<long long> InstantOfLocalTime(long long local, const TimeBasis& basis);

// A day of the zone's calendar: from its first instant to the first instant of a later date,
// whatever its length (23, 24, 25 hours, more where a zone repeats hours or a date).
struct DayBounds {
  long long start, end;
};
// None where the zone skips the date.
std::optional<DayBounds> BoundsOf(const QDate& date, const TimeBasis& basis);
// The same; a date that the zone skips is a wrong entry.
DayBounds BoundsOrRefusal(const QDate& date, const TimeBasis& basis);

// A calendar date JJJJ-MM-TT of the years 1900 to 2100; impossible dates are refused.
QDate ReadCalendarDate(std::string_view text);
// A date and a clock time HH:MM[:SS] of the basis. A time that the clocks skip is refused; a time
// that they show twice is the earlier instant.
long long ReadMoment(std::string_view date, std::string_view time, const TimeBasis& basis);
// One RFC 3339 date-time ("T", "t" or a blank between date and time; "Z", "z" or an offset; without
// either, a local time of the basis), or "now". Its date in the basis lies within 1900 to 2100.
long long ReadMoment(std::string_view text, const TimeBasis& basis);

// A local date as JJJJ-MM-TT.
void AppendDate(std::string& out, long long day);
// An instant as RFC 3339 with the basis' offset ("2005-06-21T05:42:13-07:00"). An offset with
// seconds (local mean time before 1900-odd) has no RFC 3339 form: such instants are written in
// universal time ("…Z"), which stays exact.
void AppendRfc3339(std::string& out, long long instant, int offset);
// The same two written at `at` (room for 32 characters); each returns the end of what it wrote.
char* PutRfc3339(char* at, long long instant, int offset);
char* PutDateText(char* at, long long day);
std::string Rfc3339(long long instant, const TimeBasis& basis);
// The clock time in the basis, "HH:MM:SS".
std::string ClockText(long long instant, const TimeBasis& basis);
void AppendClockText(std::string& out, long long instant, const TimeBasis& basis);
// Whether the clocks of the basis show the instant's local time at another instant too (within
// the hours that a change of offset repeats).
bool ShownTwice(long long instant, const TimeBasis& basis);
// "UTC+05:30"; with seconds where the offset has them.
std::string OffsetText(int offset);
// The basis where no moment is known: "MEZ (UTC+01:00)", "UTC+05:30", "Europe/Berlin".
std::string ZoneName(const TimeBasis& basis);
// The basis with its offset at `from`, and the changes of offset before `until`: on one day
// "Europe/Berlin (UTC+01:00, ab 03:00 UTC+02:00)", over longer spans each other offset once.
std::string ZoneText(const TimeBasis& basis, long long from, long long until, bool oneDay);

}  // namespace cli
