#pragma once

#include <QGroupBox>
#include <QLineEdit>
#include <QPalette>

namespace platform {

// The dialogs' charts draw fixed colours and black labels on the dialog background, so every
// dialog keeps one light look whatever the desktop's theme: the Fusion style with its light
// palette, the window colour the dialog background. Call once the application exists.
void UseLightLook();
QPalette LightPalette();

// A group box as the dialog templates mean it: the frame's top line runs through the middle of
// the title, which stands on the dialog background; nothing inside it moves.
class TitledFrame : public QGroupBox {
 public:
  using QGroupBox::QGroupBox;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// An edit field with a thin frame: it leaves the text room for every number the program writes
// (eight characters such as -43.2803) in the templates' sizes.
class FieldEdit : public QLineEdit {
 public:
  FieldEdit(const QString& text, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace platform
