#include <gtest/gtest.h>

#include <cstring>

#include "charts/year_chart.h"
#include "solar/day_scan.h"
#include "tests/support/main_dialog_fixture.h"
#include "tests/support/rgb_print.h"

namespace {

using namespace res;
using Window = platform::HeadlessBackend::Window;

constexpr platform::Rgb kMarker{100, 0, 100};

std::vector<std::string> SixFields(const Window& w) {
  return {w.Text(IDC_PICK_SUN_HOURS),     w.Text(IDC_PICK_SUN_MINUTES),
          w.Text(IDC_PICK_TWILIGHT_HOURS), w.Text(IDC_PICK_TWILIGHT_MINUTES),
          w.Text(IDC_PICK_CHANGE_MINUTES), w.Text(IDC_PICK_CHANGE_SECONDS)};
}

class YearDialogTest : public test_support::MainDialogTest {
 protected:
  // Presses "Jahresverlauf" and lets `drive` act on the year dialog while it is open.
  void OpenYear(std::function<void(Window&)> drive) {
    ui.OnModal(IDD_YEARCOURSE, std::move(drive));
    window->Click(IDC_YEAR_COURSE);
  }
};

TEST_F(YearDialogTest, OpensWithACopyOfTheCalculatedFieldsAndTheirSeries) {
  window->Type(IDC_LAT_DEGREES, "52");  // read by the calculation before the copy
  std::vector<std::string> fields;
  bool focusOnOk = false;
  OpenYear([&](Window& year) {
    fields = SixFields(year);
    focusOnOk = year.Focus() == platform::IDOK;
  });
  const year::CYearCourseDlg& y = dlg->m_yearDlg;
  EXPECT_EQ(std::memcmp(&y.m_fields, &dlg->m_fields, sizeof dlg->m_fields), 0);
  EXPECT_EQ(y.m_fields.latDegrees, 52.0f);
  EXPECT_EQ(y.m_fields.sunshineHours, dlg->m_fields.sunshineHours);  // fractional hours
  EXPECT_NE(y.m_fields.sunshineHours, static_cast<float>(static_cast<int>(y.m_fields.sunshineHours)));
  EXPECT_EQ(fields, std::vector<std::string>(6, "0"));
  EXPECT_TRUE(focusOnOk);
  EXPECT_FALSE(y.m_dayPicked);
  EXPECT_EQ(ui.modalRuns, std::vector<int>{IDD_YEARCOURSE});
}

TEST_F(YearDialogTest, AClickShowsTheValuesOfItsColumnAndMarksIt) {
  std::vector<std::string> fields;
  platform::Rgb markerLeft{}, markerRight{}, beforeClick{};
  OpenYear([&](Window& year) {
    year.Expose();
    beforeClick = year.Client().Pixel(100, 150);
    year.LButtonDown(101, 300);  // the row does not count
    EXPECT_TRUE(year.PaintPending());
    year.DeliverPendingPaint();
    markerLeft = year.Client().Pixel(100, 150);
    markerRight = year.Client().Pixel(101, 150);
    fields = SixFields(year);
  });
  const year::CYearCourseDlg& y = dlg->m_yearDlg;
  EXPECT_NE(beforeClick, kMarker);
  EXPECT_EQ(markerLeft, kMarker);
  EXPECT_EQ(markerRight, kMarker);
  EXPECT_EQ(y.m_markerOffset, 75);
  EXPECT_EQ(y.m_pickSunshine, y.m_series.sunshine[16]);  // 16 March
  const solar::HoursAndMinutes shown = solar::SplitHours(y.m_series.sunshine[16]);
  EXPECT_EQ(fields[0], std::to_string(shown.hours));
  EXPECT_EQ(fields[1], std::to_string(shown.minutes));
  // 704 minutes on 16 March, 724 on 21 March: four minutes a day.
  EXPECT_EQ(fields[4], "4");
  EXPECT_EQ(fields[5], "0");
}

TEST_F(YearDialogTest, TheLastPickSurvivesTheNextOpeningForAnotherPlace) {
  std::vector<std::string> first, second;
  OpenYear([&](Window& year) {
    year.LButtonDown(200, 100);
    first = SixFields(year);
  });
  window->Type(IDC_LAT_DEGREES, "-30");
  OpenYear([&](Window& year) {
    second = SixFields(year);
    year.Expose();
    EXPECT_EQ(year.Client().Pixel(25 + 174, 100), kMarker);
  });
  EXPECT_EQ(first, second);
  EXPECT_EQ(dlg->m_yearDlg.m_fields.latDegrees, -30.0f);
  EXPECT_TRUE(dlg->m_yearDlg.m_dayPicked);
}

TEST_F(YearDialogTest, ADoubleClickKeepsTheMarkerOnThePickedColumn) {
  OpenYear([&](Window& year) {
    year.DoubleClick(700, 100);
    EXPECT_EQ(dlg->m_yearDlg.m_markerOffset, 350);
    EXPECT_EQ(dlg->m_yearDlg.m_pickSunshine, dlg->m_yearDlg.m_series.sunshine[71]);
    year.DoubleClick(300, 100);
    EXPECT_EQ(dlg->m_yearDlg.m_markerOffset, 274);
  });
}

TEST_F(YearDialogTest, OkValidatesTheSixFieldsAndKeepsWhatTheyHold) {
  OpenYear([&](Window& year) {
    year.Type(IDC_PICK_CHANGE_SECONDS, "1.5");
    year.Click(platform::IDOK);
    EXPECT_FALSE(year.Ended());
    year.Type(IDC_PICK_CHANGE_SECONDS, "42");
    year.PressEnter();
    EXPECT_TRUE(year.Ended());
  });
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Geben Sie bitte eine ganze Zahl ein.");
  EXPECT_EQ(dlg->m_yearDlg.m_pickChangeSeconds, 42);
  std::string shown;
  OpenYear([&](Window& year) {
    shown = year.Text(IDC_PICK_CHANGE_SECONDS);
    year.Type(IDC_PICK_CHANGE_SECONDS, "7");
    year.Click(platform::IDCANCEL);
  });
  EXPECT_EQ(shown, "42");
  EXPECT_EQ(dlg->m_yearDlg.m_pickChangeSeconds, 42);
}

TEST_F(YearDialogTest, FailedValidationInTheMainDialogStillOpensTheYear) {
  window->Type(IDC_YEAR, "99999");
  OpenYear([&](Window& year) { year.LButtonDown(101, 100); });
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(dlg->m_yearDlg.m_fields.year, 99999);
}

}  // namespace
