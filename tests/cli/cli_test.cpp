#include <QImage>
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

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
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

// The dialog and the tool for the same fields give the same bytes and pixels.
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

}  // namespace
