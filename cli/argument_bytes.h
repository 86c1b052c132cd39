#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace cli {

// Arguments through Qt's parser and back, byte for byte: Linux file names are bytes, and a byte
// that is no part of valid UTF-8 must reach the system as it came. Such a byte becomes the lone
// surrogate U+DC80 + byte in the QString (as Python's "surrogateescape" does) and that byte
// again on the way back; valid UTF-8 is text as usual.
QString ArgumentText(std::string_view bytes);
std::string ArgumentBytes(const QString& text);

}  // namespace cli
