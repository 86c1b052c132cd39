#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/files.h"

namespace test_support {

// Expected outputs live under tests/data. `TAGVAROSKOP_REFRESH_GOLDEN=1 ctest` rewrites them
// from what the code now produces; review the change with git diff before committing it.
inline std::string GoldenPath(const std::string& name) { return std::string(TAGVAROSKOP_TEST_DATA) + "/" + name; }

inline bool RefreshingGolden() { return std::getenv("TAGVAROSKOP_REFRESH_GOLDEN") != nullptr; }

// Where a failed comparison leaves what the code produced, beside the test's build folder.
inline std::string ActualPath(const std::string& name) {
  std::string flat = name;
  for (char& c : flat) c = c == '/' ? '_' : c;
  return std::filesystem::absolute("actual_" + flat).string();
}

inline void ExpectSameText(const std::string& name, const std::string& actual) {
  if (RefreshingGolden()) {
    std::filesystem::create_directories(std::filesystem::path(GoldenPath(name)).parent_path());
    WriteBytes(GoldenPath(name), actual);
    return;
  }
  const std::string expected = ReadBytes(GoldenPath(name));
  if (expected == actual) return;
  WriteBytes(ActualPath(name), actual);
  ADD_FAILURE() << name << " differs from its golden file; the output is in " << ActualPath(name) << "\n--- expected\n"
                << expected << "\n--- actual\n"
                << actual;
}

}  // namespace test_support
