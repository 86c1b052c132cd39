#include "solar/numeric.h"

#include <gtest/gtest.h>

#include "tests/support/named_rows.h"

#include <climits>
#include <cmath>
#include <limits>

namespace solar {
namespace {

struct TruncRow : test_support::Named {
  double value;
  int expected;
};

class TruncToIntTest : public testing::TestWithParam<TruncRow> {};

TEST_P(TruncToIntTest, TruncatesTowardZeroAndSaturates) {
  EXPECT_EQ(TruncToInt(GetParam().value), GetParam().expected);
}

constexpr double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Rows, TruncToIntTest,
    testing::Values(TruncRow{{"positive_fraction"}, 2.9, 2}, TruncRow{{"negative_fraction"}, -2.9, -2},
                    TruncRow{{"nan"}, std::nan(""), 0}, TruncRow{{"huge"}, 1e30, INT_MAX},
                    TruncRow{{"huge_negative"}, -1e30, INT_MIN}, TruncRow{{"infinity"}, kInf, INT_MAX},
                    TruncRow{{"just_below_max"}, 2147483646.5, 2147483646}),
    test_support::RowName());

TEST(WrapToIntTest, WrapsLikeTwosComplement) {
  EXPECT_EQ(WrapToInt(5), 5);
  EXPECT_EQ(WrapToInt(-5), -5);
  EXPECT_EQ(WrapToInt(2147483648LL), INT_MIN);
  EXPECT_EQ(WrapToInt(4294967296LL + 7), 7);
  EXPECT_EQ(WrapToInt(-2147483649LL), INT_MAX);
}

}  // namespace
}  // namespace solar
