#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/backend.h"
#include "platform/cdialog.h"

namespace platform {

// The window system in memory, for tests: control texts, focus, icons and the client image of
// each open dialog, the message boxes that came up, and scripted answers to modal runs.
class HeadlessBackend : public Backend {
 public:
  struct ShownMessage {
    std::string caption;
    std::string text;
    MessageIcon icon;
  };

  // An open dialog, driven like a user would drive it.
  class Window {
   public:
    explicit Window(CDialog& dialog) : m_dialog(dialog) {}

    void Type(int id, const std::string& text);
    // Pastes over the whole field: a single-line field takes the first line.
    void Paste(int id, const std::string& text);
    std::string Text(int id) const;
    void Click(int id);
    void MoveFocus(int id) { m_focus = id; }
    void PressEnter();
    void PressEscape();
    void CloseBox();
    void ChooseSystemCommand(unsigned id);
    void Expose();
    void Minimize();
    void Restore();
    void LButtonDown(int x, int y);
    void DoubleClick(int x, int y);
    // A key on the client area, where the dialog has one that takes the keyboard.
    void PressKey(Key key);
    void DeliverPendingPaint();

    int Focus() const { return m_focus; }
    bool WholeTextSelected() const { return m_selected; }
    // What the client area shows, in words: "name: text".
    const std::string& Description() const { return m_description; }
    // What was announced to screen readers since the last call, in order.
    std::vector<std::string> TakeAnnouncements() { return std::exchange(m_announcements, {}); }
    bool Ended() const { return m_ended; }
    int Result() const { return m_result; }
    bool Iconic() const { return m_iconic; }
    bool PaintPending() const { return m_paintPending; }
    const QImage& BigIcon() const { return m_bigIcons.front(); }  // the first big one set
    const QImage& SmallIcon() const { return m_smallIcon; }
    // The sizes of every icon set, in order.
    std::vector<int> IconSizes() const { return m_iconSizes; }
    CDialog& Dialog() { return m_dialog; }
    Surface& Client() { return m_dialog.Client(); }

   private:
    friend class HeadlessBackend;
    void Deliver(const Message& message);
    void FocusFirstTabStop();

    CDialog& m_dialog;
    std::map<int, std::string> m_texts;
    std::string m_description;
    std::vector<std::string> m_announcements;
    int m_focus = kNoId;
    bool m_selected = false;
    bool m_ended = false;
    int m_result = 0;
    bool m_iconic = false;
    bool m_paintPending = false;
    std::vector<QImage> m_bigIcons;
    QImage m_smallIcon;
    std::vector<int> m_iconSizes;
  };

  // Creates the dialog's window and delivers its initialisation, as a modal run would.
  Window& Open(CDialog& dialog);
  Window& WindowOf(const CDialog& dialog);
  void Close(const CDialog& dialog);

  // Drives every modal run of a template: the driver acts on the open window, and a dialog it
  // leaves open is ended with IDCANCEL. Without a driver a modal run ends at once.
  void OnModal(int templateId, std::function<void(Window&)> driver);

  std::vector<ShownMessage> messages;
  // Answers to file dialogs in turn: a path typed or chosen, or nothing for Cancel. Without an
  // answer left, a file dialog is cancelled.
  std::deque<std::optional<std::string>> fileAnswers;
  std::vector<FileDialogRequest> fileRequests;
  std::vector<std::string> fileFilters;  // patterns typed into a file dialog, which filter its list
  std::vector<int> modalRuns;            // template ids, in the order the runs started
  std::vector<int> textWrites;           // the controls whose text the program set, in order
  std::time_t now = 1119355200;          // 2005-06-21 12:00:00 UTC

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
  void ClientChanged(CDialog&) override {}
  void DescribeClient(CDialog& dialog, const std::string& name, const std::string& text) override;
  void Announce(CDialog& dialog, const std::string& text) override;
  std::time_t Now() override { return now; }

 private:
  std::map<const CDialog*, std::unique_ptr<Window>> m_windows;
  std::map<int, std::function<void(Window&)>> m_drivers;
};

}  // namespace platform
