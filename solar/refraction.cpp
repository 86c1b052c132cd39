#include "solar/refraction.h"

#include <cmath>
#include <numbers>

namespace solar {

double Refraction(double elevation, double pressure, double temperature) {
  if (!(elevation >= -(0.26667 + 0.5667))) return 0.0;
  const double degrees = elevation + 10.3 / (elevation + 5.11);
  const double arcminutes = 1.02 / std::tan(degrees * std::numbers::pi / 180.0);
  return pressure / 101000.0 * 283.0 / (273.0 + temperature) * arcminutes / 60.0;
}

}  // namespace solar
