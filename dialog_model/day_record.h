#pragma once

#include <span>
#include <vector>

#include "solar/day_facts.h"
#include "solar/local_day.h"

namespace dialog_model {

// The values of a local day, and of a height over it, as the tool writes them and the Python
// package gives them: described once here, each with its key (the tool's CSV and JSON, the
// package's columns), its German label (the tool's text) and its kind, in their order.
enum class DayKind : unsigned char {
  kCount,    // minutes
  kHours,    // hours (single precision)
  kDegrees,  // degrees (single precision)
  kMinute,   // the instant of a minute of the day's scan
  kInstant,  // an instant to the second: a crossing or the highest point
  kState,    // above, below or crossing
};

struct DayField {
  const char* key;
  const char* label;
  DayKind kind;
  bool inText = true;  // the tool's text shows it (a state shows through its events instead)
};

// One value. A crossing or a minute the day does not have is missing; a crossing then carries
// its height's state (why), and every crossing its height's facts and direction, for those who
// show all of them.
struct DayValue {
  DayKind kind;
  double number = 0.0;
  long long instant = 0;
  solar::HeightState state = solar::HeightState::kCrossing;
  bool missing = false;
  const solar::HeightFacts* height = nullptr;
  bool rising = false;
};

// The fields of a day after its date, and their values for the day and its facts (which must
// outlive the values).
std::span<const DayField> DayFields();
std::vector<DayValue> DayValuesOf(const solar::LocalDay& day, const solar::DayFacts& facts);

// The sunrise, solar noon and sunset of a day (the crossings of one height and the highest
// point) with the height's state: the same keys and values as those fields of a day, computed
// without the rest of the day's facts.
std::span<const DayField> SunTimeFields();
std::vector<DayValue> SunTimeValuesOf(const solar::LocalDay& day, const solar::HeightFacts& facts,
                                      const solar::HighestPoint& highest);

// The fields of a height over a day after the height itself, and their values.
std::span<const DayField> HeightFields();
std::vector<DayValue> HeightValuesOf(const solar::LocalDay& day, const solar::HeightFacts& facts);

}  // namespace dialog_model
