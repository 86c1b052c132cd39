#include "platform/surface.h"

namespace platform {

Surface::Surface(int width, int height) : m_image(width, height, QImage::Format_RGB32) {
  Fill(kDialogBackground);
}

Rgb Surface::Pixel(int x, int y) const {
  const QRgb p = m_image.pixel(x, y);
  return Rgb{qRed(p), qGreen(p), qBlue(p)};
}

void Surface::SetPixel(int x, int y, Rgb colour) {
  if (!Contains(x, y)) return;
  reinterpret_cast<QRgb*>(m_image.scanLine(y))[x] = qRgb(colour.red, colour.green, colour.blue);
}

void Surface::FillRow(int y, int left, int right, Rgb colour) {
  QRgb* row = reinterpret_cast<QRgb*>(m_image.scanLine(y));
  const QRgb value = qRgb(colour.red, colour.green, colour.blue);
  for (int x = left; x < right; ++x) row[x] = value;
}

void Surface::Fill(Rgb colour) { m_image.fill(QColor(colour.red, colour.green, colour.blue)); }

}  // namespace platform
