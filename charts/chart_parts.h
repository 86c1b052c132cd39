#pragma once

#include "platform/cdc.h"
#include "platform/gdi.h"

namespace charts {

// The label font of both charts: a 10-pixel character cell, normal weight, Swiss family.
inline void CreateLabelFont(platform::CFont& font) {
  font.CreateFontA(10, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0x20, "MS Sans Serif");
}

inline constexpr platform::Rgb kGridColour{40, 40, 100};

// The grid of both charts with the selected pen: vertical lines from x = first to last, every
// `step`, each from row 45 down to 225; then the rows 45, 90, ..., 225, each drawn from column
// `right` leftward to 25.
inline void DrawGridLines(platform::CDC& dc, int first, int step, int last, int right) {
  for (int x = first; x <= last; x += step) {
    dc.MoveTo(x, 45);
    dc.LineTo(x, 225);
  }
  for (int y = 45; y <= 225; y += 45) {
    dc.MoveTo(right, y);
    dc.LineTo(25, y);
  }
}

// What both charts begin with: their area cleared at device resolution (smoothed labels are
// drawn anew, not over themselves), the frame from (25, 45) to (frameRight, 225), the grid in its
// pen (DrawGridLines), the label font selected and a transparent background for the labels. The
// font and the pen last as long as this.
class ChartGround {
 public:
  struct Grid {
    int first, step, last, right;
  };
  ChartGround(platform::CDC& dc, const platform::PixelRect& area, int frameRight, Grid grid)
      : m_gridPen(platform::PS_SOLID, 1, kGridColour) {
    dc.ClearAtDeviceResolution(area);
    dc.Rectangle(25, 45, frameRight, 225);
    CreateLabelFont(m_font);
    dc.SelectObject(&m_font);
    dc.SelectObject(&m_gridPen);
    DrawGridLines(dc, grid.first, grid.step, grid.last, grid.right);
    dc.SetBkMode(platform::TRANSPARENT);
  }

  // Deletes the font and the pen, once they are no longer selected.
  void Delete() {
    m_gridPen.DeleteObject();
    m_font.DeleteObject();
  }

 private:
  platform::CFont m_font;
  platform::CPen m_gridPen;
};

}  // namespace charts
