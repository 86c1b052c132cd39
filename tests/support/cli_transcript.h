#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tests/support/cli_run.h"
#include "tests/support/files.h"
#include "tests/support/golden.h"
#include "tests/support/row_file.h"

namespace test_support {

using CliRunner = std::function<CliResult(const std::vector<std::string>& arguments, const std::string& input)>;

// The transcript of a row of tests/data/cli/commands.rows: for each call (calls are separated by
// the word "then") "$ command", its status, standard output and standard error. @DATA@ stands for
// tests/data, @OUT@ for a scratch folder, and a word <FILE puts that file on standard input.
inline std::string Transcript(const FileRow& row, const CliRunner& run) {
  ScratchFolder folder;
  std::string transcript;
  const auto call = [&](const std::vector<std::string>& words) {
    std::vector<std::string> arguments;
    std::string shown = "$ tagvaroskop-cli", input;
    for (std::string a : words) {
      shown += " " + a;
      if (a.starts_with("<")) {
        input = ReadBytes(GoldenPath("cli/" + a.substr(1)));
        continue;
      }
      if (a.starts_with("@DATA@")) a.replace(0, 6, TAGVAROSKOP_TEST_DATA);
      if (a.starts_with("@OUT@")) a.replace(0, 5, folder.Folder());
      arguments.push_back(a);
    }
    const CliResult r = run(arguments, input);
    transcript += shown + "\nstatus " + std::to_string(r.status) + "\n--- stdout\n" + r.out + "--- stderr\n" + r.err;
  };
  std::vector<std::string> words;
  for (const std::string& word : row.words) {
    if (word != "then") {
      words.push_back(word);
      continue;
    }
    call(words);
    words.clear();
  }
  call(words);
  return transcript;
}

}  // namespace test_support
