#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/time_basis.h"

namespace cli {

enum class Format { kText, kCsv, kJson };

// How a cell shows in text; CSV and JSON follow from its type.
enum class Show : unsigned char {
  kPlain,        // as in CSV
  kDegrees,      // decimal degrees, at most five places
  kField,        // the dialog's number field ("%.6g")
  kHours,        // "7 Std 41 min (7.68333 Stunden)"
  kClock,        // the clock time HH:MM:SS in the zone
  kClockMinute,  // HH:MM
  kDayMonth,     // "21.06."
};

// A column of a record, described once for every format: its key in CSV and JSON (English
// snake_case, docs/cli-output.md), its German label in text, and how text shows it.
struct Column {
  std::string key;
  std::string label;
  Show show = Show::kPlain;
  bool inText = true;     // false: CSV and JSON only
  bool inMachine = true;  // false: text only
  bool inLine = true;     // in the one-line text of a batch of positions
};

// A crossing (its event) or a stretch (first and last minute) of a list cell.
struct ListItem {
  const char* event;
  long long first, last;
};

// A value of a record. Numbers are written as the shortest decimal that reads back as the same
// single-precision number; instants as RFC 3339 in the zone (text: the clock time); a missing
// value is null in JSON, empty in CSV, and its reason in text.
struct Cell {
  enum class Type : unsigned char { kMissing, kNumber, kInteger, kInstant, kDate, kText, kList };
  Type type = Type::kMissing;
  double number = 0.0;          // kNumber (kDegrees shows this value, the rest its float)
  long long integer = 0;        // kInteger, kInstant, kDate (days since 1970-01-01)
  std::string text;             // kText; kMissing: its reason
  std::string shown;            // kText: what text shows, where it differs
  std::vector<ListItem> items;  // kList; kInstant: every instant that text shows

  static Cell Missing(std::string reason) { return Cell{Type::kMissing, 0, 0, std::move(reason), {}, {}}; }
  static Cell Number(double value) { return Cell{Type::kNumber, value, 0, {}, {}, {}}; }
  static Cell Integer(long long value) { return Cell{Type::kInteger, 0, value, {}, {}, {}}; }
  static Cell Instant(long long value) { return Cell{Type::kInstant, 0, value, {}, {}, {}}; }
  static Cell Date(long long day) { return Cell{Type::kDate, 0, day, {}, {}, {}}; }
  static Cell Text(std::string value, std::string shown = {}) {
    return Cell{Type::kText, 0, 0, std::move(value), std::move(shown), {}};
  }
  static Cell List(std::vector<ListItem> items) { return Cell{Type::kList, 0, 0, {}, {}, std::move(items)}; }
};

// A record: its columns and a cell for each. The columns of a kind of record are described once
// and shared (a record refers to them); a record built column by column holds its own.
class Record {
 public:
  Record() = default;
  Record(const std::vector<Column>& shared, std::vector<Cell> values) : cells(std::move(values)), m_shared(&shared) {}

  const std::vector<Column>& Columns() const { return m_shared ? *m_shared : m_columns; }
  // Whether the columns are a shared description (which outlives the record).
  bool Shared() const { return m_shared != nullptr; }
  void Add(Column column, Cell cell) {
    Own();
    m_columns.push_back(std::move(column));
    cells.push_back(std::move(cell));
  }
  // Appends the columns and cells of another record, from `first` on.
  void Append(const Record& other, size_t first = 0) {
    Own();
    m_columns.insert(m_columns.end(), other.Columns().begin() + static_cast<long>(first), other.Columns().end());
    cells.insert(cells.end(), other.cells.begin() + static_cast<long>(first), other.cells.end());
  }

  std::vector<Cell> cells;

 private:
  void Own() {
    if (m_shared) m_columns = *std::exchange(m_shared, nullptr);
  }
  std::vector<Column> m_columns;
  const std::vector<Column>* m_shared = nullptr;
};

// A single result: "label: text" lines, a CSV header and row, or one JSON object.
void AppendRecord(std::string& out, Format format, const Record& record, const TimeBasis& basis, bool csvHeader = true);
// A result with rows: the cells of `head` once, then a table of rows (text, and CSV with the
// head's cells on every line), or one JSON object whose `rowsKey` holds an array of the rows.
void AppendTable(std::string& out, Format format, const Record& head, const std::vector<Record>& rows,
                 const std::string& rowsKey, const TimeBasis& basis, bool csvHeader = true);
// The CSV header of a table's lines (the head's keys, then the rows'), or of a record.
void AppendCsvHeader(std::string& out, const Record& head, const Record* row = nullptr);
// A batch's one-line text of a record: the text of its `inLine` cells, separated by blanks.
void AppendLine(std::string& out, const Record& record, const TimeBasis& basis);

void WriteRecord(std::ostream& out, Format format, const Record& record, const TimeBasis& basis);
void WriteTable(std::ostream& out, Format format, const Record& head, const std::vector<Record>& rows,
                const std::string& rowsKey, const TimeBasis& basis);

// Flushes standard output; a failed write raises a CFileException naming "Standardausgabe".
void CheckWritten(std::ostream& out);

// A CSV field, quoted as RFC 4180 asks where it holds a comma, a quote or a line break.
void AppendCsvField(std::string& out, std::string_view text);

}  // namespace cli
