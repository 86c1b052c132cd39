#include "platform/qt/look.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleFactory>

#include "platform/surface.h"

namespace platform {

QPalette LightPalette() {
  QStyle* fusion = QStyleFactory::create("Fusion");
  QPalette palette = fusion->standardPalette();
  delete fusion;
  const QColor background(kDialogBackground.red, kDialogBackground.green, kDialogBackground.blue);
  palette.setColor(QPalette::Window, background);
  palette.setColor(QPalette::Button, background);
  return palette;
}

void UseLightLook() {
  QApplication::setStyle(QStyleFactory::create("Fusion"));
  QApplication::setPalette(LightPalette());
}

void TitledFrame::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QFontMetrics metrics(font());
  const int middle = metrics.height() / 2;
  // An etched line: dark, with a light one below and to the right of it.
  const QRect frame(0, middle, width() - 2, height() - middle - 2);
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawRect(frame);
  painter.setPen(palette().color(QPalette::Light));
  painter.drawRect(frame.translated(1, 1));
  const QString text = title();
  if (text.isEmpty()) return;
  const QRect label(6, 0, metrics.horizontalAdvance(text) + 4, metrics.height());
  painter.fillRect(label, palette().color(QPalette::Window));
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawText(label, Qt::AlignCenter, text);
}

FieldEdit::FieldEdit(const QString& text, QWidget* parent) : QLineEdit(text, parent) {
  setFrame(false);
  setTextMargins(-1, 0, -1, 0);  // the text one pixel inside the frame
}

void FieldEdit::paintEvent(QPaintEvent* event) {
  {
    QPainter background(this);
    background.fillRect(rect(), palette().color(QPalette::Base));
  }
  QLineEdit::paintEvent(event);
  QPainter frame(this);
  frame.setPen(palette().color(hasFocus() ? QPalette::Highlight : QPalette::Mid));
  frame.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace platform
