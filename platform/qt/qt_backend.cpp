#include "platform/qt/qt_backend.h"

#include <QAbstractItemView>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIconEngine>
#include <QIdentityProxyModel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTreeView>
#include <stdexcept>

#include "platform/qt/dialog_window.h"

namespace platform {

template <typename Run>
auto QtBackend::RunOnTop(QWidget* box, Run run) {
  m_modal.push_back(box);
  struct Pop {
    std::vector<QWidget*>& stack;
    ~Pop() { stack.pop_back(); }
  } pop{m_modal};
  return run();
}

int QtBackend::RunModal(CDialog& dialog) {
  DialogWindow window(dialog, Topmost());
  m_windows[&dialog] = &window;
  const int result = RunOnTop(&window, [&] {
    dialog.OpenWindow();
    if (dialog.HandleInitDialog()) window.FocusFirstTabStop();
    return window.m_ended ? window.result() : window.exec();
  });
  m_windows.erase(&dialog);
  m_icons.erase(&dialog);
  return result;
}

void QtBackend::EndModal(CDialog& dialog, int result) {
  DialogWindow& window = WindowOf(dialog);
  window.m_ended = true;
  window.done(result);
}

DialogWindow& QtBackend::WindowOf(const CDialog& dialog) const {
  const auto it = m_windows.find(&dialog);
  if (it == m_windows.end()) throw std::logic_error("dialog has no window");
  return *it->second;
}

std::string QtBackend::GetControlText(const CDialog& dialog, int id) {
  QWidget* control = WindowOf(dialog).Control(id);
  if (auto* edit = qobject_cast<QLineEdit*>(control)) return edit->text().toStdString();
  if (auto* button = qobject_cast<QPushButton*>(control)) return button->text().toStdString();
  return {};
}

void QtBackend::SetControlText(CDialog& dialog, int id, const std::string& text) {
  QWidget* control = WindowOf(dialog).Control(id);
  if (auto* edit = qobject_cast<QLineEdit*>(control)) {
    edit->setText(QString::fromStdString(text));
    edit->setCursorPosition(0);  // show the start of a text that is wider than the field
  }
}

void QtBackend::FocusAndSelect(CDialog& dialog, int id) {
  QWidget* control = WindowOf(dialog).Control(id);
  if (control == nullptr) return;
  control->setFocus(Qt::OtherFocusReason);
  if (auto* edit = qobject_cast<QLineEdit*>(control)) edit->selectAll();
}

void QtBackend::ShowMessageBox(const std::string& caption, const std::string& text, MessageIcon icon) {
  QMessageBox box(icon == MessageIcon::kStop ? QMessageBox::Critical : QMessageBox::Warning,
                  QString::fromStdString(caption), QString::fromStdString(text), QMessageBox::Ok, Topmost());
  RunOnTop(&box, [&] { return box.exec(); });
}

namespace {

// A name with a wildcard, accepted as it stands (Enter on the starting "*.ort"), filters the
// list instead of naming a file.
class PatternFileDialog : public QFileDialog {
 public:
  using QFileDialog::QFileDialog;
  void accept() override {
    const QStringList chosen = selectedFiles();
    if (!chosen.isEmpty() && IsNamePattern(chosen.front().toStdString())) {
      setNameFilter(QFileInfo(chosen.front()).fileName());
      return;
    }
    QFileDialog::accept();
  }
};

// The list's sizes and dates in German whatever the locale of the session, as the rest of the
// dialog is German.
class GermanFileList : public QIdentityProxyModel {
 public:
  using QIdentityProxyModel::QIdentityProxyModel;
  QVariant data(const QModelIndex& index, int role) const override {
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (role != Qt::DisplayRole || !files || (index.column() != 1 && index.column() != 3)) {
      return QIdentityProxyModel::data(index, role);
    }
    const QModelIndex source = mapToSource(index);
    const QLocale german(QLocale::German, QLocale::Germany);
    if (index.column() == 3) return german.toString(files->lastModified(source), QLocale::ShortFormat);
    if (files->isDir(source)) return QIdentityProxyModel::data(index, role);
    return german.formattedDataSize(files->size(source));
  }
};

}  // namespace

std::optional<std::string> QtBackend::RunFileDialog(CDialog& owner, const FileDialogRequest& request) {
  PatternFileDialog box(&WindowOf(owner));
  box.setOption(QFileDialog::DontUseNativeDialog);
  box.setProxyModel(new GermanFileList(&box));
  // 820 by 520 where the screen has the room with the frame, smaller where not.
  box.resize(FittingScreen(QSize(820, 520), WindowOf(owner)));
  // The detail view's columns as wide as what they show; the name takes the rest.
  if (auto* details = box.findChild<QTreeView*>()) {
    for (int column = 1; column < 4; ++column)
      details->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
  }
  // The list with the keyboard focus is framed: its current item alone shows nothing where the
  // list is empty or has no current item.
  for (auto* view : box.findChildren<QAbstractItemView*>())
    view->setStyleSheet("QAbstractItemView:focus { border: 2px solid palette(highlight); }");
  box.setAcceptMode(request.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  box.setFileMode(QFileDialog::AnyFile);  // the open form does not require the file to exist
  box.setOption(QFileDialog::DontConfirmOverwrite, !(request.flags & OFN_OVERWRITEPROMPT));
  box.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
  // The initial name is a pattern such as "*.ort": the list shows the matching files.
  box.setNameFilter(QString::fromStdString(request.initialName));
  box.selectFile(QString::fromStdString(request.initialName));
  const int result = RunOnTop(&box, [&] { return box.exec(); });
  if (result != QDialog::Accepted || box.selectedFiles().isEmpty()) return std::nullopt;
  return box.selectedFiles().front().toStdString();
}

namespace {

// A window icon whose pictures keep their own sizes at every device pixel ratio: the window
// manager receives exactly them (_NET_WM_ICON) and picks and scales for itself.
class ExactIconEngine : public QIconEngine {
 public:
  explicit ExactIconEngine(std::map<int, QImage> pictures) : m_pictures(std::move(pictures)) {}
  QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
    const auto fitting = m_pictures.lower_bound(std::max(size.width(), size.height()));
    const QImage& image = fitting == m_pictures.end() ? m_pictures.rbegin()->second : fitting->second;
    return QPixmap::fromImage(image.size() == size ? image
                                                   : image.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
  }
  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
  }
  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
    QList<QSize> sizes;
    for (const auto& [side, image] : m_pictures) sizes.append(image.size());
    return sizes;
  }
  QIconEngine* clone() const override { return new ExactIconEngine(m_pictures); }
  void virtual_hook(int id, void* data) override {
    if (id != QIconEngine::ScaledPixmapHook) return QIconEngine::virtual_hook(id, data);
    auto* wanted = static_cast<QIconEngine::ScaledPixmapArgument*>(data);  // the size itself, not scaled
    wanted->pixmap = pixmap(wanted->size / wanted->scale, wanted->mode, wanted->state);
  }

 private:
  std::map<int, QImage> m_pictures;
};

}  // namespace

void QtBackend::SetIcon(CDialog& dialog, const QImage& icon, bool) {
  std::map<int, QImage>& pictures = m_icons[&dialog];
  pictures[std::max(icon.width(), icon.height())] = icon;
  WindowOf(dialog).setWindowIcon(QIcon(new ExactIconEngine(pictures)));  // a new icon: the window takes it
}

bool QtBackend::IsIconic(const CDialog& dialog) { return WindowOf(dialog).isMinimized(); }

void QtBackend::Minimize(CDialog& dialog) { WindowOf(dialog).showMinimized(); }

void QtBackend::Invalidate(CDialog& dialog) {
  if (m_windows.count(&dialog)) SchedulePaint(WindowOf(dialog));
}

void QtBackend::SchedulePaint(DialogWindow& window) {
  if (window.m_paintScheduled) return;
  window.m_paintScheduled = true;
  QTimer::singleShot(0, &window, [this, &window] {
    window.m_paintScheduled = false;
    if (Topmost() == &window && window.isVisible()) window.Deliver({Event::kPaint});
  });
}

void QtBackend::ClientChanged(CDialog& dialog) {
  if (m_windows.count(&dialog)) WindowOf(dialog).Client()->update();
}

void QtBackend::DescribeClient(CDialog& dialog, const std::string& name, const std::string& text) {
  if (!m_windows.count(&dialog)) return;
  // The keyboard's part of the client, where it has one, is read as the client is.
  for (QWidget* client : {WindowOf(dialog).Client(), WindowOf(dialog).KeyboardPart()}) {
    if (client == nullptr) continue;
    client->setAccessibleName(QString::fromStdString(name));
    client->setAccessibleDescription(QString::fromStdString(text));
  }
}

void QtBackend::Announce(CDialog& dialog, const std::string& text) {
  if (m_windows.count(&dialog)) WindowOf(dialog).Announce(QString::fromStdString(text));
}

std::time_t QtBackend::Now() { return std::time(nullptr); }

}  // namespace platform
