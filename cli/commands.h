#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace cli {

// Exit statuses: a wrong entry 2, a file error 1.
inline constexpr int kWrongEntry = 2;
inline constexpr int kFileError = 1;

// Runs one subcommand with its arguments (without the program name).
int Run(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out,
        std::ostream& err);

}  // namespace cli
