#pragma once

#include <QGroupBox>
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

}  // namespace platform
