#include "solar/height_estimate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "solar/height_probe.h"
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
  EXPECT_LT(worst, 0.01);  // the hundredfold margin of the header's Note 4
  EXPECT_LT(unsure, looks / 1000);
}

// Every answer of the probe is the model's: with the estimate's own error; with an error so wide
// that about half the answers fall to the model; and with it each estimate moved by 0.9 of that
// error (up at even seconds, down at odd ones), where an answer taken from an estimate whose
// error leaves it open is wrong about as often as right. Each question comes first about its
// second on alternate seconds, so that no answer rests on another's computation.
TEST(HeightEstimateTest, TheProbeAnswersAsTheModel) {
  for (const auto& [leastError, shift] : {std::pair{0.0, 0.0}, {1e-7, 0.0}, {1e-7, 0.9}}) {
    RandomScans random;
    int computed = 0;
    for (int s = 0; s < 1000; ++s) {
      const MinuteScan scan = random.Scan();
      HeightProbe probe(scan, leastError, shift);
      SunTracker sun(scan.latitude, scan.longitude, scan.rounding);
      for (int i = 0; i < 20; ++i) {
        const long long second = random.Second(scan);
        const PositionSteps at = StepsAfter(scan, sun, second, false), next = StepsAfter(scan, sun, second + 1, false);
        const float height = at.position.height;
        if (i % 2) {
          ASSERT_EQ(probe.Height(second), height) << leastError << " " << shift << " " << second;
        }
        for (const float asked : {height, std::nextafter(height, -100.0f), std::nextafter(height, 100.0f)})
          ASSERT_EQ(probe.Above(second, asked), height > asked) << leastError << " " << shift << " " << second;
        ASSERT_EQ(probe.Height(second), height) << leastError << " " << shift << " " << second;
        ASSERT_EQ(probe.Higher(second + 1, second), next.heightRadians > at.heightRadians) << leastError << shift;
        ASSERT_EQ(probe.Higher(second, second + 1), at.heightRadians > next.heightRadians) << leastError << shift;
      }
      computed += probe.ModelCount();
    }
    std::printf("least error %g, shift %g: %d of 40000 heights computed by the model\n", leastError, shift, computed);
    EXPECT_TRUE(leastError == 0.0 || computed > 10000) << computed;
  }
}

// The probe's table grows while a question looks at two seconds it has not seen: both answers
// stay the model's (the sanitizer build checks that nothing dangles).
TEST(HeightEstimateTest, TheProbeGrowsBetweenQuestionsOnly) {
  const MinuteScan scan{60000, 0, 0, 1440, 47.0f, 8.0f};
  SunTracker sun(scan.latitude, scan.longitude, scan.rounding);
  HeightProbe probe(scan);
  for (long long second = 0; second < 5000; second += 2) {  // each question two new seconds
    const bool higher =
        StepsAfter(scan, sun, second, false).heightRadians > StepsAfter(scan, sun, second + 1, false).heightRadians;
    ASSERT_EQ(probe.Higher(second, second + 1), higher) << second;
  }
}

// The seconds either side of each day's turn of the model's hour angle at Greenwich (Note 3),
// where the estimate must know which turn the model adds, on every day from 1900 to 2100, at
// longitudes where a wrong turn would show in the sine: each estimate there is either not sure or
// within its error of the model's sine.
TEST(HeightEstimateTest, HoldsAtEveryTurnOfTheHourAngle) {
  long sure = 0, looks = 0;
  double closest = 360.0;  // the smallest distance of a second's hour angle from the turn, degrees
  for (long long day = -2208988800LL; day < 4133980800LL; day += 86400) {
    const MinuteScan scan = MinuteScanFrom(day, 1440, 40.0f, 0.0f);
    SunTracker sun(scan.latitude, scan.longitude, scan.rounding);
    const auto hourAngle = [&](long long s) { return StepsAfter(scan, sun, s, false).hourAngle; };
    const double start = hourAngle(0);
    long long before = 0, after = 86399;  // the hour angle turns once a day, near noon at Greenwich
    while (after - before > 1) {
      const long long middle = before + (after - before) / 2;
      (hourAngle(middle) >= start ? before : after) = middle;
    }
    for (const long long second : {before, after}) {
      const double angle = hourAngle(second);
      closest = std::min({closest, std::fabs(angle), std::fabs(360.0 - angle)});
    }
    for (const float longitude : {90.0f, -135.0f}) {
      const MinuteScan there{scan.dayNumber, scan.startMinute, scan.second, scan.minutes, scan.latitude, longitude};
      SunTracker model(there.latitude, there.longitude, there.rounding);
      HeightEstimate estimate(there);
      for (const long long second : {before, after}) {
        const HeightEstimate::Estimate e = estimate.At(second);
        ++looks;
        if (!e.sure) continue;
        ++sure;
        ASSERT_LE(std::fabs(e.sine - StepsAfter(there, model, second, false).heightSine), e.error) << day;
      }
    }
  }
  std::printf("%ld of %ld estimates at the hour angle's turn sure; the closest second %.3g degrees from it\n", sure,
              looks, closest);
}

}  // namespace
}  // namespace solar
