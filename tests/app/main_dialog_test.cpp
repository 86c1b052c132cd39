#include <gtest/gtest.h>

#include "tests/support/main_dialog_fixture.h"

namespace {

using namespace res;
using platform::IDCANCEL;

class MainDialogTest : public test_support::MainDialogTest {};

TEST_F(MainDialogTest, SystemMenuEndsWithTheAboutItemAndEveryIconSizeIsSet) {
  const auto& items = dlg->SystemMenu().Items();
  ASSERT_GE(items.size(), 2u);
  EXPECT_TRUE(items[items.size() - 2].separator);
  EXPECT_EQ(items.back().text, "Inf&o über Tagvaroskop...");
  EXPECT_EQ(items.back().id, 16u);
  EXPECT_EQ(window->BigIcon().size(), QSize(32, 32));
  EXPECT_EQ(window->SmallIcon().size(), QSize(16, 16));
  EXPECT_EQ(window->IconSizes(), (std::vector<int>{32, 48, 256, 16}));  // sharp in docks at high density
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
