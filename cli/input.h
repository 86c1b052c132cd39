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
void ReadLatitude(std::string_view text, solar::ObservationFields& f);   // G[:M[:S]]
void ReadLongitude(std::string_view text, solar::ObservationFields& f);  // G[:M[:S]]

// A sun height in degrees, -90 to 90, read with the rules of a number field.
float ReadHeight(std::string_view text);

// The fields of a moment without a time: 0:00:00, and the default place.
solar::ObservationFields StartFields();

}  // namespace cli
