#pragma once

#include <string>
#include <string_view>

#include "solar/types.h"

namespace platform {
class CArchive;
}

namespace files {

// The 7-byte number field of a minute line: seven significant digits, trailing zeros of the
// decimals dropped (the point stays), cut to seven characters or padded with spaces.
std::string NumberField(float value);

// One data line: azimuth field, two spaces, height field, CR LF; 18 bytes.
std::string MinuteLine(float azimuth, float height);

// Writes the two counted header lines and a line for every examined minute above 0.2 degrees.
// A rejected minute skips the one after it, and minute 1439 is never examined.
void WriteMinuteTable(platform::CArchive& ar, const solar::DayTrack& track);
void ExportMinuteTable(const std::string& path, const solar::DayTrack& track);

// UTF-8 text as Windows-1252 bytes; characters beyond Latin-1 become "?".
std::string ToWindows1252(std::string_view utf8);

}  // namespace files
