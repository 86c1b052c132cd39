#include <QImage>
#include <QJsonArray>
#include <gtest/gtest.h>

#include <sstream>

#include "charts/day_course_chart.h"
#include "charts/year_chart.h"
#include "tests/support/cli_run.h"
#include "tests/support/files.h"
#include "tests/support/main_dialog_fixture.h"

namespace {

using namespace res;

using test_support::Cli;
using test_support::Json;
using Result = test_support::CliResult;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(CliTest, PositionOfTheWorkedExampleInEveryFormat) {
  const std::vector<std::string> moment{"position", "2005-06-21", "12:00:00", "51:0:0", "7:0:0"};
  const Result text = Cli(moment);
  EXPECT_EQ(text.status, 0);
  EXPECT_NE(text.out.find("Azimut: 163.5\n"), std::string::npos);
  EXPECT_NE(text.out.find("Höhe: 61.6724\n"), std::string::npos);

  std::vector<std::string> csv = moment;
  csv.insert(csv.end(), {"--format", "csv"});
  const std::vector<std::string> lines = Lines(Cli(csv).out);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "datum,zeit,breite,laenge,azimut,hoehe");
  EXPECT_EQ(lines[1], "2005-06-21,12:00:00,51:0:0,7:0:0,163.5,61.6724");

  std::vector<std::string> json = moment;
  json.insert(json.end(), {"--format=json"});
  const QJsonObject o = Json(Cli(json).out);
  EXPECT_EQ(o["azimut"].toDouble(), 163.5);
  EXPECT_EQ(o["hoehe"].toDouble(), 61.6724);
  EXPECT_EQ(o["datum"].toString(), "2005-06-21");
}

TEST(CliTest, DayLengthsAsTheDialogShowsThem) {
  const QJsonObject o = Json(Cli({"day", "2005-12-21", "51:0:0", "7:0:0", "--format", "json"}).out);
  EXPECT_EQ(o["sonne_std"].toInt(), 7);
  EXPECT_EQ(o["sonne_min"].toInt(), 41);
  EXPECT_EQ(o["daemmerung_std"].toInt(), 9);
  EXPECT_EQ(o["daemmerung_min"].toInt(), 29);
  EXPECT_EQ(o["erste_minute"].toString(), "08:40");
  EXPECT_EQ(o["letzte_minute"].toString(), "16:20");
  const Result night = Cli({"day", "2005-12-21", "80", "0", "--format", "csv"});
  EXPECT_EQ(Lines(night.out)[1], "2005-12-21,80:0:0,0:0:0,0,0,0,0,0,0,,");
}

TEST(CliTest, YearTableWithTheDailyChange) {
  const QJsonObject o = Json(Cli({"year", "2005", "51:0:0", "7:0:0", "--format", "json"}).out);
  const QJsonArray days = o["tage"].toArray();
  ASSERT_EQ(days.size(), 72);
  EXPECT_EQ(days[0].toObject()["tag"].toString(), "01.01.");
  EXPECT_EQ(days[0].toObject()["sonne_stunden"].toDouble(), 7.8);
  EXPECT_EQ(days[70].toObject()["sonne_min"].toInt(), 41);  // 21 December: 7 h 41 min
  EXPECT_TRUE(days[71].toObject()["veraenderung_min"].isNull());
  EXPECT_EQ(days[15].toObject()["veraenderung_min"].toInt(), 4);  // 16 to 21 March
  const std::vector<std::string> csv = Lines(Cli({"year", "2005", "51", "7", "--format", "csv"}).out);
  ASSERT_EQ(csv.size(), 73u);
  EXPECT_EQ(csv[0].substr(0, 24), "jahr,breite,laenge,tag,s");
}

TEST(CliTest, WrongEntriesGiveTheDialogsMessageAndStatusTwo) {
  const Result hour = Cli({"position", "2005-06-21", "24:00:00", "51", "7"});
  EXPECT_EQ(hour.status, 2);
  EXPECT_EQ(hour.err, "tagvaroskop-cli: Stunde: Geben Sie bitte eine ganze Zahl zwischen 0 und 23 ein.\n");
  EXPECT_TRUE(hour.out.empty());
  EXPECT_EQ(Cli({"day", "2005-06-21", "0,5", "7"}).err,
            "tagvaroskop-cli: Breite (Grad): Geben Sie bitte eine Zahl ein.\n");
  EXPECT_EQ(Cli({"day", "2005-06-21", "51", "7:30.5"}).err,
            "tagvaroskop-cli: Länge (Arcmin): Geben Sie bitte eine ganze Zahl ein.\n");
  EXPECT_EQ(Cli({"year", "2101", "51", "7"}).status, 2);
  EXPECT_EQ(Cli({"day", "21.06.2005", "51", "7"}).status, 2);
  EXPECT_EQ(Cli({"day", "2005-06-21", "51", "7", "--format", "xml"}).status, 2);
  EXPECT_EQ(Cli({"day", "2005-06-21"}).status, 2);
  EXPECT_EQ(Cli({"wetter"}).status, 2);
  EXPECT_EQ(Cli({}).status, 2);
}

TEST(CliTest, NegativeValuesAreArgumentsNotOptions) {
  const Result south = Cli({"position", "2005-06-21", "12:00:00", "-33:52:0", "18:25:0"});
  EXPECT_EQ(south.status, 0) << south.err;
  // -33° 52' is -32.13°, as the dialog adds the minutes.
  EXPECT_NE(south.out.find("Breite: -33:52:0"), std::string::npos);
}

TEST(CliTest, HelpForEachCommand) {
  for (const auto& words : std::vector<std::vector<std::string>>{
           {"position"}, {"day"}, {"year"}, {"export"}, {"chart", "day"}, {"chart", "year"},
           {"place", "save"}, {"place", "show"}}) {
    std::vector<std::string> arguments = words;
    arguments.push_back("--help");
    const Result help = Cli(arguments);
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Zeigt diese Hilfe an."), std::string::npos) << words[0];
  }
  EXPECT_NE(Cli({"--help"}).out.find("chart year"), std::string::npos);
}

TEST(CliTest, ManyMomentsInOrder) {
  const Result r = Cli({"position", "--input", "-", "--format", "csv"},
                       "datum,zeit,breite,laenge\n2005-06-21,12:00:00,51:0:0,7:0:0\n\n"
                       "2005-12-21,12:00:00,51,7\r\n# Kommentar\n2005-06-21,0:30,80,0\n");
  EXPECT_EQ(r.status, 0) << r.err;
  const std::vector<std::string> lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[1], "2005-06-21,12:00:00,51:0:0,7:0:0,163.5,61.6724");
  EXPECT_EQ(lines[2].substr(0, 33), "2005-12-21,12:00:00,51,7,172.837,");
  const Result wrong = Cli({"position", "--input", "-"}, "2005-06-21,12:00,51,7\n2005-06-21,12:61,51,7\n");
  EXPECT_EQ(wrong.status, 2);
  EXPECT_EQ(Lines(wrong.out).size(), 1u);
  EXPECT_EQ(wrong.err,
            "tagvaroskop-cli: Zeile 2: Minute: Geben Sie bitte eine ganze Zahl zwischen 0 und 59 ein.\n");
  const Result json = Cli({"position", "--input", "-", "--format", "json"}, "2005-06-21,12:00,51,7\n");
  EXPECT_EQ(Json(json.out)["hoehe"].toDouble(), 61.6724);
}

TEST(CliTest, ABlockLargerThanOneBatchKeepsItsOrder) {
  std::string input;
  for (int i = 0; i < 40000; ++i) input += "2005-06-21,12:" + std::to_string(i % 60) + ",51,7\n";
  const std::vector<std::string> lines = Lines(Cli({"position", "--input", "-"}, input).out);
  ASSERT_EQ(lines.size(), 40000u);
  for (int i : {0, 16383, 16384, 39999}) {
    EXPECT_EQ(lines[i].substr(0, 20), ("2005-06-21 12:" + std::to_string(i % 60) + " 51 7").substr(0, 20));
  }
}

// The dialog and the tool for the same fields.
class CliAgainstDialogTest : public test_support::MainDialogTest {
 protected:
  void Enter(const char* latitude, const char* longitude, const char* year, const char* month,
             const char* day, const char* hour, const char* minute, const char* second) {
    window->Type(IDC_HOUR, hour);
    window->Type(IDC_MINUTE, minute);
    window->Type(IDC_SECOND, second);
    CalculateFor(latitude, longitude, year, month, day);
  }
  test_support::ScratchFolder folder;
};

TEST_F(CliAgainstDialogTest, ExportAndPlaceFilesAreTheSameBytes) {
  Enter("48.5", "11.25", "2005", "6", "21", "9", "15", "30");
  ui.fileAnswers.push_back(folder.Path("dialog.txt"));
  window->Click(IDC_ASCII_EXPORT);
  ASSERT_EQ(Cli({"export", "2005-06-21", "48.5", "11.25", folder.Path("cli.txt"), "--time", "9:15:30"}).status, 0);
  EXPECT_EQ(test_support::ReadBytes(folder.Path("cli.txt")), test_support::ReadBytes(folder.Path("dialog.txt")));

  ui.fileAnswers.push_back(folder.Path("dialog.ort"));
  window->Click(IDC_SAVE_LOCATION);
  ASSERT_EQ(Cli({"place", "save", "48.5", "11.25", folder.Path("cli.ort")}).status, 0);
  EXPECT_EQ(test_support::ReadBytes(folder.Path("cli.ort")), test_support::ReadBytes(folder.Path("dialog.ort")));
  EXPECT_EQ(Cli({"place", "show", folder.Path("cli.ort")}).out, "Breite: 48.5:0:0\nLänge: 11.25:0:0\n");
}

QImage Area(const QImage& image, const platform::PixelRect& r) {
  return image.copy(r.left, r.top, r.Width(), r.Height()).convertToFormat(QImage::Format_RGB32);
}

TEST_F(CliAgainstDialogTest, ChartImagesAreTheDialogsPixels) {
  Enter("51", "7", "2005", "6", "21", "10", "30", "0");
  ASSERT_EQ(Cli({"chart", "day", "2005-06-21", "10:30:00", "51", "7", folder.Path("tag.png")}).status, 0);
  const QImage day(QString::fromStdString(folder.Path("tag.png")));
  EXPECT_EQ(day.convertToFormat(QImage::Format_RGB32), Area(window->Client().Image(), charts::kDayChartArea));

  QImage yearDialog;
  ui.OnModal(IDD_YEARCOURSE, [&](platform::HeadlessBackend::Window& year) {
    year.LButtonDown(203, 100);
    year.DeliverPendingPaint();
    yearDialog = year.Client().Image().copy();
  });
  window->Click(IDC_YEAR_COURSE);
  ASSERT_EQ(Cli({"chart", "year", "2005", "51", "7", folder.Path("jahr.png"), "--click", "203"}).status, 0);
  const QImage year(QString::fromStdString(folder.Path("jahr.png")));
  EXPECT_EQ(year.convertToFormat(QImage::Format_RGB32), Area(yearDialog, charts::kYearChartArea));
}

TEST(CliTest, FileErrorsGiveTheirTextAndStatusOne) {
  const Result r = Cli({"export", "2005-06-21", "51", "7", "/nicht/da/tag.txt"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "tagvaroskop-cli: /nicht/da/tag.txt wurde nicht gefunden.\n");
  EXPECT_EQ(Cli({"place", "show", "/nicht/da.ort"}).status, 1);
  EXPECT_EQ(Cli({"position", "--input", "/nicht/da.csv"}).status, 1);
}

}  // namespace
