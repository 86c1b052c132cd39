#include "files/minute_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "solar/day_scan.h"
#include "solar/sun_position.h"
#include "tests/support/files.h"
#include "tests/support/golden.h"
#include "tests/support/row_file.h"

namespace files {
namespace {

class NumberFieldTest : public testing::TestWithParam<test_support::FileRow> {};

TEST_P(NumberFieldTest, SevenBytesOfSevenSignificantDigits) {
  EXPECT_EQ(NumberField(std::strtof(GetParam().words[0].c_str(), nullptr)), GetParam().words[1]);
}

INSTANTIATE_TEST_SUITE_P(Rows, NumberFieldTest, testing::ValuesIn(test_support::ReadRows("files/number_fields.rows")),
                         test_support::FileRowName());

solar::DayTrack TrackOf(float height) {
  solar::DayTrack t{};
  for (int i = 0; i < 1500; ++i) {
    t.azimuth[i] = 100.0f + i * 0.1f;
    t.height[i] = height;
  }
  return t;
}

class MinuteTableTest : public testing::Test {
 protected:
  std::string Export(const solar::DayTrack& track) {
    const std::string path = folder.Path("tag.txt");
    ExportMinuteTable(path, track);
    return test_support::ReadBytes(path);
  }
  test_support::ScratchFolder folder;
};

// Real days, byte for byte: the header alone in the polar night, the skip after each rejected
// minute at sunrise and sunset.
TEST_F(MinuteTableTest, RealDaysGiveTheGoldenFiles) {
  struct Day {
    const char* name;
    float latitude, longitude;
    int month, day, second;
  };
  for (const Day& d : {Day{"polar_night_80n", 80, 0, 12, 21, 0}, Day{"winter_51n", 51, 7, 12, 21, 0},
                       Day{"summer_51n_30s", 51, 7, 6, 21, 30}, Day{"sydney", -33.8688f, 151.2093f, 12, 21, 0}}) {
    solar::DayTrack track;
    solar::ScanDay(solar::DayNumber(2005, d.month, static_cast<float>(d.day)), d.second, d.latitude, d.longitude,
                   track);
    test_support::ExpectSameText(std::string("files/") + d.name + ".txt", Export(track));
  }
}

TEST_F(MinuteTableTest, ARejectedMinuteSkipsTheNextAndMinute1439IsNeverExamined) {
  solar::DayTrack track = TrackOf(10.0f);
  track.height[5] = 0.1f;  // rejected: minute 6 is not examined
  track.height[6] = 30.0f;
  track.height[100] = std::nanf("");  // not greater than 0.2
  track.azimuth[200] = 0.1f;          // just east of north: not above 0.2 either
  const std::string bytes = Export(track);
  // 1439 minutes, less 5 and 6, 100 and 101, 200 and 201.
  ASSERT_EQ(bytes.size(), 106u + 18u * 1433u);
  EXPECT_EQ(bytes.substr(106 + 18 * 5, 18), MinuteLine(track.azimuth[7], 10.0f));
  EXPECT_EQ(bytes.substr(bytes.size() - 18), MinuteLine(track.azimuth[1438], 10.0f));
}

TEST_F(MinuteTableTest, TheBoundaryIsComparedInDoublePrecision) {
  solar::DayTrack track = TrackOf(-5.0f);
  track.height[0] = 0.2f;                        // 0.20000000298...: above 0.2
  track.height[1] = std::nextafter(0.2f, 0.0f);  // 0.19999998807...: not above
  track.height[2] = 10.0f;                       // skipped after the rejected minute
  track.height[3] = 0.2f;
  const std::string bytes = Export(track);
  ASSERT_EQ(bytes.size(), 106u + 18u * 2);
  EXPECT_EQ(bytes.substr(106, 18), MinuteLine(100.0f, 0.2f));
  EXPECT_EQ(bytes.substr(124, 18), MinuteLine(track.azimuth[3], 0.2f));
}

TEST(Windows1252Test, UmlautsBecomeSingleBytes) {
  EXPECT_EQ(ToWindows1252("Süden Höhe"),
            "S\xFC"
            "den H\xF6he");
  EXPECT_EQ(ToWindows1252("€"), "?");
}

}  // namespace
}  // namespace files
