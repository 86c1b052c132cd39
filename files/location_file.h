#pragma once

#include <string>

#include "solar/types.h"

namespace platform {
class CArchive;
}

namespace files {

// The six place values of the main dialog, in the order of the location file.
struct Place {
  float latDegrees, latArcmin, latArcsec, lonDegrees;
  int lonArcmin;
  float lonArcsec;
};

Place PlaceOf(const solar::ObservationFields& fields);
void SetPlace(solar::ObservationFields& fields, const Place& place);

// Whether the six values are a place the dialog takes: finite, within its fields' ranges, and
// shown as numbers that the fields read back (so not -0).
bool IsDialogPlace(const Place& place);

// Writes the 24-byte location file: six raw little-endian 4-byte values.
void WriteLocation(platform::CArchive& ar, const Place& place);
void SaveLocation(const std::string& path, const Place& place);
// Reads the first 24 bytes of a location file; a shorter file changes nothing and raises the
// end-of-file error.
Place LoadLocation(const std::string& path);

}  // namespace files
