#include "platform/cdc.h"

#include <gtest/gtest.h>

#include <climits>

#include "tests/support/raster.h"
#include "tests/support/rgb_print.h"

namespace platform {
namespace {

using test_support::kBlack;
using test_support::kRed;
using test_support::kWhite;

class RasterTest : public testing::Test {
 protected:
  RasterTest() : surface(40, 30), dc(surface) { surface.Fill(kDialogBackground); }

  int CountColour(Rgb colour) const { return test_support::CountColour(surface, colour); }

  Surface surface;
  CDC dc;
};

TEST_F(RasterTest, ALineSetsItsStartButNotItsEnd) {
  CPen red(PS_SOLID, 1, kRed);
  dc.SelectObject(&red);
  dc.MoveTo(2, 3);
  dc.LineTo(7, 3);
  for (int x = 2; x < 7; ++x) EXPECT_EQ(surface.Pixel(x, 3), kRed) << x;
  EXPECT_NE(surface.Pixel(7, 3), kRed);
  EXPECT_EQ(CountColour(kRed), 5);

  dc.MoveTo(10, 20);  // backwards and steep
  dc.LineTo(10, 10);
  EXPECT_EQ(surface.Pixel(10, 20), kRed);
  EXPECT_EQ(surface.Pixel(10, 11), kRed);
  EXPECT_NE(surface.Pixel(10, 10), kRed);
}

TEST_F(RasterTest, DiagonalAndShallowLinesStepLikeBresenham) {
  CPen red(PS_SOLID, 1, kRed);
  dc.SelectObject(&red);
  dc.MoveTo(0, 0);
  dc.LineTo(4, 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(surface.Pixel(i, i), kRed);
  EXPECT_EQ(CountColour(kRed), 4);
  surface.Fill(kWhite);
  dc.MoveTo(0, 10);
  dc.LineTo(6, 12);  // rises one row per three columns
  const int rows[6] = {10, 10, 11, 11, 11, 12};
  for (int x = 0; x < 6; ++x) EXPECT_EQ(surface.Pixel(x, rows[x]), kRed) << x;
  EXPECT_EQ(CountColour(kRed), 6);
}

TEST_F(RasterTest, AZeroLengthLineSetsNothing) {
  dc.MoveTo(5, 5);
  dc.LineTo(5, 5);
  EXPECT_EQ(CountColour(kBlack), 0);
}

TEST_F(RasterTest, RectangleBorderOnTheOutermostRowsAndColumnsInsideWhite) {
  dc.Rectangle(2, 3, 8, 7);  // covers x 2..7, y 3..6
  for (int x = 2; x < 8; ++x) {
    EXPECT_EQ(surface.Pixel(x, 3), kBlack);
    EXPECT_EQ(surface.Pixel(x, 6), kBlack);
  }
  for (int y = 3; y < 7; ++y) {
    EXPECT_EQ(surface.Pixel(2, y), kBlack);
    EXPECT_EQ(surface.Pixel(7, y), kBlack);
  }
  EXPECT_EQ(surface.Pixel(3, 4), kWhite);
  EXPECT_EQ(surface.Pixel(6, 5), kWhite);
  EXPECT_EQ(surface.Pixel(8, 4), kDialogBackground);
  EXPECT_EQ(surface.Pixel(4, 7), kDialogBackground);
  EXPECT_EQ(CountColour(kBlack) + CountColour(kWhite), 24);
}

TEST_F(RasterTest, AClipRectangleAdmitsExactlyItsPixels) {
  dc.IntersectClipRect(5, 5, 10, 8);
  dc.IntersectClipRect(0, 0, 9, 30);  // narrows further
  CPen red(PS_SOLID, 1, kRed);
  dc.SelectObject(&red);
  for (int y = 0; y < 30; ++y) {
    dc.MoveTo(0, y);
    dc.LineTo(40, y);
  }
  EXPECT_EQ(CountColour(kRed), 4 * 3);
  EXPECT_EQ(surface.Pixel(5, 5), kRed);
  EXPECT_EQ(surface.Pixel(8, 7), kRed);
  EXPECT_NE(surface.Pixel(9, 7), kRed);
  EXPECT_NE(surface.Pixel(8, 8), kRed);
}

TEST_F(RasterTest, FarCoordinatesEndQuickly) {
  CPen red(PS_SOLID, 1, kRed);
  dc.SelectObject(&red);
  dc.MoveTo(INT_MIN, INT_MIN);
  dc.LineTo(INT_MAX, INT_MAX);  // through the surface's diagonal
  dc.MoveTo(INT_MAX, 0);
  dc.LineTo(INT_MAX, 5);  // entirely outside
  dc.Rectangle(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  EXPECT_EQ(CountColour(kRed), 0);  // the rectangle covered the line
  EXPECT_EQ(surface.Pixel(20, 15), kWhite);
}

TEST_F(RasterTest, TextSitsInItsTenPixelCellAndLeavesTheRestAlone) {
  Surface wide(80, 30);
  wide.Fill(kWhite);
  CDC text(wide);
  CFont font;
  font.CreateFontA(10, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0x20, "MS Sans Serif");
  text.SelectObject(&font);
  text.SetBkMode(TRANSPARENT);
  std::vector<TextOutRecord> log;
  CDC::s_textLog = &log;
  text.TextOut(10, 8, "Zenith");
  CDC::s_textLog = nullptr;
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].text, "Zenith");
  EXPECT_EQ(log[0].cellHeight, 10);
  int inked = 0;
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 80; ++x) {
      const Rgb p = wide.Pixel(x, y);
      if (p == kWhite) continue;
      EXPECT_EQ(p, kBlack) << x << "," << y;  // no shades: text is not smoothed
      EXPECT_TRUE(y >= 8 && y < 18 && x >= 10) << x << "," << y;
      ++inked;
    }
  }
  EXPECT_GT(inked, 20);
  const QImage once = wide.Image().copy();
  text.TextOut(10, 8, "Zenith");  // drawn again, a label stays the same
  EXPECT_EQ(wide.Image(), once);
}

TEST(GdiObjectTest, CreatedObjectsAreCountedUntilDeleted) {
  const int before = CGdiObject::LiveCount();
  {
    CPen pen(PS_SOLID, 1, kRed);
    CFont font;
    font.CreateFontA(10, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0x20, "MS Sans Serif");
    EXPECT_EQ(CGdiObject::LiveCount(), before + 2);
    EXPECT_TRUE(pen.DeleteObject());
    EXPECT_FALSE(pen.DeleteObject());
    EXPECT_EQ(CGdiObject::LiveCount(), before + 1);
  }
  EXPECT_EQ(CGdiObject::LiveCount(), before);
}

}  // namespace
}  // namespace platform
