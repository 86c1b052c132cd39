#pragma once

#include <map>

#include <QDialog>

#include "platform/cdialog.h"

namespace platform {

// The real window of one dialog: child controls built from the template, the client image
// painted behind them, and the user's input turned into the dialog's messages.
class DialogWindow : public QDialog {
 public:
  DialogWindow(CDialog& dialog, QWidget* owner);

  CDialog& Dialog() { return m_dialog; }
  QWidget* Control(int id) const;
  void FocusFirstTabStop();
  void ShowSystemMenu(const QPoint& globalPosition);
  void Deliver(const Message& message);

  bool m_ended = false;
  bool m_paintScheduled = false;

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool event(QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void reject() override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  // The Menu key and Shift+F10 in an edit field open the system menu too.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();

  CDialog& m_dialog;
  std::map<int, QWidget*> m_controls;
};

// The face that all dialogs use: a sans-serif face at a size that fits the dialog units.
QFont DialogFont();
// The face of the edit fields: a little smaller and tighter, so that every number the program
// writes (eight characters such as -43.2803) fits its field whole.
QFont FieldFont();

}  // namespace platform
