#include "solar/day_scan.h"
#include "solar/day_events.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>

#include <string>

#include "solar/sun_position.h"

namespace solar {
namespace {

TEST(CountDayLengthsTest, ExactBoundaryHeightsDoNotCount) {
  DayTrack track;
  for (int i = 0; i < 1440; ++i) track.height[i] = -90.0f;
  track.height[0] = 0.0f;                                     // neither sunshine nor above twilight
  track.height[1] = -7.0f;                                    // not above twilight
  track.height[2] = 0x1p-149f;                                // the smallest height above 0
  track.height[3] = -6.9999995f;                              // just above -7
  track.height[1439] = 45.0f;                                 // the last scanned minute counts
  for (int i = 1440; i < 1500; ++i) track.height[i] = 45.0f;  // spare entries never count
  const DayLengths lengths = CountDayLengths(track);
  EXPECT_EQ(lengths.minutesAboveHorizon, 2);
  EXPECT_EQ(lengths.minutesAboveTwilight, 4);
  EXPECT_EQ(CountMinutesAbove(track, -91.0f), 1440);
  track.height[4] = 1.0f;  // a stretch of its own after one minute not above 0
  const std::vector<Stretch> up = StretchesAbove(track, 0.0f);
  ASSERT_EQ(up.size(), 3u);
  EXPECT_EQ(std::make_pair(up[0].first, up[0].last), std::make_pair(2, 2));
  EXPECT_EQ(std::make_pair(up[1].first, up[2].first), std::make_pair(4, 1439));
}

// A scan of the dialog's day through the general minute scan is the dialog's scan to the bit;
// heights between the minutes come from the same model, and every crossing lies within the
// minute whose ends the scan puts on either side of the height.
TEST(MinuteScanTest, AgreesWithTheDaysScanToTheBitAndItsCrossingsWithItsMinutes) {
  DayTrack dialog, general;
  std::fill(std::begin(dialog.height), std::end(dialog.height), -1234.5f);
  for (const float latitude : {51.0f, -33.8688f, 69.6f, 78.2f}) {
    for (const int day : {20, 21, 79, 172, 355}) {
      const int n = DayNumber(2005, 1, static_cast<float>(day));
      ScanDay(n, 17, latitude, 241.75f, dialog);
      const MinuteScan scan{n, 0, 17, kMinutesPerScan, latitude, 241.75f};
      ScanMinutes(scan, general);
      ASSERT_EQ(std::memcmp(dialog.height, general.height, sizeof(float) * 1440), 0) << latitude;
      ASSERT_EQ(std::memcmp(dialog.azimuth, general.azimuth, sizeof(float) * 1440), 0) << latitude;
      EXPECT_EQ(HeightAfter(scan, 60 * 1439), dialog.height[1439]);
      EXPECT_EQ(dialog.height[1440], -1234.5f);  // the spare entries stay as they were
      EXPECT_EQ(dialog.height[1499], -1234.5f);
      for (const float height : {-18.0f, -0.833f, 0.0f, 30.0f}) {
        for (const Crossing& c : CrossingsOf(scan, HeightsOf(general), height)) {
          const long long minute = (c.second - 1) / 60;
          ASSERT_NE(general.height[minute] > height, general.height[minute + 1] > height) << c.second;
          EXPECT_EQ(HeightAfter(scan, c.second) > height, c.rising) << c.second;
          EXPECT_NE(HeightAfter(scan, c.second - 1) > height, c.rising) << c.second;
        }
      }
    }
  }
}

// A local day that starts at 23:30 of the model's clock and lasts 25 hours runs into the next
// two model days.
TEST(MinuteScanTest, RunsOnIntoTheNextModelDays) {
  DayTrack track, next;
  const int n = DayNumber(2005, 10, 29);
  ScanMinutes(MinuteScan{n, 23 * 60 + 30, 0, kTrackEntries, 51.0f, 7.0f}, track);
  ScanDay(n + 1, 0, 51.0f, 7.0f, next);
  EXPECT_EQ(track.height[30], next.height[0]);
  EXPECT_EQ(track.azimuth[30 + 1439], next.azimuth[1439]);
  EXPECT_EQ(track.height[1499], HeightAfter(MinuteScan{n + 2, 0, 0, 1, 51.0f, 7.0f}, 60 * 29));
}

TEST(DayLengthDisplayTest, EveryCountSplitsIntoItsHoursAndMinutes) {
  EXPECT_EQ(MinutesToHours(1440), 24.000002f);
  EXPECT_EQ(MinutesToHours(750), 12.500001f);
  for (int k = 0; k <= 1440; ++k) {
    const HoursAndMinutes hm = SplitHours(MinutesToHours(k));
    ASSERT_EQ(hm.hours, k / 60) << k;
    ASSERT_EQ(hm.minutes, k % 60) << k;
  }
}

}  // namespace
}  // namespace solar
