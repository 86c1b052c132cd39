#include "cli/batch.h"

#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "cli/input.h"
#include "cli/results.h"
#include "cli/time_basis.h"
#include "platform/field_text.h"
#include "solar/solar.h"

namespace cli {

namespace {

constexpr size_t kBlockLines = 16384;

struct Line {
  long number = 0;
  std::string text;
  std::string result;  // the output line, or the message of a wrong entry
  bool wrong = false;
};

// The four comma-separated parts of an input line; fewer or more is wrong.
bool SplitLine(std::string_view line, std::string_view (&parts)[4]) {
  size_t start = 0;
  for (int i = 0; i < 4; ++i) {
    const size_t comma = i < 3 ? line.find(',', start) : line.size();
    if (comma == std::string_view::npos) return false;
    parts[i] = line.substr(start, comma - start);
    start = comma + 1;
  }
  return parts[3].find(',') == std::string_view::npos;
}

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && (s.back() == '\r' || s.back() == ' ')) s.remove_suffix(1);
  return s;
}

void Convert(Line& line, Format format, const TimeBasis& basis) {
  std::string_view parts[4];
  if (!SplitLine(Trimmed(line.text), parts)) {
    line.wrong = true;
    line.result = "erwartet DATUM,ZEIT,BREITE,LÄNGE.";
    return;
  }
  try {
    solar::ObservationFields f = StartFields();
    const std::string time = ReadMomentInto(parts[0], parts[1], basis, f);
    ReadLatitude(parts[2], f);
    ReadLongitude(parts[3], f);
    const solar::SunPosition p = solar::SunPositionOf(f);
    const std::string values[] = {time.substr(0, 10), time,
                                  DecimalDegrees(solar::LatitudeOf(f)), DecimalDegrees(SignedLongitude(f)),
                                  platform::FormatFloatField(p.azimuth), platform::FormatFloatField(p.height)};
    std::string& out = line.result;
    out.clear();
    if (format == Format::kJson) {
      out.append("{\"datum\": \"").append(values[0]).append("\", \"zeit\": \"").append(values[1]);
      out.append("\", \"breite\": ").append(values[2]).append(", \"laenge\": ").append(values[3]);
      out.append(", \"azimut\": ").append(values[4]).append(", \"hoehe\": ").append(values[5]).append("}");
    } else if (format == Format::kCsv) {
      for (const std::string& v : values) out.append(v).push_back(',');
      out.pop_back();
    } else {  // the clock time in the basis; the zone stands once above the lines
      out.append(values[0]).append(" ").append(time.substr(11, 8));
      for (size_t i = 2; i < 6; ++i) out.append(" ").append(values[i]);
    }
  } catch (const InputError& e) {
    line.wrong = true;
    line.result = e.message;
  }
}

bool Skipped(const std::string& text) {
  const std::string_view t = Trimmed(text);
  return t.empty() || t.front() == '#' || t.starts_with("datum,");
}

}  // namespace

int RunPositionBatch(std::istream& in, std::ostream& out, std::ostream& err, Format format,
                     const TimeBasis& basis) {
  if (format == Format::kCsv) out << "datum,zeit,breite,laenge,azimut,hoehe\n";
  if (format == Format::kText) out << "Zeitzone: " << ZoneName(basis) << "\n";
  std::vector<Line> block(kBlockLines);
  std::string written;  // the output of one block
  long number = 0;
  for (;;) {
    size_t count = 0;
    while (count < kBlockLines && std::getline(in, block[count].text)) {
      block[count].number = ++number;
      if (!Skipped(block[count].text)) ++count;
    }
    if (count == 0) break;
    const auto work = [&](size_t from, size_t to) {
      for (size_t i = from; i < to; ++i) Convert(block[i], format, basis);
    };
    std::thread firstHalf(work, 0, count / 2);
    work(count / 2, count);
    firstHalf.join();
    written.clear();
    for (size_t i = 0; i < count; ++i) {
      if (block[i].wrong) {
        out << written;
        out.flush();
        err << "tagvaroskop-cli: Zeile " << block[i].number << ": " << block[i].result << "\n";
        return 2;
      }
      written.append(block[i].result).push_back('\n');
    }
    out << written;
  }
  return 0;
}

}  // namespace cli
