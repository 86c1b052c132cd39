// The reading rules and messages of the main dialog's fields, typed into the real controls.
#include <gtest/gtest.h>

#include <algorithm>

#include "solar/day_scan.h"
#include "tests/support/main_dialog_fixture.h"
#include "tests/support/named_rows.h"

namespace {

using platform::MessageIcon;
using namespace res;

struct EntryRow : test_support::Named {
  int control;
  const char* typed;
  const char* message;  // nullptr: accepted
  const char* shownAfter;
};

class FieldEntryTest : public test_support::MainDialogTest,
                       public testing::WithParamInterface<EntryRow> {};

TEST_P(FieldEntryTest, AcceptsOrNamesTheRule) {
  const EntryRow& row = GetParam();
  window->Type(row.control, row.typed);
  window->Click(IDC_CALCULATE);
  if (row.message == nullptr) {
    EXPECT_TRUE(ui.messages.empty()) << ui.messages.front().text;
  } else {
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, row.message);
    EXPECT_EQ(ui.messages[0].caption, "tagvaroskop");
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::kExclamation);
    EXPECT_EQ(window->Focus(), row.control);
    EXPECT_TRUE(window->WholeTextSelected());
  }
  EXPECT_EQ(Text(row.control), row.shownAfter);
}

constexpr const char* kNumber = "Geben Sie bitte eine Zahl ein.";
constexpr const char* kInteger = "Geben Sie bitte eine ganze Zahl ein.";

INSTANTIATE_TEST_SUITE_P(
    Rows, FieldEntryTest,
    testing::Values(
        EntryRow{{"decimal_comma"}, IDC_LAT_ARCSEC, "0,5", kNumber, "0"},
        EntryRow{{"decimal_point"}, IDC_LAT_ARCSEC, "0.5", nullptr, "0.5"},
        EntryRow{{"fraction_in_int_arcmin"}, IDC_LON_ARCMIN, "30.5", kInteger, "0"},
        EntryRow{{"fraction_in_float_arcmin"}, IDC_LAT_ARCMIN, "30.5", nullptr, "30.5"},
        EntryRow{{"minus_zero_float"}, IDC_LAT_ARCMIN, "-0", kNumber, "0"},
        EntryRow{{"minus_zero_int"}, IDC_MINUTE, "-0", kInteger, "0"},
        EntryRow{{"zero_int"}, IDC_MINUTE, "0", nullptr, "0"},
        EntryRow{{"latitude_89"}, IDC_LAT_DEGREES, "89", nullptr, "89"},
        EntryRow{{"latitude_89_5"}, IDC_LAT_DEGREES, "89.5",
                 "Geben Sie bitte eine Zahl zwischen -89 und 89 ein.", "89.5"},
        EntryRow{{"longitude_359"}, IDC_LON_DEGREES, "359", nullptr, "359"},
        EntryRow{{"longitude_359_5"}, IDC_LON_DEGREES, "359.5",
                 "Geben Sie bitte eine Zahl zwischen 0 und 359 ein.", "359.5"},
        EntryRow{{"day_31"}, IDC_DAY, "31", nullptr, "31"},
        EntryRow{{"day_0"}, IDC_DAY, "0", "Geben Sie bitte eine Zahl zwischen 1 und 31 ein.", "0"},
        EntryRow{{"day_15_7"}, IDC_DAY, "15.7", nullptr, "15.7"},
        EntryRow{{"year_2101"}, IDC_YEAR, "2101",
                 "Geben Sie bitte eine ganze Zahl zwischen 1900 und 2100 ein.", "2101"},
        EntryRow{{"hour_24"}, IDC_HOUR, "24",
                 "Geben Sie bitte eine ganze Zahl zwischen 0 und 23 ein.", "24"},
        EntryRow{{"height_100"}, IDC_HEIGHT, "100",
                 "Geben Sie bitte eine Zahl zwischen -90 und 90 ein.", "61.6724"},
        EntryRow{{"azimuth_replaced"}, IDC_AZIMUTH, "123", nullptr, "163.5"},
        EntryRow{{"unreadable_azimuth"}, IDC_AZIMUTH, "Süden", kNumber, "163.5"},
        EntryRow{{"blanks_around"}, IDC_HOUR, " \t12  ", nullptr, "12"},
        EntryRow{{"garbage_after_31_characters"}, IDC_HOUR,
                 "12                             xyz", nullptr, "12"},
        EntryRow{{"garbage_within_31_characters"}, IDC_HOUR, "12 x", kInteger, "12"},
        EntryRow{{"empty"}, IDC_SECOND, "", kInteger, "0"},
        EntryRow{{"huge_day_stored"}, IDC_DAY, "1e30",
                 "Geben Sie bitte eine Zahl zwischen 1 und 31 ein.", "1e+30"},
        EntryRow{{"huge_year_saturates"}, IDC_YEAR, "99999999999",
                 "Geben Sie bitte eine ganze Zahl zwischen 1900 und 2100 ein.", "2147483647"},
        EntryRow{{"beyond_single_precision"}, IDC_LAT_DEGREES, "1e39",
                 "Geben Sie bitte eine Zahl zwischen -89 und 89 ein.", "inf"},
        EntryRow{{"result_hours_reread"}, IDC_SUNSHINE_HOURS, "x", kNumber, "16"}),
    test_support::RowName());

class DataExchangeTest : public test_support::MainDialogTest {};

TEST_F(DataExchangeTest, AFailureStopsTheReadingAndTheCalculationGoesOnWithTheOldValues) {
  window->Type(IDC_LAT_DEGREES, "abc");  // step 2
  window->Type(IDC_HOUR, "5");           // step 7, never read
  window->Click(IDC_CALCULATE);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, kNumber);
  EXPECT_EQ(dlg->m_fields.hour, 12);
  EXPECT_EQ(Text(IDC_HOUR), "12");  // written back from the member
  EXPECT_EQ(Text(IDC_LAT_DEGREES), "51");
  EXPECT_EQ(Text(IDC_AZIMUTH), "163.5");  // 12:00 at 51° N as before
}

TEST_F(DataExchangeTest, AnOutOfRangeValueIsStoredAndCalculatedWith) {
  window->Type(IDC_DAY, "0");       // step 5: stored, then the check fails
  window->Type(IDC_LAT_ARCMIN, "30");  // step 3: read before the failure
  window->Type(IDC_SECOND, "30");   // step 12: untouched
  window->Click(IDC_CALCULATE);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(dlg->m_fields.day, 0.0f);
  EXPECT_EQ(dlg->m_fields.latArcmin, 30.0f);
  EXPECT_EQ(dlg->m_fields.second, 0);
  EXPECT_EQ(Text(IDC_SECOND), "0");
  // Day 0 of June is 31 May.
  const solar::SunPosition may31 = solar::ComputeSunPosition(
      solar::DayNumber(2005, 5, 31), solar::ClockHours(12, 0, 0), 51.5f, 7.0f);
  EXPECT_EQ(dlg->m_fields.azimuth, may31.azimuth);
}

TEST_F(DataExchangeTest, ATextIsWrittenOnlyWhenItDiffers) {
  window->Type(IDC_LAT_DEGREES, "51.0");  // reads as 51, which shows as "51"
  window->Type(IDC_LON_DEGREES, "7");
  ui.textWrites.clear();
  window->Click(IDC_CALCULATE);
  EXPECT_EQ(Text(IDC_LAT_DEGREES), "51");
  const auto written = [&](int id) { return std::count(ui.textWrites.begin(), ui.textWrites.end(), id); };
  EXPECT_EQ(written(IDC_LAT_DEGREES), 1);  // the first writing back; then it reads "51"
  EXPECT_EQ(written(IDC_LON_DEGREES), 0);
  EXPECT_EQ(written(IDC_AZIMUTH), 0);      // the same position again
}

}  // namespace
