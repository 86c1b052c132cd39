// Every subcommand's output in every format against the files in tests/data/cli: once in this
// process, and once through the built programs as users start them, in more than one locale.
#include <gtest/gtest.h>
#include <QProcess>
#include <clocale>

#include "tests/support/cli_transcript.h"

namespace {

using test_support::FileRow;

std::vector<FileRow> Rows() { return test_support::ReadRows("cli/commands.rows"); }

class CliGoldenTest : public testing::TestWithParam<FileRow> {};

TEST_P(CliGoldenTest, GivesTheGoldenStatusOutputAndMessages) {
  test_support::ExpectSameText(
      "cli/" + GetParam().name + ".txt",
      test_support::Transcript(GetParam(), [](const std::vector<std::string>& a, const std::string& in) {
        return test_support::Cli(a, in);
      }));
}

INSTANTIATE_TEST_SUITE_P(Rows, CliGoldenTest, testing::ValuesIn(Rows()), test_support::FileRowName());

// The program as a process in a locale, its standard input fed and its streams kept apart.
test_support::CliResult RunProgram(const std::vector<std::string>& arguments, const std::string& input,
                                   const char* locale) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"LANG", "LC_ALL", "LC_NUMERIC", "LC_TIME", "LANGUAGE"}) environment.remove(name);
  environment.insert("LANG", locale);
  environment.insert("LC_ALL", locale);
  process.setProcessEnvironment(environment);
  QStringList list;
  for (const std::string& a : arguments) list << QString::fromStdString(a);
  process.start(TAGVAROSKOP_CLI, list);
  process.write(input.data(), static_cast<qint64>(input.size()));
  process.closeWriteChannel();
  EXPECT_TRUE(process.waitForFinished(60000)) << "the program did not end";
  EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << "the program crashed";
  return test_support::CliResult{process.exitCode(), process.readAllStandardOutput().toStdString(),
                                 process.readAllStandardError().toStdString()};
}

// C (ASCII), C.UTF-8, German (decimal comma, other date words) and Turkish (other case rules).
class CliProcessTest : public testing::TestWithParam<const char*> {};

TEST_P(CliProcessTest, GivesEveryGoldenTranscriptToTheByte) {
  const char* locale = GetParam();
  locale_t check = newlocale(LC_ALL_MASK, locale, locale_t{});
  ASSERT_NE(check, locale_t{}) << locale << " is not generated here; scripts/install-deps generates it";
  freelocale(check);
  for (const FileRow& row : Rows()) {
    const std::string expected = test_support::ReadBytes(test_support::GoldenPath("cli/" + row.name + ".txt"));
    EXPECT_EQ(test_support::Transcript(row, [&](const std::vector<std::string>& a,
                                                const std::string& in) { return RunProgram(a, in, locale); }),
              expected)
        << row.name << " in " << locale;
  }
}

INSTANTIATE_TEST_SUITE_P(Locales, CliProcessTest, testing::Values("C", "C.UTF-8", "de_DE.UTF-8", "tr_TR.UTF-8"),
                         [](const testing::TestParamInfo<const char*>& row) {
                           std::string name = row.param;
                           for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           return name;
                         });

}  // namespace
