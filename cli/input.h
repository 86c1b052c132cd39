#pragma once

#include <string>
#include <string_view>

#include "files/location_file.h"

namespace cli {

// A wrong entry: its message, in the dialog's words, after the name of the entry.
struct InputError {
  std::string message;
};

// A file that cannot serve, with the whole message (status 1).
struct FileError {
  std::string message;
};

// An entry as a message shows it: in quotes (unless `quoted` is false), with control characters
// escaped, so that no entry can write to the terminal; beyond 60 characters cut, with its length.
// File names go whole (platform::PrintableText).
std::string Shown(std::string_view text, bool quoted = true);

// At most three parts of a text separated by `separator`, and how many there were.
struct Pieces {
  std::string_view part[3];
  size_t count = 0;
};
Pieces Split(std::string_view text, char separator);

// A whole number from `low` to `high` written in digits; the message names it.
int ReadWhole(std::string_view text, const char* name, int low, int high);

// A clock time HH:MM or HH:MM:SS.
struct ClockTime {
  int hour, minute, second;
};
ClockTime ReadClockTime(std::string_view text);

// A place as people write it, one rule for both coordinates: signed decimal degrees, D:M or
// D:M:S with the sign on the whole angle, or either with N/S (E/W) instead of the sign; a fraction
// only in the last part given, minutes and seconds below 60, one sign.
struct Place {
  float latitude, longitude;             // as the computations take them: north and east (a west longitude
                                         // as its east equivalent, as the dialog holds it)
  double shownLatitude, shownLongitude;  // as entered, in decimal degrees; the longitude -180..180
  files::Place fields;                   // the dialog's six fields: north and east as entered, south as the negated
                                         // degrees, west as the east equivalent in degrees
};
Place ReadPlace(std::string_view latitude, std::string_view longitude);
// The place of the dialog's six fields, as they stand in a location file.
Place PlaceOfFields(const files::Place& fields);

// A sun height in degrees, -90 to 90.
float ReadHeight(std::string_view text);

// The place as the dialog reads it back as the same place from a location file: the latitude
// within its -89..89 (else a wrong entry), a longitude beyond 359 degrees as 359 and the rest in
// arc minutes and seconds.
files::Place StoredPlace(const Place& place);

}  // namespace cli
