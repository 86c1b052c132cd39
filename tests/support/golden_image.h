#pragma once

#include <QImage>
#include <QRect>
#include <vector>

#include "tests/support/golden.h"

namespace test_support {

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
