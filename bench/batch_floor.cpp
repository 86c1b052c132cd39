// The floor of `tagvaroskop-cli position --input`: a program that does all of its work but the sun.
// It reads lines DATE,TIME,LATITUDE,LONGITUDE (decimal or D:M:S places) from standard input,
// splits them, converts every number, and writes a CSV line of about the same length for each:
// the date and time again with their offset, the zone, both places as numbers, and two numbers
// made from them. bench/batch_bench.py sets the two programs side by side on the same lines.
//
// `batch_floor --sun` is the other half: it reads the lines first, then computes the sun of each
// on the dialog's clock (one thread, as a batch's CPU time counts it) and prints the CPU seconds
// of that alone.
#include <unistd.h>

#include <charconv>
#include <ctime>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "dialog_model/observation.h"
#include "solar/moment.h"

namespace {

int Whole(std::string_view text) {
  int value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

// Degrees, D:M or D:M:S, with a sign.
double Degrees(std::string_view text) {
  const bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  double value = 0.0, scale = 1.0;
  for (int part = 0; part < 3 && !text.empty(); ++part, scale *= 60.0) {
    const size_t colon = std::min(text.find(':'), text.size());
    double number = 0.0;
    std::from_chars(text.data(), text.data() + colon, number);
    value += number / scale;
    text.remove_prefix(std::min(colon + 1, text.size()));
  }
  return negative ? -value : value;
}

void Append(std::string& out, float value) {
  char text[32];
  out.append(text, std::to_chars(text, text + sizeof text, value).ptr);
}

void AppendTwo(std::string& out, int value) {
  out += static_cast<char>('0' + value / 10 % 10);
  out += static_cast<char>('0' + value % 10);
}

// Days since 1970-01-01 of a Gregorian date.
long long DaysOf(long long year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const long long era = (year >= 0 ? year : year - 399) / 400, yearOfEra = year - era * 400;
  const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  return era * 146097 + yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear - 719468;
}

double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

struct Row {
  long long instant;
  float latitude, longitude;
};

int SunAlone() {
  std::vector<Row> rows;
  std::string line;
  while (std::getline(std::cin, line)) {
    const std::string_view l(line);
    const size_t a = l.find(','), b = l.find(',', a + 1), c = l.find(',', b + 1);
    const long long local = DaysOf(Whole(l.substr(0, 4)), Whole(l.substr(5, 2)), Whole(l.substr(8, 2))) * 86400 +
                            Whole(l.substr(a + 1, 2)) * 3600 + Whole(l.substr(a + 4, 2)) * 60 +
                            Whole(l.substr(a + 7, 2));
    rows.push_back(Row{local - 3600, dialog_model::ModelLatitude(Degrees(l.substr(b + 1, c - b - 1))),
                       dialog_model::ModelLongitude(Degrees(l.substr(c + 1)))});
  }
  const double start = CpuSeconds();
  float sum = 0.0f;
  for (const Row& r : rows) {
    const solar::SunPosition p = solar::SunPositionAt(r.instant, r.latitude, r.longitude);
    sum += p.azimuth + p.height;
  }
  std::cout << CpuSeconds() - start << " " << (sum == 0.5f ? "" : "\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string_view(argv[1]) == "--sun") return SunAlone();
  std::string pending, out;
  std::vector<char> buffer(1 << 22);
  for (ssize_t n; (n = read(0, buffer.data(), buffer.size())) > 0;) {
    pending.append(buffer.data(), static_cast<size_t>(n));
    size_t start = 0;
    for (size_t newline; (newline = pending.find('\n', start)) != std::string::npos; start = newline + 1) {
      const std::string_view line(pending.data() + start, newline - start);
      std::string_view field[4];
      size_t from = 0;
      for (int f = 0; f < 4; ++f) {
        const size_t comma = std::min(line.find(',', from), line.size());
        field[f] = line.substr(from, comma - from);
        from = comma + 1;
      }
      const int year = Whole(field[0].substr(0, 4)), month = Whole(field[0].substr(5, 2)),
                day = Whole(field[0].substr(8));
      const int hour = Whole(field[1].substr(0, 2)), minute = Whole(field[1].substr(3, 2)),
                second = Whole(field[1].substr(6));
      const double latitude = Degrees(field[2]), longitude = Degrees(field[3]);
      char date[16];
      out.append(date, std::to_chars(date, date + 16, year).ptr);
      out += '-';
      AppendTwo(out, month);
      out += '-';
      AppendTwo(out, day);
      out += ',';
      out.append(field[0]).append("T");
      AppendTwo(out, hour);
      out += ':';
      AppendTwo(out, minute);
      out += ':';
      AppendTwo(out, second);
      out.append("+01:00,MEZ,");
      Append(out, static_cast<float>(latitude));
      out += ',';
      Append(out, static_cast<float>(longitude));
      out += ',';
      Append(out, static_cast<float>(latitude + longitude));
      out += ',';
      Append(out, static_cast<float>(latitude - longitude));
      out += '\n';
    }
    pending.erase(0, start);
    if (out.size() > (1 << 22)) {
      if (write(1, out.data(), out.size()) < 0) return 1;
      out.clear();
    }
  }
  return write(1, out.data(), out.size()) < 0 ? 1 : 0;
}
