#include "cli/time_basis.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "cli/input.h"
#include "platform/field_text.h"

namespace cli {

namespace {

constexpr int kModelOffset = 3600;  // the model's clock: universal time plus one hour

QString Q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

std::string OffsetText(int seconds) {
  char text[16];
  const int magnitude = seconds < 0 ? -seconds : seconds;
  std::snprintf(text, sizeof text, "UTC%c%02d:%02d", seconds < 0 ? '-' : '+', magnitude / 3600,
                magnitude / 60 % 60);
  return text;
}

// "+05:30", "-07:00", "+0530", "+05": a fixed offset in seconds, or nothing.
std::optional<int> ReadOffset(std::string_view text) {
  if (text.size() < 3 || (text[0] != '+' && text[0] != '-')) return std::nullopt;
  std::string digits;
  for (const char c : text.substr(1)) {
    if (c != ':') digits += c;
  }
  if ((digits.size() != 2 && digits.size() != 4) ||
      digits.find_first_not_of("0123456789") != std::string::npos) {
    return std::nullopt;
  }
  const int hours = std::stoi(digits.substr(0, 2));
  const int minutes = digits.size() == 4 ? std::stoi(digits.substr(2)) : 0;
  if (hours > 14 || minutes > 59) return std::nullopt;
  return (text[0] == '-' ? -1 : 1) * (hours * 3600 + minutes * 60);
}

void CheckYear(const QDateTime& moment) {
  const int year = moment.toOffsetFromUtc(kModelOffset).date().year();
  if (year < 1900 || year > 2100) throw InputError{"Jahr: " + platform::IntRangeMessage(1900, 2100)};
}

}  // namespace

TimeBasis DialogClock() { return TimeBasis{QTimeZone(kModelOffset), "MEZ", true}; }

TimeBasis ReadTimeBasis(std::string_view text) {
  if (text == "UTC" || text == "Z") return TimeBasis{QTimeZone::utc(), "UTC"};
  if (const std::optional<int> offset = ReadOffset(text)) {
    return TimeBasis{QTimeZone(*offset), OffsetText(*offset)};
  }
  const QTimeZone zone(Q(text).toUtf8());
  if (text.empty() || !zone.isValid()) {
    throw InputError{"Zeitzone: \"" + std::string(text) +
                     "\" ist unbekannt; erwartet ein Name wie Europe/Berlin, UTC oder ein Versatz "
                     "wie +05:30."};
  }
  return TimeBasis{zone, std::string(text)};
}

namespace {

// Reads a date into the fields' year, month and day, refusing fractions and dates that do not
// exist; the day is returned whole.
int ReadCalendarDateInto(std::string_view text, solar::ObservationFields& f) {
  ReadDate(text, f);  // the parts and their ranges, with the dialog's messages
  const int day = static_cast<int>(f.day);
  if (f.day != static_cast<float>(day)) throw InputError{"Tag: " + platform::IntExpectedMessage()};
  if (!QDate::isValid(f.year, f.month, day)) {
    throw InputError{"Datum: den " + std::string(text) + " gibt es nicht."};
  }
  return day;
}

}  // namespace

QDate ReadCalendarDate(std::string_view text) {
  solar::ObservationFields f{};
  const int day = ReadCalendarDateInto(text, f);
  return QDate(f.year, f.month, day);
}

QDateTime ReadMoment(std::string_view date, std::string_view time, const TimeBasis& basis) {
  const QDate day = ReadCalendarDate(date);
  solar::ObservationFields f{};
  ReadTime(time, f);
  const QDateTime moment(day, QTime(f.hour, f.minute, f.second), basis.zone);
  if (!moment.isValid()) {
    throw InputError{"Uhrzeit: " + std::string(time) + " gibt es am " + std::string(date) + " in " +
                     basis.name + " nicht (die Uhren werden umgestellt)."};
  }
  return moment;
}

QDateTime ReadMoment(std::string_view text, const TimeBasis& basis) {
  if (text == "now") return QDateTime::currentDateTimeUtc();
  QDateTime moment = QDateTime::fromString(Q(text), Qt::ISODate);
  if (!moment.isValid() || text.find('T') == std::string_view::npos) {
    throw InputError{"Zeitpunkt: erwartet JJJJ-MM-TTTHH:MM:SS mit Z oder Versatz (etwa "
                     "2005-06-21T12:00:00Z) oder now, nicht \"" + std::string(text) + "\"."};
  }
  if (moment.timeSpec() == Qt::LocalTime) {
    moment = QDateTime(moment.date(), moment.time(), basis.zone);
    if (!moment.isValid()) {
      throw InputError{"Zeitpunkt: " + std::string(text) + " gibt es in " + basis.name + " nicht."};
    }
  }
  CheckYear(moment);
  return moment;
}

void ReadMomentInto(std::string_view date, std::string_view time, const TimeBasis& basis,
                    solar::ObservationFields& f, std::string& text) {
  if (!basis.modelClock) {
    const QDateTime moment = ReadMoment(date, time, basis);
    SetModelTime(moment, f);
    text = Rfc3339(moment, basis);
    return;
  }
  const int day = ReadCalendarDateInto(date, f);
  ReadTime(time, f);
  // Written digit by digit: the batch formats a time per line.
  text.assign("0000-00-00T00:00:00+01:00");
  const auto put = [&text](size_t at, int value, int digits) {
    for (int i = digits - 1; i >= 0; --i, value /= 10) text[at + static_cast<size_t>(i)] = static_cast<char>('0' + value % 10);
  };
  put(0, f.year, 4);
  put(5, f.month, 2);
  put(8, day, 2);
  put(11, f.hour, 2);
  put(14, f.minute, 2);
  put(17, f.second, 2);
}

void SetModelTime(const QDateTime& moment, solar::ObservationFields& f) {
  const QDateTime model = moment.toOffsetFromUtc(kModelOffset);
  f.year = model.date().year();
  f.month = model.date().month();
  f.day = static_cast<float>(model.date().day());
  f.hour = model.time().hour();
  f.minute = model.time().minute();
  f.second = model.time().second();
}

std::string Rfc3339(const QDateTime& moment, const TimeBasis& basis) {
  return moment.toTimeZone(basis.zone).toString(Qt::ISODate).toStdString();
}

std::string ClockText(const QDateTime& moment, const TimeBasis& basis) {
  return moment.toTimeZone(basis.zone).time().toString(u"HH:mm:ss").toStdString();
}

std::string ZoneName(const TimeBasis& basis) {
  return basis.name == DialogClock().name ? basis.name + " (" + OffsetText(kModelOffset) + ")" : basis.name;
}

std::string ZoneText(const TimeBasis& basis, const QDateTime& moment, const QDateTime& until) {
  const int first = basis.zone.offsetFromUtc(moment);
  std::string text = basis.name + " (" + OffsetText(first);
  const QTimeZone::OffsetDataList changes = basis.zone.transitions(moment, until);
  if (changes.size() == 1 && moment.secsTo(until) <= 25 * 3600) {  // a day on which clocks change
    text += ", ab " + ClockText(changes.front().atUtc, basis).substr(0, 5) + " " +
            OffsetText(changes.front().offsetFromUtc);
  } else {
    std::vector<int> others;
    for (const QTimeZone::OffsetData& change : changes) {
      if (change.offsetFromUtc != first &&
          std::find(others.begin(), others.end(), change.offsetFromUtc) == others.end()) {
        others.push_back(change.offsetFromUtc);
        text += ", zeitweise " + OffsetText(change.offsetFromUtc);
      }
    }
  }
  return text + ")";
}

}  // namespace cli
