#pragma once

#include "platform/surface.h"

namespace test_support {

// The colours the charts draw with.
inline constexpr platform::Rgb kWhite{255, 255, 255};
inline constexpr platform::Rgb kBlack{0, 0, 0};
inline constexpr platform::Rgb kGrid{40, 40, 100};
inline constexpr platform::Rgb kRed{250, 0, 0};

}  // namespace test_support
