// Any input to position --input, in every format and time basis: every JSON line parses as an
// object, every CSV line has the header's number of fields, and only the last line of standard
// error may carry a message.
#include <QJsonDocument>
#include <cstdint>
#include <sstream>
#include <string>

#include "cli/batch.h"
#include "cli/input.h"
#include "fuzz/fuzz_support.h"

namespace {

size_t CsvFieldCount(const std::string& line) {
  size_t fields = 1;
  bool quoted = false;
  for (const char c : line) {
    if (c == '"') quoted = !quoted;
    if (c == ',' && !quoted) ++fields;
  }
  return fields;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const cli::Format format = static_cast<cli::Format>(data[0] % 3);
  const cli::TimeBasis basis = (data[0] / 3) % 2 ? cli::ReadTimeBasis("America/Los_Angeles") : cli::DialogClock();
  std::istringstream in(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
  std::ostringstream out, err;
  const int status = cli::RunPositionBatch(in, "Standardeingabe", out, err, format, basis);
  FUZZ_CHECK(status == 0 || status == 2);
  FUZZ_CHECK((status == 2) == !err.str().empty());
  std::istringstream lines(out.str());
  std::string line;
  size_t header = 0;
  while (std::getline(lines, line)) {
    if (format == cli::Format::kJson) {
      QJsonParseError error{};
      FUZZ_CHECK(QJsonDocument::fromJson(QByteArray::fromStdString(line), &error).isObject());
    } else if (format == cli::Format::kCsv) {
      if (header == 0) header = CsvFieldCount(line);
      FUZZ_CHECK(CsvFieldCount(line) == header);
    }
  }
  return 0;
}
