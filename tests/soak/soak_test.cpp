// Long use on the headless backend: thousands of calculations with valid and invalid entries,
// year openings with random clicks, saves and loads. Every message box is the expected one and
// memory does not grow.
#include <malloc.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <random>

#include "files/location_file.h"
#include "tests/support/files.h"
#include "tests/support/main_dialog_fixture.h"

namespace {
std::atomic<long> g_liveAllocations{0};
}

void* operator new(size_t size) {
  void* p = std::malloc(size ? size : 1);
  if (p == nullptr) throw std::bad_alloc();
  ++g_liveAllocations;
  return p;
}
void operator delete(void* p) noexcept {
  if (p == nullptr) return;
  --g_liveAllocations;
  std::free(p);
}
void operator delete(void* p, size_t) noexcept { operator delete(p); }

namespace {

using namespace res;

struct Usage {
  long allocations;
  size_t heapBytes;
};

Usage Now() {
#if defined(__SANITIZE_ADDRESS__)
  const size_t heap = 0;  // the sanitizer keeps freed memory back on purpose
#else
  const size_t heap = mallinfo2().uordblks;
#endif
  return Usage{g_liveAllocations.load(), heap};
}

void ExpectNoGrowth(const Usage& before, const Usage& after) {
  EXPECT_LE(after.allocations - before.allocations, 50);
  EXPECT_LE(static_cast<long>(after.heapBytes) - static_cast<long>(before.heapBytes), 256 * 1024);
}

// An entry for a field: the text and the message it brings up (nullptr: none).
struct Entry {
  const char* text;
  const char* message;
};

struct Field {
  int control;
  std::vector<Entry> entries;
  const char* restore;  // a valid text that ends the entry's effect
};

const char* kInt = "Geben Sie bitte eine ganze Zahl ein.";
const char* kNumber = "Geben Sie bitte eine Zahl ein.";

const std::vector<Field>& Fields() {
  static const std::vector<Field> fields{
      {IDC_LAT_DEGREES, {{"48.5", nullptr}, {"-89", nullptr}, {"89.5", "Geben Sie bitte eine Zahl zwischen -89 und 89 ein."}, {"0,5", kNumber}, {"Nord", kNumber}}, "51"},
      {IDC_LAT_ARCMIN, {{"30.5", nullptr}, {"59", nullptr}, {"60", "Geben Sie bitte eine Zahl zwischen 0 und 59 ein."}, {"-0", kNumber}}, "0"},
      {IDC_DAY, {{"31", nullptr}, {"15.7", nullptr}, {"0", "Geben Sie bitte eine Zahl zwischen 1 und 31 ein."}, {"1e30", "Geben Sie bitte eine Zahl zwischen 1 und 31 ein."}}, "21"},
      {IDC_HOUR, {{"0", nullptr}, {"23", nullptr}, {"24", "Geben Sie bitte eine ganze Zahl zwischen 0 und 23 ein."}, {"7.5", kInt}, {"", kInt}}, "12"},
      {IDC_LON_DEGREES, {{"359", nullptr}, {"13.4", nullptr}, {"360", "Geben Sie bitte eine Zahl zwischen 0 und 359 ein."}}, "7"},
      {IDC_MONTH, {{"1", nullptr}, {"12", nullptr}, {"13", "Geben Sie bitte eine ganze Zahl zwischen 1 und 12 ein."}}, "6"},
      {IDC_SECOND, {{"59", nullptr}, {"+0", kInt}}, "0"},
      {IDC_YEAR, {{"1900", nullptr}, {"2100", nullptr}, {"99999999999", "Geben Sie bitte eine ganze Zahl zwischen 1900 und 2100 ein."}}, "2005"},
      {IDC_LON_ARCMIN, {{"59", nullptr}, {"30.5", kInt}}, "0"},
  };
  return fields;
}

class SoakTest : public test_support::MainDialogTest {
 protected:
  std::mt19937 random{20051221};
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }
};

TEST_F(SoakTest, TwoThousandCalculationsShowExactlyTheExpectedMessages) {
  const auto round = [&](int count) {
    for (int i = 0; i < count; ++i) {
      const Field& field = Fields()[Pick(static_cast<int>(Fields().size()))];
      const Entry& entry = field.entries[Pick(static_cast<int>(field.entries.size()))];
      const size_t shown = ui.messages.size();
      window->Type(field.control, entry.text);
      if (Pick(2) == 0) {
        window->Click(IDC_CALCULATE);
      } else {
        window->PressEnter();
      }
      ASSERT_EQ(ui.messages.size(), shown + (entry.message ? 1 : 0))
          << field.control << " " << entry.text << ": " << ui.messages.back().text;
      if (entry.message) {
        ASSERT_EQ(ui.messages.back().text, entry.message);
        // Fields after the failing one show their old members again: a valid calculation
        // settles them all.
        window->Type(field.control, field.restore);
        window->Click(IDC_CALCULATE);
        ASSERT_EQ(ui.messages.size(), shown + 1) << ui.messages.back().text;
      }
      ui.messages.clear();  // the record of this test, not of the program
    }
  };
  round(50);  // fills the caches of fonts and formatting
  const Usage before = Now();
  round(2000);
  ExpectNoGrowth(before, Now());
  EXPECT_FALSE(window->Ended());
}

TEST_F(SoakTest, AHundredYearOpeningsWithRandomClicks) {
  ui.OnModal(IDD_YEARCOURSE, [&](platform::HeadlessBackend::Window& year) {
    for (int clicks = Pick(5); clicks >= 0; --clicks) {
      const int x = Pick(800) - 50, y = Pick(400);
      if (Pick(3) == 0) {
        year.DoubleClick(x, y);
      } else {
        year.LButtonDown(x, y);
      }
      year.DeliverPendingPaint();
      ASSERT_GE(dlg->m_yearDlg.m_markerOffset, 0);
      ASSERT_LE(dlg->m_yearDlg.m_markerOffset, 350);
    }
    if (Pick(2) == 0) {
      year.PressEnter();
    } else {
      year.PressEscape();
    }
  });
  const auto round = [&](int count) {
    for (int i = 0; i < count; ++i) {
      window->Type(IDC_LAT_DEGREES, std::to_string(Pick(179) - 89));
      window->Click(IDC_YEAR_COURSE);
      ui.modalRuns.clear();
    }
  };
  round(3);
  const Usage before = Now();
  round(100);
  ExpectNoGrowth(before, Now());
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SoakTest, TwoHundredSavesAndLoads) {
  test_support::ScratchFolder folder;
  const auto round = [&](int count) {
    for (int i = 0; i < count; ++i) {
      const std::string path = folder.Path("ort" + std::to_string(Pick(3)) + ".ort");
      const std::string latitude = std::to_string(Pick(179) - 89);
      const std::string minutes = std::to_string(Pick(60));
      window->Type(IDC_LAT_DEGREES, latitude);
      window->Type(IDC_LON_ARCMIN, minutes);
      ui.fileAnswers.push_back(path);
      window->Click(IDC_SAVE_LOCATION);
      window->Type(IDC_LAT_DEGREES, "0");
      window->Type(IDC_LON_ARCMIN, "0");
      ui.fileAnswers.push_back(path);
      window->Click(IDC_OPEN_LOCATION);
      ASSERT_EQ(Text(IDC_LAT_DEGREES), latitude);
      ASSERT_EQ(Text(IDC_LON_ARCMIN), minutes);
      ASSERT_TRUE(ui.messages.empty());
      ui.fileRequests.clear();
    }
  };
  round(5);
  const Usage before = Now();
  round(200);
  ExpectNoGrowth(before, Now());
  EXPECT_LE(folder.Names().size(), 3u);  // no temporary file left behind
}

}  // namespace
