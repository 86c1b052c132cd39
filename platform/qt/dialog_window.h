#pragma once

#include <map>

#include <QDialog>
#include <QLabel>

#include "platform/cdialog.h"

namespace platform {

class DialogWindow;

// The client area of a dialog window: the client image, painted behind the controls, and the
// mouse input on it, in the client's own coordinates.
class ClientArea : public QWidget {
 public:
  explicit ClientArea(DialogWindow& window);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  DialogWindow& m_window;
};

// The part of the client area that takes the keyboard, where the dialog has one: the Tab stop
// after the controls (by Tab only, so that a click does what it always did), the arrow keys,
// Home and End given to the dialog, a frame while it has the focus. The mouse goes through it.
class KeyboardArea : public QWidget {
 public:
  KeyboardArea(DialogWindow& window, const PixelRect& area);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  DialogWindow& m_window;
};

// Room for a window manager's frame around a window: its title bar and borders.
inline constexpr int kFrameRoomX = 16, kFrameRoomY = 40;
// The size of a window whose content wants `wanted`, at most what the screen's free area leaves
// it with its frame.
QSize FittingScreen(const QSize& wanted, const QWidget& window);

// The real window of one dialog: child controls built from the template on its client area, and
// the user's input turned into the dialog's messages. Where the screen is too small for the
// template (a large scale on a small screen), the client area scrolls.
class DialogWindow : public QDialog {
 public:
  DialogWindow(CDialog& dialog, QWidget* owner);

  CDialog& Dialog() { return m_dialog; }
  QWidget* Control(int id) const;
  QWidget* Client() const { return m_client; }
  QWidget* KeyboardPart() const { return m_keyboardArea; }  // none where the dialog takes no keys
  void FocusFirstTabStop();
  void ShowSystemMenu(const QPoint& globalPosition);
  void Deliver(const Message& message);
  // Tells screen readers `text` through the window's notification object.
  void Announce(const QString& text);
  // The fields' faces and the pictures for the device pixel ratio of the screen shown on.
  void FitRatio();

  bool m_ended = false;
  bool m_paintScheduled = false;

 protected:
  bool event(QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void reject() override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  // The Menu key and Shift+F10 in an edit field open the system menu too.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  // The window's size: the client's, or where the screen is too small, what fits with scroll bars.
  void FitScreen();

  CDialog& m_dialog;
  ClientArea* m_client;
  KeyboardArea* m_keyboardArea = nullptr;
  QLabel* m_announcement;  // no room on the screen: a notification for screen readers only
  std::map<int, QWidget*> m_controls;
  std::map<QLabel*, QImage (*)(double)> m_pictures;  // picture controls and how each is drawn
};

// The face that all dialogs use: a sans-serif face at a size that fits the dialog units.
QFont DialogFont();
// The face of the edit fields: a little smaller and tighter, so that every number the program
// writes (eight characters such as -43.2803) fits its field whole.
QFont FieldFont();

}  // namespace platform
