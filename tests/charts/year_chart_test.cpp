#include "charts/year_chart.h"

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
constexpr Rgb kSunshine = test_support::kRed;
constexpr Rgb kTwilight{0, 0, 240};
constexpr Rgb kMarker{100, 0, 100};

struct Series {
  Series(float sun, float twi) {
    for (int k = 0; k < 80; ++k) {
      sunshine[k] = sun;
      twilight[k] = twi;
    }
  }
  float sunshine[80];
  float twilight[80];
};

class YearChartTest : public testing::Test {
 protected:
  YearChartTest() : surface(649, 310) {}
  void Draw(const Series& s, bool picked = false, int offset = 0) {
    platform::CDC dc(surface);
    DrawYearCourse(dc, s.sunshine, s.twilight, picked, offset);
  }
  Rgb At(int x, int y) const { return surface.Pixel(x, y); }
  int CountInChart(Rgb colour) const {
    return test_support::CountColour(surface, colour, {25, 45, 385, 225});
  }
  platform::Surface surface;
};

struct RowRow : test_support::Named {
  double hours;
  int start, end;
};

class YearRowTest : public testing::TestWithParam<RowRow> {};

TEST_P(YearRowTest, SevenAndAHalfRowsPerHourAtTheStartSevenPointFiveFiveAtTheEnd) {
  EXPECT_EQ(YearChartStartRow(GetParam().hours), GetParam().start);
  EXPECT_EQ(YearChartEndRow(GetParam().hours), GetParam().end);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, YearRowTest,
    testing::Values(RowRow{{"no_sun"}, 0.0, 225, 225}, RowRow{{"eight"}, 8.0, 165, 164},
                    RowRow{{"sixteen"}, 16.0, 105, 104},
                    RowRow{{"just_above_twelve"}, 12.000001f, 134, 134},
                    RowRow{{"just_above_six"}, 6.0000005f, 179, 179},
                    RowRow{{"no_sunset"}, 24.000002f, 44, 43}),
    test_support::RowName());

TEST_F(YearChartTest, FrameAndGrid) {
  Draw(Series(0.0f, 0.0f));
  EXPECT_EQ(At(25, 100), kBlack);
  EXPECT_EQ(At(384, 100), kBlack);
  EXPECT_EQ(At(100, 224), kBlack);
  EXPECT_EQ(At(100, 100), kWhite);
  for (int x = 55; x <= 355; x += 30) EXPECT_EQ(At(x, 100), kGrid) << x;
  EXPECT_EQ(At(385, 100), platform::kDialogBackground);
  for (int y : {45, 90, 135, 180}) EXPECT_EQ(At(384, y), kGrid) << y;
  EXPECT_EQ(At(25, 90), kBlack);  // the end point of the row, left out
}

TEST_F(YearChartTest, CurvesAtTheirRowsTwilightOverSunshine) {
  Draw(Series(8.0f, 12.000001f));
  EXPECT_EQ(At(25, 165), kSunshine);  // segment from row 165 ...
  EXPECT_EQ(At(29, 164), kSunshine);  // ... to row 164
  EXPECT_EQ(At(25, 134), kTwilight);
  EXPECT_EQ(At(379, 164), kSunshine);  // the last segment ends before column 380
  EXPECT_EQ(At(380, 164), kWhite);
  Draw(Series(8.0f, 8.0f));
  EXPECT_EQ(At(25, 165), kTwilight);
  EXPECT_EQ(CountInChart(kSunshine), 0);
}

TEST_F(YearChartTest, DaysWithoutSunsetAreCutAway) {
  Draw(Series(24.000002f, 24.000002f));
  EXPECT_EQ(CountInChart(kSunshine), 0);
  EXPECT_EQ(CountInChart(kTwilight), 0);
  EXPECT_EQ(At(30, 260), kSunshine);  // the legend lines stay
  EXPECT_EQ(At(30, 275), kTwilight);
}

TEST_F(YearChartTest, MarkerOnlyOncePickedAndOnItsTwoColumns) {
  Draw(Series(8.0f, 12.0f));
  EXPECT_EQ(CountInChart(kMarker), 0);
  Draw(Series(8.0f, 12.0f), true, 75);
  EXPECT_EQ(At(100, 215), kMarker);
  EXPECT_EQ(At(101, 56), kMarker);
  EXPECT_NE(At(100, 55), kMarker);
  EXPECT_NE(At(102, 100), kMarker);
  EXPECT_EQ(CountInChart(kMarker), 2 * 160);
  Draw(Series(8.0f, 12.0f), true, 350);
  EXPECT_EQ(At(375, 100), kMarker);
  EXPECT_EQ(At(376, 100), kMarker);
  Draw(Series(8.0f, 12.0f), true, 360);  // beyond the clip
  int anywhere = 0;
  for (int x = 0; x < 649; ++x) anywhere += At(x, 100) == kMarker;
  EXPECT_EQ(anywhere, 0);
}

TEST_F(YearChartTest, NineteenTextsAtTheirPlaces) {
  std::vector<platform::TextOutRecord> log;
  platform::CDC::s_textLog = &log;
  const int live = platform::CGdiObject::LiveCount();
  Draw(Series(8.0f, 12.0f), true, 10);
  platform::CDC::s_textLog = nullptr;
  EXPECT_EQ(platform::CGdiObject::LiveCount(), live);
  ASSERT_EQ(log.size(), 19u);
  EXPECT_EQ(log[0].text, "0 Stunden");
  EXPECT_EQ(log[4].text, "24 Stunden");
  EXPECT_EQ(log[4].x, 395);
  EXPECT_EQ(log[4].y, 41);
  const char* letters = "JFMAMJJASOND";
  for (int m = 0; m < 12; ++m) {
    EXPECT_EQ(log[5 + m].text, std::string(1, letters[m]));
    EXPECT_EQ(log[5 + m].x, 34 + 30 * m);
    EXPECT_EQ(log[5 + m].y, 235);
  }
  EXPECT_EQ(log[17].text, "Sonnenscheinstunden");
  EXPECT_EQ(log[18].text,
            "Sonnenscheinstunden plus Dämmerung (Sonne 7 Grad unter dem Horizont)");
  EXPECT_EQ(log[18].x, 44);
  EXPECT_EQ(log[18].y, 270);
}

}  // namespace
}  // namespace charts
