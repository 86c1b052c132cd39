// Long use on the headless backend: calculations, year openings with random clicks, saves and
// loads. Memory does not grow and no temporary file is left behind.
#include <malloc.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <random>

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

class SoakTest : public test_support::MainDialogTest {
 protected:
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }

  // One calculation at a random place; every tenth use also saves and loads the place, every
  // twentieth opens the year window and clicks into it.
  void UseOnce(int i) {
    const std::string latitude = std::to_string(Pick(179) - 89);
    const std::string minutes = std::to_string(Pick(60));
    window->Type(IDC_LAT_DEGREES, latitude);
    window->Type(IDC_LON_ARCMIN, minutes);
    window->PressEnter();
    if (i % 10 == 0) {
      const std::string path = folder.Path("ort" + std::to_string(Pick(3)) + ".ort");
      ui.fileAnswers.push_back(path);
      window->Click(IDC_SAVE_LOCATION);
      window->Type(IDC_LAT_DEGREES, "0");
      ui.fileAnswers.push_back(path);
      window->Click(IDC_OPEN_LOCATION);
      ASSERT_EQ(Text(IDC_LAT_DEGREES), latitude);
      ASSERT_EQ(Text(IDC_LON_ARCMIN), minutes);
      ui.fileRequests.clear();
    }
    if (i % 20 == 0) {
      window->Click(IDC_YEAR_COURSE);
      ui.modalRuns.clear();
    }
    ASSERT_TRUE(ui.messages.empty()) << ui.messages.back().text;
  }

  std::mt19937 random{20051221};
  test_support::ScratchFolder folder;
};

TEST_F(SoakTest, TwoThousandUsesNeitherGrowMemoryNorLeaveFiles) {
  ui.OnModal(IDD_YEARCOURSE, [&](platform::HeadlessBackend::Window& year) {
    for (int clicks = Pick(5); clicks >= 0; --clicks) {
      const int x = Pick(800) - 50, y = Pick(400);
      Pick(3) == 0 ? year.DoubleClick(x, y) : year.LButtonDown(x, y);
      year.DeliverPendingPaint();
    }
    Pick(2) == 0 ? year.PressEnter() : year.PressEscape();
  });
  for (int i = 0; i < 40; ++i) UseOnce(i);  // fills the caches of fonts and formatting
  const long allocations = g_liveAllocations.load();
#if !defined(__SANITIZE_ADDRESS__)  // the sanitizer keeps freed memory back on purpose
  const long heap = static_cast<long>(mallinfo2().uordblks);
#endif
  for (int i = 0; i < 2000; ++i) UseOnce(i);
  EXPECT_LE(g_liveAllocations.load() - allocations, 50);
#if !defined(__SANITIZE_ADDRESS__)
  EXPECT_LE(static_cast<long>(mallinfo2().uordblks) - heap, 256 * 1024);
#endif
  EXPECT_LE(folder.Names().size(), 3u);
  EXPECT_FALSE(window->Ended());
}

}  // namespace
