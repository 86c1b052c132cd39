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

void AppendJsonString(std::string& out, std::string_view text) {
  out += '"';
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
  switch (cell.type) {
    case Cell::Type::kText:
      return AppendJsonString(out, cell.text);
    case Cell::Type::kInstant:
    case Cell::Type::kDate:  // digits, signs and colons need no escapes
      out += '"';
      AppendMachine(out, cell, basis);
      out += '"';
      return;
    default:
      if (!AppendMachine(out, cell, basis)) out += "null";
  }
}

// A clock time in text; where the clocks show it twice that day, with its offset.
std::string ClockOf(long long instant, const TimeBasis& basis, bool seconds) {
  const std::string clock = ClockText(instant, basis);
  const std::string shown = seconds ? clock : clock.substr(0, 5);
  return ShownTwice(instant, basis) ? shown + " (" + OffsetText(basis.OffsetAt(instant)) + ")" : shown;
}

std::string TextOf(const Column& column, const Cell& cell, const TimeBasis& basis) {
  switch (cell.type) {
    case Cell::Type::kMissing:
      return cell.text;
    case Cell::Type::kNumber: {
      const float single = static_cast<float>(cell.number);
      if (column.show == Show::kDegrees) return FixedText(cell.number, 5);
      if (column.show == Show::kField) return platform::FormatFloatField(single);
      if (column.show == Show::kHours) {
        const solar::HoursAndMinutes split = solar::SplitHours(single);
        return std::to_string(split.hours) + " Std " + std::to_string(split.minutes) + " min (" +
               platform::FormatFloatField(single) + " Stunden)";
      }
      return ShortestText(single);
    }
    case Cell::Type::kInteger:
      return std::to_string(cell.integer);
    case Cell::Type::kInstant: {
      if (cell.items.empty()) return ClockOf(cell.integer, basis, column.show != Show::kClockMinute);
      std::string all;
      for (const ListItem& item : cell.items)
        all.append(all.empty() ? "" : ", ").append(ClockOf(item.first, basis, true));
      return all;
    }
    case Cell::Type::kDate: {
      std::string date;
      AppendDate(date, cell.integer);
      return column.show == Show::kDayMonth ? date.substr(8, 2) + "." + date.substr(5, 2) + "." : date;
    }
    case Cell::Type::kText:
      return cell.shown.empty() ? cell.text : cell.shown;
    case Cell::Type::kList: {
      std::string shown;
      for (const ListItem& item : cell.items) {
        shown.append(shown.empty() ? "" : " ").append(ClockOf(item.first, basis, false)).append("-");
        shown.append(ClockOf(item.last, basis, false));
      }
      return shown;
    }
  }
  return {};
}

void AppendLabelled(std::string& out, const Record& record, const TimeBasis& basis) {
  const std::vector<Column>& columns = record.Columns();
  for (size_t i = 0; i < record.cells.size(); ++i) {
    if (columns[i].inText)
      out.append(columns[i].label).append(": ").append(TextOf(columns[i], record.cells[i], basis)).append("\n");
  }
}

void AppendCsvCells(std::string& out, const Record& record, const TimeBasis& basis, bool& first) {
  const std::vector<Column>& columns = record.Columns();
  for (size_t i = 0; i < record.cells.size(); ++i) {
    if (!columns[i].inMachine) continue;
    if (!first) out += ',';
    first = false;
    const Cell& cell = record.cells[i];
    if (cell.type == Cell::Type::kText) {  // only a text can hold a comma, a quote or a line break
      AppendCsvField(out, cell.text);
    } else {
      AppendMachine(out, cell, basis);
    }
  }
}

// The indexes of a record's machine columns in the order of their keys; the order of a shared
// description is kept for the next record of its kind.
const std::vector<size_t>& KeyOrder(const Record& record) {
  thread_local const std::vector<Column>* known = nullptr;
  thread_local std::vector<size_t> order;
  const std::vector<Column>& columns = record.Columns();
  if (record.Shared() && known == &columns) return order;
  order.clear();
  for (size_t i = 0; i < columns.size(); ++i) {
    if (columns[i].inMachine) order.push_back(i);
  }
  std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return columns[a].key < columns[b].key; });
  known = record.Shared() ? &columns : nullptr;
  return order;
}

// The members of a JSON object in the order of their keys (as JSON writers sort them), the
// extra member `rows` among them.
void AppendJsonObject(std::string& out, const Record& record, const TimeBasis& basis, const std::string& rowsKey = {},
                      const std::string& rows = {}) {
  const std::vector<Column>& columns = record.Columns();
  const std::vector<size_t>& order = KeyOrder(record);  // no other record is written meanwhile
  out += '{';
  bool first = true, rowsDone = rowsKey.empty();
  const auto member = [&](const std::string& key) {  // keys are snake_case: nothing to escape
    out.append(first ? "\"" : ",\"").append(key).append("\":");
    first = false;
  };
  for (const size_t i : order) {
    if (!rowsDone && rowsKey < columns[i].key) {
      member(rowsKey);
      out += rows;
      rowsDone = true;
    }
    member(columns[i].key);
    AppendJson(out, record.cells[i], basis);
  }
  if (!rowsDone) {
    member(rowsKey);
    out += rows;
  }
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
    out += TextOf(columns[i], record.cells[i], basis);
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
