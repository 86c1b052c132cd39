#include "solar/sun_position.h"

#include <gtest/gtest.h>

#include "tests/support/row_file.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "solar/day_scan.h"
#include "solar/numeric.h"
#include "solar/year_series.h"

namespace solar {
namespace {

std::string Digits(double value, int significant) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*g", significant, value);
  return text;
}

class FunctionTest : public testing::TestWithParam<test_support::FileRow> {};

TEST_P(FunctionTest, GivesItsResultToTheBit) {
  const std::vector<std::string>& w = GetParam().words;  // function, arguments, result
  const auto number = [&](size_t i) { return std::strtod(w[i].c_str(), nullptr); };
  const auto f = [&](size_t i) { return static_cast<float>(number(i)); };
  const auto i = [&](size_t k) { return std::stoi(w[k]); };
  if (w[0] == "DayNumber")
    EXPECT_EQ(DayNumber(i(1), i(2), f(3)), i(4));
  else if (w[0] == "ClockHours")
    EXPECT_EQ(ClockHours(i(1), i(2), i(3)), f(4));
  else if (w[0] == "AngleDegrees")
    EXPECT_EQ(AngleDegrees(f(1), f(2), f(3)), f(4));
  else if (w[0] == "AzimuthFromDirection")
    EXPECT_EQ(AzimuthFromDirection(number(1), f(2)), f(3));
  else if (w[0] == "TruncToInt")
    EXPECT_EQ(TruncToInt(number(1)), i(2));
  else if (w[0] == "WrapToInt")
    EXPECT_EQ(WrapToInt(std::stoll(w[1])), i(2));
  else
    FAIL() << "unknown function " << w[0];
}

INSTANTIATE_TEST_SUITE_P(Rows, FunctionTest, testing::ValuesIn(test_support::ReadRows("solar/functions.rows")),
                         test_support::FileRowName());

TEST(SunPositionTest, WorkedExampleSummerNoon) {
  const int n = DayNumber(2005, 6, 21);
  const float t = ClockHours(12, 0, 0);
  ASSERT_EQ(n, 53542);
  ASSERT_EQ(t, 11.0f);
  const PositionSteps s = ComputePositionSteps(n, t, AngleDegrees(51, 0, 0), AngleDegrees(7, 0, 0), Rounding::kMoment);
  EXPECT_EQ(s.d, 53542.457f);  // the single value nearest N + 11/24
  EXPECT_EQ(Digits(s.n, 6), "1997.96");
  EXPECT_EQ(Digits(s.g, 6), "2.90973");
  EXPECT_EQ(Digits(s.meanLongitude, 6), "89.7412");
  EXPECT_EQ(Digits(s.eclipticLongitude, 6), "1.5738");
  EXPECT_EQ(Digits(s.obliquity, 6), "0.409074");
  EXPECT_EQ(Digits(s.declination, 6), "0.409072");
  EXPECT_EQ(Digits(s.rightAscension, 6), "1.57407");
  EXPECT_EQ(Digits(s.siderealTime, 6), "20234.7");
  EXPECT_EQ(Digits(s.hourAngle, 6), "344.554");
  EXPECT_EQ(Digits(s.tau, 6), "6.13577");
  EXPECT_EQ(s.position.azimuth, 0x1.470034p+7f);  // 163.50, before culmination
  EXPECT_EQ(s.position.height, 0x1.ed6108p+5f);   // 61.67
  EXPECT_EQ(Digits(s.position.azimuth, 5), "163.5");
  EXPECT_EQ(Digits(s.position.height, 4), "61.67");
}

}  // namespace
}  // namespace solar
