#include "cli/day_results.h"

#include <algorithm>

#include "cli/results.h"
#include "platform/field_text.h"
#include "solar/solar.h"

namespace cli {

using platform::FormatFloatField;
using platform::FormatIntField;

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

State StateOf(const LocalDay& day, const std::vector<solar::Crossing>& crossings, float height) {
  if (!crossings.empty()) return State::kCrossing;
  return day.scan.minutes > 0 && day.track->height[0] > height ? State::kAbove : State::kBelow;
}

const char* StateKey(State s) { return s == State::kAbove ? "above" : s == State::kBelow ? "below" : "crossing"; }
const char* StateWords(State s) {
  return s == State::kAbove ? "immer darüber" : s == State::kBelow ? "immer darunter" : "kreuzt";
}

// A moment of the day: RFC 3339 in CSV and JSON, the clock time in text.
Value TimeValue(const std::string& key, const std::string& label, const LocalDay& day,
                long long seconds, bool withSeconds) {
  const QDateTime moment = day.MomentAfter(seconds);
  const std::string clock = ClockText(moment, day.basis);
  return {key, label, Rfc3339(moment, day.basis), false, {}, withSeconds ? clock : clock.substr(0, 5)};
}

// A missing moment: null in JSON, empty in CSV, the reason in text.
Value MissingTime(const std::string& key, const std::string& label, const std::string& words) {
  return {key, label, "", false, "null", words};
}

// The first crossing of one direction as the key's value; in text every one of them.
Value CrossingValue(const LocalDay& day, const std::vector<solar::Crossing>& crossings, bool rising,
                    const char* key, const char* label, State state) {
  std::string all;
  const solar::Crossing* first = nullptr;
  for (const solar::Crossing& c : crossings) {
    if (c.rising != rising) continue;
    if (!first) first = &c;
    all.append(all.empty() ? "" : ", ").append(ClockText(day.MomentAfter(c.second), day.basis));
  }
  if (!first) return MissingTime(key, label, state == State::kCrossing ? "–" : StateWords(state));
  Value v = TimeValue(key, label, day, first->second, true);
  v.words = all;
  return v;
}

// Every crossing of the named heights, in order: for scripts that need more than the first.
Value CrossingsList(const LocalDay& day) {
  struct Named {
    long long second;
    const char* event;
  };
  std::vector<Named> all;
  for (const EventHeight& e : kEventHeights) {
    for (const solar::Crossing& c : solar::CrossingsOf(day.scan, *day.track, e.height))
      all.push_back(Named{c.second, c.rising ? e.rising : e.setting});
  }
  std::stable_sort(all.begin(), all.end(), [](const Named& a, const Named& b) { return a.second < b.second; });
  std::string csv, json = "[";
  for (const Named& n : all) {
    const std::string time = Rfc3339(day.MomentAfter(n.second), day.basis);
    csv.append(csv.empty() ? "" : " ").append(n.event).append("=").append(time);
    json.append(json.size() > 1 ? ", " : "")
        .append("{\"event\": \"").append(n.event).append("\", \"time\": \"").append(time).append("\"}");
  }
  Value v{"crossings", "Durchgänge", csv, false, json + "]"};
  v.inText = false;
  return v;
}

std::vector<Value> Duration(const std::string& key, const std::string& label, int minutes) {
  const float hours = solar::MinutesToHours(minutes);
  const solar::HoursAndMinutes shown = solar::SplitHours(hours);
  return {{key + "_std", label + " (Std)", FormatIntField(shown.hours), true},
          {key + "_min", label + " (min)", FormatIntField(shown.minutes), true},
          {key + "_stunden", label + " (Stunden)", FormatFloatField(hours), true}};
}

// A minute of the scan, or the missing value.
Value MinuteValue(const std::string& key, const std::string& label, const LocalDay& day, int minute) {
  return minute < 0 ? MissingTime(key, label, "–") : TimeValue(key, label, day, 60LL * minute, false);
}

}  // namespace

Record DayValues(const LocalDay& day) {
  const int minutes = day.scan.minutes;
  const solar::DayTrack& track = *day.track;
  Record r{{"datum", "Datum", day.date.toString(Qt::ISODate).toStdString(), false}};
  r.push_back({"minuten_des_tages", "Minuten des Tages", FormatIntField(minutes), true});
  Append(r, Duration("sonne", "Sonne über Horizont", solar::CountMinutesAbove(track, solar::kHorizonHeight, minutes)));
  Append(r, Duration("daemmerung", "inkl. Dämmerung (-7 Grad)",
                     solar::CountMinutesAbove(track, solar::kTwilightHeight, minutes)));
  const std::vector<solar::Stretch> up = solar::StretchesAbove(track, solar::kHorizonHeight, minutes);
  r.push_back(MinuteValue("erste_minute", "Erste Minute über dem Horizont", day, up.empty() ? -1 : up.front().first));
  r.push_back(MinuteValue("letzte_minute", "Letzte Minute über dem Horizont", day, up.empty() ? -1 : up.back().last));
  for (const EventHeight& e : kEventHeights) {
    const std::vector<solar::Crossing> crossings = solar::CrossingsOf(day.scan, track, e.height);
    const State state = StateOf(day, crossings, e.height);
    r.push_back(CrossingValue(day, crossings, true, e.rising, e.risingLabel, state));
    r.push_back(CrossingValue(day, crossings, false, e.setting, e.settingLabel, state));
    Value s{e.state, "Zustand", StateKey(state), false};
    s.inText = false;
    r.push_back(s);
  }
  const solar::HighestPoint noon = solar::HighestPointOf(day.scan, track);
  r.push_back(TimeValue("solar_noon", "Höchster Stand", day, noon.second, true));
  r.push_back({"solar_noon_elevation_deg", "Höhe im höchsten Stand", FormatFloatField(noon.height), true});
  r.push_back(CrossingsList(day));
  return r;
}

Record HeightRecord(const LocalDay& day, float height) {
  const int minutes = day.scan.minutes;
  const int count = solar::CountMinutesAbove(*day.track, height, minutes);
  const std::vector<solar::Stretch> stretches = solar::StretchesAbove(*day.track, height, minutes);
  const std::vector<solar::Crossing> crossings = solar::CrossingsOf(day.scan, *day.track, height);
  const State state = count == minutes ? State::kAbove : count == 0 ? State::kBelow : State::kCrossing;
  Record r{{"hoehe", "Höhe (Grad)", FormatFloatField(height), true}};
  Append(r, Duration("ueber", "darüber", count));
  r.push_back({"minuten", "Minuten", FormatIntField(count), true});
  r.push_back({"state", "Zustand", StateKey(state), false, {}, StateWords(state)});
  const bool crossing = state == State::kCrossing;
  r.push_back(MinuteValue("erste_minute", "Erste Minute", day, crossing ? stretches.front().first : -1));
  r.push_back(MinuteValue("letzte_minute", "Letzte Minute", day, crossing ? stretches.back().last : -1));
  r.push_back(CrossingValue(day, crossings, true, "rising", "Steigt darüber", state));
  r.push_back(CrossingValue(day, crossings, false, "setting", "Sinkt darunter", state));
  // Each stretch as an interval of RFC 3339 times in CSV, as clock times in text.
  std::string csv, shown, json = "[";
  for (const solar::Stretch& stretch : stretches) {
    const Value from = TimeValue("", "", day, 60LL * stretch.first, false);
    const Value to = TimeValue("", "", day, 60LL * stretch.last, false);
    csv.append(csv.empty() ? "" : " ").append(from.text).append("/").append(to.text);
    shown.append(shown.empty() ? "" : " ").append(from.words).append("-").append(to.words);
    json.append(json.size() > 1 ? ", " : "")
        .append("{\"erste\": \"").append(from.text).append("\", \"letzte\": \"").append(to.text).append("\"}");
  }
  r.push_back({"abschnitte", "Abschnitte", csv, false, json + "]", shown});
  return r;
}

}  // namespace cli
