#include "dialog_model/day_record.h"

#include "solar/day_scan.h"

namespace dialog_model {

namespace {

using enum DayKind;

constexpr DayField kDayFields[] = {
    {"day_minutes", "Minuten des Tages", kCount},
    {"sunshine_minutes", "Minuten über dem Horizont", kCount},
    {"sunshine_hours", "Sonne über Horizont", kHours},
    {"twilight_minutes", "Minuten über -7 Grad", kCount},
    {"twilight_hours", "inkl. Dämmerung (-7 Grad)", kHours},
    {"first_minute_above_horizon", "Erste Minute über dem Horizont", kMinute},
    {"last_minute_above_horizon", "Letzte Minute über dem Horizont", kMinute},
    {"sunrise", "Sonnenaufgang", kInstant},
    {"sunset", "Sonnenuntergang", kInstant},
    {"sun_state", "Zustand", kState, false},
    {"civil_dawn", "Bürgerliche Morgendämmerung", kInstant},
    {"civil_dusk", "Bürgerliche Abenddämmerung", kInstant},
    {"civil_state", "Zustand", kState, false},
    {"nautical_dawn", "Nautische Morgendämmerung", kInstant},
    {"nautical_dusk", "Nautische Abenddämmerung", kInstant},
    {"nautical_state", "Zustand", kState, false},
    {"astronomical_dawn", "Astronomische Morgendämmerung", kInstant},
    {"astronomical_dusk", "Astronomische Abenddämmerung", kInstant},
    {"astronomical_state", "Zustand", kState, false},
    {"solar_noon", "Höchster Stand", kInstant},
    {"solar_noon_elevation_deg", "Höhe im höchsten Stand", kDegrees},
};
static_assert(std::size(kDayFields) == 9 + 3 * solar::kEventHeights.size());

constexpr DayField kSunTimeFields[] = {
    kDayFields[7],   // sunrise
    kDayFields[19],  // solar_noon
    kDayFields[8],   // sunset
    kDayFields[9],   // sun_state
};

constexpr DayField kHeightFields[] = {
    {"minutes_above", "Minuten darüber", kCount},
    {"hours_above", "darüber", kHours},
    {"above_state", "Zustand", kState},
    {"first_minute_above", "Erste Minute", kMinute},
    {"last_minute_above", "Letzte Minute", kMinute},
    {"rising", "Steigt darüber", kInstant},
    {"setting", "Sinkt darunter", kInstant},
};

DayValue Count(int minutes) { return DayValue{.kind = kCount, .number = static_cast<double>(minutes)}; }
DayValue Hours(int minutes) { return DayValue{.kind = kHours, .number = solar::MinutesToHours(minutes)}; }
DayValue Minute(const solar::LocalDay& day, int minute) {
  return DayValue{.kind = kMinute, .instant = day.InstantAfter(60LL * minute), .missing = minute < 0};
}
DayValue Crossing(const solar::LocalDay& day, const solar::HeightFacts& facts, bool rising) {
  const solar::Crossing* first = facts.First(rising);
  return DayValue{.kind = kInstant,
                  .instant = first ? day.InstantAfter(first->second) : 0,
                  .state = facts.state,
                  .missing = first == nullptr,
                  .height = &facts,
                  .rising = rising};
}
DayValue State(solar::HeightState state) { return DayValue{.kind = kState, .state = state}; }

}  // namespace

std::span<const DayField> DayFields() { return kDayFields; }
std::span<const DayField> HeightFields() { return kHeightFields; }
std::span<const DayField> SunTimeFields() { return kSunTimeFields; }

std::vector<DayValue> SunTimeValuesOf(const solar::LocalDay& day, const solar::HeightFacts& facts,
                                      const solar::HighestPoint& highest) {
  return {Crossing(day, facts, true), DayValue{.kind = kInstant, .instant = day.InstantAfter(highest.second)},
          Crossing(day, facts, false), State(facts.state)};
}

std::vector<DayValue> DayValuesOf(const solar::LocalDay& day, const solar::DayFacts& facts) {
  const std::vector<solar::Stretch>& up = facts.aboveHorizon;
  std::vector<DayValue> values{Count(facts.minutes),
                               Count(facts.sunshineMinutes),
                               Hours(facts.sunshineMinutes),
                               Count(facts.twilightMinutes),
                               Hours(facts.twilightMinutes),
                               Minute(day, up.empty() ? -1 : up.front().first),
                               Minute(day, up.empty() ? -1 : up.back().last)};
  for (const solar::HeightFacts& event : facts.events) {
    values.push_back(Crossing(day, event, true));
    values.push_back(Crossing(day, event, false));
    values.push_back(State(event.state));
  }
  values.push_back(DayValue{.kind = kInstant, .instant = day.InstantAfter(facts.highest.second)});
  values.push_back(DayValue{.kind = kDegrees, .number = facts.highest.height});
  return values;
}

std::vector<DayValue> HeightValuesOf(const solar::LocalDay& day, const solar::HeightFacts& facts) {
  // A crossed height may have no whole minute above it: the sun stays above for less than one.
  const bool shown = facts.state == solar::HeightState::kCrossing && !facts.stretches.empty();
  return {Count(facts.minutesAbove),
          Hours(facts.minutesAbove),
          State(facts.state),
          Minute(day, shown ? facts.stretches.front().first : -1),
          Minute(day, shown ? facts.stretches.back().last : -1),
          Crossing(day, facts, true),
          Crossing(day, facts, false)};
}

}  // namespace dialog_model
