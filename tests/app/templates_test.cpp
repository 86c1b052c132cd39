// The dialog templates as the windows are built from them.
#include <gtest/gtest.h>

#include "res/resources.h"

namespace {

using platform::ControlKind;
using platform::ControlPixels;
using platform::PixelRect;

TEST(TemplatesTest, MainDialogSizeAndTabOrder) {
  const platform::DialogTemplate& t = res::kDayCourseDialog;
  EXPECT_EQ(platform::DialogUnitsToPixelsX(t.width), 607);
  EXPECT_EQ(platform::DialogUnitsToPixelsY(t.height), 326);
  std::vector<int> tabStops;
  for (const auto& c : t.controls) {
    if (platform::IsTabStop(c.kind)) tabStops.push_back(c.id);
  }
  const std::vector<int> expected{1002, 1001, 1000, 1005, 1004, 1003, 1008, 1007, 1006, 1011, 1010, 1009, 1,
                                  2,    1012, 1013, 1014, 1015, 1016, 1017, 1027, 1028, 1029, 1030, 1031};
  EXPECT_EQ(tabStops, expected);
  EXPECT_EQ(platform::FindControl(t, 1)->kind, ControlKind::kDefPushButton);
}

TEST(TemplatesTest, ControlsKeepClearOfTheCharts) {
  // Day chart: clip up to x 384 and compass letters down to y 244.
  for (const auto& c : res::kDayCourseDialog.controls) {
    const PixelRect r = ControlPixels(c);
    EXPECT_TRUE(r.left >= 385 || r.top >= 245) << c.text << " " << c.id;
  }
  // Year chart: everything left of 321 dialog units.
  for (const auto& c : res::kYearCourseDialog.controls) {
    EXPECT_GE(ControlPixels(c).left, platform::DialogUnitsToPixelsX(321)) << c.text;
  }
}

}  // namespace
