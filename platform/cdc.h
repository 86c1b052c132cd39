#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <QPointF>

#include "platform/dialog_template.h"
#include "platform/gdi.h"
#include "platform/surface.h"

namespace platform {

class CDialog;

enum BackgroundMode { TRANSPARENT = 1, OPAQUE = 2 };

// What TextOut was asked to draw, for checking labels without looking at glyphs.
struct TextOutRecord {
  int x, y;
  std::string text;
  int cellHeight;
};

// A drawing context on a client image with our own raster rules: a line sets its start pixel
// and not its end pixel; a rectangle and a clip rectangle cover left <= x < right and
// top <= y < bottom. Text goes through QPainter on the same image. Coordinates are logical
// pixels; on a surface with a device pixel ratio other than 1 the same geometry is drawn at the
// device's resolution (see ScaledLine).
class CDC {
 public:
  explicit CDC(Surface& surface);
  virtual ~CDC() = default;
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;

  // Selects a pen or a font and returns the one it replaces (nullptr for the default).
  const CPen* SelectObject(const CPen* pen);
  const CFont* SelectObject(const CFont* font);
  int SetBkMode(int mode);
  int IntersectClipRect(int left, int top, int right, int bottom);

  void Rectangle(int left, int top, int right, int bottom);
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  // The same for a point in fractions of a pixel: on the raster (ratio 1) exactly MoveTo and
  // LineTo of the pixel that holds it; at device resolution smooth to the point itself.
  void MoveToPoint(double x, double y);
  void LineToPoint(double x, double y);
  // At device resolution: a smooth line through all the points, one width, joined without
  // notches; on the raster (ratio 1) nothing is drawn (draw there with MoveTo and LineTo).
  void Polyline(const std::vector<QPointF>& points);
  void TextOut(int x, int y, std::string_view text);
  void DrawIcon(int x, int y, const QImage& icon);
  void FillSolidRect(const PixelRect& rect, Rgb colour);
  // At device resolution, fills the area with the dialog background, so that the smoothed lines
  // and text drawn there next give the same pixels whatever was there before; on the raster
  // (ratio 1), where drawing the same again changes nothing, it does nothing.
  void ClearAtDeviceResolution(const PixelRect& area);
  // Device pixels per logical pixel of the surface drawn on.
  double Ratio() const;

  PixelRect ClipBox() const { return m_clip; }

  // When set, every TextOut is also written here.
  static inline std::vector<TextOutRecord>* s_textLog = nullptr;

 private:
  void Plot(int x, int y, Rgb colour);
  void Line(int x0, int y0, int x1, int y1, Rgb colour);
  void ScaledLine(int x0, int y0, int x1, int y1, Rgb colour);
  void SmoothLine(QPointF from, QPointF to, Rgb colour);
  PixelRect DeviceRect(const PixelRect& logical) const;
  int LineWidth() const;  // in device pixels
  void FillDevice(const PixelRect& device, Rgb colour);

  Surface& m_surface;
  PixelRect m_clip;
  const CPen* m_pen = nullptr;
  const CFont* m_font = nullptr;
  Rgb m_penColour{0, 0, 0};          // the default pen: solid black, width 1
  Rgb m_brushColour{255, 255, 255};  // the default brush: solid white
  int m_bkMode = OPAQUE;
  int m_x = 0, m_y = 0;
  double m_pointX = 0.0, m_pointY = 0.0;
};

// Context for the whole client area of a dialog, outside of painting; shows the drawing when
// it is released.
class CClientDC : public CDC {
 public:
  explicit CClientDC(CDialog* dialog);
  ~CClientDC() override;

 private:
  CDialog* m_dialog;
};

// Context for answering a paint message: erases first if the paint asked for it.
class CPaintDC : public CDC {
 public:
  explicit CPaintDC(CDialog* dialog);
  ~CPaintDC() override;

 private:
  CDialog* m_dialog;
};

}  // namespace platform
