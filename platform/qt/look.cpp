#include "platform/qt/look.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleFactory>
#include <QtMath>

#include "platform/base/field_text.h"
#include "platform/surface.h"

namespace platform {

QPalette LightPalette() {
  // Fusion's light colours, written out (but a darker highlight): the style's own standard palette
  // follows a dark platform theme. Every colour of every group is set, so that none is filled in from the
  // theme's palette.
  const QColor background(kDialogBackground.red, kDialogBackground.green, kDialogBackground.blue);
  const QColor window(239, 239, 239), light(255, 255, 255), mid(184, 184, 184), dark(159, 159, 159);
  // The highlight darker than Fusion's (48, 140, 198), so that selected white text keeps a contrast
  // of 6:1 rather than 3.6:1.
  const QColor disabledText(190, 190, 190), shadow(118, 118, 118), highlight(0, 99, 177);
  QPalette palette(Qt::black, window, light, dark, mid, Qt::black, Qt::white);
  palette.setColor(QPalette::Midlight, QColor(202, 202, 202));
  palette.setColor(QPalette::Shadow, shadow);
  palette.setColor(QPalette::HighlightedText, Qt::white);
  palette.setColor(QPalette::Highlight, highlight);
  palette.setColor(QPalette::Disabled, QPalette::Highlight, QColor(145, 145, 145));
  for (const QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
    palette.setColor(QPalette::Disabled, role, disabledText);
  palette.setColor(QPalette::Disabled, QPalette::Base, window);
  palette.setColor(QPalette::Disabled, QPalette::Dark, QColor(190, 190, 190));
  palette.setColor(QPalette::Disabled, QPalette::Shadow, QColor(177, 177, 177));
  QColor placeholder(Qt::black);
  placeholder.setAlpha(128);
  palette.setColor(QPalette::PlaceholderText, placeholder);
  palette.setColor(QPalette::Window, background);
  palette.setColor(QPalette::Button, background);
  for (int group = 0; group < QPalette::NColorGroups; ++group) {
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
      const auto g = static_cast<QPalette::ColorGroup>(group);
      const auto r = static_cast<QPalette::ColorRole>(role);
      palette.setBrush(g, r, palette.brush(g, r));
    }
  }
  return palette;
}

void UseLightLook() {
  QApplication::setStyle(QStyleFactory::create("Fusion"));
  const QPalette palette = LightPalette();
  QApplication::setPalette(palette);
  // A platform theme gives some kinds of widget palettes of their own, which the program's does
  // not replace: each is set to the light one too.
  for (const char* kind : {"QAbstractButton", "QToolButton", "QCheckBox", "QRadioButton", "QHeaderView",
                           "QAbstractItemView", "QMessageBoxLabel", "QTabBar", "QLabel", "QGroupBox", "QMenu",
                           "QMenuBar", "QTextEdit", "QTextControl", "QLineEdit", "QComboBox", "QAbstractSpinBox"})
    QApplication::setPalette(palette, kind);
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

FieldEdit::FieldEdit(const QString& text, QWidget* parent) : QLineEdit(text, parent), m_before(text) {
  setFrame(false);
  setTextMargins(-1, 0, -1, 0);  // the text one pixel inside the frame
  // What a paste (or a drop) puts in: its first line, as single-line fields take it.
  connect(this, &QLineEdit::textEdited, this, [this](const QString& after) {
    if (after.contains('\n') || after.contains('\r')) {
      qsizetype head = 0, tail = 0;  // the text before and after what came in
      while (head < after.size() && head < m_before.size() && after[head] == m_before[head]) ++head;
      while (tail < after.size() - head && tail < m_before.size() - head &&
             after[after.size() - 1 - tail] == m_before[m_before.size() - 1 - tail])
        ++tail;
      const std::string inserted = after.mid(head, after.size() - head - tail).toStdString();
      const QString first = QString::fromStdString(std::string(FirstLine(inserted)));
      setText(after.left(head) + first + after.right(tail));
      setCursorPosition(static_cast<int>(head + first.size()));
    }
    m_before = this->text();
  });
  connect(this, &QLineEdit::textChanged, this, [this](const QString& now) { m_before = now; });
}

void FieldEdit::paintEvent(QPaintEvent* event) {
  {
    QPainter background(this);
    background.fillRect(rect(), palette().color(QPalette::Base));
  }
  QLineEdit::paintEvent(event);
  QPainter frame(this);
  DrawDeviceFrame(frame, size(), palette().color(hasFocus() ? QPalette::Highlight : QPalette::Mid));
}

void FieldEdit::FitRatio(qreal ratio) {
  if (ratio == m_ratio) return;
  m_ratio = ratio;
  // At 1 the fields keep their tight face; at other ratios the glyphs are not hinted to whole
  // pixels, so a slightly smaller face leaves every number a pixel of room inside the frame.
  QFont face = font();
  face.setPixelSize(ratio == 1.0 ? 9 : 8);
  setFont(face);
  setTextMargins(ratio == 1.0 ? -1 : 0, 0, ratio == 1.0 ? -1 : 0, 0);
}

void DrawDeviceFrame(QPainter& painter, const QSize& size, const QColor& color) {
  // Where the widget lies on the device: at fractional ratios its edges fall between pixels,
  // so the frame is drawn on the outermost whole pixels inside it, one pixel a ratio wide.
  const qreal ratio = painter.device()->devicePixelRatioF();
  const QTransform toDevice = painter.deviceTransform();
  const QPointF origin = toDevice.map(QPointF(0, 0));
  const QPointF end = toDevice.map(QPointF(size.width(), size.height()));
  const QRect box(QPoint(qCeil(origin.x()), qCeil(origin.y())), QPoint(qFloor(end.x()) - 1, qFloor(end.y()) - 1));
  const int line = qMax(1, static_cast<int>(ratio));
  painter.save();
  painter.setWorldTransform(toDevice.inverted(), true);  // painting in device pixels from here
  painter.fillRect(QRect(box.left(), box.top(), box.width(), line), color);
  painter.fillRect(QRect(box.left(), box.bottom() + 1 - line, box.width(), line), color);
  painter.fillRect(QRect(box.left(), box.top(), line, box.height()), color);
  painter.fillRect(QRect(box.right() + 1 - line, box.top(), line, box.height()), color);
  painter.restore();
}

}  // namespace platform
