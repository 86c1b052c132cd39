#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace cli {

enum class Format { kText, kCsv, kJson };

// One output value: its key in CSV and JSON, its label in text, its text, and whether JSON
// writes it as a number.
struct Value {
  std::string key;
  std::string label;
  std::string text;
  bool number;
  std::string json = {};   // when set, JSON writes this instead (an array, say)
  std::string words = {};  // when set, the text format shows this instead
  bool inText = true;      // false: only CSV and JSON carry it
};
using Record = std::vector<Value>;

inline void Append(Record& record, const Record& values) {
  record.insert(record.end(), values.begin(), values.end());
}

// A single result: "label: text" lines, a CSV header and row, or one JSON object.
void WriteRecord(std::ostream& out, Format format, const Record& record);

// A result with rows: the values of `head` once, then a table of rows (text and CSV), or one
// JSON object whose `rowsKey` holds an array of the rows.
void WriteTable(std::ostream& out, Format format, const Record& head,
                const std::vector<Record>& rows, const std::string& rowsKey);

// The pieces, for writing line by line.
std::string CsvHeader(const Record& record);
std::string CsvRow(const Record& record);
std::string JsonObject(const Record& record);

}  // namespace cli
