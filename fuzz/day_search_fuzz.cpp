// A local day of any date from 1900 to 2100, zone offset, start second, place and length, and a
// few heights (some placed within a thousandth of a degree of the day's top): its crossings and
// highest point against a look at every second of it.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "solar/day_facts.h"
#include "solar/local_day.h"
#include "solar/moment.h"
#include "tests/support/every_second.h"

namespace {

// Reads the input front to back; past its end every value is zero.
struct Reader {
  const uint8_t* data;
  size_t size;
  template <typename T>
  T Next() {
    T value{};
    const size_t n = std::min(sizeof value, size);
    std::memcpy(&value, data, n);
    data += n, size -= n;
    return value;
  }
};

struct Day {
  long long start, end;
  int second;
  float latitude, longitude;
};

void Check(const Day& d, const std::vector<float>& extra, float nearTop) {
  const test_support::EverySecond every(solar::MinuteScanFrom(d.start, 1, d.latitude, d.longitude), -1,
                                        d.end - d.start - 1);
  solar::LocalDay day(d.start, d.end, d.second, d.latitude, d.longitude);
  if (day.Minutes() == 0) return;
  const solar::HighestPoint highest = day.Highest();
  const auto [second, top] = every.Highest();
  FUZZ_CHECK(highest.height == top);
  FUZZ_CHECK(day.InstantAfter(highest.second) == d.start + second);
  std::vector<float> asked = extra;
  asked.push_back(highest.height + nearTop);
  for (const float height : asked) {
    std::vector<long long> expected, found;
    for (const solar::Crossing& c : every.Crossings(height)) expected.push_back(d.start + c.second);
    const solar::HeightFacts facts = solar::FactsAbove(day, height);
    for (const solar::Crossing& c : facts.crossings) found.push_back(day.InstantAfter(c.second));
    FUZZ_CHECK(found == expected);
    FUZZ_CHECK((facts.state == solar::HeightState::kCrossing) == !expected.empty());
    FUZZ_CHECK(facts.state != solar::HeightState::kAbove || every.At(0) > height);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Reader in{data, size};
  const auto dayIndex = in.Next<uint32_t>() % 73414;  // 1900-01-01 to 2100-12-31
  const auto offset = static_cast<long long>(in.Next<uint32_t>() % 100801) - 50400;
  const int second = in.Next<uint8_t>() % 60;
  const auto length = in.Next<uint16_t>();
  const float latitude = in.Next<float>(), longitude = in.Next<float>(), nearTop = in.Next<float>();
  if (!std::isfinite(latitude) || std::fabs(latitude) > 90.0f || !std::isfinite(longitude) ||
      std::fabs(longitude) > 360.0f || !std::isfinite(nearTop))
    return 0;
  const long long start = 86400LL * (solar::DayNumber(1900, 1, 1.0f) + dayIndex - 40587) - offset;
  // Most days are short, to look at many of them; some as long as a day of the zone's calendar.
  const long long seconds = length & 0x8000 ? 82800 + (length & 0x7fff) % 10801 : 60 + length % 14341;
  std::vector<float> heights;
  while (in.size >= sizeof(float) && heights.size() < 3) {
    const float height = in.Next<float>();
    if (std::isfinite(height)) heights.push_back(std::clamp(height, -90.0f, 90.0f));
  }
  Check(Day{start, start + seconds, second, latitude, longitude}, heights, std::clamp(nearTop, -1.0f, 1.0f) * 1e-3f);
  return 0;
}
