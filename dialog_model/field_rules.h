#pragma once

#include <array>
#include <variant>

#include "res/ids.h"
#include "solar/types.h"

namespace dialog_model {

// One field of the main dialog in the order of the exchange: its control, its member, and the
// range it must lie in when read (none for the results).
struct FieldRule {
  int control;
  std::variant<float solar::ObservationFields::*, int solar::ObservationFields::*> member;
  bool checked;
  double minimum, maximum;
};

using F = solar::ObservationFields;
inline constexpr std::array<FieldRule, 16> kFieldRules{{
    {res::IDC_AZIMUTH, &F::azimuth, false, 0, 0},
    {res::IDC_LAT_DEGREES, &F::latDegrees, true, -89, 89},
    {res::IDC_LAT_ARCMIN, &F::latArcmin, true, 0, 59},
    {res::IDC_LAT_ARCSEC, &F::latArcsec, true, 0, 59},
    {res::IDC_DAY, &F::day, true, 1, 31},
    {res::IDC_HEIGHT, &F::height, true, -90, 90},
    {res::IDC_HOUR, &F::hour, true, 0, 23},
    {res::IDC_LON_DEGREES, &F::lonDegrees, true, 0, 359},
    {res::IDC_LON_ARCSEC, &F::lonArcsec, true, 0, 59},
    {res::IDC_MINUTE, &F::minute, true, 0, 59},
    {res::IDC_MONTH, &F::month, true, 1, 12},
    {res::IDC_SECOND, &F::second, true, 0, 59},
    {res::IDC_YEAR, &F::year, true, 1900, 2100},
    {res::IDC_LON_ARCMIN, &F::lonArcmin, true, 0, 59},
    {res::IDC_SUNSHINE_HOURS, &F::sunshineHours, false, 0, 0},
    {res::IDC_TWILIGHT_HOURS, &F::twilightHours, false, 0, 0},
}};

// The rule of a control, or nullptr.
inline const FieldRule* RuleOf(int control) {
  for (const FieldRule& rule : kFieldRules) {
    if (rule.control == control) return &rule;
  }
  return nullptr;
}

}  // namespace dialog_model
