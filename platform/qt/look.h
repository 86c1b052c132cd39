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
  // The face and margins for the screen's device pixel ratio.
  void FitRatio(qreal ratio);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  qreal m_ratio = 1.0;
  QString m_before;  // the text before the last edit
};

// A frame of one line a device pixel ratio wide (at least one pixel) along the edges of a widget
// of `size`, on whole device pixels, so that no side falls between pixels at fractional ratios.
void DrawDeviceFrame(QPainter& painter, const QSize& size, const QColor& color);

}  // namespace platform
