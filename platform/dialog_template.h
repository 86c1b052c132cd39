#pragma once

#include <span>

#include <QImage>

namespace platform {

enum class ControlKind { kEdit, kPushButton, kDefPushButton, kLabel, kGroupBox, kPicture };

// One control of a dialog template; positions and sizes in dialog units.
struct ControlTemplate {
  int id;  // -1 for a control without an ID
  ControlKind kind;
  const char* text;
  int x, y, width, height;
  // Picture controls: draws the bitmap they show at a device pixel ratio (at 1 its pixels).
  QImage (*picture)(double ratio) = nullptr;
};

// The name that a screen reader gives a control without a text of its own (an edit field): the
// texts of the labels that stand beside and above it.
struct ControlName {
  int id;
  const char* name;
};

struct DialogTemplate {
  int id;
  const char* caption;
  int width, height;  // dialog units
  std::span<const ControlTemplate> controls;
  std::span<const ControlName> names = {};
};

inline constexpr int kNoId = -1;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

// Fixed dialog base units of an 8-point sans dialog font at 96 dpi.
inline constexpr int DialogUnitsToPixelsX(int dlu) { return dlu * 6 / 4; }
inline constexpr int DialogUnitsToPixelsY(int dlu) { return dlu * 13 / 8; }

struct PixelRect {
  int left, top, right, bottom;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

// Pixel rectangle of a control: both corners mapped, as a rectangle of dialog units maps.
inline PixelRect ControlPixels(const ControlTemplate& c) {
  return PixelRect{DialogUnitsToPixelsX(c.x), DialogUnitsToPixelsY(c.y), DialogUnitsToPixelsX(c.x + c.width),
                   DialogUnitsToPixelsY(c.y + c.height)};
}

inline bool IsPushButton(ControlKind kind) {
  return kind == ControlKind::kPushButton || kind == ControlKind::kDefPushButton;
}

inline bool IsTabStop(ControlKind kind) { return kind == ControlKind::kEdit || IsPushButton(kind); }

// The control of the template with that ID, or nullptr.
inline const ControlTemplate* FindControl(const DialogTemplate& t, int id) {
  for (const ControlTemplate& c : t.controls) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

}  // namespace platform
