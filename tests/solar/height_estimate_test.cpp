#include "solar/height_estimate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "solar/height_probe.h"
#include "solar/local_day.h"
#include "solar/moment.h"
#include "solar/sun_position.h"

namespace solar {
namespace {

// Random scans of up to three days, 1900-2100, anywhere, and random seconds from a minute
// before their start to a minute after their end.
struct RandomScans {
  std::mt19937_64 random{7};
  double Uniform(double low, double high) { return low + (high - low) * std::generate_canonical<double, 64>(random); }
  MinuteScan Scan() {
    return MinuteScan{15020 + static_cast<int>(random() % 73050),
                      static_cast<int>(random() % 1440),
                      static_cast<int>(random() % 60),
                      1 + static_cast<int>(random() % kLongestScan),
                      static_cast<float>(Uniform(-90, 90)),
                      static_cast<float>(Uniform(-180, 360))};
  }
  long long Second(const MinuteScan& scan) {
    return static_cast<long long>(random() % (60ULL * static_cast<unsigned>(scan.minutes) + 120)) - 60;
  }
};

TEST(HeightEstimateTest, StaysFarWithinItsErrorAndIsAlmostAlwaysSure) {
  RandomScans random;
  double worst = 0.0;  // the largest difference from the model's sine, in units of the error
  long unsure = 0, looks = 0;
  for (int s = 0; s < 4000; ++s) {
    const MinuteScan scan = random.Scan();
    HeightEstimate estimate(scan);
    SunTracker sun(scan.latitude, scan.longitude, scan.rounding);
    for (int i = 0; i < 50; ++i, ++looks) {
      const long long second = random.Second(scan);
      const HeightEstimate::Estimate e = estimate.At(second);
      if (!e.sure) {
        ++unsure;
        continue;
      }
      worst = std::max(worst, std::fabs(e.sine - StepsAfter(scan, sun, second, false).heightSine) / e.error);
    }
  }
  std::printf("largest difference %.3g of the error bound; %ld of %ld estimates not sure\n", worst, unsure, looks);
  EXPECT_LT(worst, 0.05);
  EXPECT_LT(unsure, looks / 1000);
}

// Every answer of the probe is the model's: with the estimate's own error, and with an error so
// wide that about half the answers fall to the model.
TEST(HeightEstimateTest, TheProbeAnswersAsTheModel) {
  for (const double leastError : {0.0, 1e-7}) {
    RandomScans random;
    int computed = 0;
    for (int s = 0; s < 1000; ++s) {
      const MinuteScan scan = random.Scan();
      HeightProbe probe(scan, leastError);
      SunTracker sun(scan.latitude, scan.longitude, scan.rounding);
      for (int i = 0; i < 20; ++i) {
        const long long second = random.Second(scan);
        const PositionSteps at = StepsAfter(scan, sun, second, false), next = StepsAfter(scan, sun, second + 1, false);
        const float height = at.position.height;
        for (const float asked : {height, std::nextafter(height, -100.0f), std::nextafter(height, 100.0f)}) {
          ASSERT_EQ(probe.Above(second, asked), height > asked) << leastError << " " << second;
        }
        ASSERT_EQ(probe.Height(second), height) << leastError << " " << second;
        ASSERT_EQ(probe.Higher(second + 1, second), next.heightRadians > at.heightRadians) << leastError;
        ASSERT_EQ(probe.Higher(second, second + 1), at.heightRadians > next.heightRadians) << leastError;
      }
      computed += probe.Computed();
    }
    std::printf("least error %g: %d of 40000 heights computed by the model\n", leastError, computed);
    if (leastError > 0.0) {
      EXPECT_GT(computed, 10000);
    }
  }
}

// A local day's crossings, found from the probe's answers about a few seconds, against every
// second of the day (the second before its first instant included): days of any length from 23
// to 25 hours starting at any second, every fifth at or next to a pole.
TEST(HeightEstimateTest, LocalDaysCrossAsEverySecondDoes) {
  RandomScans random;
  for (int d = 0; d < 40; ++d) {
    const long long start = -2208988800LL + static_cast<long long>(random.random() % 6311520000ULL);
    const long long end = start + 82800 + static_cast<long long>(random.random() % 7201);
    const float latitude = d % 5 ? static_cast<float>(random.Uniform(-90, 90)) : (d % 10 ? 90.0f : -89.9f);
    LocalDay day(start, end, static_cast<int>(random.random() % 60), latitude,
                 static_cast<float>(random.Uniform(-180, 180)));
    const MinuteScan scan = MinuteScanFrom(start, 1, latitude, day.Scan().longitude);
    SunTracker sun(scan.latitude, scan.longitude, scan.rounding);
    std::vector<float> heights;
    for (long long s = -1; start + s < end; ++s) heights.push_back(StepsAfter(scan, sun, s, false).position.height);
    for (const float height : {-0.833f, -18.0f, 30.0f}) {
      std::vector<long long> expected, found;
      for (size_t i = 1; i < heights.size(); ++i) {
        if ((heights[i] > height) != (heights[i - 1] > height))
          expected.push_back(start + static_cast<long long>(i) - 1);
      }
      for (const Crossing& c : day.Crossings(height)) found.push_back(day.InstantAfter(c.second));
      EXPECT_EQ(found, expected) << "day from " << start << " to " << end << " at " << latitude << ", height "
                                 << height;
    }
  }
}

}  // namespace
}  // namespace solar
