#pragma once

namespace platform {

struct Point {
  int x, y;
};

// The window messages a dialog's message map can name.
enum class Event { kCommand, kSysCommand, kPaint, kLButtonDown, kLButtonDblClk, kKeyDown };

// The keys a key-down message names (its id), for a client area that takes the keyboard.
enum Key : int { kKeyLeft = 1, kKeyRight, kKeyHome, kKeyEnd };

struct Message {
  Event event;
  int id = 0;  // command: the control; system command: the command id; key down: the Key
  Point point{0, 0};
};

// System command ids of the platform.
inline constexpr unsigned SC_MINIMIZE = 0xF020;
inline constexpr unsigned SC_CLOSE = 0xF060;

enum class MessageIcon { kExclamation, kStop };

}  // namespace platform
