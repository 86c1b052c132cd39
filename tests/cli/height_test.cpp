// Day lengths above any sun height: `day --height` and `year --height`.
#include <QJsonArray>
#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/cli_run.h"

namespace {

using test_support::Cli;

QJsonObject RunJson(const std::vector<std::string>& arguments) {
  const test_support::CliResult r = Cli(arguments);
  EXPECT_EQ(r.status, 0) << r.err;
  return test_support::Json(r.out);
}

QJsonArray Heights(const std::string& date, const std::string& latitude,
                   const std::string& longitude, const std::vector<std::string>& heights) {
  std::vector<std::string> arguments{"day", date, latitude, longitude, "--format", "json"};
  for (const std::string& h : heights) arguments.insert(arguments.end(), {"--height", h});
  return RunJson(arguments)["hoehen"].toArray();
}

TEST(HeightTest, TheDialogsTwoHeightsGiveTheDialogsCounts) {
  const QJsonArray h = Heights("2005-12-21", "51:0:0", "7:0:0", {"0", "-7"});
  ASSERT_EQ(h.size(), 2);
  EXPECT_EQ(h[0].toObject()["minuten"].toInt(), 461);
  EXPECT_EQ(h[1].toObject()["minuten"].toInt(), 569);
  EXPECT_EQ(h[0].toObject()["ueber_std"].toInt(), 7);
  EXPECT_EQ(h[0].toObject()["ueber_min"].toInt(), 41);
  EXPECT_EQ(h[0].toObject()["ueber_stunden"].toDouble(), 7.68333);
  EXPECT_EQ(h[0].toObject()["state"].toString(), "crossing");
}

TEST(HeightTest, TheCountGrowsAsTheHeightFalls) {
  std::vector<std::string> heights;
  for (int h = 60; h >= -60; h -= 6) heights.push_back(std::to_string(h));
  const QJsonArray h = Heights("2005-03-20", "51", "7", heights);
  ASSERT_EQ(h.size(), static_cast<int>(heights.size()));
  for (int i = 1; i < h.size(); ++i) {
    EXPECT_GE(h[i].toObject()["minuten"].toInt(), h[i - 1].toObject()["minuten"].toInt()) << i;
  }
  EXPECT_EQ(h.first().toObject()["state"].toString(), "below");
}

TEST(HeightTest, DaysWithoutACrossingSaySoInWordsAndData) {
  const QJsonObject above = Heights("2005-06-21", "80", "0", {"-6"})[0].toObject();
  EXPECT_EQ(above["state"].toString(), "above");
  EXPECT_EQ(above["minuten"].toInt(), 1440);
  EXPECT_TRUE(above["erste_minute"].isNull());
  EXPECT_TRUE(above["letzte_minute"].isNull());
  const QJsonObject below = Heights("2005-12-21", "80", "0", {"0"})[0].toObject();
  EXPECT_EQ(below["state"].toString(), "below");
  EXPECT_TRUE(below["abschnitte"].toArray().isEmpty());

  EXPECT_NE(Cli({"day", "2005-06-21", "80", "0", "--height", "-6"}).out.find("immer darüber"),
            std::string::npos);
  std::string header, row;
  std::istringstream lines(Cli({"day", "2005-12-21", "80", "0", "--height=0", "--format", "csv"}).out);
  std::getline(lines, header);
  std::getline(lines, row);
  EXPECT_NE(header.find(",state,erste_minute,letzte_minute,abschnitte"), std::string::npos);
  EXPECT_EQ(row.substr(row.size() - 9), ",below,,,");
}

TEST(HeightTest, EveryStretchOfALightNightIsListed) {
  // Far west of the default in summer the scan begins before the sun's lowest point.
  const QJsonObject h = Heights("2005-06-21", "50:0:0", "330:0:0", {"-12"})[0].toObject();
  EXPECT_EQ(h["minuten"].toInt(), 1203);
  const QJsonArray stretches = h["abschnitte"].toArray();
  ASSERT_EQ(stretches.size(), 2);
  EXPECT_EQ(stretches[0].toObject()["erste"].toString(), "00:00");
  EXPECT_EQ(stretches[0].toObject()["letzte"].toString(), "01:03");
  EXPECT_EQ(stretches[1].toObject()["erste"].toString(), "05:01");
  EXPECT_EQ(stretches[1].toObject()["letzte"].toString(), "23:59");
}

TEST(HeightTest, TheYearGetsAColumnPerHeight) {
  const QJsonArray days =
      RunJson({"year", "2005", "51", "7", "--format", "json", "--height", "-12", "--height", "0"})["tage"]
          .toArray();
  ASSERT_EQ(days.size(), 72);
  const QJsonObject first = days[0].toObject();
  EXPECT_EQ(first["ueber_0_stunden"].toDouble(), first["sonne_stunden"].toDouble());
  EXPECT_GT(first["ueber_-12_stunden"].toDouble(), first["daemmerung_stunden"].toDouble());
}

TEST(HeightTest, WrongHeightsGiveTheirMessageAndStatusTwo) {
  for (const char* height : {"91", "-90.5", "nan", "Mittag", "0,5", ""}) {
    const test_support::CliResult r = Cli({"day", "2005-06-21", "51", "7", "--height", height});
    EXPECT_EQ(r.status, 2) << height;
    EXPECT_EQ(r.err.rfind("tagvaroskop-cli: Höhe: Geben Sie bitte eine Zahl", 0), 0u) << r.err;
    EXPECT_TRUE(r.out.empty());
  }
}

}  // namespace
