#pragma once

#include <QImage>
#include <QRect>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/files.h"

namespace test_support {

// Expected outputs live under tests/data. `TAGVAROSKOP_REFRESH_GOLDEN=1 ctest` rewrites them
// from what the code now produces; review the change with git diff before committing it.
inline std::string GoldenPath(const std::string& name) {
  return std::string(TAGVAROSKOP_TEST_DATA) + "/" + name;
}

inline bool RefreshingGolden() { return std::getenv("TAGVAROSKOP_REFRESH_GOLDEN") != nullptr; }

// Where a failed comparison leaves what the code produced, beside the test's build folder.
inline std::string ActualPath(const std::string& name) {
  std::string flat = name;
  for (char& c : flat) c = c == '/' ? '_' : c;
  return std::filesystem::absolute("actual_" + flat).string();
}

inline void ExpectSameText(const std::string& name, const std::string& actual) {
  if (RefreshingGolden()) {
    std::filesystem::create_directories(std::filesystem::path(GoldenPath(name)).parent_path());
    WriteBytes(GoldenPath(name), actual);
    return;
  }
  const std::string expected = ReadBytes(GoldenPath(name));
  if (expected == actual) return;
  WriteBytes(ActualPath(name), actual);
  ADD_FAILURE() << name << " differs from its golden file; the output is in " << ActualPath(name)
                << "\n--- expected\n" << expected << "\n--- actual\n" << actual;
}

// Pixel for pixel, except inside the masked rectangles (where text glyphs depend on the fonts
// of the machine).
inline void ExpectSameImage(const std::string& name, const QImage& actualImage,
                            const std::vector<QRect>& masked) {
  const QImage actual = actualImage.convertToFormat(QImage::Format_RGB32);
  if (RefreshingGolden()) {
    std::filesystem::create_directories(std::filesystem::path(GoldenPath(name)).parent_path());
    actual.save(QString::fromStdString(GoldenPath(name)), "PNG");
    return;
  }
  const QImage expected =
      QImage(QString::fromStdString(GoldenPath(name))).convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(expected.size(), actual.size()) << name;
  int differing = 0;
  QPoint first;
  for (int y = 0; y < actual.height(); ++y) {
    for (int x = 0; x < actual.width(); ++x) {
      if (actual.pixel(x, y) == expected.pixel(x, y)) continue;
      bool hidden = false;
      for (const QRect& r : masked) hidden = hidden || r.contains(x, y);
      if (hidden) continue;
      if (differing++ == 0) first = QPoint(x, y);
    }
  }
  if (differing == 0) return;
  actual.save(QString::fromStdString(ActualPath(name)), "PNG");
  ADD_FAILURE() << name << ": " << differing << " pixels differ, the first at (" << first.x()
                << ", " << first.y() << "); the image drawn is " << ActualPath(name);
}

}  // namespace test_support
