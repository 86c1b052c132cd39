// Every subcommand's output in every format, against the files in tests/data/cli.
#include <QCoreApplication>
#include <gtest/gtest.h>

#include "tests/support/cli_run.h"
#include "tests/support/golden.h"
#include "tests/support/row_file.h"

namespace {

class CliGoldenTest : public testing::TestWithParam<test_support::FileRow> {};

TEST_P(CliGoldenTest, GivesTheGoldenStatusOutputAndMessages) {
  const test_support::FileRow& row = GetParam();
  std::vector<std::string> arguments;
  std::string shown = "$ tagvaroskop-cli", input;
  for (std::string a : row.words) {
    shown += " " + a;
    if (a.starts_with("<")) {
      input = test_support::ReadBytes(test_support::GoldenPath("cli/" + a.substr(1)));
      continue;
    }
    if (a.starts_with("@DATA@")) a.replace(0, 6, TAGVAROSKOP_TEST_DATA);
    arguments.push_back(a);
  }
  test_support::CliResult r = test_support::Cli(arguments, input);
  // The help names the program as it was started; here that is the test program.
  const std::string program = QCoreApplication::arguments().first().toStdString();
  for (size_t at; (at = r.out.find(program)) != std::string::npos;) r.out.replace(at, program.size(), "PROGRAM");
  test_support::ExpectSameText("cli/" + row.name + ".txt", shown + "\nstatus " + std::to_string(r.status) +
                                                              "\n--- stdout\n" + r.out + "--- stderr\n" + r.err);
}

INSTANTIATE_TEST_SUITE_P(Rows, CliGoldenTest, testing::ValuesIn(test_support::ReadRows("cli/commands.rows")),
                         test_support::FileRowName());

}  // namespace
