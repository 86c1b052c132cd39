#include "platform/field_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "tests/support/named_rows.h"
#include "tests/support/row_file.h"

namespace platform {
namespace {

class FieldReadingTest : public testing::TestWithParam<test_support::FileRow> {};

TEST_P(FieldReadingTest, ReadsOrRefuses) {
  const std::vector<std::string>& row = GetParam().words;  // text, as an int, as a float
  const auto expected = [](const std::string& word) {
    return word == "-" ? std::nullopt : std::optional<double>(std::strtod(word.c_str(), nullptr));
  };
  const std::optional<int> asInt = ParseIntField(row[0]);
  EXPECT_EQ(asInt ? std::optional<double>(*asInt) : std::nullopt, expected(row[1]));
  EXPECT_EQ(ParseFloatField(row[0]), expected(row[2]));
}

INSTANTIATE_TEST_SUITE_P(Rows, FieldReadingTest,
                         testing::ValuesIn(test_support::ReadRows("platform/field_reading.rows")),
                         test_support::FileRowName());

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
