#pragma once

#include <string>
#include <string_view>

#include "solar/types.h"

namespace cli {

// A wrong entry: its message, in the dialog's words, after the name of the entry.
struct InputError {
  std::string message;
};

// Each part is read with the main dialog's field rules and ranges; a wrong one throws.
void ReadDate(std::string_view text, solar::ObservationFields& f);       // JJJJ-MM-TT
void ReadTime(std::string_view text, solar::ObservationFields& f);       // HH:MM[:SS]
void ReadYear(std::string_view text, solar::ObservationFields& f);       // JJJJ
void ReadSecond(std::string_view text, solar::ObservationFields& f);     // SS
// A place as people write it: signed decimal degrees, D:M:S with the sign on the whole angle, or
// either with N/S (E/W) instead of the sign. North and east keep the fields as the dialog holds
// them, to the bit; a southern latitude is the negation of the whole angle in degrees alone, a
// western longitude its east equivalent (0..360).
void ReadLatitude(std::string_view text, solar::ObservationFields& f);   // -90..90
void ReadLongitude(std::string_view text, solar::ObservationFields& f);  // -180..360

// A sun height in degrees, -90 to 90, read with the rules of a number field.
float ReadHeight(std::string_view text);

// The place as the dialog reads it back as the same place from a location file: the latitude
// within its -89..89 (else a wrong entry), a longitude beyond 359 degrees as 359 and the rest in
// arc minutes and seconds.
solar::ObservationFields StoredPlace(const solar::ObservationFields& f);

// The fields of a moment without a time: 0:00:00, and the default place.
solar::ObservationFields StartFields();

}  // namespace cli
