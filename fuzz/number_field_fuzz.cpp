// The export's number field of any float is exactly 7 bytes; the minute lines of any track are
// 18 bytes each.
#include <cstdint>
#include <cstring>

#include "files/minute_table.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (size_t i = 0; i + 8 <= size; i += 8) {
    float azimuth, height;
    std::memcpy(&azimuth, data + i, 4);
    std::memcpy(&height, data + i + 4, 4);
    FUZZ_CHECK(files::NumberField(azimuth).size() == 7);
    const std::string line = files::MinuteLine(azimuth, height);
    FUZZ_CHECK(line.size() == 18 && line.substr(16) == "\r\n" && line.substr(7, 2) == "  ");
  }
  return 0;
}
