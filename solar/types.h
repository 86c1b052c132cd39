#pragma once

namespace solar {

// Direction of the sun: azimuth from north through east (above 0, at most 360; due north is
// 360), height above the horizon; both in degrees.
struct SunPosition {
  float azimuth;
  float height;
};

// The sun's course over one day, one entry per minute; entries 0..1439 are filled by a scan,
// entry 0 being one hour before 0:00 of the scanned date. Entries 1440..1499 are never written.
struct DayTrack {
  float azimuth[1500];
  float height[1500];
};

// Minutes of a scanned day with the sun strictly above 0 degrees and strictly above -7 degrees.
struct DayLengths {
  int minutesAboveHorizon;
  int minutesAboveTwilight;
};

// Hours of sunshine plus twilight and of sunshine on the 72 sample days; entries 1..72 are used.
struct YearSeries {
  float twilight[80];
  float sunshine[80];
};

// The main dialog's 16 values in their fixed order; the year dialog receives a bitwise copy and
// the location file stores six of them as they lie in memory.
struct ObservationFields {
  float azimuth, latDegrees, latArcmin, latArcsec, day, height;
  int hour;
  float lonDegrees, lonArcsec;
  int minute, month, second, year, lonArcmin;
  float sunshineHours, twilightHours;
};

static_assert(sizeof(ObservationFields) == 64, "16 four-byte values without padding");
static_assert(sizeof(float) == 4 && sizeof(int) == 4);

}  // namespace solar
