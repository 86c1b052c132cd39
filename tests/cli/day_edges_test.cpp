// Every crossing of the event heights belongs to exactly one local day, at both edges of a day,
// of a clock change and in a zone whose offset has seconds: the days' crossings against every
// second of the three days around each row's date, and the tool's outputs of the row.
#include <gtest/gtest.h>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <set>
#include <tuple>

#include "cli/input.h"
#include "cli/local_day.h"
#include "solar/day_facts.h"
#include "solar/moment.h"
#include "tests/support/cli_run.h"
#include "tests/support/row_file.h"

namespace {

using Event = std::tuple<long long, size_t, bool>;  // instant, event height, rising

class DayEdgeTest : public testing::TestWithParam<test_support::FileRow> {};

TEST_P(DayEdgeTest, EveryCrossingBelongsToOneDay) {
  const std::vector<std::string>& w = GetParam().words;  // zone, date, latitude, longitude, event=time
  const cli::TimeBasis basis = cli::ReadTimeBasis(w[0]);
  const cli::Place place = cli::ReadPlace(w[2], w[3]);
  const QDate date = QDate::fromString(QString::fromStdString(w[1]), Qt::ISODate);
  std::set<Event> ofTheDays;
  for (int d = -1; d <= 1; ++d) {
    const cli::DayBounds bounds = *cli::BoundsOf(date.addDays(d), basis);
    solar::LocalDay day(bounds.start, bounds.end, 0, place.latitude, place.longitude);
    const solar::DayFacts facts = solar::FactsOf(day);
    for (size_t e = 0; e < facts.events.size(); ++e) {
      for (const solar::Crossing& c : facts.events[e].crossings) {
        const long long instant = day.InstantAfter(c.second);
        EXPECT_TRUE(instant >= bounds.start && instant < bounds.end) << instant;
        EXPECT_TRUE(ofTheDays.insert({instant, e, c.rising}).second) << "twice: " << instant;
      }
    }
  }
  std::set<Event> secondBySecond;
  const long long first = cli::BoundsOf(date.addDays(-1), basis)->start,
                  end = cli::BoundsOf(date.addDays(1), basis)->end;
  const solar::MinuteScan scan = solar::MinuteScanFrom(first, 1, place.latitude, place.longitude);
  solar::SunTracker sun(place.latitude, place.longitude, scan.rounding);
  float before = solar::HeightAfter(scan, sun, -1);
  for (long long s = 0; first + s < end; ++s) {
    const float height = solar::HeightAfter(scan, sun, s);
    for (size_t e = 0; e < solar::kEventHeights.size(); ++e) {
      const float h = solar::kEventHeights[e];
      if ((height > h) != (before > h)) secondBySecond.insert({first + s, e, height > h});
    }
    before = height;
  }
  EXPECT_EQ(ofTheDays, secondBySecond);

  const std::string event = w[4].substr(0, w[4].find('=')), time = w[4].substr(w[4].find('=') + 1);
  const std::vector<std::string> day{"day", w[1], w[2], w[3], "--tz", w[0], "--format", "json"};
  const QJsonObject record = QJsonDocument::fromJson(QByteArray::fromStdString(test_support::Cli(day).out)).object();
  const QJsonObject expected{{"event", QString::fromStdString(event)}, {"time", QString::fromStdString(time)}};
  EXPECT_TRUE(record["crossings"].toArray().contains(expected)) << w[4];
  const std::string line = w[1] + "," + w[2] + "," + w[3] + "\n";
  EXPECT_EQ(test_support::Cli({"day", "--input", "-", "--tz", w[0], "--format", "json"}, line).out,
            test_support::Cli(day).out);
}

INSTANTIATE_TEST_SUITE_P(Rows, DayEdgeTest, testing::ValuesIn(test_support::ReadRows("cli/day_edges.rows")),
                         test_support::FileRowName());

}  // namespace
