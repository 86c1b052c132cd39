#include "files/minute_table.h"

#include <gtest/gtest.h>

#include <cmath>

#include "solar/day_scan.h"
#include "solar/sun_position.h"
#include "tests/support/files.h"
#include "tests/support/named_rows.h"

namespace files {
namespace {

struct FieldRow : test_support::Named {
  float value;
  const char* field;
};

class NumberFieldTest : public testing::TestWithParam<FieldRow> {};

TEST_P(NumberFieldTest, SevenBytesOfSevenSignificantDigits) {
  EXPECT_EQ(NumberField(GetParam().value), GetParam().field);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, NumberFieldTest,
    testing::Values(FieldRow{{"hundreds_cut"}, 123.45678f, "123.456"},
                    FieldRow{{"tens_cut"}, 12.345678f, "12.3456"},
                    FieldRow{{"below_one_cut"}, 0.23456789f, "0.23456"},
                    FieldRow{{"one_decimal"}, 267.3f, "267.3  "},
                    FieldRow{{"two_decimals"}, 45.25f, "45.25  "},
                    FieldRow{{"whole"}, 180.0f, "180.   "},
                    FieldRow{{"one"}, 1.0f, "1.     "},
                    FieldRow{{"rounds_up_to_360"}, 359.99997f, "360.   "},
                    FieldRow{{"lowest_written"}, 0.2f, "0.2    "},
                    FieldRow{{"eight_characters_cut_unrounded"}, 9.999999f, "9.99999"},
                    FieldRow{{"half_a_degree"}, 0.5f, "0.5    "},
                    FieldRow{{"small_height"}, 0.21234567f, "0.21234"},
                    FieldRow{{"huge"}, 1e30f, "1000000"},
                    FieldRow{{"negative"}, -12.5f, "-12.5  "},
                    FieldRow{{"not_a_number"}, std::nanf(""), "nan    "},
                    FieldRow{{"infinite"}, INFINITY, "inf    "}),
    test_support::RowName());

TEST(MinuteLineTest, EighteenBytes) {
  EXPECT_EQ(MinuteLine(123.45678f, 12.345678f), "123.456  12.3456\r\n");
  EXPECT_EQ(MinuteLine(180.0f, 1.0f).size(), 18u);
}

solar::DayTrack TrackOf(float height) {
  solar::DayTrack t{};
  for (int i = 0; i < 1500; ++i) {
    t.azimuth[i] = 100.0f + i * 0.1f;
    t.height[i] = height;
  }
  return t;
}

const std::string kHeader =
    "\x48Tagvaroskop im Tagesverlauf, ein Wertepaar pro Minute, 180 Grad = S\xFC"
    "den!      \r\n\x0F"
    "1.Azimut 2.H\xF6he       \r\n";

class MinuteTableTest : public testing::Test {
 protected:
  std::string Export(const solar::DayTrack& track) {
    const std::string path = folder.Path("tag.txt");
    ExportMinuteTable(path, track);
    return test_support::ReadBytes(path);
  }
  test_support::ScratchFolder folder;
};

TEST_F(MinuteTableTest, PolarNightGivesTheTwoHeaderLinesOnly) {
  static solar::DayTrack track;
  solar::ScanDay(solar::DayNumber(2005, 12, 21), 0, 80.0f, 0.0f, track);
  const std::string bytes = Export(track);
  EXPECT_EQ(bytes.size(), 106u);
  EXPECT_EQ(bytes, kHeader);
  EXPECT_EQ(kHeader.size(), 106u);
}

TEST_F(MinuteTableTest, ARejectedMinuteSkipsTheNextAndMinute1439IsNeverExamined) {
  solar::DayTrack track = TrackOf(10.0f);
  track.height[5] = 0.1f;    // rejected: minute 6 is not examined
  track.height[6] = 30.0f;
  track.height[100] = std::nanf("");  // not greater than 0.2
  track.azimuth[200] = 0.1f;  // just east of north: not above 0.2 either
  const std::string bytes = Export(track);
  // 1439 minutes, less 5 and 6, 100 and 101, 200 and 201.
  ASSERT_EQ(bytes.size(), 106u + 18u * 1433u);
  EXPECT_EQ(bytes.substr(106 + 18 * 5, 18), MinuteLine(track.azimuth[7], 10.0f));
  EXPECT_EQ(bytes.substr(bytes.size() - 18), MinuteLine(track.azimuth[1438], 10.0f));
}

TEST_F(MinuteTableTest, TheBoundaryIsComparedInDoublePrecision) {
  solar::DayTrack track = TrackOf(-5.0f);
  track.height[0] = 0.2f;  // 0.20000000298...: above 0.2
  track.height[1] = std::nextafter(0.2f, 0.0f);  // 0.19999998807...: not above
  track.height[2] = 10.0f;  // skipped after the rejected minute
  track.height[3] = 0.2f;
  const std::string bytes = Export(track);
  ASSERT_EQ(bytes.size(), 106u + 18u * 2);
  EXPECT_EQ(bytes.substr(106, 18), MinuteLine(100.0f, 0.2f));
  EXPECT_EQ(bytes.substr(124, 18), MinuteLine(track.azimuth[3], 0.2f));
}

TEST_F(MinuteTableTest, AtSunriseTheFirstLineIsTheFirstExaminedMinute) {
  solar::DayTrack track = TrackOf(-5.0f);
  for (int i = 301; i < 1500; ++i) track.height[i] = 5.0f;  // up from minute 301
  const std::string bytes = Export(track);
  // Minutes 0, 2, ..., 300 are examined in the night: 301 is skipped, 302 is the first line.
  EXPECT_EQ(bytes.substr(106, 18), MinuteLine(track.azimuth[302], 5.0f));
  EXPECT_EQ(bytes.size(), 106u + 18u * (1439 - 302));
}

TEST(Windows1252Test, UmlautsBecomeSingleBytes) {
  EXPECT_EQ(ToWindows1252("Süden Höhe"), "S\xFC" "den H\xF6he");
  EXPECT_EQ(ToWindows1252("€"), "?");
}

}  // namespace
}  // namespace files
