#include "cli/argument_bytes.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace cli {
namespace {

// Any bytes go through the parser's QString and come back as they were; valid UTF-8 is the text
// Qt reads from it.
TEST(ArgumentBytesTest, AnyBytesComeBackAsTheyWere) {
  std::mt19937 random(5);
  for (int i = 0; i < 20000; ++i) {
    std::string bytes(random() % 12, '\0');
    for (char& c : bytes) c = static_cast<char>(i % 3 ? random() : 0x80 + random() % 0x40);  // often continuation bytes
    ASSERT_EQ(ArgumentBytes(ArgumentText(bytes)), bytes);
  }
  for (const std::string text : {"a\xC3\xBC"
                                 "b",
                                 "\xF0\x9F\x8C\x9E.ort", "Datei mit Leerzeichen", "-33:52:0"}) {
    EXPECT_EQ(ArgumentText(text), QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    EXPECT_EQ(ArgumentBytes(ArgumentText(text)), text);
  }
  // Overlong forms, encoded surrogates and cut sequences are bytes, not characters.
  for (const std::string odd : {"\xC0\xAF", "\xED\xA0\x80", "\xE2\x82",
                                "a\xFF"
                                "b"}) {
    EXPECT_EQ(ArgumentText(odd).size(), static_cast<qsizetype>(odd.size()));  // a unit a byte
    EXPECT_EQ(ArgumentBytes(ArgumentText(odd)), odd);
  }
}

}  // namespace
}  // namespace cli
