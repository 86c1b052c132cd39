#pragma once

#include <QImage>

namespace platform {

struct Rgb {
  int red, green, blue;
  bool operator==(const Rgb&) const = default;
};

// Background of every dialog's client area.
inline constexpr Rgb kDialogBackground{240, 240, 240};

// A dialog's client area: an RGB image of its pixel size that drawing writes into and the
// window shows.
class Surface {
 public:
  Surface(int width, int height);

  int Width() const { return m_image.width(); }
  int Height() const { return m_image.height(); }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < Width() && y < Height(); }

  Rgb Pixel(int x, int y) const;
  void SetPixel(int x, int y, Rgb colour);
  void Fill(Rgb colour);
  // Fills the columns left..right-1 of one row; the range must lie on the surface.
  void FillRow(int y, int left, int right, Rgb colour);

  const QImage& Image() const { return m_image; }
  QImage& Image() { return m_image; }

 private:
  QImage m_image;
};

}  // namespace platform
