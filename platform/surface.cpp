#include "platform/surface.h"

#include <cmath>

namespace platform {

Surface::Surface(int width, int height, double ratio) : m_width(width), m_height(height), m_ratio(1.0) {
  SetRatio(ratio);
}

void Surface::SetRatio(double ratio) {
  m_ratio = ratio > 0.0 ? ratio : 1.0;
  m_image = QImage(Device(m_width), Device(m_height), QImage::Format_RGB32);
  m_image.setDevicePixelRatio(m_ratio);
  Fill(kDialogBackground);
}

int Surface::Device(int logical) const {
  return m_ratio == 1.0 ? logical : static_cast<int>(std::lround(logical * m_ratio));
}

Rgb Surface::Pixel(int x, int y) const {
  const QRgb p = m_image.pixel(Device(x), Device(y));
  return Rgb{qRed(p), qGreen(p), qBlue(p)};
}

void Surface::SetPixel(int x, int y, Rgb colour) {
  if (!Contains(x, y)) return;
  reinterpret_cast<QRgb*>(m_image.scanLine(Device(y)))[Device(x)] = qRgb(colour.red, colour.green, colour.blue);
}

void Surface::FillRow(int y, int left, int right, Rgb colour) {
  QRgb* row = reinterpret_cast<QRgb*>(m_image.scanLine(y));
  const QRgb value = qRgb(colour.red, colour.green, colour.blue);
  for (int x = left; x < right; ++x) row[x] = value;
}

void Surface::Fill(Rgb colour) { m_image.fill(QColor(colour.red, colour.green, colour.blue)); }

}  // namespace platform
