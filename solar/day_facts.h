#pragma once

#include <array>
#include <vector>

#include "solar/day_events.h"
#include "solar/local_day.h"

namespace solar {

// Whether the sun stays above a height all day, below it, or crosses it.
enum class HeightState { kAbove, kBelow, kCrossing };

// The heights whose crossings are the named events of a day: sunrise and sunset (the sun's centre
// 0.833 degrees below the horizon, for refraction and the sun's radius), then civil, nautical and
// astronomical twilight.
inline constexpr std::array<float, 4> kEventHeights{-0.833f, -6.0f, -12.0f, -18.0f};

// A height over a local day: the minutes above it, its state, the stretches of minutes above it
// and every crossing (seconds counted from the day's first minute).
struct HeightFacts {
  float height = 0.0f;
  int minutesAbove = 0;
  HeightState state = HeightState::kBelow;
  std::vector<Stretch> stretches;
  std::vector<Crossing> crossings;

  // The first crossing upward (rising) or downward, or nullptr.
  const Crossing* First(bool rising) const;
};
HeightFacts FactsAbove(LocalDay& day, float height);

// What a local day gives: its minutes, the minutes above the horizon and above -7 degrees (the
// dialog's two day lengths), the stretches above the horizon, the event heights and the highest
// point.
struct DayFacts {
  int minutes = 0;
  int sunshineMinutes = 0, twilightMinutes = 0;
  std::vector<Stretch> aboveHorizon;
  std::array<HeightFacts, kEventHeights.size()> events;
  HighestPoint highest{};
};
DayFacts FactsOf(LocalDay& day);

}  // namespace solar
