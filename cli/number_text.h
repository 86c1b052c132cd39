#pragma once

#include <optional>
#include <string>
#include <string_view>

// Every number the tool reads or writes goes through here: std::from_chars and std::to_chars,
// which never look at the locale, so that a German session reads and writes what any other does.
namespace cli {

// A run of the digits 0 to 9 (at least one), and its value where it has at most nine.
bool AllDigits(std::string_view text);
std::optional<int> ReadDigits(std::string_view text);
// An unsigned decimal: digits with a point before, between or after them, and an exponent
// ("52", "52.5", ".5", "5.", "4.5e1"); nothing else, not even a blank.
std::optional<double> ReadDecimal(std::string_view text);

// The shortest decimal that reads back as the same single-precision number ("nan" for NaN).
void AppendShortest(std::string& out, float value);
// The same written at `at` (room for 48 characters before `end`); returns the end of it.
char* PutShortest(char* at, char* end, float value);
std::string ShortestText(float value);
// The double nearest to that shortest decimal, which a JSON writer prints as the same decimal.
double NearestDouble(float value);
// A decimal with at most `places` places, trailing zeros dropped ("-33.86667", "7", never "-0").
void AppendFixed(std::string& out, double value, int places);

}  // namespace cli
