#include "solar/day_facts.h"

#include "solar/constants.h"

namespace solar {

const Crossing* HeightFacts::First(bool rising) const {
  for (const Crossing& c : crossings) {
    if (c.rising == rising) return &c;
  }
  return nullptr;
}

HeightFacts FactsAbove(LocalDay& day, float height) {
  HeightFacts facts;
  facts.height = height;
  facts.stretches = day.StretchesAbove(height);
  facts.crossings = day.Crossings(height);
  facts.minutesAbove = day.CountAbove(height);
  facts.state = !facts.crossings.empty() ? HeightState::kCrossing
                : facts.minutesAbove > 0 ? HeightState::kAbove
                                         : HeightState::kBelow;
  return facts;
}

DayFacts FactsOf(LocalDay& day) {
  DayFacts facts;
  facts.minutes = day.Minutes();
  facts.sunshineMinutes = day.CountAbove(kHorizonHeight);
  facts.twilightMinutes = day.CountAbove(kTwilightHeight);
  facts.aboveHorizon = day.StretchesAbove(kHorizonHeight);
  for (size_t i = 0; i < kEventHeights.size(); ++i) facts.events[i] = FactsAbove(day, kEventHeights[i]);
  facts.highest = day.Highest();
  return facts;
}

}  // namespace solar
