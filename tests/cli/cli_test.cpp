// The tool's files are the dialog's: the minute table, the location file and the chart images
// against the golden files of the dialog's own tests.
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <charconv>
#include <fstream>
#include <random>
#include <sstream>

#include "charts/day_course_chart.h"
#include "charts/year_chart.h"
#include "cli/commands.h"
#include "cli/number_text.h"
#include "cli/time_basis.h"
#include "tests/support/cli_run.h"
#include "tests/support/files.h"
#include "tests/support/golden_image.h"
#include "tests/support/row_file.h"

namespace {

using test_support::Cli;
using test_support::GoldenPath;
using test_support::ReadBytes;

QImage Area(const QImage& image, const platform::PixelRect& r) {
  return image.copy(r.left, r.top, r.Width(), r.Height());
}

TEST(CliFilesTest, AreTheDialogsBytesAndPixels) {
  test_support::ScratchFolder folder;
  EXPECT_EQ(Cli({"export", "2005-12-21", "51", "7", "-"}).out, ReadBytes(GoldenPath("files/winter_51n.txt")));
  EXPECT_EQ(Cli({"place", "save", "51", "7:0:0", "-"}).out, ReadBytes(GoldenPath("places/default.ort")));

  const std::vector<QRect> dayLabels{QRect(310, 0, 100, 300), QRect(0, 230, 400, 30)};
  ASSERT_EQ(Cli({"chart", "day", "2005-06-21", "12:00:00", "51", "7", folder.Path("d.png")}).status, 0);
  EXPECT_EQ(test_support::DifferingPixels(
                Area(test_support::GoldenImage("charts/day_51n_june_noon.png"), charts::kDayChartArea),
                QImage(QString::fromStdString(folder.Path("d.png"))), dayLabels),
            0);
  const std::vector<QRect> yearLabels{QRect(390, 0, 100, 300), QRect(0, 230, 500, 80)};
  ASSERT_EQ(Cli({"chart", "year", "2005", "51", "7", folder.Path("y.png"), "--click", "88"}).status, 0);
  EXPECT_EQ(test_support::DifferingPixels(
                Area(test_support::GoldenImage("charts/year_51n_picked_march.png"), charts::kYearChartArea),
                QImage(QString::fromStdString(folder.Path("y.png"))), yearLabels),
            0);
}

// Decimals of up to 15 digits are read by a short way, longer ones by from_chars: both as it reads them.
TEST(CliNumberTest, DecimalsReadAsFromCharsReadsThem) {
  std::mt19937_64 random(7);
  for (int i = 0; i < 200000; ++i) {
    char digits[24];
    const int count = 1 + static_cast<int>(random() % 17), point = static_cast<int>(random() % (count + 1));
    int n = 0;
    for (int d = 0; d <= count; ++d) {
      if (d == point) digits[n++] = '.';
      if (d < count) digits[n++] = static_cast<char>('0' + random() % 10);
    }
    const std::string_view text(digits, static_cast<size_t>(n));
    double expected = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), expected);
    ASSERT_EQ(cli::ReadDecimal(text), expected) << text;
  }
}

TEST(CliBatchTest, ALineBeyond64KibIsAWrongEntryWithItsNumber) {
  const std::string first = "2005-06-21,12:00,51,7\n";
  EXPECT_EQ(Cli({"position", "--input", "-"}, first + std::string(65536, '7')).err,
            "tagvaroskop-cli: Zeile 2: erwartet DATUM,ZEIT,BREITE,LÄNGE.\n");
  const test_support::CliResult r = Cli({"position", "--input", "-"}, first + std::string(65537, '7') + "\n");
  EXPECT_EQ(r.err, "tagvaroskop-cli: Zeile 2: länger als 65536 Zeichen.\n");
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 2);  // the zone and the first line
}

// Lost output is an error: a full medium on standard output ends with status 1 and its message.
TEST(CliStreamTest, AFullStandardOutputIsStatusOne) {
  for (const std::vector<std::string>& call : {std::vector<std::string>{"position", "2005-06-21", "12:00", "51", "7"},
                                               {"position", "--input", "-"},
                                               {"--version"}}) {
    std::ofstream full("/dev/full");
    std::istringstream in(std::string(100000, '\n') + "2005-06-21,12:00,51,7\n");
    std::ostringstream err;
    EXPECT_EQ(cli::Run(call, in, full, err), 1) << call[0];
    EXPECT_EQ(err.str(), "tagvaroskop-cli: Beim Zugriff auf Standardausgabe wurde ein voller Datenträger gemeldet.\n");
  }
}

// A read error part-way through the input: what was read is written, then status 1 and the cause.
TEST(CliStreamTest, AReadErrorOfTheInputIsStatusOne) {
  struct Failing : std::stringbuf {
    Failing() : std::stringbuf("2005-06-21,12:00,51,7\n2005-06-21,12:0") {}
    int_type underflow() override {  // asked for more only when the text is used up
      if (gptr() == egptr()) throw std::ios_base::failure("read");
      return std::stringbuf::underflow();
    }
  } source;
  std::istream in(&source);
  std::ostringstream out, err;
  EXPECT_EQ(cli::Run({"position", "--input", "-"}, in, out, err), 1);
  const std::string written = out.str();
  EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 2) << written;  // the zone, line 1
  EXPECT_EQ(err.str(),
            "tagvaroskop-cli: Ein Hardware-E/A-Fehler wurde während des Zugriffs auf Standardeingabe gemeldet.\n");
}

// The batch reads blocks of 4 MiB and converts rounds of them in parts on both cores: over
// 200,000 lines (two blocks, thirteen rounds) every line keeps its place.
TEST(CliBatchTest, LinesKeepTheirPlaceAcrossPartsAndBlocks) {
  const auto lastLine = [](const std::string& out) { return out.substr(out.rfind('\n', out.size() - 2) + 1); };
  std::vector<std::string> single;  // the result of each minute 12:00..12:59
  for (int m = 0; m < 60; ++m)
    single.push_back(
        lastLine(Cli({"position", "2005-06-21", "12:" + std::to_string(m), "51", "7", "--format", "csv"}).out));
  std::string input;
  for (int i = 0; i < 200000; ++i) input += "2005-06-21,12:" + std::to_string(i % 60) + ",51,7\n";
  std::istringstream lines(Cli({"position", "--input", "-", "--format", "csv"}, input).out);
  std::string line;
  std::getline(lines, line);  // the header
  int n = 0;
  for (; std::getline(lines, line); ++n) ASSERT_EQ(line + "\n", single[n % 60]) << "line " << n + 1;
  EXPECT_EQ(n, 200000);
}

// A batch of days writes what the single calls write, one after the other: the CSV header once,
// text blocks parted by an empty line. Real places over a clock change, polar day and night.
TEST(CliBatchTest, DaysAreTheSingleCallsLineForLine) {
  const std::vector<std::vector<std::string>> days{{"2005-03-27", "52.52", "13.405"},
                                                   {"2005-06-21", "-33.8688", "151.2093"},
                                                   {"2005-10-30", "34.0522", "-118.2437"},
                                                   {"2005-06-21", "69.6492", "18.9553"},
                                                   {"2005-12-21", "80", "0"},
                                                   {"2005-12-31", "0", "359.9"}};
  for (const std::vector<std::string>& options :
       std::vector<std::vector<std::string>>{{"--format", "csv", "--tz", "Europe/Berlin"},
                                             {"--format", "json", "--height", "-6", "--time", "0:0:30"},
                                             {"--tz", "America/Los_Angeles", "--height", "10"}}) {
    std::string input = "date,latitude,longitude\n", expected;
    for (const std::vector<std::string>& d : days) {
      input += d[0] + "," + d[1] + "," + d[2] + "\n";
      std::vector<std::string> single{"day", "--", d[0], d[1], d[2]};
      single.insert(single.begin() + 1, options.begin(), options.end());
      std::string out = Cli(single).out;
      if (options[1] == "csv" && !expected.empty()) out.erase(0, out.find('\n') + 1);  // the header once
      if (options[0] == "--tz" && !expected.empty()) expected += "\n";  // text: an empty line between days
      expected += out;
    }
    std::vector<std::string> batch{"day", "--input", "-"};
    batch.insert(batch.end(), options.begin(), options.end());
    EXPECT_EQ(Cli(batch, input).out, expected) << options[0] << options[1];
  }
}

// Without --tz the tool computes on the dialog's clock: --tz +01:00 gives the same numbers.
TEST(CliTimeZoneTest, TheDefaultClockIsUtcPlusOneHour) {
  const std::vector<std::vector<std::string>> calls{
      {"position", "2005-06-21", "12:00:00", "51", "7"},
      {"day", "2005-12-21", "51", "7", "--height", "-6", "--time", "0:0:30"},
      {"days", "2005-03-26", "2005-03-28", "-33:52:0", "151:12:33"}};
  for (std::vector<std::string> call : calls) {
    for (const char* format : {"text", "json"}) {
      call.insert(call.end(), {"--format", format});
      const std::string dialogClock = Cli(call).out;
      call.insert(call.end(), {"--tz", "+01:00"});
      std::string fixed = Cli(call).out;
      for (const std::string name : {"UTC+01:00 (", "\"UTC+01:00\""}) {
        const std::string mez = name.front() == '"' ? "\"MEZ\"" : "MEZ (";
        for (size_t at; (at = fixed.find(name)) != std::string::npos;) fixed.replace(at, name.size(), mez);
      }
      EXPECT_EQ(fixed, dialogClock) << call[0] << " " << format;
      call.resize(call.size() - 4);
    }
  }
}

// Days that a zone makes odd (skipped dates, repeated midnights, days of 21 to 47 hours, an event
// in the last minute) against the zone's transitions and a peer's events.
class CliOddDayTest : public testing::TestWithParam<test_support::FileRow> {};

TEST_P(CliOddDayTest, RunsFromTheFirstInstantOfTheDateToTheNextDatesWithThePeersEvents) {
  const std::vector<std::string>& w = GetParam().words;  // zone, date, latitude, longitude, minutes, key=value...
  const test_support::CliResult r = Cli({"day", "--tz", w[0], "--format", "json", "--", w[1], w[2], w[3]});
  const QDate date = QDate::fromString(QString::fromStdString(w[1]), Qt::ISODate);
  const std::string days =
      Cli({"days", "--tz", w[0], "--format", "csv", "--", date.addDays(-1).toString(Qt::ISODate).toStdString(),
           date.addDays(1).toString(Qt::ISODate).toStdString(), w[2], w[3]})
          .out;
  if (w[4] == "skipped") {
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("überspringt"), std::string::npos) << r.err;
    EXPECT_EQ(days.find("," + w[1] + ","), std::string::npos) << days;
    return;
  }
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(days.find("," + w[1] + "," + w[4] + ","), std::string::npos) << days;
  const QJsonObject day = QJsonDocument::fromJson(QByteArray::fromStdString(r.out)).object();
  EXPECT_EQ(day["day_minutes"].toInt(), std::stoi(w[4]));
  for (size_t i = 5; i < w.size(); ++i) {
    const std::string key = w[i].substr(0, w[i].find('=')), expected = w[i].substr(w[i].find('=') + 1);
    const std::string actual = day[QString::fromStdString(key)].toString().toStdString();
    if (expected == "null") {
      EXPECT_TRUE(day[QString::fromStdString(key)].isNull()) << key << " " << actual;
      continue;
    }
    EXPECT_EQ(actual.substr(19), expected.substr(19)) << key << ": the offset";
    const qint64 apart = QDateTime::fromString(QString::fromStdString(actual), Qt::ISODate)
                             .secsTo(QDateTime::fromString(QString::fromStdString(expected), Qt::ISODate));
    EXPECT_LE(std::abs(apart), 60) << key << " " << actual << " against " << expected;
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, CliOddDayTest, testing::ValuesIn(test_support::ReadRows("cli/odd_days.rows")),
                         test_support::FileRowName());

// Every date the tool writes comes from a day count in integer arithmetic, and most it reads go to
// one: the calendar's dates from 1600 to 2400 as Qt's calendar gives them, read both ways alike.
TEST(CliCalendarTest, EveryDayCountIsItsDate) {
  const cli::TimeBasis utc = cli::ReadTimeBasis("UTC");
  for (long long day = cli::LocalDayNumber(QDate(1600, 1, 1)); day <= cli::LocalDayNumber(QDate(2400, 12, 31)); ++day) {
    std::string date;
    cli::AppendDate(date, day);
    ASSERT_EQ(date, cli::DateOfLocalDay(day).toString(Qt::ISODate).toStdString()) << day;
    if (date < "1900" || date >= "2101") continue;
    ASSERT_EQ(cli::ReadMoment(date, "23:59:58", utc), (day + 1) * 86400 - 2) << date;
  }
}

}  // namespace
