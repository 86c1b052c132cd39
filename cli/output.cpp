#include "cli/output.h"

#include <algorithm>
#include <iterator>

namespace cli {

namespace {

std::string JsonString(const std::string& text) {
  std::string s = "\"";
  for (char c : text) {
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

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\n") == std::string::npos) return text;
  std::string s = "\"";
  for (char c : text) s += c == '"' ? std::string("\"\"") : std::string(1, c);
  return s + "\"";
}

// Width of a text in characters, counting each UTF-8 sequence once.
size_t Width(const std::string& text) {
  return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

std::string Padded(const std::string& text, size_t width) {
  return text + std::string(width > Width(text) ? width - Width(text) : 0, ' ');
}

const std::string& Shown(const Value& v) { return v.words.empty() ? v.text : v.words; }

}  // namespace

std::string CsvHeader(const Record& record) {
  std::string line;
  for (size_t i = 0; i < record.size(); ++i) line.append(i ? "," : "").append(record[i].key);
  return line;
}

std::string CsvRow(const Record& record) {
  std::string line;
  for (size_t i = 0; i < record.size(); ++i) line.append(i ? "," : "").append(CsvField(record[i].text));
  return line;
}

std::string JsonObject(const Record& record) {
  std::string s = "{";
  for (size_t i = 0; i < record.size(); ++i) {
    const Value& v = record[i];
    s.append(i ? ", " : "").append(JsonString(v.key)).append(": ");
    if (!v.json.empty()) {
      s.append(v.json);
    } else {
      s.append(v.number ? (v.text.empty() ? std::string("null") : v.text) : JsonString(v.text));
    }
  }
  return s + "}";
}

void WriteRecord(std::ostream& out, Format format, const Record& record) {
  switch (format) {
    case Format::kText:
      for (const Value& v : record)
        if (v.inText) out << v.label << ": " << Shown(v) << "\n";
      break;
    case Format::kCsv:
      out << CsvHeader(record) << "\n" << CsvRow(record) << "\n";
      break;
    case Format::kJson:
      out << JsonObject(record) << "\n";
      break;
  }
}

void WriteTable(std::ostream& out, Format format, const Record& head,
                const std::vector<Record>& rows, const std::string& rowsKey) {
  switch (format) {
    case Format::kText: {
      for (const Value& v : head)
        if (v.inText) out << v.label << ": " << Shown(v) << "\n";
      if (rows.empty()) return;
      std::vector<Record> shown;
      for (const Record& row : rows) {
        shown.emplace_back();
        std::copy_if(row.begin(), row.end(), std::back_inserter(shown.back()), [](const Value& v) { return v.inText; });
      }
      std::vector<size_t> widths;
      for (const Value& v : shown.front()) widths.push_back(Width(v.label));
      for (const Record& row : shown)
        for (size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], Width(Shown(row[i])));
      const auto line = [&](const Record& row, bool labels) {
        std::string text;
        for (size_t i = 0; i < row.size(); ++i) {
          const std::string& cell = labels ? row[i].label : Shown(row[i]);
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
      first.insert(first.end(), rows.front().begin(), rows.front().end());
      out << CsvHeader(first) << "\n";
      for (const Record& row : rows) {
        Record line = head;
        line.insert(line.end(), row.begin(), row.end());
        out << CsvRow(line) << "\n";
      }
      break;
    }
    case Format::kJson: {
      std::string s = JsonObject(head);
      s.pop_back();
      s.append(head.empty() ? "" : ", ").append(JsonString(rowsKey)).append(": [");
      for (size_t i = 0; i < rows.size(); ++i) s.append(i ? ", " : "").append(JsonObject(rows[i]));
      out << s << "]}\n";
      break;
    }
  }
}

}  // namespace cli
