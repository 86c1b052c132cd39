#include "cli/time_basis.h"

#include <sys/stat.h>
#include <QDateTime>
#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "cli/input.h"
#include "cli/number_text.h"
#include "platform/base/field_text.h"
#include "platform/base/number_format.h"

namespace cli {

namespace {

constexpr int kModelOffset = 3600;  // the model's clock: universal time plus one hour
constexpr long long kSecondsPerDay = 86400;
constexpr long long kUnixEpochJulianDay = 2440588;  // 1970-01-01
// The offsets that can matter for a local time or date lie within two days of it.
constexpr long long kWindow = 2 * kSecondsPerDay;
// Offsets that real zones use: from 12 hours behind to 14 hours ahead of universal time.
constexpr int kLeastOffset = -12 * 3600, kGreatestOffset = 14 * 3600;

long long FloorDivide(long long value, long long divisor) { return value / divisor - (value % divisor < 0 ? 1 : 0); }

QDateTime Utc(long long instant) { return QDateTime::fromSecsSinceEpoch(instant, Qt::UTC); }

// "+05:30", "+0530" or "+05", also after "UTC": an offset in seconds, or nothing.
std::optional<int> ReadOffset(std::string_view text) {
  if (text.starts_with("UTC")) text.remove_prefix(3);
  if (text.empty() || (text[0] != '+' && text[0] != '-')) return std::nullopt;
  const int sign = text[0] == '-' ? -1 : 1;
  text.remove_prefix(1);
  std::string_view hours = text.substr(0, 2), minutes = "00";
  if (text.size() == 4)
    minutes = text.substr(2);
  else if (text.size() == 5 && text[2] == ':')
    minutes = text.substr(3);
  else if (text.size() != 2)
    return std::nullopt;
  const std::optional<int> h = ReadDigits(hours), m = ReadDigits(minutes);
  if (!h || !m || *h > 23 || *m > 59) return std::nullopt;
  return sign * (*h * 3600 + *m * 60);
}

// Every offset the basis shows within a window around the local time or instant `around`.
std::vector<int> OffsetsAround(long long around, const TimeBasis& basis) {
  std::vector<int> offsets;
  for (const OffsetFrom& o : basis.Offsets(around - kWindow, around + kWindow)) {
    if (std::find(offsets.begin(), offsets.end(), o.offset) == offsets.end()) offsets.push_back(o.offset);
  }
  return offsets;
}

// A name of the time-zone database: one it lists, or one of its other names (links such as
// US/Eastern or Etc/GMT+1), which are regular files of the database's folder. Anything else would
// be read by Qt as a path (../../etc/localtime, a FIFO) or as a POSIX rule ("ZZZ99").
bool DatabaseName(const std::string& name) {
  if (QTimeZone::isTimeZoneIdAvailable(QByteArray::fromStdString(name))) return true;
  // The machine's own zone and the default of POSIX rules are files of the folder, not zones:
  // a command would mean another zone on every machine.
  if (name == "localtime" || name == "posixrules") return false;
  size_t start = 0;
  for (size_t i = 0; i <= name.size(); ++i) {
    if (i < name.size() && name[i] != '/') {
      if (!std::isalnum(static_cast<unsigned char>(name[i])) && name[i] != '_' && name[i] != '-' && name[i] != '+')
        return false;
      continue;
    }
    if (i == start) return false;  // an empty part
    start = i + 1;
  }
  const char* folder = std::getenv("TZDIR");
  struct stat status {};
  return stat(((folder && *folder ? std::string(folder) : std::string("/usr/share/zoneinfo")) + "/" + name).c_str(),
              &status) == 0 &&
         S_ISREG(status.st_mode);
}

void CheckYear(const QDate& date) {
  if (date.year() < 1900 || date.year() > 2100) throw InputError{"Jahr: " + platform::IntRangeMessage(1900, 2100)};
}

// "HH:MM:SS" of seconds within a day.
char* PutClock(char* at, long long secondOfDay) {
  at = platform::PutTwoDigits(at, secondOfDay / 3600);
  *at++ = ':';
  at = platform::PutTwoDigits(at, secondOfDay / 60 % 60);
  *at++ = ':';
  return platform::PutTwoDigits(at, secondOfDay % 60);
}

// "JJJJ-MM-TT" of a day count: the Gregorian date in integer arithmetic (eras of 400 years of
// 146,097 days). Every date and time of the output goes through here.
char* PutDate(char* at, long long day) {
  const long long shifted = day + 719468;  // days since 0000-03-01
  const long long era = (shifted >= 0 ? shifted : shifted - 146096) / 146097;
  const long long dayOfEra = shifted - era * 146097;
  const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const long long monthFromMarch = (5 * dayOfYear + 2) / 153;
  const long long dayOfMonth = dayOfYear - (153 * monthFromMarch + 2) / 5 + 1;
  const long long month = monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9;
  const long long year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
  at = platform::PutTwoDigits(at, year / 100 % 100);
  at = platform::PutTwoDigits(at, year % 100);
  *at++ = '-';
  at = platform::PutTwoDigits(at, month);
  *at++ = '-';
  return platform::PutTwoDigits(at, dayOfMonth);
}

void AppendClock(std::string& out, long long secondOfDay) {
  char text[8];
  out.append(text, static_cast<size_t>(PutClock(text, secondOfDay) - text));
}

void AppendTwo(std::string& out, long long value) {
  char text[2];
  out.append(text, static_cast<size_t>(platform::PutTwoDigits(text, value) - text));
}

}  // namespace

const std::vector<OffsetFrom>& TimeBasis::OffsetsAround(long long instant, long long margin) const {
  // The offsets of a window of four days around the last instant asked about, per thread: the
  // times of a day are looked up there, not in the zone database each.
  thread_local std::string cachedName;
  thread_local long long cachedFrom = 0, cachedTo = 0;
  thread_local std::vector<OffsetFrom> cached;
  if (cachedName != name || instant - margin < cachedFrom || instant + margin >= cachedTo) {
    cachedFrom = instant - kWindow;
    cachedTo = instant + kWindow;
    cached = Offsets(cachedFrom, cachedTo);
    cachedName = name;
  }
  return cached;
}

int TimeBasis::OffsetAt(long long instant) const {
  if (fixedOffset) return *fixedOffset;
  const std::vector<OffsetFrom>& around = OffsetsAround(instant);
  const auto after = std::upper_bound(around.begin(), around.end(), instant,
                                      [](long long t, const OffsetFrom& o) { return t < o.instant; });
  return std::prev(after)->offset;
}

std::vector<OffsetFrom> TimeBasis::Offsets(long long from, long long to) const {
  if (fixedOffset) return {OffsetFrom{from, *fixedOffset}};
  std::vector<OffsetFrom> offsets{OffsetFrom{from, zone.offsetFromUtc(Utc(from))}};
  for (const QTimeZone::OffsetData& change : zone.transitions(Utc(from + 1), Utc(to))) {
    const long long at = change.atUtc.toSecsSinceEpoch();
    if (at > from && at < to && change.offsetFromUtc != offsets.back().offset) {
      offsets.push_back(OffsetFrom{at, change.offsetFromUtc});
    }
  }
  return offsets;
}

TimeBasis DialogClock() { return TimeBasis{QTimeZone(kModelOffset), "MEZ", kModelOffset}; }

TimeBasis ReadTimeBasis(std::string_view text) {
  if (text == "UTC" || text == "Z" || text == "z") return TimeBasis{QTimeZone::utc(), "UTC", 0};
  if (const std::optional<int> offset = ReadOffset(text)) {
    if (*offset < kLeastOffset || *offset > kGreatestOffset) {
      throw InputError{"Zeitzone: " + Shown(text) + " liegt nicht zwischen -12:00 und +14:00."};
    }
    return TimeBasis{QTimeZone(*offset), OffsetText(*offset), *offset};
  }
  const QByteArray id = QByteArray(text.data(), static_cast<qsizetype>(text.size()));
  if (text.empty() || !DatabaseName(std::string(text)) || !QTimeZone(id).isValid()) {
    throw InputError{"Zeitzone: " + Shown(text) +
                     " ist unbekannt; erwartet ein Name wie Europe/Berlin, UTC oder ein Versatz "
                     "wie +05:30."};
  }
  return TimeBasis{QTimeZone(id), std::string(text), std::nullopt};
}

long long LocalDayNumber(const QDate& date) { return date.toJulianDay() - kUnixEpochJulianDay; }

QDate DateOfLocalDay(long long day) { return QDate::fromJulianDay(day + kUnixEpochJulianDay); }

long long LocalDayOf(long long instant, const TimeBasis& basis) {
  return FloorDivide(instant + basis.OffsetAt(instant), kSecondsPerDay);
}

QDate LocalDateOf(long long instant, const TimeBasis& basis) { return DateOfLocalDay(LocalDayOf(instant, basis)); }

std::optional<long long> InstantOfLocalTime(long long local, const TimeBasis& basis) {
  if (basis.fixedOffset) return local - *basis.fixedOffset;
  std::optional<long long> earliest;
  for (const int offset : OffsetsAround(local, basis)) {
    const long long instant = local - offset;
    if (basis.OffsetAt(instant) == offset && (!earliest || instant < *earliest)) earliest = instant;
  }
  return earliest;
}

namespace {

// The first instant whose local date is the day or a later one. The local dates run on in
// stretches of one offset, each beginning where local midnight passes under that offset or where
// the offset changes: the first instant is among those beginnings.
long long FirstInstantFrom(long long day, const TimeBasis& basis) {
  const long long midnight = day * kSecondsPerDay;
  const std::vector<OffsetFrom> offsets = basis.Offsets(midnight - kWindow, midnight + kWindow);
  std::optional<long long> first;
  const auto consider = [&](long long instant) {
    const bool onOrAfter = FloorDivide(instant + basis.OffsetAt(instant), kSecondsPerDay) >= day;
    if (onOrAfter && (!first || instant < *first)) first = instant;
  };
  for (const OffsetFrom& o : offsets) {
    consider(midnight - o.offset);
    if (o.instant > midnight - kWindow) consider(o.instant);
  }
  return first.value_or(midnight - offsets.front().offset);
}

}  // namespace

std::optional<DayBounds> BoundsOf(const QDate& date, const TimeBasis& basis) {
  const long long day = LocalDayNumber(date);
  if (basis.fixedOffset) {
    const long long start = day * kSecondsPerDay - *basis.fixedOffset;
    return DayBounds{start, start + kSecondsPerDay};
  }
  const long long start = FirstInstantFrom(day, basis);
  if (LocalDateOf(start, basis) != date) return std::nullopt;
  return DayBounds{start, FirstInstantFrom(day + 1, basis)};
}

QDate ReadCalendarDate(std::string_view text) {
  const Pieces pieces = Split(text, '-');
  if (pieces.count != 3) throw InputError{"Datum: erwartet JJJJ-MM-TT, nicht " + Shown(text) + "."};
  const int year = ReadWhole(pieces.part[0], "Jahr", 1900, 2100);
  const int month = ReadWhole(pieces.part[1], "Monat", 1, 12);
  const int day = ReadWhole(pieces.part[2], "Tag", 1, 31);
  if (!QDate::isValid(year, month, day)) throw InputError{"Datum: den " + Shown(text, false) + " gibt es nicht."};
  return QDate(year, month, day);
}

namespace {

long long LocalSeconds(const QDate& date, const ClockTime& time) {
  return LocalDayNumber(date) * kSecondsPerDay + time.hour * 3600LL + time.minute * 60LL + time.second;
}

// The earliest instant of the local time; where there is none, the refusal of a date the zone
// skips, or else the message (made only when needed).
template <typename Message>
long long InstantOrRefusal(long long local, const TimeBasis& basis, const Message& message) {
  const std::optional<long long> instant = InstantOfLocalTime(local, basis);
  if (instant) return *instant;
  BoundsOrRefusal(DateOfLocalDay(FloorDivide(local, kSecondsPerDay)), basis);
  throw InputError{message()};
}

}  // namespace

DayBounds BoundsOrRefusal(const QDate& date, const TimeBasis& basis) {
  const std::optional<DayBounds> bounds = BoundsOf(date, basis);
  if (!bounds) {
    throw InputError{"Datum: den " + date.toString(Qt::ISODate).toStdString() + " gibt es in " + basis.name +
                     " nicht: die Zeitzone überspringt diesen Tag."};
  }
  return *bounds;
}

// The day count of a Gregorian date, in integer arithmetic (the inverse of PutDate's).
long long DaysFromCivil(long long year, long long month, long long day) {
  year -= month <= 2 ? 1 : 0;
  const long long era = (year >= 0 ? year : year - 399) / 400;
  const long long yearOfEra = year - era * 400;
  const long long dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  return era * 146097 + yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear - 719468;
}

// "JJJJ-MM-TT" and "HH:MM:SS" as most lines write them, read directly; nothing where they are
// written otherwise or wrong, which the general reading (with its messages) then takes.
std::optional<long long> PlainLocalSeconds(std::string_view date, std::string_view time) {
  if (date.size() != 10 || date[4] != '-' || date[7] != '-' || time.size() != 8 || time[2] != ':' || time[5] != ':') {
    return std::nullopt;
  }
  // Two digits at `at` as a number; false where either is no digit.
  const auto two = [](const char* at, int& value) {
    const unsigned tens = static_cast<unsigned char>(at[0]) - '0', ones = static_cast<unsigned char>(at[1]) - '0';
    value = static_cast<int>(tens * 10 + ones);
    return tens <= 9 && ones <= 9;
  };
  int century = 0, yearOfCentury = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  if (!(two(date.data(), century) && two(date.data() + 2, yearOfCentury) && two(date.data() + 5, month) &&
        two(date.data() + 8, day) && two(time.data(), hour) && two(time.data() + 3, minute) &&
        two(time.data() + 6, second))) {
    return std::nullopt;
  }
  const int year = century * 100 + yearOfCentury;
  static constexpr int kDaysInMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
  if (year < 1900 || year > 2100 || month < 1 || month > 12 || day < 1 ||
      day > kDaysInMonth[month - 1] + (month == 2 && leap ? 1 : 0) || hour > 23 || minute > 59 || second > 59) {
    return std::nullopt;
  }
  return DaysFromCivil(year, month, day) * kSecondsPerDay + hour * 3600LL + minute * 60LL + second;
}

long long ReadMoment(std::string_view date, std::string_view time, const TimeBasis& basis) {
  const std::optional<long long> plain = PlainLocalSeconds(date, time);
  const long long local = plain ? *plain : LocalSeconds(ReadCalendarDate(date), ReadClockTime(time));
  return InstantOrRefusal(local, basis, [&] {
    return "Uhrzeit: " + Shown(time, false) + " gibt es am " + Shown(date, false) + " in " + basis.name +
           " nicht (die Uhren werden umgestellt).";
  });
}

long long ReadMoment(std::string_view text, const TimeBasis& basis) {
  long long instant = 0;
  if (text == "now") {
    instant = QDateTime::currentSecsSinceEpoch();
  } else {
    const auto wrong = [&] {
      return InputError{
          "Zeitpunkt: erwartet JJJJ-MM-TTTHH:MM:SS mit Z oder Versatz (etwa "
          "2005-06-21T12:00:00Z) oder now, nicht " +
          Shown(text) + "."};
    };
    if (text.size() < 12 || (text[10] != 'T' && text[10] != 't' && text[10] != ' ')) throw wrong();
    const QDate day = ReadCalendarDate(text.substr(0, 10));
    std::string_view rest = text.substr(11);
    const size_t zone = rest.find_first_of("Zz+-");
    std::string_view clock = rest.substr(0, zone);
    const size_t fraction = clock.find('.');  // fractions of a second: the model counts whole ones
    if (fraction != std::string_view::npos) {
      if (fraction + 1 == clock.size() || !AllDigits(clock.substr(fraction + 1))) throw wrong();
      clock = clock.substr(0, fraction);
    }
    const long long local = LocalSeconds(day, ReadClockTime(clock));
    if (zone == std::string_view::npos) {
      instant = InstantOrRefusal(local, basis, [&] {
        return "Zeitpunkt: " + Shown(text, false) + " gibt es in " + basis.name +
               " nicht (die Uhren werden umgestellt).";
      });
    } else {
      const std::string_view designator = rest.substr(zone);
      const std::optional<int> offset =
          designator == "Z" || designator == "z" ? std::optional<int>(0) : ReadOffset(designator);
      if (!offset || designator.starts_with("UTC")) throw wrong();
      instant = local - *offset;
    }
  }
  CheckYear(LocalDateOf(instant, basis));
  return instant;
}

void AppendDate(std::string& out, long long day) {
  char text[10];
  out.append(text, static_cast<size_t>(PutDateText(text, day) - text));
}

char* PutRfc3339(char* at, long long instant, int offset) {
  const bool whole = offset % 60 == 0;  // no RFC 3339 offset has seconds: universal time instead
  const long long local = instant + (whole ? offset : 0);
  const long long day = FloorDivide(local, kSecondsPerDay);
  at = PutDate(at, day);
  *at++ = 'T';
  at = PutClock(at, local - day * kSecondsPerDay);
  if (!whole) {
    *at++ = 'Z';
  } else {
    *at++ = offset < 0 ? '-' : '+';
    const int magnitude = offset < 0 ? -offset : offset;
    at = platform::PutTwoDigits(at, magnitude / 3600);
    *at++ = ':';
    at = platform::PutTwoDigits(at, magnitude / 60 % 60);
  }
  return at;
}

char* PutDateText(char* at, long long day) { return PutDate(at, day); }

void AppendRfc3339(std::string& out, long long instant, int offset) {
  char text[32];
  out.append(text, static_cast<size_t>(PutRfc3339(text, instant, offset) - text));
}

std::string Rfc3339(long long instant, const TimeBasis& basis) {
  std::string text;
  AppendRfc3339(text, instant, basis.OffsetAt(instant));
  return text;
}

std::string ClockText(long long instant, const TimeBasis& basis) {
  std::string text;
  AppendClockText(text, instant, basis);
  return text;
}

void AppendClockText(std::string& out, long long instant, const TimeBasis& basis) {
  const long long local = instant + basis.OffsetAt(instant);
  AppendClock(out, local - FloorDivide(local, kSecondsPerDay) * kSecondsPerDay);
}

bool ShownTwice(long long instant, const TimeBasis& basis) {
  if (basis.fixedOffset || basis.OffsetsAround(instant, kSecondsPerDay).size() == 1) return false;  // none near
  const std::vector<OffsetFrom> around = basis.OffsetsAround(instant, kSecondsPerDay);  // a copy: the window moves
  const long long local = instant + basis.OffsetAt(instant);
  for (const OffsetFrom& o : around) {
    const long long other = local - o.offset;
    if (other != instant && basis.OffsetAt(other) == o.offset) return true;
  }
  return false;
}

std::string OffsetText(int offset) {
  std::string text = offset < 0 ? "UTC-" : "UTC+";
  const int magnitude = offset < 0 ? -offset : offset;
  AppendTwo(text, magnitude / 3600);
  text += ':';
  AppendTwo(text, magnitude / 60 % 60);
  if (magnitude % 60 != 0) {
    text += ':';
    AppendTwo(text, magnitude % 60);
  }
  return text;
}

std::string ZoneName(const TimeBasis& basis) {
  return basis.name == DialogClock().name ? basis.name + " (" + OffsetText(kModelOffset) + ")" : basis.name;
}

std::string ZoneText(const TimeBasis& basis, long long from, long long until, bool oneDay) {
  const std::vector<OffsetFrom> offsets = basis.Offsets(from, until);
  std::string text = basis.name + " (" + OffsetText(offsets.front().offset);
  if (oneDay && offsets.size() == 2) {  // a day on which the clocks change once
    text += ", ab " + ClockText(offsets[1].instant, basis).substr(0, 5) + " " + OffsetText(offsets[1].offset);
  } else {
    std::vector<int> shown{offsets.front().offset};
    for (const OffsetFrom& o : offsets) {
      if (std::find(shown.begin(), shown.end(), o.offset) != shown.end()) continue;
      shown.push_back(o.offset);
      text += ", zeitweise " + OffsetText(o.offset);
    }
  }
  return text + ")";
}

}  // namespace cli
