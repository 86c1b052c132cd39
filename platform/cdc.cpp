#include "platform/cdc.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cstdlib>
#include <map>

#include "platform/cdialog.h"

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
const LabelFace& LabelFont(int cellHeight) {
  static std::map<int, LabelFace> faces;
  auto known = faces.find(cellHeight);
  if (known != faces.end()) return known->second;
  QFont font("DejaVu Sans");
  font.setStyleHint(QFont::SansSerif);
  font.setStyleStrategy(QFont::NoAntialias);  // drawn twice, a label stays the same
  int best = 1;
  for (int size = 1; size <= std::max(1, cellHeight * 2); ++size) {
    font.setPixelSize(size);
    if (QFontMetrics(font).height() <= cellHeight) best = size;
  }
  font.setPixelSize(best);
  return faces.emplace(cellHeight, LabelFace{font, QFontMetrics(font).ascent()}).first->second;
}

}  // namespace

bool CFont::CreateFontA(int height, int, int, int, int, unsigned char, unsigned char,
                        unsigned char, unsigned char, unsigned char, unsigned char, unsigned char,
                        unsigned char, const char*) {
  m_height = std::abs(height);
  MarkCreated();
  return true;
}

CDC::CDC(Surface& surface)
    : m_surface(surface), m_clip{0, 0, surface.Width(), surface.Height()} {}

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

void CDC::FillSolidRect(const PixelRect& rect, Rgb colour) {
  const PixelRect r = Intersect(rect, m_clip);
  for (int y = r.top; y < r.bottom; ++y) m_surface.FillRow(y, r.left, r.right, colour);
}

void CDC::Rectangle(int left, int top, int right, int bottom) {
  left = Limit(left), top = Limit(top), right = Limit(right), bottom = Limit(bottom);
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  if (right - left < 1 || bottom - top < 1) return;
  FillSolidRect(PixelRect{left, top, right, bottom}, m_penColour);
  FillSolidRect(PixelRect{left + 1, top + 1, right - 1, bottom - 1}, m_brushColour);
}

void CDC::MoveTo(int x, int y) {
  m_x = Limit(x);
  m_y = Limit(y);
}

void CDC::LineTo(int x, int y) {
  x = Limit(x);
  y = Limit(y);
  Line(m_x, m_y, x, y, m_penColour);
  m_x = x;
  m_y = y;
}

// Bresenham from (x0, y0) toward (x1, y1), the end point left out.
void CDC::Line(int x0, int y0, int x1, int y1, Rgb colour) {
  if (std::max(x0, x1) < m_clip.left || std::min(x0, x1) >= m_clip.right ||
      std::max(y0, y1) < m_clip.top || std::min(y0, y1) >= m_clip.bottom) {
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

void CDC::TextOut(int x, int y, std::string_view text) {
  const int cell = m_font ? m_font->CellHeight() : 10;
  if (s_textLog) s_textLog->push_back(TextOutRecord{x, y, std::string(text), cell});
  const LabelFace& face = LabelFont(cell);
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
