#pragma once

#include <QJsonArray>
#include <QJsonValue>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

enum class Format { kText, kCsv, kJson };

// One output value: its key in CSV and JSON (English snake_case, docs/cli-output.md), its German
// label in text, and its form in each format. Build it with the functions below.
struct Value {
  std::string key;
  std::string label;
  QJsonValue json;   // a number, a string, null or an array
  std::string csv;   // empty for a missing value
  std::string text;  // what a person reads
  bool inText = true;
  bool inMachine = true;  // false: only the text format shows it
};
using Record = std::vector<Value>;

inline void Append(Record& record, const Record& values) {
  record.insert(record.end(), values.begin(), values.end());
}

Value Number(const std::string& key, const std::string& label, float value, const std::string& shown);
Value Integer(const std::string& key, const std::string& label, int value);
Value String(const std::string& key, const std::string& label, const std::string& value,
             const std::string& shown = {});
// A missing value: null in JSON, empty in CSV, the reason in text.
Value Missing(const std::string& key, const std::string& label, const std::string& reason);
// A list: an array in JSON, the items separated by blanks in CSV.
Value List(const std::string& key, const std::string& label, const QJsonArray& items,
           const std::string& csv, const std::string& shown);

// A single result: "label: text" lines, a CSV header and row, or one JSON object.
void WriteRecord(std::ostream& out, Format format, const Record& record);

// A result with rows: the values of `head` once, then a table of rows (text and CSV), or one
// JSON object whose `rowsKey` holds an array of the rows.
void WriteTable(std::ostream& out, Format format, const Record& head,
                const std::vector<Record>& rows, const std::string& rowsKey);

// Flushes standard output; a failed write raises a CFileException naming "Standardausgabe".
void CheckWritten(std::ostream& out);

// Every string of JSON the tool writes by hand goes through here.
std::string JsonString(const std::string& text);
// A CSV field, quoted as RFC 4180 asks where it holds a comma, a quote or a line break.
std::string CsvField(std::string_view text);
void AppendCsvField(std::string& out, std::string_view text);

}  // namespace cli
