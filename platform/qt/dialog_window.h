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
  void FocusFirstTabStop();
  void ShowSystemMenu(const QPoint& globalPosition);
  void Deliver(const Message& message);
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
  std::map<int, QWidget*> m_controls;
  std::map<QLabel*, QImage (*)(double)> m_pictures;  // picture controls and how each is drawn
};

// The face that all dialogs use: a sans-serif face at a size that fits the dialog units.
QFont DialogFont();
// The face of the edit fields: a little smaller and tighter, so that every number the program
// writes (eight characters such as -43.2803) fits its field whole.
QFont FieldFont();

}  // namespace platform
