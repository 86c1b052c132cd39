#include "platform/qt/dialog_window.h"

#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QStyle>
#include <QVBoxLayout>

#include "platform/qt/look.h"
#include "platform/qt/qt_backend.h"

namespace platform {

QFont DialogFont() {
  QFont font("DejaVu Sans Condensed");
  font.setPixelSize(10);  // every label of the templates fits its box
  font.setStyleHint(QFont::SansSerif);
  return font;
}

QFont FieldFont() {
  QFont font("DejaVu Sans Condensed");
  font.setPixelSize(9);
  font.setLetterSpacing(QFont::AbsoluteSpacing, -0.5);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

QSize FittingScreen(const QSize& wanted, const QWidget& window) {
  const QScreen* screen = window.screen();
  if (screen == nullptr) return wanted;
  return wanted.boundedTo(screen->availableGeometry().size() - QSize(kFrameRoomX, kFrameRoomY));
}

namespace {

// The notification object's face for screen readers: its text as its name.
class AnnouncementAccessible : public QAccessibleWidget {
 public:
  explicit AnnouncementAccessible(QWidget* label) : QAccessibleWidget(label, QAccessible::Notification) {}
  QString text(QAccessible::Text kind) const override {
    return kind == QAccessible::Name ? static_cast<QLabel*>(widget())->text() : QAccessibleWidget::text(kind);
  }
};

QAccessibleInterface* AnnouncementFactory(const QString&, QObject* object) {
  auto* label = qobject_cast<QLabel*>(object);
  return label && label->objectName() == "announcement" ? new AnnouncementAccessible(label) : nullptr;
}

QLabel* NewAnnouncement(QWidget* window) {
  static const bool installed = (QAccessible::installFactory(AnnouncementFactory), true);
  (void)installed;
  auto* label = new QLabel;  // named before it has a parent, so that its face is the factory's
  label->setObjectName("announcement");
  label->setParent(window);
  label->setGeometry(0, 0, 0, 0);
  label->hide();  // until there is something to say: no empty notification when the window opens
  return label;
}

std::optional<Key> KeyOf(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Left:
      return kKeyLeft;
    case Qt::Key_Right:
      return kKeyRight;
    case Qt::Key_Home:
      return kKeyHome;
    case Qt::Key_End:
      return kKeyEnd;
    default:
      return std::nullopt;
  }
}

}  // namespace

ClientArea::ClientArea(DialogWindow& window) : m_window(window) {}

void ClientArea::paintEvent(QPaintEvent*) {
  // The client area is drawn at the screen's resolution; on another screen, anew.
  Surface& client = m_window.Dialog().Client();
  if (client.Ratio() != devicePixelRatioF()) {
    client.SetRatio(devicePixelRatioF());
    m_window.FitRatio();
    m_window.Dialog().Invalidate(true);
  }
  QPainter painter(this);
  painter.drawImage(0, 0, client.Image());
}

void ClientArea::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  const QPoint p = event->position().toPoint();
  m_window.Deliver({Event::kLButtonDown, 0, {p.x(), p.y()}});
}

void ClientArea::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mouseDoubleClickEvent(event);
  const QPoint p = event->position().toPoint();
  m_window.Deliver({Event::kLButtonDblClk, 0, {p.x(), p.y()}});
}

KeyboardArea::KeyboardArea(DialogWindow& window, const PixelRect& area) : QWidget(window.Client()), m_window(window) {
  setObjectName("keyboard_area");
  setGeometry(area.left, area.top, area.Width(), area.Height());
  setFocusPolicy(Qt::TabFocus);
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void KeyboardArea::paintEvent(QPaintEvent*) {
  if (!hasFocus()) return;
  QPainter painter(this);
  DrawDeviceFrame(painter, size(), palette().color(QPalette::Highlight));
}

void KeyboardArea::keyPressEvent(QKeyEvent* event) {
  const std::optional<Key> key = KeyOf(event->key());
  if (!key || event->modifiers() != Qt::NoModifier) return QWidget::keyPressEvent(event);
  m_window.Deliver({Event::kKeyDown, *key});
}

void KeyboardArea::focusInEvent(QFocusEvent* event) {
  update();
  QWidget::focusInEvent(event);
}

void KeyboardArea::focusOutEvent(QFocusEvent* event) {
  update();
  QWidget::focusOutEvent(event);
}

DialogWindow::DialogWindow(CDialog& dialog, QWidget* owner)
    : QDialog(owner), m_dialog(dialog), m_client(new ClientArea(*this)), m_announcement(NewAnnouncement(this)) {
  m_client->setObjectName("client");
  const DialogTemplate& t = dialog.Template();
  setWindowTitle(QString::fromUtf8(t.caption));
  setFont(DialogFont());
  setPalette(LightPalette());
  const QSize client(dialog.Client().Width(), dialog.Client().Height());
  m_client->setFixedSize(client);
  auto* scroll = new QScrollArea(this);
  scroll->setFocusPolicy(Qt::NoFocus);  // the controls are the Tab stops, not what holds them
  m_client->setFocusPolicy(Qt::NoFocus);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidget(m_client);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(scroll);
  FitScreen();
  BuildControls();
  if (const std::optional<PixelRect> area = dialog.KeyboardArea()) m_keyboardArea = new KeyboardArea(*this, *area);
  // The system menu from the keyboard: Alt+Space as on other desktops, and Shift+F10.
  for (const QKeySequence& keys : {QKeySequence(Qt::ALT | Qt::Key_Space), QKeySequence(Qt::SHIFT | Qt::Key_F10)}) {
    auto* shortcut = new QShortcut(keys, this);
    connect(shortcut, &QShortcut::activated, this, [this] {
      const QWidget* focus = focusWidget() ? focusWidget() : this;
      ShowSystemMenu(focus->mapToGlobal(QPoint(0, 0)));
    });
  }
  // F1 gives the help command of this dialog or of the nearest one below it (the About box).
  connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this, [this] {
    for (QWidget* w = this; w; w = w->parentWidget()) {
      auto* window = dynamic_cast<DialogWindow*>(w);
      if (window && window->Dialog().HelpCommand()) {
        return window->Deliver({Event::kSysCommand, *window->Dialog().HelpCommand()});
      }
    }
  });
}

void DialogWindow::BuildControls() {
  for (const ControlTemplate& c : m_dialog.Template().controls) {
    const PixelRect r = ControlPixels(c);
    const QString text = QString::fromUtf8(c.text ? c.text : "");
    QWidget* widget = nullptr;
    QWidget* client = m_client;
    switch (c.kind) {
      case ControlKind::kEdit: {
        auto* edit = new FieldEdit(text, client);
        edit->setFont(FieldFont());
        edit->installEventFilter(this);
        widget = edit;
        break;
      }
      case ControlKind::kPushButton:
      case ControlKind::kDefPushButton: {
        auto* button = new QPushButton(text, client);
        button->setAutoDefault(true);
        button->setDefault(c.kind == ControlKind::kDefPushButton);
        const int id = c.id;
        connect(button, &QPushButton::clicked, this, [this, id] { Deliver({Event::kCommand, id}); });
        widget = button;
        break;
      }
      case ControlKind::kLabel: {
        auto* label = new QLabel(text, client);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        widget = label;
        break;
      }
      case ControlKind::kGroupBox:
        widget = new TitledFrame(text, client);
        break;
      case ControlKind::kPicture: {
        auto* picture = new QLabel(client);
        if (c.picture) m_pictures[picture] = c.picture;
        widget = picture;
        break;
      }
    }
    widget->setGeometry(r.left, r.top, r.Width(), r.Height());
    if (!IsTabStop(c.kind)) widget->setAttribute(Qt::WA_TransparentForMouseEvents);
    if (c.kind == ControlKind::kGroupBox) widget->lower();
    if (c.id != kNoId) {
      widget->setObjectName(QString("control_%1").arg(c.id));
      m_controls[c.id] = widget;
    }
    for (const ControlName& n : m_dialog.Template().names)
      if (n.id == c.id) widget->setAccessibleName(QString::fromUtf8(n.name));
  }
}

QWidget* DialogWindow::Control(int id) const {
  const auto it = m_controls.find(id);
  return it == m_controls.end() ? nullptr : it->second;
}

void DialogWindow::FocusFirstTabStop() {
  for (const ControlTemplate& c : m_dialog.Template().controls) {
    if (IsTabStop(c.kind)) {
      if (QWidget* w = Control(c.id)) w->setFocus(Qt::TabFocusReason);
      return;
    }
  }
}

void DialogWindow::Deliver(const Message& message) {
  if (!m_ended) m_dialog.HandleMessage(message);
}

void DialogWindow::Announce(const QString& text) {
  m_announcement->setText(text);
  // Shown anew, so that screen readers present it as a new notification.
  m_announcement->hide();
  m_announcement->show();
}

void DialogWindow::ShowSystemMenu(const QPoint& globalPosition) {
  QMenu menu(this);
  for (const CMenu::Item& item : m_dialog.SystemMenu().Items()) {
    if (item.separator) {
      menu.addSeparator();
    } else {
      menu.addAction(QString::fromStdString(item.text))->setData(item.id);
    }
  }
  if (QAction* chosen = menu.exec(globalPosition)) {
    Deliver({Event::kSysCommand, chosen->data().toInt()});
  }
}

bool DialogWindow::event(QEvent* event) {
  // First show and resizes expose the window: the dialog paints anew.
  if (event->type() == QEvent::Show || (event->type() == QEvent::Resize && isVisible())) {
    if (m_dialog.Client().Ratio() != devicePixelRatioF()) m_dialog.Client().SetRatio(devicePixelRatioF());
    FitRatio();
    FitScreen();
    m_dialog.Invalidate(true);
  }
  return QDialog::event(event);
}

void DialogWindow::FitScreen() {
  const QSize client = m_client->size();
  QSize size = FittingScreen(client, *this);
  // A scroll bar along one side takes room from the other.
  const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  if (size.width() < client.width()) size = FittingScreen(QSize(size.width(), client.height() + bar), *this);
  if (size.height() < client.height()) size = FittingScreen(QSize(client.width() + bar, size.height()), *this);
  setFixedSize(size);
}

void DialogWindow::FitRatio() {
  const qreal ratio = devicePixelRatioF();
  for (FieldEdit* field : findChildren<FieldEdit*>()) field->FitRatio(ratio);
  // Pictures drawn anew at the device's resolution: crisp at any scale.
  for (const auto& [label, draw] : m_pictures) {
    QPixmap pixmap = QPixmap::fromImage(draw(ratio));
    pixmap.setDevicePixelRatio(ratio);
    label->setPixmap(pixmap);
  }
}

void DialogWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::WindowStateChange) {
    const auto before = static_cast<QWindowStateChangeEvent*>(event)->oldState();
    if ((before & Qt::WindowMinimized) != (windowState() & Qt::WindowMinimized)) {
      m_dialog.Invalidate(true);
    }
  }
  QDialog::changeEvent(event);
}

void DialogWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  Deliver({Event::kSysCommand, static_cast<int>(SC_CLOSE)});
}

void DialogWindow::reject() { Deliver({Event::kCommand, IDCANCEL}); }

void DialogWindow::contextMenuEvent(QContextMenuEvent* event) { ShowSystemMenu(event->globalPos()); }

bool DialogWindow::eventFilter(QObject* watched, QEvent* event) {
  // A field that the focus leaves for another control shows the start of its text, not a
  // scrolled end of it; where the window only loses activation (another window, a menu), caret
  // and selection stay where they were, so that typing on after it goes where it went.
  if (event->type() == QEvent::FocusOut) {
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    const bool windowOnly =
        reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason || reason == Qt::MenuBarFocusReason;
    if (auto* edit = qobject_cast<QLineEdit*>(watched); edit && !windowOnly) edit->setCursorPosition(0);
  }
  if (event->type() == QEvent::ContextMenu &&
      static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
    ShowSystemMenu(static_cast<QWidget*>(watched)->mapToGlobal(QPoint(0, 0)));
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace platform
