#include <cmath>

#include "res/resources.h"

namespace res {

namespace {

// The program's picture: the sun standing over a horizon, drawn pixel by pixel so that it
// stays crisp at every size. `smooth` shades the sky; without it the picture has few colours.
QImage SunOverHorizon(int width, int height, bool smooth) {
  QImage image(width, height, QImage::Format_RGB32);
  const double horizon = height * 0.66;
  const double cx = width * 0.5, cy = horizon - height * 0.05;
  const double radius = std::min(width, height) * 0.27;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const double px = x + 0.5, py = y + 0.5;
      const double distance = std::hypot(px - cx, py - cy);
      QRgb colour;
      if (py >= horizon) {
        const bool furrow = smooth && static_cast<int>((py - horizon) / (height * 0.06)) % 2 == 1;
        colour = furrow ? qRgb(46, 120, 40) : qRgb(60, 145, 50);
      } else if (distance <= radius) {
        colour = distance <= radius * 0.75 ? qRgb(255, 220, 40) : qRgb(250, 170, 20);
      } else {
        const double angle = std::atan2(py - cy, px - cx);
        const bool ray = distance <= radius * 1.55 && std::fmod(angle + 7.0 * M_PI, M_PI / 4.0) < M_PI / 16.0;
        if (ray) {
          colour = qRgb(250, 190, 30);
        } else if (smooth) {
          const double f = py / horizon;
          colour = qRgb(static_cast<int>(40 + 150 * f), static_cast<int>(90 + 130 * f), static_cast<int>(200 + 50 * f));
        } else {
          colour = qRgb(90, 160, 235);
        }
      }
      image.setPixel(x, y, colour);
    }
  }
  return image;
}

}  // namespace

QImage LoadIcon(int size) { return SunOverHorizon(size, size, size > 32); }

QImage LoadBitmap(int id, double ratio) {
  if (id != IDB_PICTURE) return {};
  return SunOverHorizon(static_cast<int>(std::lround(93 * ratio)), static_cast<int>(std::lround(125 * ratio)), true);
}

}  // namespace res
