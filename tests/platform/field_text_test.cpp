#include "platform/base/field_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

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

class FormatTest : public testing::TestWithParam<test_support::FileRow> {};

TEST_P(FormatTest, ShowsTheNumberAsTheFieldDoes) {
  const std::vector<std::string>& w = GetParam().words;  // function, value, text
  EXPECT_EQ(
      w[0] == "FormatIntField" ? FormatIntField(std::stol(w[1])) : FormatFloatField(std::strtod(w[1].c_str(), nullptr)),
      w[2]);
}

INSTANTIATE_TEST_SUITE_P(Rows, FormatTest, testing::ValuesIn(test_support::ReadRows("platform/formats.rows")),
                         test_support::FileRowName());

}  // namespace
}  // namespace platform
