#pragma once

#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/commands.h"

namespace test_support {

struct CliResult {
  int status;
  std::string out, err;
};

// Runs tagvaroskop-cli in this process with the input on its standard input.
inline CliResult Cli(const std::vector<std::string>& arguments, const std::string& input = "") {
  std::istringstream in(input);
  std::ostringstream out, err;
  const int status = cli::Run(arguments, in, out, err);
  return CliResult{status, out.str(), err.str()};
}

}  // namespace test_support
