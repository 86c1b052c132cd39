// Any arguments to tagvaroskop-cli (the input split at NUL bytes), the chart commands and zone
// names included: every call ends with status 0, 1 or 2, and a wrong entry or a failure always
// says why. Files are written only into a private folder, which is removed at the end: a '/' stays
// only in the value of --tz, which names a zone and never a file to write.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static char folder[] = "/tmp/tagvaroskop-fuzz-XXXXXX";  // outlives every exit handler
  static const bool made = [] {
    StartGuiApplication();
    const bool ok = mkdtemp(folder) != nullptr;
    std::atexit([] { std::filesystem::remove_all(folder); });
    return ok;
  }();
  static const std::filesystem::path home = std::filesystem::current_path();
  FUZZ_CHECK(made && chdir(folder) == 0);
  std::vector<std::string> arguments(1);
  for (size_t i = 0; i < size && arguments.size() < 12; ++i) {
    const char c = static_cast<char>(data[i]);
    const bool zone =
        arguments.back().starts_with("--tz=") || (arguments.size() > 1 && arguments[arguments.size() - 2] == "--tz");
    if (c == '\0')
      arguments.emplace_back();
    else
      arguments.back() += c == '/' && !zone ? '_' : c;  // no path leaves the private folder
  }
  std::istringstream in("2005-06-21,12:00,51,7\n");
  std::ostringstream out, err;
  const int status = cli::Run(arguments, in, out, err);
  std::filesystem::current_path(home);  // libFuzzer reads its corpus by relative paths
  FUZZ_CHECK(status == 0 || status == 1 || status == 2);
  FUZZ_CHECK(status == 0 || err.str().rfind("tagvaroskop-cli", 0) == 0 || err.str().rfind("Aufruf", 0) == 0);
  return 0;
}
