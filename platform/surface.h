#pragma once

#include <QImage>

namespace platform {

struct Rgb {
  int red, green, blue;
  bool operator==(const Rgb&) const = default;
};

// Background of every dialog's client area.
inline constexpr Rgb kDialogBackground{240, 240, 240};

// A dialog's client area: an RGB image that drawing writes into and the window shows. Its size is
// in logical pixels; at a device pixel ratio other than 1 the image holds that many device
// pixels per logical one (and says so as its own device pixel ratio).
class Surface {
 public:
  Surface(int width, int height, double ratio = 1.0);

  int Width() const { return m_width; }
  int Height() const { return m_height; }
  double Ratio() const { return m_ratio; }
  // A fresh image at another ratio, filled with the dialog background.
  void SetRatio(double ratio);
  // The device pixel where a logical coordinate starts.
  int Device(int logical) const;
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < Width() && y < Height(); }

  // Logical pixels; at another ratio, the first device pixel of each.
  Rgb Pixel(int x, int y) const;
  void SetPixel(int x, int y, Rgb colour);
  void Fill(Rgb colour);
  // Fills the columns left..right-1 of one row of device pixels; the range must lie on the image.
  void FillRow(int y, int left, int right, Rgb colour);

  const QImage& Image() const { return m_image; }
  QImage& Image() { return m_image; }

 private:
  int m_width, m_height;
  double m_ratio;
  QImage m_image;
};

}  // namespace platform
