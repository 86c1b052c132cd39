#include "cli/output.h"

#include <algorithm>
#include <cerrno>
#include <numeric>

#include "cli/descriptor_buffer.h"
#include "cli/input.h"
#include "cli/number_text.h"
#include "platform/base/field_text.h"
#include "platform/base/file_exception.h"
#include "solar/day_scan.h"

namespace cli {

namespace {

// Width of a text in characters, counting each UTF-8 sequence once.
size_t Width(const std::string& text) {
  return static_cast<size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

bool Finite(double value) { return value == value && value - value == 0.0; }

// Whether a text goes into JSON as it is, between quotes.
bool PlainInJson(std::string_view text) {
  return std::none_of(text.begin(), text.end(),
                      [](char c) { return c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20; });
}

void AppendJsonString(std::string& out, std::string_view text) {
  out += '"';
  if (PlainInJson(text)) {
    out.append(text).append("\"");
    return;
  }
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      static const char* hex = "0123456789abcdef";
      out.append("\\u00").append(1, hex[(c >> 4) & 0xF]).append(1, hex[c & 0xF]);
    } else {
      out += c;
    }
  }
  out += '"';
}

// A list in CSV: crossings as "event=time", stretches as "first/last", separated by blanks.
void AppendCsvList(std::string& out, const std::vector<ListItem>& items, const TimeBasis& basis) {
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) out += ' ';
    if (items[i].event) out.append(items[i].event).append("=");
    AppendRfc3339(out, items[i].first, basis.OffsetAt(items[i].first));
    if (!items[i].event) {
      out += '/';
      AppendRfc3339(out, items[i].last, basis.OffsetAt(items[i].last));
    }
  }
}

// The cell as CSV and JSON show it, unquoted; false for a missing value (nothing appended).
bool AppendMachine(std::string& out, const Cell& cell, const TimeBasis& basis) {
  switch (cell.type) {
    case Cell::Type::kMissing:
      return false;
    case Cell::Type::kNumber:
      if (!Finite(cell.number)) return false;  // JSON has no NaN or infinity
      AppendShortest(out, static_cast<float>(cell.number));
      return true;
    case Cell::Type::kInteger:
      out += std::to_string(cell.integer);
      return true;
    case Cell::Type::kInstant:
      AppendRfc3339(out, cell.integer, basis.OffsetAt(cell.integer));
      return true;
    case Cell::Type::kDate:
      AppendDate(out, cell.integer);
      return true;
    case Cell::Type::kText:
      out += cell.text;
      return true;
    case Cell::Type::kList:
      AppendCsvList(out, cell.items, basis);
      return true;
  }
  return false;
}

// A finite number, a date, an instant or a text of fewer than 64 characters without escapes as a
// JSON value at `at` (room for 66 characters; digits, signs and colons need no escapes), as most
// values are; nullptr for the others. Inlined: it writes nearly every member of a batch's lines.
[[gnu::always_inline]] inline char* PutJsonValue(char* at, const Cell& cell, const TimeBasis& basis) {
  if (cell.type == Cell::Type::kNumber) {
    return Finite(cell.number) ? PutShortest(at, at + 64, static_cast<float>(cell.number)) : nullptr;
  }
  const bool plainText = cell.type == Cell::Type::kText && cell.text.size() < 64 && PlainInJson(cell.text);
  if (!plainText && cell.type != Cell::Type::kDate && cell.type != Cell::Type::kInstant) return nullptr;
  *at++ = '"';
  if (cell.type == Cell::Type::kDate) {
    at = PutDateText(at, cell.integer);
  } else if (cell.type == Cell::Type::kInstant) {
    at = PutRfc3339(at, cell.integer, basis.OffsetAt(cell.integer));
  } else {
    at = std::copy(cell.text.begin(), cell.text.end(), at);
  }
  *at++ = '"';
  return at;
}

void AppendJson(std::string& out, const Cell& cell, const TimeBasis& basis) {
  if (cell.type == Cell::Type::kList) {
    out += '[';
    for (size_t i = 0; i < cell.items.size(); ++i) {
      const ListItem& item = cell.items[i];
      out.append(i ? ",{" : "{");
      if (item.event) {
        out.append("\"event\":");
        AppendJsonString(out, item.event);
        out.append(",\"time\":\"");
        AppendRfc3339(out, item.first, basis.OffsetAt(item.first));
      } else {
        out.append("\"first_minute\":\"");
        AppendRfc3339(out, item.first, basis.OffsetAt(item.first));
        out.append("\",\"last_minute\":\"");
        AppendRfc3339(out, item.last, basis.OffsetAt(item.last));
      }
      out.append("\"}");
    }
    out += ']';
    return;
  }
  char text[72];
  if (const char* end = PutJsonValue(text, cell, basis)) {
    out.append(text, static_cast<size_t>(end - text));
  } else if (cell.type == Cell::Type::kText) {
    AppendJsonString(out, cell.text);
  } else if (!AppendMachine(out, cell, basis)) {
    out += "null";  // missing, and the numbers JSON has not (NaN, infinity)
  }
}

// A clock time in text; where the clocks show it twice that day, with its offset.
void AppendClockOf(std::string& out, long long instant, const TimeBasis& basis, bool seconds) {
  AppendClockText(out, instant, basis);
  if (!seconds) out.resize(out.size() - 3);
  if (ShownTwice(instant, basis)) out.append(" (").append(OffsetText(basis.OffsetAt(instant))).append(")");
}

// The cell as text shows it, appended to `out`.
void AppendText(std::string& out, const Column& column, const Cell& cell, const TimeBasis& basis) {
  switch (cell.type) {
    case Cell::Type::kMissing:
      out += cell.text;
      return;
    case Cell::Type::kNumber: {
      const float single = static_cast<float>(cell.number);
      if (column.show == Show::kDegrees) return AppendFixed(out, cell.number, 5);
      if (column.show == Show::kField) return platform::AppendFloatField(out, single);
      if (column.show == Show::kHours) {
        const solar::HoursAndMinutes split = solar::SplitHours(single);
        out.append(std::to_string(split.hours)).append(" Std ").append(std::to_string(split.minutes)).append(" min (");
        platform::AppendFloatField(out, single);
        out.append(" Stunden)");
        return;
      }
      return AppendShortest(out, single);
    }
    case Cell::Type::kInteger:
      out += std::to_string(cell.integer);
      return;
    case Cell::Type::kInstant: {
      if (cell.items.empty()) return AppendClockOf(out, cell.integer, basis, column.show != Show::kClockMinute);
      for (size_t i = 0; i < cell.items.size(); ++i) {
        if (i > 0) out.append(", ");
        AppendClockOf(out, cell.items[i].first, basis, true);
      }
      return;
    }
    case Cell::Type::kDate: {
      if (column.show != Show::kDayMonth) return AppendDate(out, cell.integer);
      std::string date;
      AppendDate(date, cell.integer);
      out.append(date, 8, 2).append(".").append(date, 5, 2).append(".");
      return;
    }
    case Cell::Type::kText:
      out += cell.shown.empty() ? cell.text : cell.shown;
      return;
    case Cell::Type::kList:
      for (size_t i = 0; i < cell.items.size(); ++i) {
        if (i > 0) out += ' ';
        AppendClockOf(out, cell.items[i].first, basis, false);
        out += '-';
        AppendClockOf(out, cell.items[i].last, basis, false);
      }
      return;
  }
}

std::string TextOf(const Column& column, const Cell& cell, const TimeBasis& basis) {
  std::string text;
  AppendText(text, column, cell, basis);
  return text;
}

void AppendLabelled(std::string& out, const Record& record, const TimeBasis& basis) {
  const std::vector<Column>& columns = record.Columns();
  for (size_t i = 0; i < record.cells.size(); ++i) {
    if (!columns[i].inText) continue;
    out.append(columns[i].label).append(": ");
    AppendText(out, columns[i], record.cells[i], basis);
    out += '\n';
  }
}

void AppendCsvCells(std::string& out, const Record& record, const TimeBasis& basis, bool& first) {
  const std::vector<Column>& columns = record.Columns();
  for (size_t i = 0; i < record.cells.size(); ++i) {
    if (!columns[i].inMachine) continue;
    const Cell& cell = record.cells[i];
    if (cell.type == Cell::Type::kNumber && Finite(cell.number)) {
      char text[64];  // a number, the most common cell, goes out with its comma in one piece
      char* at = text;
      if (!first) *at++ = ',';
      first = false;
      out.append(text,
                 static_cast<size_t>(PutShortest(at, text + sizeof text, static_cast<float>(cell.number)) - text));
      continue;
    }
    if (!first) out += ',';
    first = false;
    if (cell.type == Cell::Type::kText) {  // only a text can hold a comma, a quote or a line break
      AppendCsvField(out, cell.text);
    } else {
      AppendMachine(out, cell, basis);
    }
  }
}

// A record's machine columns in the order of their keys, each with its member's start in JSON
// ("key":); the order of a shared description is kept for the next record of its kind.
struct KeyOrder {
  std::vector<size_t> columns;
  std::vector<std::string> members;
};

const KeyOrder& KeyOrderOf(const Record& record) {
  thread_local const std::vector<Column>* known = nullptr;
  thread_local KeyOrder order;
  const std::vector<Column>& columns = record.Columns();
  if (record.Shared() && known == &columns) return order;
  order.columns.clear();
  for (size_t i = 0; i < columns.size(); ++i) {
    if (columns[i].inMachine) order.columns.push_back(i);
  }
  std::sort(order.columns.begin(), order.columns.end(),
            [&](size_t a, size_t b) { return columns[a].key < columns[b].key; });
  order.members.clear();
  for (const size_t i : order.columns) order.members.push_back("\"" + columns[i].key + "\":");  // snake_case
  known = record.Shared() ? &columns : nullptr;
  return order;
}

// The members of a JSON object in the order of their keys (as JSON writers sort them), the
// extra member `rows` among them.
void AppendJsonObject(std::string& out, const Record& record, const TimeBasis& basis, const std::string& rowsKey = {},
                      const std::string& rows = {}) {
  const KeyOrder& order = KeyOrderOf(record);  // no other record is written meanwhile
  char text[144];
  out += '{';
  bool first = true, rowsDone = rowsKey.empty();
  const auto comma = [&] {
    if (!first) out += ',';
    first = false;
  };
  const auto addRows = [&] {
    comma();
    out.append("\"").append(rowsKey).append("\":").append(rows);
    rowsDone = true;
  };
  for (size_t j = 0; j < order.columns.size(); ++j) {
    const size_t i = order.columns[j];
    if (!rowsDone && rowsKey < record.Columns()[i].key) addRows();
    const Cell& cell = record.cells[i];
    const std::string& member = order.members[j];
    if (member.size() < 64) {  // most members go out in one piece: comma, key and value
      char* at = text;
      if (!first) *at++ = ',';
      at = std::copy(member.begin(), member.end(), at);
      if (const char* end = PutJsonValue(at, cell, basis)) {
        out.append(text, static_cast<size_t>(end - text));
        first = false;
        continue;
      }
    }
    comma();
    out += member;
    AppendJson(out, cell, basis);
  }
  if (!rowsDone) addRows();
  out += '}';
}

void AppendTextTable(std::string& out, const std::vector<Record>& rows, const TimeBasis& basis) {
  std::vector<std::vector<std::string>> texts;
  std::vector<const Column*> columns;
  for (const Column& c : rows.front().Columns()) {
    if (c.inText) columns.push_back(&c);
  }
  std::vector<size_t> widths(columns.size());
  std::transform(columns.begin(), columns.end(), widths.begin(), [](const Column* c) { return Width(c->label); });
  for (const Record& row : rows) {
    std::vector<std::string>& line = texts.emplace_back();
    for (size_t i = 0; i < row.cells.size(); ++i) {
      if (row.Columns()[i].inText) line.push_back(TextOf(row.Columns()[i], row.cells[i], basis));
    }
    for (size_t i = 0; i < line.size(); ++i) widths[i] = std::max(widths[i], Width(line[i]));
  }
  const auto append = [&](const std::vector<std::string>& cells) {
    for (size_t i = 0; i < cells.size(); ++i) {
      out += cells[i];
      if (i + 1 < cells.size()) out.append(widths[i] + 2 - Width(cells[i]), ' ');
    }
    out += '\n';
  };
  std::vector<std::string> labels(columns.size());
  std::transform(columns.begin(), columns.end(), labels.begin(), [](const Column* c) { return c->label; });
  append(labels);
  for (const std::vector<std::string>& line : texts) append(line);
}

}  // namespace

void AppendCsvHeader(std::string& out, const Record& head, const Record* row) {
  bool first = true;
  for (const Record* r : {&head, row}) {
    if (!r) continue;
    for (const Column& c : r->Columns()) {
      if (!c.inMachine) continue;
      if (!first) out += ',';
      first = false;
      AppendCsvField(out, c.key);
    }
  }
  out += '\n';
}

void AppendRecord(std::string& out, Format format, const Record& record, const TimeBasis& basis, bool csvHeader) {
  switch (format) {
    case Format::kText:
      AppendLabelled(out, record, basis);
      break;
    case Format::kCsv: {
      if (csvHeader) AppendCsvHeader(out, record);
      bool first = true;
      AppendCsvCells(out, record, basis, first);
      out += '\n';
      break;
    }
    case Format::kJson:
      AppendJsonObject(out, record, basis);
      out += '\n';
      break;
  }
}

void AppendTable(std::string& out, Format format, const Record& head, const std::vector<Record>& rows,
                 const std::string& rowsKey, const TimeBasis& basis, bool csvHeader) {
  switch (format) {
    case Format::kText:
      AppendLabelled(out, head, basis);
      if (!rows.empty()) AppendTextTable(out, rows, basis);
      break;
    case Format::kCsv:
      if (rows.empty()) return;
      if (csvHeader) AppendCsvHeader(out, head, &rows.front());
      for (const Record& row : rows) {
        bool first = true;
        AppendCsvCells(out, head, basis, first);
        AppendCsvCells(out, row, basis, first);
        out += '\n';
      }
      break;
    case Format::kJson: {
      std::string array = "[";
      for (size_t i = 0; i < rows.size(); ++i) {
        if (i > 0) array += ',';
        AppendJsonObject(array, rows[i], basis);
      }
      array += ']';
      AppendJsonObject(out, head, basis, rowsKey, array);
      out += '\n';
      break;
    }
  }
}

void AppendLine(std::string& out, const Record& record, const TimeBasis& basis) {
  bool first = true;
  const std::vector<Column>& columns = record.Columns();
  for (size_t i = 0; i < record.cells.size(); ++i) {
    if (!columns[i].inLine) continue;
    if (!first) out += ' ';
    first = false;
    AppendText(out, columns[i], record.cells[i], basis);
  }
}

void WriteRecord(std::ostream& out, Format format, const Record& record, const TimeBasis& basis) {
  std::string text;
  AppendRecord(text, format, record, basis);
  out << text;
}

void WriteTable(std::ostream& out, Format format, const Record& head, const std::vector<Record>& rows,
                const std::string& rowsKey, const TimeBasis& basis) {
  std::string text;
  AppendTable(text, format, head, rows, rowsKey, basis);
  out << text;
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

void AppendCsvField(std::string& out, std::string_view text) {
  const bool plain =
      std::none_of(text.begin(), text.end(), [](char c) { return c == ',' || c == '"' || c == '\r' || c == '\n'; });
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

}  // namespace cli
