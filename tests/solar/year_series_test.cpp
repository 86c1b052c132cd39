#include "solar/year_series.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "solar/day_scan.h"
#include "solar/sun_position.h"

namespace solar {
namespace {

// The seconds shift every minute of the sample days: some counts change with them.
TEST(YearSeriesTest, DependsOnTheSeconds) {
  YearSeries base{}, otherSeconds{};
  ComputeYearSeries(YearPlace{2005, 0, 51, 7}, base);
  ComputeYearSeries(YearPlace{2005, 59, 51, 7}, otherSeconds);
  int changed = 0;
  for (int k = 1; k <= 72; ++k) {
    if (base.sunshine[k] != otherSeconds.sunshine[k] || base.twilight[k] != otherSeconds.twilight[k]) ++changed;
  }
  EXPECT_GT(changed, 0);
}

}  // namespace
}  // namespace solar
