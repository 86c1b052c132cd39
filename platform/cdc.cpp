#include "platform/cdc.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>

#include "platform/cdialog.h"
#include "solar/numeric.h"

namespace platform {

namespace {

// Device coordinates are held to this range, which bounds the work of a line.
constexpr int kCoordinateLimit = 32767;

int Limit(int v) { return std::clamp(v, -kCoordinateLimit, kCoordinateLimit); }

PixelRect Intersect(const PixelRect& a, const PixelRect& b) {
  PixelRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

struct LabelFace {
  QFont font;
  int ascent;
};

// The machine's sans-serif face at the largest pixel size whose cell is `cellHeight` high,
// looked up once per height.
// At device resolution (`raster` false) the face is smoothed.
const LabelFace& LabelFont(int cellHeight, bool raster) {
  static std::map<std::pair<int, bool>, LabelFace> faces;
  auto known = faces.find({cellHeight, raster});
  if (known != faces.end()) return known->second;
  QFont font("DejaVu Sans");
  font.setStyleHint(QFont::SansSerif);
  // Drawn twice, a label stays the same on the raster.
  font.setStyleStrategy(raster ? QFont::NoAntialias : QFont::PreferAntialias);
  int best = 1;
  for (int size = 1; size <= std::max(1, cellHeight * 2); ++size) {
    font.setPixelSize(size);
    if (QFontMetrics(font).height() <= cellHeight) best = size;
  }
  font.setPixelSize(best);
  return faces.emplace(std::pair{cellHeight, raster}, LabelFace{font, QFontMetrics(font).ascent()}).first->second;
}

}  // namespace

bool CFont::CreateFontA(int height, int, int, int, int, unsigned char, unsigned char, unsigned char, unsigned char,
                        unsigned char, unsigned char, unsigned char, unsigned char, const char*) {
  m_height = std::abs(height);
  MarkCreated();
  return true;
}

CDC::CDC(Surface& surface) : m_surface(surface), m_clip{0, 0, surface.Width(), surface.Height()} {}

const CPen* CDC::SelectObject(const CPen* pen) {
  const CPen* previous = m_pen;
  m_pen = pen;
  m_penColour = pen ? pen->Colour() : Rgb{0, 0, 0};
  return previous;
}

const CFont* CDC::SelectObject(const CFont* font) {
  const CFont* previous = m_font;
  m_font = font;
  return previous;
}

int CDC::SetBkMode(int mode) {
  const int previous = m_bkMode;
  m_bkMode = mode;
  return previous;
}

int CDC::IntersectClipRect(int left, int top, int right, int bottom) {
  m_clip = Intersect(m_clip, PixelRect{left, top, right, bottom});
  return m_clip.Width() > 0 && m_clip.Height() > 0 ? 2 : 1;  // simple region, or empty
}

void CDC::Plot(int x, int y, Rgb colour) {
  if (x >= m_clip.left && x < m_clip.right && y >= m_clip.top && y < m_clip.bottom) {
    m_surface.SetPixel(x, y, colour);
  }
}

PixelRect CDC::DeviceRect(const PixelRect& logical) const {
  return PixelRect{m_surface.Device(logical.left), m_surface.Device(logical.top), m_surface.Device(logical.right),
                   m_surface.Device(logical.bottom)};
}

int CDC::LineWidth() const { return std::max(1, static_cast<int>(std::lround(m_surface.Ratio()))); }

void CDC::FillDevice(const PixelRect& device, Rgb colour) {
  const PixelRect r = Intersect(device, DeviceRect(m_clip));
  for (int y = r.top; y < r.bottom; ++y) m_surface.FillRow(y, r.left, r.right, colour);
}

void CDC::FillSolidRect(const PixelRect& rect, Rgb colour) { FillDevice(DeviceRect(rect), colour); }

void CDC::Rectangle(int left, int top, int right, int bottom) {
  left = Limit(left), top = Limit(top), right = Limit(right), bottom = Limit(bottom);
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  if (right - left < 1 || bottom - top < 1) return;
  const PixelRect outer = DeviceRect(PixelRect{left, top, right, bottom});
  const int w = LineWidth();  // the border: one logical pixel, whole device pixels wide
  FillDevice(outer, m_penColour);
  FillDevice(PixelRect{outer.left + w, outer.top + w, outer.right - w, outer.bottom - w}, m_brushColour);
}

void CDC::MoveTo(int x, int y) {
  m_x = Limit(x);
  m_y = Limit(y);
  m_pointX = m_x;
  m_pointY = m_y;
}

void CDC::LineTo(int x, int y) {
  x = Limit(x);
  y = Limit(y);
  if (m_surface.Ratio() == 1.0) {
    Line(m_x, m_y, x, y, m_penColour);
  } else {
    ScaledLine(m_x, m_y, x, y, m_penColour);
  }
  m_x = x;
  m_y = y;
}

void CDC::MoveToPoint(double x, double y) {
  MoveTo(solar::TruncToInt(x), solar::TruncToInt(y));
  m_pointX = x;
  m_pointY = y;
}

void CDC::LineToPoint(double x, double y) {
  if (m_surface.Ratio() == 1.0) {
    LineTo(solar::TruncToInt(x), solar::TruncToInt(y));
  } else {
    SmoothLine(QPointF(m_pointX, m_pointY), QPointF(x, y), m_penColour);
    MoveTo(solar::TruncToInt(x), solar::TruncToInt(y));
  }
  m_pointX = x;
  m_pointY = y;
}

// A line at the device's resolution, smooth, LineWidth() device pixels wide, within the clip.
void CDC::SmoothLine(QPointF from, QPointF to, Rgb colour) {
  QPainter painter(&m_surface.Image());
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setClipRect(m_clip.left, m_clip.top, m_clip.Width(), m_clip.Height());
  painter.setPen(QPen(QColor(colour.red, colour.green, colour.blue), LineWidth() / m_surface.Ratio(), Qt::SolidLine,
                      Qt::RoundCap));
  painter.drawLine(from, to);
}

// At a device pixel ratio other than 1: a straight line along a row or column covers the same
// logical pixels as the raster line, snapped to whole device pixels and LineWidth() wide;
// any other line is drawn smooth through the pixel centres, as wide.
void CDC::ScaledLine(int x0, int y0, int x1, int y1, Rgb colour) {
  if (x0 == x1 && y0 == y1) return;
  if (y0 == y1 || x0 == x1) {
    const int w = LineWidth();
    const bool across = y0 == y1;
    const int from = across ? x0 : y0, to = across ? x1 : y1;
    const int first = std::min(from, to) + (to < from ? 1 : 0), last = std::max(from, to) + (to < from ? 1 : 0);
    const int along0 = m_surface.Device(first), along1 = m_surface.Device(last);
    const int at = m_surface.Device(across ? y0 : x0);
    FillDevice(across ? PixelRect{along0, at, along1, at + w} : PixelRect{at, along0, at + w, along1}, colour);
    return;
  }
  SmoothLine(QPointF(x0 + 0.5, y0 + 0.5), QPointF(x1 + 0.5, y1 + 0.5), colour);
}

// Bresenham from (x0, y0) toward (x1, y1), the end point left out.
void CDC::Line(int x0, int y0, int x1, int y1, Rgb colour) {
  if (std::max(x0, x1) < m_clip.left || std::min(x0, x1) >= m_clip.right || std::max(y0, y1) < m_clip.top ||
      std::min(y0, y1) >= m_clip.bottom) {
    return;
  }
  const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
  const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
  int error = dx + dy;
  while (x0 != x1 || y0 != y1) {
    Plot(x0, y0, colour);
    const int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x0 += sx;
    }
    if (twice <= dx) {
      error += dx;
      y0 += sy;
    }
  }
}

void CDC::Polyline(const std::vector<QPointF>& points) {
  if (m_surface.Ratio() == 1.0 || points.empty()) return;
  QPainter painter(&m_surface.Image());
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setClipRect(m_clip.left, m_clip.top, m_clip.Width(), m_clip.Height());
  painter.setPen(QPen(QColor(m_penColour.red, m_penColour.green, m_penColour.blue), LineWidth() / m_surface.Ratio(),
                      Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPolyline(points.data(), static_cast<int>(points.size()));
}

void CDC::ClearAtDeviceResolution(const PixelRect& area) {
  if (m_surface.Ratio() != 1.0) FillDevice(DeviceRect(area), kDialogBackground);
}

double CDC::Ratio() const { return m_surface.Ratio(); }

void CDC::TextOut(int x, int y, std::string_view text) {
  const int cell = m_font ? m_font->CellHeight() : 10;
  if (s_textLog) s_textLog->push_back(TextOutRecord{x, y, std::string(text), cell});
  const LabelFace& face = LabelFont(cell, m_surface.Ratio() == 1.0);
  const QString string = QString::fromUtf8(text.data(), static_cast<int>(text.size()));
  QPainter painter(&m_surface.Image());
  painter.setClipRect(m_clip.left, m_clip.top, m_clip.Width(), m_clip.Height());
  if (m_bkMode == OPAQUE) {
    painter.fillRect(x, y, QFontMetrics(face.font).horizontalAdvance(string), cell, Qt::white);
  }
  painter.setFont(face.font);
  painter.setPen(Qt::black);
  painter.drawText(x, y + face.ascent, string);
}

void CDC::DrawIcon(int x, int y, const QImage& icon) {
  QPainter painter(&m_surface.Image());
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.setClipRect(m_clip.left, m_clip.top, m_clip.Width(), m_clip.Height());
  painter.drawImage(x, y, icon);
}

CClientDC::CClientDC(CDialog* dialog) : CDC(dialog->Client()), m_dialog(dialog) {}

CClientDC::~CClientDC() { m_dialog->ClientChanged(); }

CPaintDC::CPaintDC(CDialog* dialog) : CDC(dialog->Client()), m_dialog(dialog) {
  if (dialog->TakeErasePending()) dialog->Client().Fill(kDialogBackground);
}

CPaintDC::~CPaintDC() { m_dialog->ClientChanged(); }

}  // namespace platform
