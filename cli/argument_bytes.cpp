#include "cli/argument_bytes.h"

#include "platform/base/field_text.h"

namespace cli {

namespace {

void AppendUtf8(std::string& out, char32_t point) {
  if (point < 0x80) {
    out += static_cast<char>(point);
  } else if (point < 0x800) {
    out += static_cast<char>(0xC0 | (point >> 6));
    out += static_cast<char>(0x80 | (point & 0x3F));
  } else if (point < 0x10000) {
    out += static_cast<char>(0xE0 | (point >> 12));
    out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (point & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (point >> 18));
    out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (point & 0x3F));
  }
}

}  // namespace

QString ArgumentText(std::string_view bytes) {
  QString text;
  text.reserve(static_cast<qsizetype>(bytes.size()));
  for (size_t at = 0; at < bytes.size();) {
    char32_t point = 0;
    const size_t length = platform::Utf8SequenceAt(bytes, at, point);
    if (length == 0) {
      text += QChar(static_cast<char16_t>(0xDC00 + static_cast<unsigned char>(bytes[at])));
      ++at;
      continue;
    }
    const char32_t points[] = {point};
    text += QString::fromUcs4(points, 1);
    at += length;
  }
  return text;
}

std::string ArgumentBytes(const QString& text) {
  std::string bytes;
  bytes.reserve(static_cast<size_t>(text.size()));
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i].unicode();
    if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
      AppendUtf8(bytes, QChar::surrogateToUcs4(unit, text[++i].unicode()));
    } else if (unit >= 0xDC80 && unit <= 0xDCFF) {
      bytes += static_cast<char>(unit - 0xDC00);  // an escaped byte
    } else {
      AppendUtf8(bytes, unit);
    }
  }
  return bytes;
}

}  // namespace cli
