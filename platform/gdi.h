#pragma once

#include <string>

#include "platform/surface.h"

namespace platform {

// A drawing object. Created objects are counted until they are deleted, so that a drawing can
// be checked for objects it left behind.
class CGdiObject {
 public:
  CGdiObject() = default;
  CGdiObject(const CGdiObject&) = delete;
  CGdiObject& operator=(const CGdiObject&) = delete;
  virtual ~CGdiObject() { DeleteObject(); }

  bool DeleteObject() {
    if (!m_created) return false;
    m_created = false;
    --s_live;
    return true;
  }
  static int LiveCount() { return s_live; }

 protected:
  void MarkCreated() {
    if (!m_created) ++s_live;
    m_created = true;
  }

 private:
  bool m_created = false;
  static inline int s_live = 0;
};

enum PenStyle { PS_SOLID = 0, PS_INSIDEFRAME = 6 };

// A pen one pixel wide: the only width the charts use, where solid and inside-frame pens draw
// the same pixels.
class CPen : public CGdiObject {
 public:
  CPen() = default;
  CPen(int style, int width, Rgb colour) { CreatePen(style, width, colour); }
  bool CreatePen(int /*style*/, int /*width*/, Rgb colour) {
    m_colour = colour;
    MarkCreated();
    return true;
  }
  Rgb Colour() const { return m_colour; }

 private:
  Rgb m_colour{0, 0, 0};
};

// A font by its request; only the character cell height in pixels counts: every face maps to
// a sans-serif face of the machine whose cell has that height.
class CFont : public CGdiObject {
 public:
  bool CreateFontA(int height, int width, int escapement, int orientation, int weight, unsigned char italic,
                   unsigned char underline, unsigned char strikeOut, unsigned char charSet, unsigned char outPrecision,
                   unsigned char clipPrecision, unsigned char quality, unsigned char pitchAndFamily, const char* face);
  int CellHeight() const { return m_height; }

 private:
  int m_height = 0;
};

}  // namespace platform
