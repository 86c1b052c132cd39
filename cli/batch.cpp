#include "cli/batch.h"

#include <algorithm>
#include <functional>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "cli/day_results.h"
#include "cli/input.h"
#include "cli/results.h"
#include "cli/time_basis.h"
#include "platform/field_text.h"
#include "platform/file_exception.h"
#include "solar/parallel.h"
#include "solar/solar.h"

namespace cli {

namespace {

constexpr size_t kBlockLines = 16384;
constexpr size_t kBlockBytes = 16 << 20;  // memory stays bounded however long the lines
constexpr std::streamsize kLongestLine = 65536;

struct Line {
  long number = 0;
  std::string text;
  std::string result;  // the output line, or the message of a wrong entry
  bool wrong = false;
};

// The `count` fields of an input line as RFC 4180 reads them (a field may be quoted, with "" for
// a quote inside); fewer or more is wrong.
bool SplitLine(std::string_view line, std::string* parts, int count) {
  size_t i = 0;
  for (int field = 0; field < count; ++field) {
    std::string& part = parts[field];
    part.clear();
    if (i < line.size() && line[i] == '"') {
      for (++i;; ++i) {
        if (i >= line.size()) return false;  // the quote is never closed
        if (line[i] == '"' && (i + 1 >= line.size() || line[i + 1] != '"')) break;
        if (line[i] == '"') ++i;
        part += line[i];
      }
      ++i;
    } else {
      const size_t end = std::min(line.find(',', i), line.size());
      part.assign(line.substr(i, end - i));
      i = end;
    }
    if (field + 1 < count && (i >= line.size() || line[i] != ',')) return false;
    ++i;
  }
  return i == line.size() + 1;
}

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && (s.back() == '\r' || s.back() == ' ')) s.remove_suffix(1);
  return s;
}

void ConvertPosition(Line& line, Format format, const TimeBasis& basis) {
  std::string parts[4];
  if (!SplitLine(Trimmed(line.text), parts, 4)) {
    line.wrong = true;
    line.result = "erwartet DATUM,ZEIT,BREITE,LÄNGE.";
    return;
  }
  try {
    solar::ObservationFields f = StartFields();
    thread_local std::string time;
    ReadMomentInto(parts[0], parts[1], basis, f, time);
    ReadLatitude(parts[2], f);
    ReadLongitude(parts[3], f);
    const solar::SunPosition p = solar::SunPositionOf(f);
    const float latitude = solar::LatitudeOf(f), longitude = static_cast<float>(SignedLongitude(f));
    const std::string_view date = std::string_view(time).substr(0, 10);
    std::string& out = line.result;
    out.clear();
    if (format == Format::kText) {  // the clock time in the basis; the zone stands above the lines
      out.append(date).append(" ").append(time, 11, 8).append(" ");
      out.append(DecimalDegrees(latitude)).append(" ").append(DecimalDegrees(SignedLongitude(f))).append(" ");
      out.append(platform::FormatFloatField(p.azimuth)).append(" ").append(platform::FormatFloatField(p.height));
      return;
    }
    // The same keys and numbers as the records of a single position, written here without
    // building a document per line.
    const float numbers[] = {latitude, longitude, p.azimuth, p.height};
    if (format == Format::kCsv) {
      AppendCsvField(out, date);
      out += ',';
      AppendCsvField(out, time);
      out += ',';
      AppendCsvField(out, basis.name);
      for (const float n : numbers) {
        out += ',';
        AppendNumber(out, n);
      }
      return;
    }
    const auto key = [&out](const char* name) { out.append(JsonString(name)).append(":"); };
    out += '{';
    key("azimuth_deg");
    AppendNumber(out, p.azimuth);
    out += ',';
    key("date");
    out.append(JsonString(std::string(date))).append(",");
    key("elevation_deg");
    AppendNumber(out, p.height);
    out += ',';
    key("latitude_deg");
    AppendNumber(out, latitude);
    out += ',';
    key("longitude_deg");
    AppendNumber(out, longitude);
    out += ',';
    key("time");
    out.append(JsonString(time)).append(",");
    key("time_zone");
    out.append(JsonString(basis.name)).append("}");
  } catch (const InputError& e) {
    line.wrong = true;
    line.result = e.message;
  }
}

bool Skipped(const std::string& text) {
  const std::string_view t = Trimmed(text);
  return t.empty() || t.front() == '#' || t.starts_with("datum,") || t.starts_with("date,");
}


// Reads the lines in blocks, converts each block on both cores and writes the results in order,
// `between` before each but the first; the first wrong line ends the run with its message.
int RunLines(std::istream& in, const std::string& inputName, std::ostream& out, std::ostream& err,
             const std::function<void(Line&)>& convert, const char* between) {
  std::vector<Line> block(kBlockLines);
  std::string written;  // the output of one block
  std::vector<char> buffer(kLongestLine + 1);
  long number = 0, results = 0;
  bool tooLong = false;
  for (;;) {
    size_t count = 0, bytes = 0;
    while (count < kBlockLines && bytes < kBlockBytes && !tooLong) {
      in.getline(buffer.data(), kLongestLine + 1);
      if (in.bad()) break;  // a read error: what came before it is still written
      if (in.fail() && !in.eof() && in.gcount() == kLongestLine) {
        tooLong = true;  // no line ending within the bound
        break;
      }
      if (in.gcount() == 0 && !in) break;
      if (in.fail() && !in.eof()) break;
      Line& line = block[count];
      line.text.assign(buffer.data());
      line.number = ++number;
      bytes += line.text.size();
      if (!Skipped(line.text)) ++count;
      if (in.eof()) break;
    }
    if (count == 0 && !tooLong) break;
    const auto work = [&](size_t from, size_t to) {
      for (size_t i = from; i < to; ++i) convert(block[i]);
    };
    solar::OnBothCores(count, work);
    written.clear();
    for (size_t i = 0; i < count; ++i) {
      if (block[i].wrong) {
        out << written;
        CheckWritten(out);
        err << "tagvaroskop-cli: Zeile " << block[i].number << ": " << block[i].result << "\n";
        return 2;
      }
      if (results++ > 0) written.append(between);
      written.append(block[i].result).push_back('\n');
    }
    out << written;
    CheckWritten(out);
    if (in.bad()) break;
    if (tooLong) {
      err << "tagvaroskop-cli: Zeile " << number + 1 << ": länger als " << kLongestLine << " Zeichen.\n";
      return 2;
    }
    if (in.eof()) break;
  }
  if (in.bad()) throw platform::CFileException(platform::CFileException::hardIO, inputName);
  return 0;
}

// A day as `day` writes it; CSV without its header line, which the batch writes once.
void ConvertDay(Line& line, const DayRequest& request) {
  std::string parts[3];
  if (!SplitLine(Trimmed(line.text), parts, 3)) {
    line.wrong = true;
    line.result = "erwartet DATUM,BREITE,LÄNGE.";
    return;
  }
  try {
    const QDate date = ReadCalendarDate(parts[0]);
    solar::ObservationFields place = StartFields();
    ReadLatitude(parts[1], place);
    ReadLongitude(parts[2], place);
    std::ostringstream text;
    WriteDay(text, date, place, request);
    line.result = text.str();
    if (request.format == Format::kCsv) line.result.erase(0, line.result.find('\n') + 1);
    if (!line.result.empty()) line.result.pop_back();
  } catch (const InputError& e) {
    line.wrong = true;
    line.result = e.message;
  }
}

}  // namespace

int RunPositionBatch(std::istream& in, const std::string& inputName, std::ostream& out,
                     std::ostream& err, Format format, const TimeBasis& basis) {
  if (format == Format::kCsv) out << "date,time,time_zone,latitude_deg,longitude_deg,azimuth_deg,elevation_deg\n";
  if (format == Format::kText) out << "Zeitzone: " << ZoneName(basis) << "\n";
  return RunLines(in, inputName, out, err, [&](Line& line) { ConvertPosition(line, format, basis); }, "");
}

int RunDayBatch(std::istream& in, const std::string& inputName, std::ostream& out, std::ostream& err,
                const DayRequest& request) {
  if (request.format == Format::kCsv) {  // the header of any day's output
    std::ostringstream any;
    WriteDay(any, QDate(2000, 1, 1), StartFields(), request);
    out << any.str().substr(0, any.str().find('\n') + 1);
  }
  return RunLines(in, inputName, out, err, [&](Line& line) { ConvertDay(line, request); },
                  request.format == Format::kText ? "\n" : "");
}

}  // namespace cli
