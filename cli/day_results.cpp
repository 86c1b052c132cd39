#include "cli/day_results.h"

#include <QJsonObject>
#include <algorithm>

#include "cli/results.h"
#include "platform/base/field_text.h"
#include "solar/solar.h"

namespace cli {

using platform::FormatFloatField;

namespace {

// A sun height whose crossings are named events of the day.
struct EventHeight {
  float height;
  const char *rising, *setting, *state;
  const char *risingLabel, *settingLabel;
};

// Sunrise and sunset: the sun's centre 0.833 degrees below the horizon (refraction and the
// sun's radius); then the three twilights.
constexpr EventHeight kEventHeights[] = {
    {-0.833f, "sunrise", "sunset", "sun_state", "Sonnenaufgang", "Sonnenuntergang"},
    {-6.0f, "civil_dawn", "civil_dusk", "civil_state", "Bürgerliche Morgendämmerung",
     "Bürgerliche Abenddämmerung"},
    {-12.0f, "nautical_dawn", "nautical_dusk", "nautical_state", "Nautische Morgendämmerung",
     "Nautische Abenddämmerung"},
    {-18.0f, "astronomical_dawn", "astronomical_dusk", "astronomical_state",
     "Astronomische Morgendämmerung", "Astronomische Abenddämmerung"},
};

enum class State { kAbove, kBelow, kCrossing };

State StateOf(LocalDay& day, const std::vector<solar::Crossing>& crossings, float height) {
  if (!crossings.empty()) return State::kCrossing;
  return day.sun.CountAbove(height) > 0 ? State::kAbove : State::kBelow;
}

const char* StateKey(State s) { return s == State::kAbove ? "above" : s == State::kBelow ? "below" : "crossing"; }
const char* StateWords(State s) {
  return s == State::kAbove ? "immer darüber" : s == State::kBelow ? "immer darunter" : "kreuzt";
}

// A moment of the day: RFC 3339 in CSV and JSON, the clock time in text.
Value TimeValue(const std::string& key, const std::string& label, const LocalDay& day,
                long long seconds, bool withSeconds) {
  const long long instant = day.InstantAfter(seconds);
  const std::string clock = ClockText(instant, day.basis);
  return String(key, label, Rfc3339(instant, day.basis), withSeconds ? clock : clock.substr(0, 5));
}

// The first crossing of one direction as the key's value; in text every one of them.
Value CrossingValue(const LocalDay& day, const std::vector<solar::Crossing>& crossings, bool rising,
                    const char* key, const char* label, State state) {
  std::string all;
  const solar::Crossing* first = nullptr;
  for (const solar::Crossing& c : crossings) {
    if (c.rising != rising) continue;
    if (!first) first = &c;
    all.append(all.empty() ? "" : ", ").append(ClockText(day.InstantAfter(c.second), day.basis));
  }
  if (!first) return Missing(key, label, state == State::kCrossing ? "–" : StateWords(state));
  Value v = TimeValue(key, label, day, first->second, true);
  v.text = all;
  return v;
}

// Every crossing of the named heights (those of each in kEventHeights' order), in order: for
// scripts that need more than the first.
Value CrossingsList(const LocalDay& day, const std::vector<std::vector<solar::Crossing>>& ofEvents) {
  struct Named {
    long long second;
    const char* event;
  };
  std::vector<Named> all;
  for (size_t i = 0; i < ofEvents.size(); ++i) {
    const EventHeight& e = kEventHeights[i];
    for (const solar::Crossing& c : ofEvents[i]) all.push_back(Named{c.second, c.rising ? e.rising : e.setting});
  }
  std::stable_sort(all.begin(), all.end(), [](const Named& a, const Named& b) { return a.second < b.second; });
  std::string csv;
  QJsonArray json;
  for (const Named& n : all) {
    const std::string time = Rfc3339(day.InstantAfter(n.second), day.basis);
    csv.append(csv.empty() ? "" : " ").append(n.event).append("=").append(time);
    json.append(QJsonObject{{"event", n.event}, {"time", QString::fromStdString(time)}});
  }
  Value v = List("crossings", "Durchgänge", json, csv, "");
  v.inText = false;
  return v;
}

// A minute of the scan, or the missing value.
Value MinuteValue(const std::string& key, const std::string& label, const LocalDay& day, int minute) {
  return minute < 0 ? Missing(key, label, "–") : TimeValue(key, label, day, 60LL * minute, false);
}

Value StateValue(const char* key, State state) {
  return String(key, "Zustand", StateKey(state), StateWords(state));
}

}  // namespace

Record DayValues(LocalDay& day) {
  const int minutes = day.sun.Minutes();
  solar::LocalDay& heights = day.sun;
  const int sunshine = heights.CountAbove(solar::kHorizonHeight);
  const int twilight = heights.CountAbove(solar::kTwilightHeight);
  Record r{String("date", "Datum", day.date.toString(Qt::ISODate).toStdString()),
           Integer("day_minutes", "Minuten des Tages", minutes),
           Integer("sunshine_minutes", "Minuten über dem Horizont", sunshine),
           HoursValue("sunshine_hours", "Sonne über Horizont", solar::MinutesToHours(sunshine)),
           Integer("twilight_minutes", "Minuten über -7 Grad", twilight),
           HoursValue("twilight_hours", "inkl. Dämmerung (-7 Grad)", solar::MinutesToHours(twilight))};
  const std::vector<solar::Stretch> up = heights.StretchesAbove(solar::kHorizonHeight);
  r.push_back(MinuteValue("first_minute_above_horizon", "Erste Minute über dem Horizont", day,
                          up.empty() ? -1 : up.front().first));
  r.push_back(MinuteValue("last_minute_above_horizon", "Letzte Minute über dem Horizont", day,
                          up.empty() ? -1 : up.back().last));
  std::vector<std::vector<solar::Crossing>> ofEvents;
  ofEvents.reserve(std::size(kEventHeights));
  for (const EventHeight& e : kEventHeights) {
    const std::vector<solar::Crossing>& crossings = ofEvents.emplace_back(heights.Crossings(e.height));
    const State state = StateOf(day, crossings, e.height);
    r.push_back(CrossingValue(day, crossings, true, e.rising, e.risingLabel, state));
    r.push_back(CrossingValue(day, crossings, false, e.setting, e.settingLabel, state));
    Value s = StateValue(e.state, state);
    s.inText = false;
    r.push_back(s);
  }
  const solar::HighestPoint noon = heights.Highest();
  r.push_back(TimeValue("solar_noon", "Höchster Stand", day, noon.second, true));
  r.push_back(Number("solar_noon_elevation_deg", "Höhe im höchsten Stand", noon.height,
                     FormatFloatField(noon.height)));
  r.push_back(CrossingsList(day, ofEvents));
  return r;
}

Record HeightRecord(LocalDay& day, float height) {
  const std::vector<solar::Stretch> stretches = day.sun.StretchesAbove(height);
  const std::vector<solar::Crossing> crossings = day.sun.Crossings(height);
  const int count = day.sun.CountAbove(height);
  const State state = StateOf(day, crossings, height);
  const bool crossing = state == State::kCrossing;
  Record r{Number("height_deg", "Höhe (Grad)", height, FormatFloatField(height)),
           Integer("minutes_above", "Minuten darüber", count),
           HoursValue("hours_above", "darüber", solar::MinutesToHours(count)),
           StateValue("above_state", state),
           MinuteValue("first_minute_above", "Erste Minute", day, crossing ? stretches.front().first : -1),
           MinuteValue("last_minute_above", "Letzte Minute", day, crossing ? stretches.back().last : -1),
           CrossingValue(day, crossings, true, "rising", "Steigt darüber", state),
           CrossingValue(day, crossings, false, "setting", "Sinkt darunter", state)};
  // Each stretch as an interval of RFC 3339 times in CSV, as clock times in text.
  std::string csv, shown;
  QJsonArray json;
  for (const solar::Stretch& stretch : stretches) {
    const Value from = TimeValue("", "", day, 60LL * stretch.first, false);
    const Value to = TimeValue("", "", day, 60LL * stretch.last, false);
    csv.append(csv.empty() ? "" : " ").append(from.csv).append("/").append(to.csv);
    shown.append(shown.empty() ? "" : " ").append(from.text).append("-").append(to.text);
    json.append(QJsonObject{{"first_minute", from.json}, {"last_minute", to.json}});
  }
  r.push_back(List("stretches", "Abschnitte", json, csv, shown));
  return r;
}

void WriteDay(std::ostream& out, const QDate& date, const Place& place, const DayRequest& request) {
  LocalDay day = ScanLocalDay(date, BoundsOrRefusal(date, request.basis), request.second, place, request.basis);
  Record values = DayValues(day);
  Record r{values.front(), ZoneValue(request.basis, day.bounds.start, day.bounds.end, true)};
  Append(r, PlaceRecord(place));
  r.insert(r.end(), values.begin() + 1, values.end());
  if (request.heights.empty()) return WriteRecord(out, request.format, r);
  std::vector<Record> rows;
  for (const float height : request.heights) rows.push_back(HeightRecord(day, height));
  WriteTable(out, request.format, r, rows, "heights");
}

}  // namespace cli
