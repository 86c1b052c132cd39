#pragma once

#include "platform/gdi.h"

namespace charts {

// The label font of both charts: a 10-pixel character cell, normal weight, Swiss family.
inline void CreateLabelFont(platform::CFont& font) {
  font.CreateFontA(10, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0x20, "MS Sans Serif");
}

inline constexpr platform::Rgb kGridColour{40, 40, 100};

}  // namespace charts
