#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Longest text that the data exchange takes from an edit control, in characters.
inline constexpr int kMaxFieldCharacters = 31;

// A text as a message shows it: control characters (C0, DEL and C1) and every byte that is no
// part of valid UTF-8 escaped (\n, \t, \r, \xNN), so that no name or entry writes to a terminal
// or breaks a line, and a file name of any bytes is shown as it is.
std::string PrintableText(std::string_view text);
// The length of the valid UTF-8 sequence that starts at `at`, with its code point; 0 where none
// does (a stray continuation byte, an overlong form, a surrogate, beyond U+10FFFF, cut short).
size_t Utf8SequenceAt(std::string_view bytes, size_t at, char32_t& point);

// The first `count` characters (UTF-8 code points) of a text.
std::string FirstCharacters(std::string_view text, int count);
// What a single-line field takes of a pasted text: its first line.
std::string_view FirstLine(std::string_view text);

// Reading rules of an edit field: leading blanks and tabs skipped, a signed decimal number,
// nothing but blanks and tabs after it, and a value of 0 only from a text starting with "0".
// An integer beyond the int range saturates, like a 32-bit strtol.
std::optional<int> ParseIntField(std::string_view text);
std::optional<double> ParseFloatField(std::string_view text);

// The messages of a failed reading.
std::string IntExpectedMessage();
std::string NumberExpectedMessage();
std::string IntRangeMessage(int minimum, int maximum);
std::string NumberRangeMessage(float minimum, float maximum);

// Writing rules: "%.*g" with precision 6 for floats, "%d" for ints, in the C locale.
std::string FormatFloatField(double value);
// The same appended to a text (a batch writes a million of them).
void AppendFloatField(std::string& out, double value);
std::string FormatIntField(long value);

}  // namespace platform
