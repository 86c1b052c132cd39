#include "cli/batch.h"

#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "cli/input.h"
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

void Convert(Line& line, Format format) {
  std::string_view parts[4];
  if (!SplitLine(Trimmed(line.text), parts)) {
    line.wrong = true;
    line.result = "erwartet DATUM,ZEIT,BREITE,LÄNGE.";
    return;
  }
  try {
    solar::ObservationFields f = StartFields();
    ReadDate(parts[0], f);
    ReadTime(parts[1], f);
    ReadLatitude(parts[2], f);
    ReadLongitude(parts[3], f);
    const solar::SunPosition p = solar::SunPositionOf(f);
    const std::string azimuth = platform::FormatFloatField(p.azimuth);
    const std::string height = platform::FormatFloatField(p.height);
    std::string& out = line.result;
    out.clear();
    if (format == Format::kJson) {
      out.append("{\"datum\": \"").append(parts[0]).append("\", \"zeit\": \"").append(parts[1]);
      out.append("\", \"breite\": \"").append(parts[2]).append("\", \"laenge\": \"").append(parts[3]);
      out.append("\", \"azimut\": ").append(azimuth).append(", \"hoehe\": ").append(height).append("}");
    } else {
      const char separator = format == Format::kCsv ? ',' : ' ';
      for (const std::string_view part : parts) out.append(part).push_back(separator);
      out.append(azimuth).push_back(separator);
      out.append(height);
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

int RunPositionBatch(std::istream& in, std::ostream& out, std::ostream& err, Format format) {
  if (format == Format::kCsv) out << "datum,zeit,breite,laenge,azimut,hoehe\n";
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
      for (size_t i = from; i < to; ++i) Convert(block[i], format);
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
