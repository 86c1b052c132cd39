#pragma once

#include <ostream>

#include "platform/surface.h"

namespace platform {

inline std::ostream& operator<<(std::ostream& os, const Rgb& c) {
  return os << "(" << c.red << ", " << c.green << ", " << c.blue << ")";
}

}  // namespace platform
