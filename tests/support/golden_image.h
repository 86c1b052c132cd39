#pragma once

#include <QImage>
#include <QRect>
#include <vector>

#include "tests/support/golden.h"

namespace test_support {

// Pixels that differ outside the masked rectangles (where text glyphs depend on the fonts of
// the machine), and the first of them.
inline int DifferingPixels(const QImage& expectedImage, const QImage& actualImage, const std::vector<QRect>& masked,
                           QPoint* first = nullptr) {
  const QImage expected = expectedImage.convertToFormat(QImage::Format_RGB32);
  const QImage actual = actualImage.convertToFormat(QImage::Format_RGB32);
  if (expected.size() != actual.size()) return -1;
  int differing = 0;
  for (int y = 0; y < actual.height(); ++y) {
    for (int x = 0; x < actual.width(); ++x) {
      if (actual.pixel(x, y) == expected.pixel(x, y)) continue;
      bool hidden = false;
      for (const QRect& r : masked) hidden = hidden || r.contains(x, y);
      if (!hidden && differing++ == 0 && first) *first = QPoint(x, y);
    }
  }
  return differing;
}

inline QImage GoldenImage(const std::string& name) { return QImage(QString::fromStdString(GoldenPath(name))); }

inline void ExpectSameImage(const std::string& name, const QImage& actual, const std::vector<QRect>& masked) {
  if (RefreshingGolden()) {
    std::filesystem::create_directories(std::filesystem::path(GoldenPath(name)).parent_path());
    actual.save(QString::fromStdString(GoldenPath(name)), "PNG");
    return;
  }
  QPoint first;
  const int differing = DifferingPixels(GoldenImage(name), actual, masked, &first);
  if (differing == 0) return;
  actual.save(QString::fromStdString(ActualPath(name)), "PNG");
  ADD_FAILURE() << name << ": " << differing << " pixels differ (-1: the size), the first at (" << first.x() << ", "
                << first.y() << "); the image drawn is " << ActualPath(name);
}

}  // namespace test_support
