// Any bytes as a location file: a short file raises the end-of-file error and changes nothing,
// a longer one gives its first 24 bytes exactly.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "files/location_file.h"
#include "fuzz/fuzz_support.h"
#include "platform/base/file_exception.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/tagvaroskop-fuzz-" + std::to_string(getpid()) + ".ort";
  static const bool removedAtExit = std::atexit([] { std::remove(path.c_str()); }) == 0;
  (void)removedAtExit;  // the run leaves no file behind
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  try {
    const files::Place place = files::LoadLocation(path);
    FUZZ_CHECK(size >= 24);
    FUZZ_CHECK(std::memcmp(&place, data, 24) == 0);
    files::SaveLocation(path, place);  // and back, to the same 24 bytes
    std::ifstream in(path, std::ios::binary);
    char back[25] = {};
    in.read(back, 25);
    FUZZ_CHECK(in.gcount() == 24 && std::memcmp(back, data, 24) == 0);
  } catch (const platform::CFileException& e) {
    FUZZ_CHECK(size < 24 && e.m_cause == platform::CFileException::endOfFile);
  }
  return 0;
}
