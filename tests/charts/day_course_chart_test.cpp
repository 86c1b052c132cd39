#include "charts/day_course_chart.h"

#include <gtest/gtest.h>

#include "tests/support/raster.h"
#include "tests/support/named_rows.h"
#include "tests/support/rgb_print.h"

namespace charts {
namespace {

using platform::Rgb;

using test_support::kBlack;
using test_support::kGrid;
using test_support::kWhite;
constexpr Rgb kPath = test_support::kRed;
constexpr Rgb kMarker{0, 0, 170};

// A track that runs from east to west at one height.
struct Track {
  explicit Track(float height) {
    for (int i = 0; i < 1500; ++i) {
      azimuth[i] = 90.0f + 180.0f * static_cast<float>(i) / 1439.0f;
      this->height[i] = height;
    }
  }
  float azimuth[1500];
  float height[1500];
};

class DayChartTest : public testing::Test {
 protected:
  DayChartTest() : surface(607, 326) {}

  void Draw(const Track& track, solar::SunPosition moment) {
    platform::CDC dc(surface);
    DrawDayCourse(dc, track.height, track.azimuth, moment);
  }
  Rgb At(int x, int y) const { return surface.Pixel(x, y); }
  int CountColour(Rgb colour) const { return test_support::CountColour(surface, colour); }

  platform::Surface surface;
};

struct MappingRow : test_support::Named {
  double degrees;
  int x, y;  // -1: not checked
};

class DayChartMappingTest : public testing::TestWithParam<MappingRow> {};

TEST_P(DayChartMappingTest, TruncatesTheScaledDegrees) {
  if (GetParam().x >= 0) {
    EXPECT_EQ(DayChartX(GetParam().degrees), GetParam().x);
  }
  if (GetParam().y >= 0) {
    EXPECT_EQ(DayChartY(GetParam().degrees), GetParam().y);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DayChartMappingTest,
    testing::Values(MappingRow{{"north_0"}, 0, 25, 225}, MappingRow{{"east_90"}, 90, 94, 45},
                    MappingRow{{"south_180"}, 180, 164, -1},
                    MappingRow{{"west_270"}, 270, 234, -1},
                    MappingRow{{"north_360"}, 360, 304, -1},
                    MappingRow{{"height_22_5"}, 22.5, -1, 180},
                    MappingRow{{"height_45"}, 45, 59, 135},
                    MappingRow{{"height_67_5"}, 67.5, -1, 90},
                    MappingRow{{"height_half_degree"}, 0.5, -1, 224},
                    MappingRow{{"height_just_above_0"}, 0.01, -1, 224},
                    MappingRow{{"below_horizon"}, -10, -1, 245}),
    test_support::RowName());

TEST_F(DayChartTest, FrameGridAndTheWhiteInside) {
  Draw(Track(-30.0f), {180.0f, -30.0f});
  for (int y = 46; y < 224; ++y) {
    if (y % 45 == 0) continue;
    EXPECT_EQ(At(25, y), kBlack) << y;
    EXPECT_EQ(At(305, y), kBlack) << y;
  }
  EXPECT_EQ(At(30, 224), kBlack);  // bottom border row
  EXPECT_EQ(At(30, 50), kWhite);
  EXPECT_EQ(At(304, 223), kWhite);
  EXPECT_EQ(At(306, 100), platform::kDialogBackground);
  for (int x : {60, 95, 130, 165, 200, 235, 270}) {
    EXPECT_EQ(At(x, 46), kGrid) << x;
    EXPECT_EQ(At(x, 224), kGrid) << x;
    EXPECT_EQ(At(x - 1, 100), kWhite) << x;
    EXPECT_EQ(At(x + 1, 100), kWhite) << x;
  }
  for (int y : {45, 90, 135, 180, 225}) {
    EXPECT_EQ(At(305, y), kGrid) << y;  // drawn from the right
    EXPECT_EQ(At(26, y), kGrid) << y;
    EXPECT_EQ(At(100, y + 1), y == 225 ? platform::kDialogBackground : kWhite) << y;
  }
  EXPECT_EQ(At(25, 225), platform::kDialogBackground);  // the end point stays unset
  EXPECT_EQ(At(25, 90), kBlack);
  EXPECT_EQ(CountColour(kPath), 0);  // polar night: no path
  EXPECT_EQ(CountColour(kMarker), 0);  // nor the marker, two degrees or more below
}

TEST_F(DayChartTest, PathRunsWhereTheTrackPutsItAndNotBelowTheHorizon) {
  Draw(Track(45.0f), {10.0f, -30.0f});
  EXPECT_EQ(At(100, 135), kPath);
  EXPECT_EQ(At(233, 135), kPath);
  EXPECT_EQ(At(93, 135), kGrid);   // before the first minute, the grid line shows
  EXPECT_EQ(At(100, 134), kWhite);
  Draw(Track(-0.0f), {10.0f, -30.0f});
  EXPECT_EQ(At(100, 135), kGrid);  // the second drawing wiped the first path
  EXPECT_EQ(At(101, 135), kGrid);
  for (int x = 0; x < 607; ++x) {
    for (int y = 225; y < 326; ++y) ASSERT_NE(At(x, y), kPath) << x << "," << y;
  }
  EXPECT_EQ(CountColour(kPath), 0);
}

TEST_F(DayChartTest, TheTopBorderRowStillShowsTheZenith) {
  Draw(Track(90.0f), {10.0f, -30.0f});
  EXPECT_EQ(At(150, 45), kPath);
  Draw(Track(0.25f), {10.0f, -30.0f});
  EXPECT_EQ(At(150, 224), kPath);
}

TEST_F(DayChartTest, MarkerCoversFourPixelsEachWay) {
  Draw(Track(-30.0f), {180.0f, 45.0f});  // centre (164, 135)
  for (int d = -4; d <= 4; ++d) {
    EXPECT_EQ(At(164 + d, 135), kMarker) << d;
    EXPECT_EQ(At(164, 135 + d), kMarker) << d;
  }
  EXPECT_NE(At(159, 135), kMarker);
  EXPECT_NE(At(169, 135), kMarker);
  EXPECT_NE(At(164, 130), kMarker);
  EXPECT_NE(At(164, 140), kMarker);
  EXPECT_EQ(CountColour(kMarker), 17);
}

TEST_F(DayChartTest, MarkerIsClippedAtTheHorizonAndReachesPastTheFrame) {
  Draw(Track(-30.0f), {180.0f, 0.0f});  // centre on row 225: only the upper arm shows
  EXPECT_EQ(CountColour(kMarker), 4);
  EXPECT_EQ(At(164, 221), kMarker);
  EXPECT_EQ(At(164, 224), kMarker);
  Draw(Track(-30.0f), {360.0f, 45.0f});  // centre x 304, right arm to 308
  EXPECT_EQ(At(308, 135), kMarker);
  EXPECT_EQ(At(306, 135), kMarker);
  EXPECT_NE(At(309, 135), kMarker);
}

TEST_F(DayChartTest, LabelsAtTheirPositionsAndNoObjectLeftBehind) {
  std::vector<platform::TextOutRecord> log;
  platform::CDC::s_textLog = &log;
  const int live = platform::CGdiObject::LiveCount();
  Draw(Track(20.0f), {180.0f, 20.0f});
  platform::CDC::s_textLog = nullptr;
  EXPECT_EQ(platform::CGdiObject::LiveCount(), live);
  const std::vector<std::tuple<std::string, int, int>> expected{
      {"Horizont", 315, 215}, {"22.5 Grad", 315, 172}, {"45.0 Grad", 315, 127},
      {"67.5 Grad", 315, 82}, {"Zenith", 315, 41},     {"S", 161, 235},
      {"O", 90, 235},         {"W", 231, 235},         {"N", 21, 235},
      {"N", 299, 235}};
  ASSERT_EQ(log.size(), expected.size());
  for (size_t i = 0; i < log.size(); ++i) {
    EXPECT_EQ(std::make_tuple(log[i].text, log[i].x, log[i].y), expected[i]) << i;
    EXPECT_EQ(log[i].cellHeight, 10);
  }
}

TEST_F(DayChartTest, MeaninglessTracksStillDrawQuickly) {
  Track track(1e30f);
  for (int i = 0; i < 1500; i += 2) {
    track.azimuth[i] = std::nanf("");
    track.height[i + 1] = -1e30f;
  }
  Draw(track, {std::nanf(""), 1e30f});
  EXPECT_EQ(At(30, 50), kWhite);
}

}  // namespace
}  // namespace charts
