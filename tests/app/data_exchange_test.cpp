// The reading rules and messages of the main dialog's fields, typed into the real controls.
#include <gtest/gtest.h>

#include <algorithm>

#include "solar/day_scan.h"
#include "tests/support/main_dialog_fixture.h"
#include "tests/support/scenario.h"

namespace {

using platform::MessageIcon;
using namespace res;

class FieldEntryTest : public test_support::MainDialogTest,
                       public testing::WithParamInterface<test_support::FileRow> {};

TEST_P(FieldEntryTest, AcceptsOrNamesTheRule) {
  const std::vector<std::string>& row = GetParam().words;  // field, typed, message, shown
  const int control = test_support::IdOf(row[0]);
  window->Type(control, row[1]);
  window->Click(IDC_CALCULATE);
  if (row[2] == "-") {
    EXPECT_TRUE(ui.messages.empty()) << ui.messages.front().text;
  } else {
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, row[2]);
    EXPECT_EQ(ui.messages[0].caption, "tagvaroskop");
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::kExclamation);
    EXPECT_EQ(window->Focus(), control);
    EXPECT_TRUE(window->WholeTextSelected());
  }
  EXPECT_EQ(Text(control), row[3]);
}

INSTANTIATE_TEST_SUITE_P(Rows, FieldEntryTest, testing::ValuesIn(test_support::ReadRows("app/field_entries.rows")),
                         test_support::FileRowName());

class DataExchangeTest : public test_support::MainDialogTest {};

TEST_F(DataExchangeTest, ATextIsWrittenOnlyWhenItDiffers) {
  window->Type(IDC_LAT_DEGREES, "51.0");  // reads as 51, which shows as "51"
  window->Type(IDC_LON_DEGREES, "7");
  ui.textWrites.clear();
  window->Click(IDC_CALCULATE);
  EXPECT_EQ(Text(IDC_LAT_DEGREES), "51");
  const auto written = [&](int id) { return std::count(ui.textWrites.begin(), ui.textWrites.end(), id); };
  EXPECT_EQ(written(IDC_LAT_DEGREES), 1);  // the first writing back; then it reads "51"
  EXPECT_EQ(written(IDC_LON_DEGREES), 0);
  EXPECT_EQ(written(IDC_AZIMUTH), 0);  // the same position again
}

}  // namespace
