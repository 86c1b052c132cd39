#include <gtest/gtest.h>

#include "app/about_dlg.h"
#include "res/resources.h"
#include "solar/day_scan.h"
#include "tests/support/main_dialog_fixture.h"
#include "tests/support/golden_image.h"
#include "tests/support/rgb_print.h"

namespace {

using namespace res;
using platform::IDCANCEL;

class MainDialogTest : public test_support::MainDialogTest {};

TEST_F(MainDialogTest, StartsWithTheLocalClockTheDefaultPlaceAndItsResults) {
  // 10:00 UTC is 12:00 in Berlin's summer time: the fields start from the local clock.
  const std::vector<int> ids{IDC_HOUR, IDC_MINUTE, IDC_SECOND, IDC_DAY, IDC_MONTH, IDC_YEAR,
                             IDC_LAT_DEGREES, IDC_LAT_ARCMIN, IDC_LAT_ARCSEC, IDC_LON_DEGREES,
                             IDC_LON_ARCMIN, IDC_LON_ARCSEC, IDC_AZIMUTH, IDC_HEIGHT,
                             IDC_SUNSHINE_HOURS, IDC_SUNSHINE_MINUTES, IDC_TWILIGHT_HOURS,
                             IDC_TWILIGHT_MINUTES};
  std::vector<std::string> shown;
  for (int id : ids) shown.push_back(Text(id));
  // 979 minutes of sunshine, 1106 with twilight.
  EXPECT_EQ(shown, (std::vector<std::string>{"12", "0", "0", "21", "6", "2005", "51", "0", "0", "7",
                                             "0", "0", "163.5", "61.6724", "16", "19", "18", "26"}));
  EXPECT_EQ(dlg->m_fields.sunshineHours, solar::MinutesToHours(979));
  EXPECT_EQ(dlg->m_fields.twilightHours, solar::MinutesToHours(1106));
  EXPECT_EQ(window->Focus(), IDC_HOUR);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MainDialogTest, ShowsWholeHoursAndKeepsTheFractionalHours) {
  CalculateFor("45", "7", "2005", "3", "31");  // 754 minutes
  EXPECT_EQ(Text(IDC_SUNSHINE_HOURS), "12");
  EXPECT_EQ(Text(IDC_SUNSHINE_MINUTES), "34");
  EXPECT_EQ(dlg->m_fields.sunshineHours, solar::MinutesToHours(754));
  CalculateFor("80", "7", "2005", "6", "21");  // midnight sun
  EXPECT_EQ(Text(IDC_TWILIGHT_HOURS), "24");
  EXPECT_EQ(Text(IDC_TWILIGHT_MINUTES), "0");
}

TEST_F(MainDialogTest, EnterAndOkCalculateAndKeepTheDialogOpen) {
  window->Type(IDC_LAT_DEGREES, "45");
  window->PressEnter();
  EXPECT_NE(Text(IDC_HEIGHT), "61.6724");
  const std::string at45 = Text(IDC_HEIGHT);
  window->Type(IDC_LAT_DEGREES, "51");
  window->Click(platform::IDOK);
  EXPECT_EQ(Text(IDC_HEIGHT), "61.6724");
  EXPECT_FALSE(window->Ended());
  window->Type(IDC_LAT_DEGREES, "45");
  window->MoveFocus(IDC_CALCULATE);
  window->PressEnter();
  EXPECT_EQ(Text(IDC_HEIGHT), at45);
  // Enter on another focused push button presses that button, not OK.
  window->MoveFocus(IDCANCEL);
  window->PressEnter();
  EXPECT_TRUE(window->Ended());
}

TEST_F(MainDialogTest, EscapeCancelAndTheCloseBoxEndTheDialog) {
  window->PressEscape();
  EXPECT_TRUE(window->Ended());
  EXPECT_EQ(window->Result(), IDCANCEL);

  app::CDayCourseDlg second(app);
  ui.Open(second).Click(IDCANCEL);
  EXPECT_TRUE(ui.WindowOf(second).Ended());

  app::CDayCourseDlg third(app);
  ui.Open(third).CloseBox();
  EXPECT_EQ(ui.WindowOf(third).Result(), IDCANCEL);
}

TEST_F(MainDialogTest, SystemMenuEndsWithTheAboutItemWhichOpensTheAboutBox) {
  const auto& items = dlg->SystemMenu().Items();
  ASSERT_GE(items.size(), 2u);
  EXPECT_TRUE(items[items.size() - 2].separator);
  EXPECT_EQ(items.back().text, "Inf&o über Tagvaroskop...");
  EXPECT_EQ(items.back().id, 16u);

  window->ChooseSystemCommand(16);
  window->ChooseSystemCommand(0x1F);  // the lowest four bits do not count
  EXPECT_EQ(ui.modalRuns, (std::vector<int>{IDD_ABOUTBOX, IDD_ABOUTBOX}));
  EXPECT_FALSE(window->Ended());
  window->ChooseSystemCommand(0x20);
  EXPECT_EQ(ui.modalRuns.size(), 2u);
}

TEST_F(MainDialogTest, EnterEndsTheAboutBox) {
  bool ended = false;
  ui.OnModal(IDD_ABOUTBOX, [&](platform::HeadlessBackend::Window& about) {
    about.PressEnter();
    ended = about.Ended();
  });
  window->ChooseSystemCommand(16);
  EXPECT_TRUE(ended);
}

TEST_F(MainDialogTest, SetsTheBigAndTheSmallIcon) {
  EXPECT_EQ(window->BigIcon().size(), QSize(32, 32));
  EXPECT_EQ(window->SmallIcon().size(), QSize(16, 16));
}

TEST_F(MainDialogTest, EveryRepaintReadsAndCalculatesOnce) {
  window->Type(IDC_LAT_DEGREES, "45");
  window->Expose();
  EXPECT_NE(Text(IDC_HEIGHT), "61.6724");
  // An unreadable entry is replaced by the old value, so the next repaint is quiet.
  window->Type(IDC_LAT_DEGREES, "x");
  window->Expose();
  window->Expose();
  EXPECT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(Text(IDC_LAT_DEGREES), "45");
  // An out-of-range entry stays as typed: each repaint shows its message once.
  window->Type(IDC_LAT_DEGREES, "89.5");
  window->Expose();
  EXPECT_EQ(ui.messages.size(), 2u);
  window->Expose();
  EXPECT_EQ(ui.messages.size(), 3u);
}

TEST_F(MainDialogTest, MinimisedPaintDrawsTheIconCentredWithoutCalculating) {
  window->Type(IDC_LAT_DEGREES, "x");
  window->Minimize();
  EXPECT_TRUE(ui.messages.empty());
  const platform::Surface& client = window->Client();
  ASSERT_EQ(client.Width(), 607);
  ASSERT_EQ(client.Height(), 326);
  const int x = (607 - 32 + 1) / 2, y = (326 - 32 + 1) / 2;  // 288, 147
  const QImage icon = dlg->m_hIcon.big;
  for (int dy = 0; dy < 32; dy += 5) {
    for (int dx = 0; dx < 32; dx += 5) {
      const QRgb p = icon.pixel(dx, dy);
      EXPECT_EQ(client.Pixel(x + dx, y + dy), (platform::Rgb{qRed(p), qGreen(p), qBlue(p)}));
    }
  }
  EXPECT_EQ(client.Pixel(x - 1, y), platform::kDialogBackground);
  EXPECT_EQ(client.Pixel(x + 32, y + 31), platform::kDialogBackground);
  window->Restore();  // a normal paint again reads the fields
  EXPECT_EQ(ui.messages.size(), 1u);
}

// The dialog starts at 12:00 on 21 June 2005 at 51° N 7° E: the golden chart of that moment.
TEST_F(MainDialogTest, EveryCalculationDrawsTheDayCourseIntoTheClientArea) {
  const std::vector<QRect> labels{QRect(310, 0, 297, 326), QRect(0, 230, 607, 96)};
  test_support::ExpectSameImage("charts/day_51n_june_noon.png", window->Client().Image(), labels);
  CalculateFor("80", "0", "2005", "12", "21");
  test_support::ExpectSameImage("charts/day_80n_polar_night.png", window->Client().Image(), labels);
}

TEST(SunAppTest, RunsTheMainDialogModallyAndEnds) {
  platform::HeadlessBackend ui;
  app::CSunApp app(ui, "/opt/bin/tagvaroskop");
  EXPECT_EQ(app.AppName(), "tagvaroskop");
  std::string hour;
  ui.OnModal(IDD_DAYCOURSE, [&](platform::HeadlessBackend::Window& w) {
    hour = w.Text(IDC_HOUR);
    EXPECT_EQ(app.m_pMainWnd, &w.Dialog());
    w.PressEscape();
  });
  EXPECT_FALSE(app.InitInstance());
  EXPECT_EQ(ui.modalRuns, std::vector<int>{IDD_DAYCOURSE});
  EXPECT_FALSE(hour.empty());
  EXPECT_EQ(app.m_pMainWnd, nullptr);
}

}  // namespace
