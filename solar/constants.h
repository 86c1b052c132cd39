#pragma once

namespace solar {

// Conversion constants held in single precision, as the digits written (not the nearest float
// to the exact fraction).
inline constexpr float kPerMinute = 0.016666668f;    // 1/60
inline constexpr float kPerSecond = 0.00027777778f;  // 1/3600
inline constexpr float kPerHour = 0.041666668f;      // 1/24, hours to days
inline constexpr float kPerTurn = 0.0027777778f;     // 1/360
inline constexpr float kDegToRad = 0.017453292f;
inline constexpr float kRadToDeg = 57.295784f;
inline constexpr float kFullTurnRad = 6.283185f;

// Minutes in one day scan and the sun heights that bound the two day lengths.
inline constexpr int kMinutesPerScan = 1440;
inline constexpr int kTrackEntries = 1500;  // a day track's room (the dialog's)
// The longest run of minutes scanned at once: a local day lasts at most about 50 hours (a zone
// whose clocks go back by a day repeats a date).
inline constexpr int kLongestScan = 3 * 1440;
inline constexpr float kHorizonHeight = 0.0f;
inline constexpr float kTwilightHeight = -7.0f;
// The sun's height changes by less than this in a minute (degrees): the sun crosses at most
// 0.2507 degrees of the sky a minute (its hour angle's 0.2501 at the declination's cosine, and
// the declination's 0.0003), and the model's rounding moves it by less than 1e-4.
inline constexpr float kMostHeightChangeInAMinute = 0.26f;

}  // namespace solar
