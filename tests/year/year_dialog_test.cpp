#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "charts/year_chart.h"
#include "dialog_model/year_pick.h"
#include "solar/day_scan.h"
#include "tests/support/main_dialog_fixture.h"
#include "tests/support/rgb_print.h"

namespace {

using namespace res;
using Window = platform::HeadlessBackend::Window;

constexpr platform::Rgb kMarker{100, 0, 100};

std::vector<std::string> SixFields(const Window& w) {
  return {w.Text(IDC_PICK_SUN_HOURS),        w.Text(IDC_PICK_SUN_MINUTES),    w.Text(IDC_PICK_TWILIGHT_HOURS),
          w.Text(IDC_PICK_TWILIGHT_MINUTES), w.Text(IDC_PICK_CHANGE_MINUTES), w.Text(IDC_PICK_CHANGE_SECONDS)};
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

// Every column: the keys that lead to it show what a click there shows, fields, words and pixels.
TEST_F(YearDialogTest, EveryColumnByKeyIsTheClickAtIt) {
  std::vector<int> differing;
  OpenYear([&](Window& year) {
    year.PressKey(platform::kKeyHome);
    for (int column = 0; column <= dialog_model::kLastPickColumn; ++column) {
      year.DeliverPendingPaint();
      const auto byKey = std::tuple(SixFields(year), year.Description(), year.Client().Image().copy());
      year.LButtonDown(dialog_model::ClickXOfColumn(column), 150);
      year.DeliverPendingPaint();
      if (byKey != std::tuple(SixFields(year), year.Description(), year.Client().Image())) differing.push_back(column);
      year.PressKey(platform::kKeyRight);
    }
  });
  EXPECT_EQ(differing, std::vector<int>{});
}

}  // namespace
