#include "platform/field_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "tests/support/named_rows.h"

namespace platform {
namespace {

struct ReadRow : test_support::Named {
  const char* text;
  std::optional<int> asInt;
  std::optional<double> asFloat;
};

class FieldReadingTest : public testing::TestWithParam<ReadRow> {};

TEST_P(FieldReadingTest, ReadsOrRejects) {
  EXPECT_EQ(ParseIntField(GetParam().text), GetParam().asInt);
  EXPECT_EQ(ParseFloatField(GetParam().text), GetParam().asFloat);
}

constexpr std::nullopt_t no = std::nullopt;

INSTANTIATE_TEST_SUITE_P(
    Rows, FieldReadingTest,
    testing::Values(
        ReadRow{{"zero"}, "0", 0, 0.0},
        ReadRow{{"zeros"}, "000", 0, 0.0}, ReadRow{{"negative"}, "-7", -7, -7.0},
        ReadRow{{"plus_sign"}, "+7", 7, 7.0},
        ReadRow{{"leading_blanks_and_tabs"}, " \t 5", 5, 5.0},
        ReadRow{{"trailing_blanks"}, "5 \t ", 5, 5.0},
        ReadRow{{"plus_zero"}, "+0", no, no},
        ReadRow{{"point_zero"}, ".0", no, no}, ReadRow{{"zero_point_zero"}, "0.0", no, 0.0},
        ReadRow{{"point_five"}, ".5", no, 0.5}, ReadRow{{"trailing_point"}, "5.", no, 5.0},
        ReadRow{{"exponent"}, "1e1", no, 10.0}, ReadRow{{"exponent_sign"}, "25E-1", no, 2.5},
        ReadRow{{"incomplete_exponent"}, "1e", no, no},
        ReadRow{{"zero_exponent_from_zero"}, "0e5", no, 0.0},
        ReadRow{{"blanks_only"}, "   ", no, no}, ReadRow{{"letters"}, "abc", no, no},
        ReadRow{{"inner_blank"}, "1 2", no, no},
        ReadRow{{"sign_alone"}, "-", no, no}, ReadRow{{"point_alone"}, ".", no, no},
        ReadRow{{"infinity_word"}, "inf", no, no}, ReadRow{{"nan_word"}, "nan", no, no},
        ReadRow{{"hexadecimal"}, "0x10", no, no},
        ReadRow{{"underflow_reads_as_zero"}, "1e-400", no, no},
        ReadRow{{"overflow_is_infinite"}, "1e400", no, HUGE_VAL},
        ReadRow{{"int_saturates_high"}, "99999999999", INT_MAX, 99999999999.0},
        ReadRow{{"int_saturates_low"}, "-99999999999", INT_MIN, -99999999999.0},
        ReadRow{{"int_min_exact"}, "-2147483648", INT_MIN, -2147483648.0}),
    test_support::RowName());

TEST(FieldReadingTest, IgnoresTheLocale) {
  const char* previous = setlocale(LC_NUMERIC, "de_DE.UTF-8");
  EXPECT_EQ(ParseFloatField("2.5"), 2.5);
  EXPECT_EQ(FormatFloatField(2.5), "2.5");
  if (previous) setlocale(LC_NUMERIC, "C");
}

TEST(FirstCharactersTest, CountsCharactersNotBytes) {
  EXPECT_EQ(FirstCharacters("abcdef", 3), "abc");
  EXPECT_EQ(FirstCharacters("äöü", 2), "äö");
  EXPECT_EQ(FirstCharacters("ab", 31), "ab");
}

struct FormatRow : test_support::Named {
  double value;
  const char* text;
};

class FloatFormatTest : public testing::TestWithParam<FormatRow> {};

TEST_P(FloatFormatTest, SixSignificantDigits) {
  EXPECT_EQ(FormatFloatField(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FloatFormatTest,
    testing::Values(FormatRow{{"whole"}, 51.0, "51"}, FormatRow{{"half"}, 0.5, "0.5"},
                    FormatRow{{"rounded"}, 51.1234567, "51.1235"},
                    FormatRow{{"large_uses_exponent"}, 1e30, "1e+30"},
                    FormatRow{{"million"}, 1234567.0, "1.23457e+06"},
                    FormatRow{{"infinite"}, HUGE_VAL, "inf"},
                    FormatRow{{"negative"}, -89.0, "-89"}),
    test_support::RowName());

TEST(IntFormatTest, PlainDecimal) {
  EXPECT_EQ(FormatIntField(-36), "-36");
  EXPECT_EQ(FormatIntField(2100), "2100");
}

}  // namespace
}  // namespace platform
