// Every subcommand's output in every format, against the files in tests/data/cli.
#include <QCoreApplication>
#include <gtest/gtest.h>

#include "tests/support/cli_run.h"
#include "tests/support/files.h"
#include "tests/support/golden.h"
#include "tests/support/row_file.h"

namespace {

class CliGoldenTest : public testing::TestWithParam<test_support::FileRow> {};

// One call: "$ command", its status, standard output and standard error.
std::string Call(const std::vector<std::string>& words, const std::string& scratch) {
  std::vector<std::string> arguments;
  std::string shown = "$ tagvaroskop-cli", input;
  for (std::string a : words) {
    shown += " " + a;
    if (a.starts_with("<")) {
      input = test_support::ReadBytes(test_support::GoldenPath("cli/" + a.substr(1)));
      continue;
    }
    if (a.starts_with("@DATA@")) a.replace(0, 6, TAGVAROSKOP_TEST_DATA);
    if (a.starts_with("@OUT@")) a.replace(0, 5, scratch);
    arguments.push_back(a);
  }
  const test_support::CliResult r = test_support::Cli(arguments, input);
  return shown + "\nstatus " + std::to_string(r.status) + "\n--- stdout\n" + r.out + "--- stderr\n" + r.err;
}

// The calls of a row, separated by the word "then", one after the other.
TEST_P(CliGoldenTest, GivesTheGoldenStatusOutputAndMessages) {
  test_support::ScratchFolder folder;
  std::string transcript;
  std::vector<std::string> words;
  for (const std::string& word : GetParam().words) {
    if (word != "then") {
      words.push_back(word);
      continue;
    }
    transcript += Call(words, folder.Folder());
    words.clear();
  }
  transcript += Call(words, folder.Folder());
  test_support::ExpectSameText("cli/" + GetParam().name + ".txt", transcript);
}

INSTANTIATE_TEST_SUITE_P(Rows, CliGoldenTest, testing::ValuesIn(test_support::ReadRows("cli/commands.rows")),
                         test_support::FileRowName());

}  // namespace
