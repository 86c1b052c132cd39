#include "cli/batch.h"

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "cli/day_results.h"
#include "cli/descriptor_buffer.h"
#include "cli/input.h"
#include "cli/number_text.h"
#include "cli/results.h"
#include "cli/time_basis.h"
#include "platform/base/field_text.h"
#include "platform/base/file_exception.h"
#include "solar/parallel.h"
#include "solar/solar.h"

namespace cli {

namespace {

constexpr size_t kBlockBytes = 4 << 20;  // input held at once, however long the input
// Lines converted in a round before their results are written: a round of days with many heights
// writes some megabytes at most.
constexpr size_t kPositionsPerRound = 1 << 14;
constexpr size_t kDaysPerRound = 512;
constexpr std::streamsize kLongestLine = 65536;

// Converts one input line: appends its result to `out`, or gives the message of a wrong entry.
using Converter = std::function<bool(std::string_view line, std::string& out, std::string& message)>;

// The `count` fields of an input line as RFC 4180 reads them (a field may be quoted, with "" for
// a quote inside); fewer or more is wrong. A field without quotes is a view into the line, a
// quoted one is unquoted into its entry of `unquoted`.
bool SplitLine(std::string_view line, std::string_view* parts, std::string* unquoted, int count) {
  size_t i = 0;
  for (int field = 0; field < count; ++field) {
    if (i < line.size() && line[i] == '"') {
      std::string& part = unquoted[field];
      part.clear();
      for (++i;; ++i) {
        if (i >= line.size()) return false;  // the quote is never closed
        if (line[i] == '"' && (i + 1 >= line.size() || line[i + 1] != '"')) break;
        if (line[i] == '"') ++i;
        part += line[i];
      }
      parts[field] = part;
      ++i;
    } else {
      const size_t end = std::min(line.find(',', i), line.size());
      parts[field] = line.substr(i, end - i);
      i = end;
    }
    if (field + 1 < count && (i >= line.size() || line[i] != ',')) return false;
    ++i;
  }
  return i == line.size() + 1;
}

// A line without a UTF-8 byte-order mark before it and without blanks and CR after it.
std::string_view Trimmed(std::string_view s) {
  if (s.starts_with("\xEF\xBB\xBF")) s.remove_prefix(3);
  while (!s.empty() && (s.back() == '\r' || s.back() == ' ')) s.remove_suffix(1);
  return s;
}

// A position as `position` writes it: the record's CSV row or JSON object, or its one-line text.
bool ConvertPosition(std::string_view line, std::string& out, std::string& message, Format format,
                     const TimeBasis& basis) {
  std::string_view parts[4];
  thread_local std::string unquoted[4];
  if (!SplitLine(Trimmed(line), parts, unquoted, 4)) {
    message = "erwartet DATUM,ZEIT,BREITE,LÄNGE.";
    return false;
  }
  try {
    const long long instant = ReadMoment(parts[0], parts[1], basis);
    thread_local Record record{PositionColumns(), {}};
    SetPositionCells(record.cells, instant, ReadPlace(parts[2], parts[3]), basis, false);
    if (format == Format::kText) {
      AppendLine(out, record, basis);  // the zone stands above the lines
    } else {
      AppendRecord(out, format, record, basis, false);
      out.pop_back();
    }
    return true;
  } catch (const InputError& e) {
    message = e.message;
    return false;
  }
}

// Empty lines, comments and a header (in any case, in German or English).
bool Skipped(std::string_view text) {
  if (!text.empty() && text.front() >= '0' && text.front() <= '9') return false;  // a date: the usual line
  const std::string_view t = Trimmed(text);
  char start[6] = {};
  for (size_t i = 0; i < std::min<size_t>(t.size(), 6); ++i)
    start[i] = static_cast<char>(t[i] | 0x20);  // a-z in any case
  const std::string_view lower(start, std::min<size_t>(t.size(), 6));
  return t.empty() || t.front() == '#' || lower.starts_with("datum,") || lower.starts_with("date,");
}

// Appends to `pending` what the input holds now, at least one byte unless it has ended, and no
// more once `pending` holds `most` bytes: a line that comes slowly is converted as soon as it is
// there. Returns false at the end of the input or at a read error (what came before is kept).
bool ReadAvailable(std::istream& in, std::string& pending, size_t most) {
  if (in.rdbuf()->in_avail() <= 0 && in.peek() == std::char_traits<char>::eof()) return false;
  char buffer[1 << 16];
  while (pending.size() < most) {
    const std::streamsize n =
        in.readsome(buffer, static_cast<std::streamsize>(std::min(sizeof buffer, most - pending.size())));
    if (n <= 0) break;
    pending.append(buffer, static_cast<size_t>(n));
    if (in.rdbuf()->in_avail() <= 0) break;
  }
  return in.good();
}

// The first `count` lines of the text (all of it if it has fewer).
size_t FirstLines(std::string_view text, size_t count) {
  size_t at = 0;
  for (size_t n = 0; n < count && at < text.size(); ++n) {
    const size_t newline = text.find('\n', at);
    at = newline == std::string_view::npos ? text.size() : newline + 1;
  }
  return at;
}

// One part of a round after conversion: its output (each result after `between`), how many
// results, and where its first wrong line starts in the round, with the message.
struct Part {
  std::string written;
  long results = 0;
  size_t wrongAt = std::string::npos;
  std::string message;
};

// Converts the lines of block[from, to) (whole lines) into the part.
void ConvertLines(std::string_view block, size_t from, size_t to, const Converter& convert, std::string_view between,
                  Part& part) {
  while (from < to) {
    const size_t newline = block.find('\n', from);
    const size_t end = newline == std::string_view::npos || newline > to ? to : newline;
    const std::string_view line = block.substr(from, end - from);
    if (line.size() > static_cast<size_t>(kLongestLine)) {
      part.wrongAt = from;
      part.message = "länger als " + std::to_string(kLongestLine) + " Zeichen.";
      return;
    }
    if (!Skipped(line)) {
      const size_t before = part.written.size();
      part.written.append(between);
      if (!convert(line, part.written, part.message)) {
        part.written.resize(before);
        part.wrongAt = from;
        return;
      }
      part.written.push_back('\n');
      ++part.results;
    }
    from = end + 1;
  }
}

// Converts a round's lines in parts of about equal size, each ending with a line, which both cores
// take in turn (one part where there is too little for both); returns how many parts hold them.
size_t ConvertRound(std::string_view lines, const Converter& convert, std::string_view between,
                    std::vector<Part>& parts) {
  const size_t count = lines.size() < 4096 ? 1 : parts.size();
  std::vector<size_t> bounds{0};
  for (size_t k = 1; k < count; ++k) {
    const size_t newline = lines.find('\n', std::max(bounds.back(), lines.size() * k / count));
    bounds.push_back(newline == std::string_view::npos ? lines.size() : newline + 1);
  }
  bounds.push_back(lines.size());
  solar::ForEachBlock(count, 1, count > 1 ? 0 : 1, [&](size_t first, size_t last) {
    for (size_t p = first; p < last; ++p) {
      parts[p].written.clear();
      parts[p].results = 0;
      parts[p].wrongAt = std::string::npos;
      ConvertLines(lines, bounds[p], bounds[p + 1], convert, between, parts[p]);
    }
  });
  return count;
}

// Reads the input as it comes, in rounds of whole lines: at most `perRound` of them, or one line
// too long to be read whole (which its conversion reports). Waits for input only when no whole
// line is left; takes more while it is there, holding at most a block at once. Read and not yet
// given out: whole lines, then perhaps an unfinished one, after the first `m_done` bytes, which
// are dropped before the next read rather than after every round.
class RoundReader {
 public:
  RoundReader(std::istream& in, size_t perRound) : m_in(in), m_perRound(perRound) {}

  // The next round's lines; false at the end of the input or after a read error.
  bool NextRound(std::string_view& lines) {
    m_firstNumber += std::count(m_pending.begin() + static_cast<long>(m_done),
                                m_pending.begin() + static_cast<long>(m_done + m_given), '\n');
    m_done += m_given;
    m_given = 0;
    while (m_more || m_done < m_pending.size()) {
      const bool waiting = m_pending.find('\n', m_done) == std::string::npos;
      if (m_more && (waiting || (m_pending.size() - m_done < kBlockBytes && m_in.rdbuf()->in_avail() > 0))) {
        m_pending.erase(0, m_done);
        m_done = 0;
        m_more = ReadAvailable(m_in, m_pending, kBlockBytes);
      }
      if (m_in.bad()) DropUnfinishedLine();
      const std::string_view rest = std::string_view(m_pending).substr(m_done);
      const size_t whole = WholeLines(rest);
      if (whole == 0) continue;  // an unfinished line waits for more
      lines = rest.substr(0, FirstLines(rest.substr(0, whole), m_perRound));
      m_given = lines.size();
      return true;
    }
    return false;
  }
  // The number of the round's first line in the input, from 1.
  long FirstNumber() const { return m_firstNumber; }
  bool Failed() const { return m_in.bad(); }

 private:
  // After a read error what came before it is converted; an unfinished line is lost.
  void DropUnfinishedLine() {
    const size_t lastNewline = m_pending.rfind('\n');
    m_pending.resize(lastNewline == std::string::npos || lastNewline < m_done ? m_done : lastNewline + 1);
  }
  // How much of the rest is whole lines: all of it at the end of the input, else up to its last
  // newline; without one, all of it where it is longer than any line may be, or nothing (an
  // unfinished line).
  size_t WholeLines(std::string_view rest) const {
    if (!m_more) return rest.size();
    const size_t lastNewline = rest.rfind('\n');
    if (lastNewline != std::string_view::npos) return lastNewline + 1;
    return rest.size() > static_cast<size_t>(kLongestLine) ? rest.size() : 0;
  }

  std::istream& m_in;
  size_t m_perRound;
  std::string m_pending;
  size_t m_done = 0, m_given = 0;
  bool m_more = true;
  long m_firstNumber = 1;
};

// Converts the input's lines in rounds (a big round in parts that both cores take in turn, so
// that neither waits long for the other), writing each round's results in order as soon as they
// are there, `between` before each but the first. Memory stays bounded by a block of input and a
// round's output; the first wrong line ends the run with its message after the results before it.
int RunLines(std::istream& in, const std::string& inputName, std::ostream& out, std::ostream& err,
             const Converter& convert, std::string_view between, size_t perRound) {
  RoundReader reader(in, perRound);
  std::vector<Part> parts(16);
  long results = 0;
  std::string_view lines;
  while (reader.NextRound(lines)) {
    const size_t count = ConvertRound(lines, convert, between, parts);
    for (size_t p = 0; p < count; ++p) {
      const Part& part = parts[p];
      out << std::string_view(part.written).substr(results == 0 && part.results > 0 ? between.size() : 0);
      results += part.results;
      CheckWritten(out);
      if (part.wrongAt != std::string::npos) {
        const long number =
            reader.FirstNumber() + std::count(lines.begin(), lines.begin() + static_cast<long>(part.wrongAt), '\n');
        err << "tagvaroskop-cli: Zeile " << number << ": " << part.message << "\n";
        return 2;
      }
    }
  }
  if (reader.Failed()) {
    const auto* descriptor = dynamic_cast<const DescriptorReader*>(in.rdbuf());
    throw platform::CFileException(descriptor && descriptor->Error()
                                       ? platform::CFileException::OsErrorToCause(descriptor->Error())
                                       : platform::CFileException::hardIO,
                                   inputName);
  }
  return 0;
}

// A day as `day` writes it; CSV without its header line, which the batch writes once.
bool ConvertDay(std::string_view line, std::string& out, std::string& message, const DayRequest& request) {
  std::string_view parts[3];
  std::string unquoted[3];
  if (!SplitLine(Trimmed(line), parts, unquoted, 3)) {
    message = "erwartet DATUM,BREITE,LÄNGE.";
    return false;
  }
  try {
    const QDate date = ReadCalendarDate(parts[0]);
    AppendDay(out, date, ReadPlace(parts[1], parts[2]), request, false);
    out.pop_back();
    return true;
  } catch (const InputError& e) {
    message = e.message;
    return false;
  }
}

}  // namespace

int RunPositionBatch(std::istream& in, const std::string& inputName, std::ostream& out, std::ostream& err,
                     Format format, const TimeBasis& basis) {
  if (format == Format::kCsv) {
    std::string header;
    AppendCsvHeader(header, Record{PositionColumns(), {}});
    out << header;
  }
  if (format == Format::kText) out << "Zeitzone: " << ZoneName(basis) << "\n";
  return RunLines(
      in, inputName, out, err,
      [&](std::string_view line, std::string& text, std::string& message) {
        return ConvertPosition(line, text, message, format, basis);
      },
      "", kPositionsPerRound);
}

int RunDayBatch(std::istream& in, const std::string& inputName, std::ostream& out, std::ostream& err,
                const DayRequest& request) {
  if (request.format == Format::kCsv) {
    std::string header;
    AppendDayCsvHeader(header, request);
    out << header;
  }
  return RunLines(
      in, inputName, out, err,
      [&](std::string_view line, std::string& text, std::string& message) {
        return ConvertDay(line, text, message, request);
      },
      request.format == Format::kText ? "\n" : "", kDaysPerRound);
}

}  // namespace cli
