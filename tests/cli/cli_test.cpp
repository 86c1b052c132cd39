// The tool's files are the dialog's: the minute table, the location file and the chart images
// against the golden files of the dialog's own tests.
#include <QImage>
#include <gtest/gtest.h>

#include <sstream>

#include "charts/day_course_chart.h"
#include "charts/year_chart.h"
#include "tests/support/cli_run.h"
#include "tests/support/files.h"
#include "tests/support/golden_image.h"

namespace {

using test_support::Cli;
using test_support::GoldenPath;
using test_support::ReadBytes;

QImage Area(const QImage& image, const platform::PixelRect& r) {
  return image.copy(r.left, r.top, r.Width(), r.Height());
}

TEST(CliFilesTest, AreTheDialogsBytesAndPixels) {
  test_support::ScratchFolder folder;
  ASSERT_EQ(Cli({"export", "2005-12-21", "51", "7", folder.Path("t.txt")}).status, 0);
  EXPECT_EQ(ReadBytes(folder.Path("t.txt")), ReadBytes(GoldenPath("files/winter_51n.txt")));
  ASSERT_EQ(Cli({"place", "save", "51", "7:0:0", folder.Path("o.ort")}).status, 0);
  EXPECT_EQ(ReadBytes(folder.Path("o.ort")), ReadBytes(GoldenPath("places/default.ort")));

  const std::vector<QRect> dayLabels{QRect(310, 0, 100, 300), QRect(0, 230, 400, 30)};
  ASSERT_EQ(Cli({"chart", "day", "2005-06-21", "12:00:00", "51", "7", folder.Path("d.png")}).status, 0);
  EXPECT_EQ(test_support::DifferingPixels(Area(test_support::GoldenImage("charts/day_51n_june_noon.png"),
                                               charts::kDayChartArea),
                                          QImage(QString::fromStdString(folder.Path("d.png"))), dayLabels),
            0);
  const std::vector<QRect> yearLabels{QRect(390, 0, 100, 300), QRect(0, 230, 500, 80)};
  ASSERT_EQ(Cli({"chart", "year", "2005", "51", "7", folder.Path("y.png"), "--click", "88"}).status, 0);
  EXPECT_EQ(test_support::DifferingPixels(Area(test_support::GoldenImage("charts/year_51n_picked_march.png"),
                                               charts::kYearChartArea),
                                          QImage(QString::fromStdString(folder.Path("y.png"))), yearLabels),
            0);
}

// The batch works in blocks of 16384 lines on two threads; every line keeps its place.
TEST(CliBatchTest, ABlockLargerThanOneBatchKeepsItsOrder) {
  const auto lastFields = [](const std::string& line) {  // azimuth and height
    return line.substr(line.rfind(',', line.rfind(',') - 1) + 1);
  };
  std::string input;
  for (int i = 0; i < 40000; ++i) input += "2005-06-21,12:" + std::to_string(i % 60) + ",51,7\n";
  std::istringstream lines(Cli({"position", "--input", "-", "--format", "csv"}, input).out);
  std::string line;
  std::getline(lines, line);  // the header
  int n = 0;
  for (; std::getline(lines, line); ++n) {
    if (n % 4093 != 0 && n != 16383 && n != 16384 && n != 39999) continue;
    const std::string single =
        Cli({"position", "2005-06-21", "12:" + std::to_string(n % 60), "51", "7", "--format", "csv"}).out;
    EXPECT_EQ(lastFields(line), lastFields(single.substr(single.find('\n') + 1, single.size() - single.find('\n') - 2)));
  }
  EXPECT_EQ(n, 40000);
}

}  // namespace
