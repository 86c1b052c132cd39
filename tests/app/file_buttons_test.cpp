// "Öffnen", "Speichern" and "ASCII Export" of the main dialog, with scripted file dialogs.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "files/location_file.h"
#include "files/minute_table.h"
#include "platform/file_dialog.h"
#include "tests/support/files.h"
#include "tests/support/golden.h"
#include "tests/support/main_dialog_fixture.h"

namespace {

using namespace res;
using platform::MessageIcon;
using test_support::ReadBytes;

const std::string kDefaultPlace("\0\0\x4C\x42\0\0\0\0\0\0\0\0\0\0\xE0\x40\0\0\0\0\0\0\0\0", 24);

class FileButtonsTest : public test_support::MainDialogTest {
 protected:
  void Answer(const std::string& path) { ui.fileAnswers.push_back(path); }
  test_support::ScratchFolder folder;
};

TEST_F(FileButtonsTest, SavingTheDefaultPlaceWritesItsBytes) {
  Answer(folder.Path("Köln"));  // typed without an extension
  window->Click(IDC_SAVE_LOCATION);
  EXPECT_EQ(ReadBytes(folder.Path("Köln.ort")), kDefaultPlace);
  ASSERT_EQ(ui.fileRequests.size(), 1u);
  const platform::FileDialogRequest& r = ui.fileRequests[0];
  EXPECT_FALSE(r.open);
  EXPECT_EQ(r.defaultExtension, "ort");
  EXPECT_EQ(r.initialName, "*.ort");
  EXPECT_EQ(r.flags, platform::OFN_HIDEREADONLY | platform::OFN_OVERWRITEPROMPT);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(FileButtonsTest, LoadingShowsThePlaceAndCalculatesNothing) {
  files::SaveLocation(folder.Path("b.ort"), files::Place{51.1234567f, 30.5f, 0, 13, 24, 36});
  const std::string azimuth = Text(IDC_AZIMUTH), minutes = Text(IDC_SUNSHINE_MINUTES);
  Answer(folder.Path("b.ort"));
  window->Click(IDC_OPEN_LOCATION);
  EXPECT_EQ(ui.fileRequests[0].open, true);
  EXPECT_EQ(ui.fileRequests[0].flags, platform::OFN_HIDEREADONLY);
  EXPECT_EQ(Text(IDC_LAT_DEGREES), "51.1235");
  EXPECT_EQ(Text(IDC_LAT_ARCMIN), "30.5");
  EXPECT_EQ(Text(IDC_LON_ARCMIN), "24");
  EXPECT_EQ(Text(IDC_AZIMUTH), azimuth);
  EXPECT_EQ(Text(IDC_SUNSHINE_MINUTES), minutes);
  // All members are written: the hours member holds the fractional hours of the calculation.
  EXPECT_EQ(Text(IDC_SUNSHINE_HOURS), "16.3167");
  window->Click(IDC_CALCULATE);  // works with the place as shown
  EXPECT_EQ(dlg->m_fields.latDegrees, 51.1235f);
  EXPECT_NE(Text(IDC_AZIMUTH), azimuth);
}

TEST_F(FileButtonsTest, AShortFileChangesNothing) {
  for (size_t size : {0u, 10u}) {
    test_support::WriteBytes(folder.Path("kurz.ort"), kDefaultPlace.substr(0, size) + "\x01\x02");
    const solar::ObservationFields before = dlg->m_fields;
    Answer(folder.Path("kurz.ort"));
    window->Type(IDC_LAT_DEGREES, "40");
    window->Click(IDC_OPEN_LOCATION);
    EXPECT_EQ(std::memcmp(&before, &dlg->m_fields, sizeof before), 0);
    EXPECT_EQ(Text(IDC_LAT_DEGREES), "40");
  }
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0].text,
            "Es wurde versucht, auf eine Stelle hinter dem Ende von eine unbenannte Datei "
            "zuzugreifen.");
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::kStop);
  EXPECT_EQ(ui.messages[0].caption, "tagvaroskop");
}

TEST_F(FileButtonsTest, ThirtyBytesLoadTheirFirstTwentyFour) {
  test_support::WriteBytes(folder.Path("lang.ort"), kDefaultPlace + "zuviel");
  window->Type(IDC_LAT_DEGREES, "40");
  window->Click(IDC_CALCULATE);
  Answer(folder.Path("lang.ort"));
  window->Click(IDC_OPEN_LOCATION);
  EXPECT_EQ(Text(IDC_LAT_DEGREES), "51");
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(FileButtonsTest, NotANumberAndInfinityLoadThenFailTheNextReading) {
  std::string bytes = kDefaultPlace;
  const float nan = std::nanf(""), inf = INFINITY;
  std::memcpy(&bytes[0], &nan, 4);
  std::memcpy(&bytes[12], &inf, 4);
  test_support::WriteBytes(folder.Path("kaputt.ort"), bytes);
  Answer(folder.Path("kaputt.ort"));
  window->Click(IDC_OPEN_LOCATION);
  EXPECT_EQ(Text(IDC_LAT_DEGREES), "nan");
  EXPECT_EQ(Text(IDC_LON_DEGREES), "inf");
  window->Click(IDC_CALCULATE);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Geben Sie bitte eine Zahl ein.");
  EXPECT_EQ(window->Focus(), IDC_LAT_DEGREES);
}

TEST_F(FileButtonsTest, CancelInEitherDialogWritesAndChangesNothing) {
  window->Click(IDC_SAVE_LOCATION);
  window->Click(IDC_OPEN_LOCATION);
  window->Click(IDC_ASCII_EXPORT);
  EXPECT_EQ(ui.fileRequests.size(), 3u);
  EXPECT_TRUE(folder.Names().empty());
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(FileButtonsTest, SavingWithAFailingFieldStillWritesTheMembers) {
  window->Type(IDC_LAT_DEGREES, "95");   // stored, then out of range
  window->Type(IDC_LON_DEGREES, "12");   // after the failing field: not read
  Answer(folder.Path("x.ort"));
  window->Click(IDC_SAVE_LOCATION);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::kExclamation);
  const files::Place saved = files::LoadLocation(folder.Path("x.ort"));
  EXPECT_EQ(saved.latDegrees, 95.0f);
  EXPECT_EQ(saved.lonDegrees, 7.0f);
}

TEST_F(FileButtonsTest, AFileThatCannotBeOpenedNamesItsCauseAndFullPath) {
  Answer(folder.Path("fehlt.ort"));
  window->Click(IDC_OPEN_LOCATION);
  Answer(folder.Path("kein/Ordner.txt"));
  window->Click(IDC_ASCII_EXPORT);
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0].text, folder.Path("fehlt.ort") + " wurde nicht gefunden.");
  EXPECT_EQ(ui.messages[1].text, folder.Path("kein/Ordner.txt") + " wurde nicht gefunden.");
  EXPECT_EQ(ui.messages[1].icon, MessageIcon::kStop);
  EXPECT_FALSE(window->Ended());
}

TEST_F(FileButtonsTest, ExportWritesTheTrackOfTheLastCalculation) {
  CalculateFor("80", "7", "2005", "12", "21");  // polar night
  window->Type(IDC_LAT_DEGREES, "51");          // typed, not calculated
  Answer(folder.Path("nacht"));
  window->Click(IDC_ASCII_EXPORT);
  EXPECT_EQ(ReadBytes(folder.Path("nacht.txt")).size(), 106u);
  EXPECT_EQ(ui.fileRequests[0].defaultExtension, "txt");
  EXPECT_EQ(ui.fileRequests[0].initialName, "*.txt");

  window->Click(IDC_CALCULATE);  // 21 December at 51° N
  Answer(folder.Path("winter.txt"));
  window->Click(IDC_ASCII_EXPORT);
  EXPECT_EQ(ReadBytes(folder.Path("winter.txt")), ReadBytes(test_support::GoldenPath("files/winter_51n.txt")));
}

}  // namespace
