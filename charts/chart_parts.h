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

}  // namespace charts
