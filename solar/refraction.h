#pragma once

namespace solar {

// The atmospheric refraction in degrees of the sun at a geometric (airless) elevation in degrees,
// for the pressure at the place in pascals and the air temperature in degrees Celsius; the
// apparent elevation is the geometric one plus this.
//
// Notes
// 1. The formula is Saemundsson's (Sky and Telescope 72, 70, 1986), as Meeus gives it
//    (Astronomical Algorithms, 2nd ed., eq. 16.4, with the factor for pressure and temperature of
//    p. 107) and as NREL's Solar Position Algorithm applies it (Reda and Andreas 2004, eq. 42):
//    R = 1.02' / tan(h + 10.3 / (h + 5.11)) · (P / 101000 Pa) · (283 / (273 + T)).
// 2. As in that algorithm, there is none when the sun's upper limb stands below the apparent
//    horizon, at a geometric elevation under -0.26667 - 0.5667 degrees (the sun's radius and
//    the standard refraction at the horizon).
// 3. Near the horizon the refraction of the real air varies by a fraction of a degree with its
//    layers; no formula of pressure and temperature alone does better.
double Refraction(double elevation, double pressure, double temperature);

}  // namespace solar
