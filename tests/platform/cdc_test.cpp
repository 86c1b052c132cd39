#include "platform/cdc.h"

#include <gtest/gtest.h>

#include <climits>

#include "tests/support/golden_image.h"
#include "tests/support/rgb_print.h"

namespace platform {
namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};

// Every raster rule in one picture (tests/data/platform/raster.png, 8 times enlarged there for
// reading): lines set their start pixel and not their end, step like Bresenham in every
// direction, a zero-length line sets nothing; a rectangle's border lies on its outermost rows and
// columns with white inside; clip rectangles narrow each other and admit exactly their pixels;
// far coordinates end quickly and draw only what lies on the surface.
TEST(RasterTest, DrawsTheGoldenPicture) {
  Surface surface(48, 32);
  surface.Fill(kDialogBackground);
  {
    CDC dc(surface);
    CPen red(PS_SOLID, 1, Rgb{250, 0, 0}), blue(PS_INSIDEFRAME, 1, Rgb{0, 0, 170});
    dc.Rectangle(2, 3, 8, 7);
    dc.SelectObject(&red);
    const int lines[][4] = {{2, 10, 7, 10},          {10, 20, 10, 10}, {0, 12, 4, 16},
                            {0, 20, 6, 22},          {14, 2, 20, 0},   {20, 30, 12, 26},
                            {30, 2, 25, 12},         {40, 4, 40, 4},   {INT_MIN, INT_MIN, INT_MAX, INT_MAX},
                            {INT_MAX, 0, INT_MAX, 5}};
    for (const auto& l : lines) {
      dc.MoveTo(l[0], l[1]);
      dc.LineTo(l[2], l[3]);
    }
    dc.SelectObject(&blue);
    dc.IntersectClipRect(30, 16, 46, 30);
    dc.IntersectClipRect(0, 0, 44, 27);  // narrows further: 30..43, 16..26
    for (int y = 14; y < 32; y += 3) {
      dc.MoveTo(47, y);
      dc.LineTo(26, y + 2);
    }
    dc.SelectObject(static_cast<const CPen*>(nullptr));
  }
  const QImage image = surface.Image().scaled(48 * 8, 32 * 8);
  test_support::ExpectSameImage("platform/raster.png", image, {});
}

TEST(TextTest, SitsInItsTenPixelCellUnsmoothedAndTheSameWhenDrawnTwice) {
  Surface wide(80, 30);
  wide.Fill(kWhite);
  CDC text(wide);
  CFont font;
  font.CreateFontA(10, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0x20, "MS Sans Serif");
  text.SelectObject(&font);
  text.SetBkMode(TRANSPARENT);
  text.TextOut(10, 8, "Zenith");
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

}  // namespace
}  // namespace platform
