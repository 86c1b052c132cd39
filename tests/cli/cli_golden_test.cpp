// Every subcommand's output in every format, against the files in tests/data/cli.
#include <QCoreApplication>
#include <gtest/gtest.h>

#include "tests/support/cli_run.h"
#include "tests/support/golden.h"
#include "tests/support/named_rows.h"

namespace {

struct CliRow : test_support::Named {
  std::vector<std::string> arguments;  // @DATA@ stands for the folder tests/data/cli
  std::string input = {};
};

class CliGoldenTest : public testing::TestWithParam<CliRow> {};

TEST_P(CliGoldenTest, GivesTheGoldenStatusOutputAndMessages) {
  const CliRow& row = GetParam();
  std::vector<std::string> arguments = row.arguments;
  std::string shown = "$ tagvaroskop-cli";
  for (std::string& a : arguments) {
    shown += " " + a;
    if (a.starts_with("@DATA@")) a.replace(0, 6, test_support::GoldenPath("cli"));
  }
  test_support::CliResult r = test_support::Cli(arguments, row.input);
  // The help names the program as it was started; here that is the test program.
  const std::string program = QCoreApplication::arguments().first().toStdString();
  for (size_t at; (at = r.out.find(program)) != std::string::npos;) r.out.replace(at, program.size(), "PROGRAM");
  test_support::ExpectSameText(std::string("cli/") + row.name + ".txt",
                               shown + "\nstatus " + std::to_string(r.status) + "\n--- stdout\n" +
                                   r.out + "--- stderr\n" + r.err);
}

const std::string kMoments =
    "datum,zeit,breite,laenge\n2005-06-21,12:00:00,51:0:0,7:0:0\n\n"
    "2005-12-21,12:00:00,51,7\r\n# Kommentar\n2005-06-21,0:30,80,0\n2005-06-21,12:00,-33:52:0,151\n";

INSTANTIATE_TEST_SUITE_P(
    Rows, CliGoldenTest,
    testing::Values(
        CliRow{{"position_text"}, {"position", "2005-06-21", "12:00:00", "51:0:0", "7:0:0"}},
        CliRow{{"position_csv"}, {"position", "2005-06-21", "12:00:00", "51:0:0", "7:0:0", "--format", "csv"}},
        CliRow{{"position_json"}, {"position", "2005-06-21", "12:00:00", "51:0:0", "7:0:0", "--format=json"}},
        CliRow{{"position_south"}, {"position", "2005-06-21", "12:00:00", "-33:52:0", "18:25:0"}},
        CliRow{{"day_text"}, {"day", "2005-12-21", "51:0:0", "7:0:0"}},
        CliRow{{"day_json_dialog_heights"}, {"day", "2005-12-21", "51:0:0", "7:0:0", "--height", "0", "--height", "-7", "--format", "json"}},
        CliRow{{"day_csv_polar_night"}, {"day", "2005-12-21", "80", "0", "--height=0", "--format", "csv"}},
        CliRow{{"day_text_midnight_sun"}, {"day", "2005-06-21", "80", "0", "--height", "-6", "--height", "30"}},
        CliRow{{"day_json_light_night"}, {"day", "2005-06-21", "50:0:0", "330:0:0", "--height", "-12", "--format", "json"}},
        CliRow{{"day_csv_up_at_both_ends"}, {"day", "2005-06-21", "34:3:0", "241:45:0", "--format", "csv", "--time", "0:0:30"}},
        CliRow{{"year_csv"}, {"year", "2005", "51:0:0", "7:0:0", "--format", "csv"}},
        CliRow{{"year_json_heights"}, {"year", "2004", "51", "7", "--format", "json", "--height", "-12", "--height", "0"}},
        CliRow{{"year_text_south"}, {"year", "2005", "-33", "151", "--second", "30"}},
        CliRow{{"batch_csv"}, {"position", "--input", "-", "--format", "csv"}, kMoments},
        CliRow{{"batch_json"}, {"position", "--input", "-", "--format", "json"}, kMoments},
        CliRow{{"batch_text_wrong_line"}, {"position", "--input", "-"}, "2005-06-21,12:00,51,7\n2005-06-21,12:61,51,7\n"},
        CliRow{{"batch_missing_file"}, {"position", "--input", "/nicht/da.csv"}},
        CliRow{{"place_show"}, {"place", "show", "@DATA@/default_place.ort", "--format", "json"}},
        CliRow{{"place_show_missing"}, {"place", "show", "/nicht/da.ort"}},
        CliRow{{"export_missing_folder"}, {"export", "2005-06-21", "51", "7", "/nicht/da/tag.txt"}},
        CliRow{{"wrong_hour"}, {"position", "2005-06-21", "24:00:00", "51", "7"}},
        CliRow{{"wrong_latitude_comma"}, {"day", "2005-06-21", "0,5", "7"}},
        CliRow{{"wrong_arcmin_fraction"}, {"day", "2005-06-21", "51", "7:30.5"}},
        CliRow{{"wrong_year"}, {"year", "2101", "51", "7"}},
        CliRow{{"wrong_date_form"}, {"day", "21.06.2005", "51", "7"}},
        CliRow{{"wrong_format"}, {"day", "2005-06-21", "51", "7", "--format", "xml"}},
        CliRow{{"wrong_height"}, {"day", "2005-06-21", "51", "7", "--height", "91"}},
        CliRow{{"wrong_height_word"}, {"day", "2005-06-21", "51", "7", "--height", "Mittag"}},
        CliRow{{"wrong_click"}, {"chart", "year", "2005", "51", "7", "x.png", "--click", "1.5"}},
        CliRow{{"missing_arguments"}, {"day", "2005-06-21"}},
        CliRow{{"unknown_command"}, {"wetter"}},
        CliRow{{"no_command"}, {}},
        CliRow{{"help"}, {"--help"}},
        CliRow{{"help_day"}, {"day", "--help"}}),
    test_support::RowName());

}  // namespace
