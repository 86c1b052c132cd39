#pragma once

#include <optional>
#include <span>
#include <string>
#include <variant>

#include "platform/dialog_template.h"
#include "platform/menu.h"
#include "platform/message.h"
#include "platform/surface.h"

namespace platform {

class CDataExchange;

// A window icon in its two sizes: 32 pixels (big) and 16 pixels (small).
struct Icon {
  QImage big;
  QImage small;
  std::vector<QImage> larger;  // for docks and task switchers on screens of high density
};
class CWinApp;

// A modal dialog built from a template. Messages reach the derived class through its static
// message map; what the map does not name gets the framework's default handling.
class CDialog {
 public:
  CDialog(CWinApp& app, const DialogTemplate& dialogTemplate);
  virtual ~CDialog() = default;
  CDialog(const CDialog&) = delete;
  CDialog& operator=(const CDialog&) = delete;

  int DoModal();
  void EndDialog(int result);
  // Reads the controls into the members (true, with validation) or writes them (false).
  bool UpdateData(bool saveAndValidate = true);

  virtual bool OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();
  virtual void DoDataExchange(CDataExchange&) {}

  // Entry points for the backends.
  bool HandleInitDialog();
  void HandleMessage(const Message& message);
  void OpenWindow();  // the backend created the window: fresh system menu and client area

  const DialogTemplate& Template() const { return m_template; }
  CWinApp& App() { return m_app; }
  Surface& Client() { return m_client; }
  const CMenu& SystemMenu() const { return m_systemMenu; }

  std::string GetDlgItemText(int id) const;
  void SetDlgItemText(int id, const std::string& text);
  void GotoDlgCtrl(int id);
  CMenu* GetSystemMenu() { return &m_systemMenu; }
  // The system command that F1 gives (the About box), where the dialog has one.
  void SetHelpCommand(int id) { m_helpCommand = id; }
  std::optional<int> HelpCommand() const { return m_helpCommand; }
  void SetIcon(const Icon& icon, bool big);
  bool IsIconic() const;
  // Asks for a paint; with erase, the paint first clears the client area.
  void Invalidate(bool erase = true);
  bool TakeErasePending();
  void ClientChanged();
  // What the client area's drawing shows, in words, for screen readers.
  void DescribeClient(const std::string& name, const std::string& text);
  // Tells screen-reader users what just came of their action, without moving the focus.
  void Announce(const std::string& text);
  // The part of the client area that takes the keyboard (key-down messages) and shows its focus,
  // after the controls in the Tab order; none by default.
  virtual std::optional<PixelRect> KeyboardArea() const { return std::nullopt; }

 protected:
  // The platform's own handling of the message being handled.
  void Default();
  // The derived class's message map; true when it handled the message.
  virtual bool OnMessage(const Message&) { return false; }

 private:
  void DefaultHandling(const Message& message);

  CWinApp& m_app;
  const DialogTemplate& m_template;
  CMenu m_systemMenu;
  std::optional<int> m_helpCommand;
  Surface m_client;
  std::optional<Message> m_current;
  bool m_erasePending = true;
};

// A message map entry: event, control id (commands only) and the member that handles it.
template <class Dialog>
struct MessageMapEntry {
  using Plain = void (Dialog::*)();
  using WithPoint = void (Dialog::*)(Point);
  using WithCommand = void (Dialog::*)(unsigned, Point);
  Event event;
  int controlId;
  std::variant<Plain, WithPoint, WithCommand> handler;
};

// Looks the message up in the map and calls its member; false when no entry names it.
template <class Dialog>
bool DispatchMessageMap(std::span<const MessageMapEntry<Dialog>> map, Dialog& dialog, const Message& message) {
  for (const MessageMapEntry<Dialog>& entry : map) {
    if (entry.event != message.event) continue;
    if (message.event == Event::kCommand && entry.controlId != message.id) continue;
    std::visit(
        [&](auto member) {
          using Member = decltype(member);
          if constexpr (std::is_same_v<Member, typename MessageMapEntry<Dialog>::Plain>) {
            (dialog.*member)();
          } else if constexpr (std::is_same_v<Member, typename MessageMapEntry<Dialog>::WithPoint>) {
            (dialog.*member)(message.point);
          } else {
            (dialog.*member)(static_cast<unsigned>(message.id), message.point);
          }
        },
        entry.handler);
    return true;
  }
  return false;
}

}  // namespace platform
