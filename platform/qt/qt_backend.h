#pragma once

#include <map>
#include <vector>

#include <QWidget>

#include "platform/backend.h"

namespace platform {

class DialogWindow;

// Backend on Qt Widgets. Dialogs, message boxes and file dialogs run modally, nested on one
// thread; a dialog's paint message runs only while nothing modal lies above it.
class QtBackend : public Backend {
 public:
  int RunModal(CDialog& dialog) override;
  void EndModal(CDialog& dialog, int result) override;
  std::string GetControlText(const CDialog& dialog, int id) override;
  void SetControlText(CDialog& dialog, int id, const std::string& text) override;
  void FocusAndSelect(CDialog& dialog, int id) override;
  void ShowMessageBox(const std::string& caption, const std::string& text, MessageIcon icon) override;
  std::optional<std::string> RunFileDialog(CDialog& owner, const FileDialogRequest& request) override;
  void SetIcon(CDialog& dialog, const QImage& icon, bool big) override;
  bool IsIconic(const CDialog& dialog) override;
  void Minimize(CDialog& dialog) override;
  void Invalidate(CDialog& dialog) override;
  void ClientChanged(CDialog& dialog) override;
  void DescribeClient(CDialog& dialog, const std::string& name, const std::string& text) override;
  void Announce(CDialog& dialog, const std::string& text) override;
  std::time_t Now() override;

  // Queues a paint message for the window, once, to run from the event loop.
  void SchedulePaint(DialogWindow& window);
  // The innermost modal window, which owns the next one.
  QWidget* Topmost() const { return m_modal.empty() ? nullptr : m_modal.back(); }

 private:
  DialogWindow& WindowOf(const CDialog& dialog) const;
  // Runs a modal box above the others; `run` shows it and returns when it closes.
  template <typename Run>
  auto RunOnTop(QWidget* box, Run run);

  std::map<const CDialog*, DialogWindow*> m_windows;
  std::vector<QWidget*> m_modal;
  std::map<const CDialog*, std::map<int, QImage>> m_icons;  // a dialog's icon pictures by size
};

}  // namespace platform
