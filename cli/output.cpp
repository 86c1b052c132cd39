#include "cli/output.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cerrno>
#include <iterator>

#include "cli/descriptor_buffer.h"
#include "cli/input.h"
#include "cli/number_text.h"
#include "platform/base/file_exception.h"

namespace cli {

namespace {

// Width of a text in characters, counting each UTF-8 sequence once.
size_t Width(const std::string& text) {
  return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

std::string Padded(const std::string& text, size_t width) {
  return text + std::string(width > Width(text) ? width - Width(text) : 0, ' ');
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

QJsonObject JsonOf(const Record& record) {
  QJsonObject object;
  for (const Value& v : record)
    if (v.inMachine) object.insert(Q(v.key), v.json);
  return object;
}

std::string Compact(const QJsonObject& object) {
  return QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString();
}

std::string CsvLine(const Record& record, bool header) {
  std::string line;
  bool first = true;
  for (const Value& v : record) {
    if (!v.inMachine) continue;
    line.append(first ? "" : ",").append(CsvField(header ? v.key : v.csv));
    first = false;
  }
  return line;
}

Record TextOnly(const Record& record) {
  Record shown;
  std::copy_if(record.begin(), record.end(), std::back_inserter(shown), [](const Value& v) { return v.inText; });
  return shown;
}

void WriteLabelled(std::ostream& out, const Record& record) {
  for (const Value& v : TextOnly(record)) out << v.label << ": " << v.text << "\n";
}

}  // namespace

Value Number(const std::string& key, const std::string& label, float value, const std::string& shown) {
  const std::string exact = ShortestText(value);
  // JSON has no NaN or infinity: such a value is missing there. The JSON number is the double
  // nearest the shortest decimal, which Qt writes as that decimal again.
  const bool finite = value == value && value - value == 0.0f;
  return Value{key, label, finite ? QJsonValue(NearestDouble(value)) : QJsonValue(), finite ? exact : "", shown};
}

Value Integer(const std::string& key, const std::string& label, int value) {
  return Value{key, label, QJsonValue(value), std::to_string(value), std::to_string(value)};
}

Value String(const std::string& key, const std::string& label, const std::string& value,
             const std::string& shown) {
  return Value{key, label, QJsonValue(Q(value)), value, shown.empty() ? value : shown};
}

Value Missing(const std::string& key, const std::string& label, const std::string& reason) {
  return Value{key, label, QJsonValue(), "", reason};
}

Value List(const std::string& key, const std::string& label, const QJsonArray& items,
           const std::string& csv, const std::string& shown) {
  return Value{key, label, QJsonValue(items), csv, shown};
}

void CheckWritten(std::ostream& out) {
  errno = 0;
  out.flush();
  if (out) return;
  // The cause of the first failed write, where the stream kept it.
  const auto* descriptor = dynamic_cast<const DescriptorBuffer*>(out.rdbuf());
  const int error = descriptor && descriptor->Error() ? descriptor->Error() : errno;
  if (error == EBADF) throw FileError{"Die Standardausgabe ist geschlossen."};
  throw platform::CFileException(platform::CFileException::OsErrorToCause(error ? error : EIO), "Standardausgabe");
}

std::string JsonString(const std::string& text) {
  std::string s = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      s += '\\';
      s += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      static const char* hex = "0123456789abcdef";
      s += "\\u00";
      s += hex[(c >> 4) & 0xF];
      s += hex[c & 0xF];
    } else {
      s += c;
    }
  }
  return s + "\"";
}

void AppendCsvField(std::string& out, std::string_view text) {
  const bool plain = std::none_of(text.begin(), text.end(), [](char c) {
    return c == ',' || c == '"' || c == '\r' || c == '\n';
  });
  if (plain) {
    out.append(text);
    return;
  }
  out += '"';
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

std::string CsvField(std::string_view text) {
  std::string s;
  AppendCsvField(s, text);
  return s;
}

void WriteRecord(std::ostream& out, Format format, const Record& record) {
  switch (format) {
    case Format::kText:
      WriteLabelled(out, record);
      break;
    case Format::kCsv:
      out << CsvLine(record, true) << "\n" << CsvLine(record, false) << "\n";
      break;
    case Format::kJson:
      out << Compact(JsonOf(record)) << "\n";
      break;
  }
}

void WriteTable(std::ostream& out, Format format, const Record& head,
                const std::vector<Record>& rows, const std::string& rowsKey) {
  switch (format) {
    case Format::kText: {
      WriteLabelled(out, head);
      if (rows.empty()) return;
      std::vector<Record> shown;
      for (const Record& row : rows) shown.push_back(TextOnly(row));
      std::vector<size_t> widths;
      for (const Value& v : shown.front()) widths.push_back(Width(v.label));
      for (const Record& row : shown)
        for (size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], Width(row[i].text));
      const auto line = [&](const Record& row, bool labels) {
        std::string text;
        for (size_t i = 0; i < row.size(); ++i) {
          const std::string& cell = labels ? row[i].label : row[i].text;
          text += i + 1 < row.size() ? Padded(cell, widths[i] + 2) : cell;
        }
        out << text << "\n";
      };
      line(shown.front(), true);
      for (const Record& row : shown) line(row, false);
      break;
    }
    case Format::kCsv: {
      if (rows.empty()) return;
      Record first = head;
      Append(first, rows.front());
      out << CsvLine(first, true) << "\n";
      for (const Record& row : rows) {
        Record line = head;
        Append(line, row);
        out << CsvLine(line, false) << "\n";
      }
      break;
    }
    case Format::kJson: {
      QJsonObject object = JsonOf(head);
      QJsonArray array;
      for (const Record& row : rows) array.append(JsonOf(row));
      object.insert(Q(rowsKey), array);
      out << Compact(object) << "\n";
      break;
    }
  }
}

}  // namespace cli
