#pragma once

#include "platform/dialog_template.h"
#include "platform/surface.h"

namespace test_support {

// The colours the charts draw with.
inline constexpr platform::Rgb kWhite{255, 255, 255};
inline constexpr platform::Rgb kBlack{0, 0, 0};
inline constexpr platform::Rgb kGrid{40, 40, 100};
inline constexpr platform::Rgb kRed{250, 0, 0};

// Pixels of the colour within the rectangle (the whole surface by default).
inline int CountColour(const platform::Surface& s, platform::Rgb colour,
                       platform::PixelRect r = {0, 0, 1 << 20, 1 << 20}) {
  int n = 0;
  for (int y = r.top; y < r.bottom && y < s.Height(); ++y)
    for (int x = r.left; x < r.right && x < s.Width(); ++x) n += s.Pixel(x, y) == colour;
  return n;
}

}  // namespace test_support
