#include "platform/headless/headless_backend.h"

#include "platform/base/field_text.h"

#include <stdexcept>

namespace platform {

using Window = HeadlessBackend::Window;

void Window::Deliver(const Message& message) {
  if (!m_ended) m_dialog.HandleMessage(message);
}

void Window::Type(int id, const std::string& text) {
  m_texts[id] = text;
  m_focus = id;
  m_selected = false;
}

void Window::Paste(int id, const std::string& text) { Type(id, std::string(FirstLine(text))); }

std::string Window::Text(int id) const {
  const auto it = m_texts.find(id);
  return it == m_texts.end() ? std::string() : it->second;
}

void Window::Click(int id) {
  const ControlTemplate* control = FindControl(m_dialog.Template(), id);
  if (control == nullptr || !IsPushButton(control->kind)) {
    throw std::logic_error("no push button " + std::to_string(id));
  }
  m_focus = id;
  Deliver({Event::kCommand, id});
}

void Window::PressEnter() {
  const ControlTemplate* focused = FindControl(m_dialog.Template(), m_focus);
  if (focused != nullptr && IsPushButton(focused->kind)) return Deliver({Event::kCommand, m_focus});
  for (const ControlTemplate& c : m_dialog.Template().controls) {
    if (c.kind == ControlKind::kDefPushButton) return Deliver({Event::kCommand, c.id});
  }
  Deliver({Event::kCommand, IDOK});
}

void Window::PressEscape() { Deliver({Event::kCommand, IDCANCEL}); }

void Window::CloseBox() { ChooseSystemCommand(SC_CLOSE); }

void Window::ChooseSystemCommand(unsigned id) { Deliver({Event::kSysCommand, static_cast<int>(id)}); }

void Window::Expose() {
  m_dialog.Invalidate(true);
  DeliverPendingPaint();
}

void Window::Minimize() {
  m_iconic = true;
  Expose();
}

void Window::Restore() {
  m_iconic = false;
  Expose();
}

void Window::LButtonDown(int x, int y) { Deliver({Event::kLButtonDown, 0, {x, y}}); }

void Window::DoubleClick(int x, int y) {
  LButtonDown(x, y);
  Deliver({Event::kLButtonDblClk, 0, {x, y}});
}

void Window::PressKey(Key key) {
  if (m_dialog.KeyboardArea()) Deliver({Event::kKeyDown, key});
}

void Window::DeliverPendingPaint() {
  if (!m_paintPending) return;
  m_paintPending = false;
  Deliver({Event::kPaint});
}

void Window::FocusFirstTabStop() {
  for (const ControlTemplate& c : m_dialog.Template().controls) {
    if (IsTabStop(c.kind)) {
      m_focus = c.id;
      return;
    }
  }
}

Window& HeadlessBackend::Open(CDialog& dialog) {
  auto window = std::make_unique<Window>(dialog);
  Window& w = *window;
  m_windows[&dialog] = std::move(window);
  for (const ControlTemplate& c : dialog.Template().controls) {
    if (c.id != kNoId && c.kind == ControlKind::kEdit) w.m_texts[c.id] = c.text ? c.text : "";
  }
  dialog.OpenWindow();
  if (dialog.HandleInitDialog()) w.FocusFirstTabStop();
  return w;
}

Window& HeadlessBackend::WindowOf(const CDialog& dialog) {
  const auto it = m_windows.find(&dialog);
  if (it == m_windows.end()) throw std::logic_error("dialog has no window");
  return *it->second;
}

void HeadlessBackend::Close(const CDialog& dialog) { m_windows.erase(&dialog); }

void HeadlessBackend::OnModal(int templateId, std::function<void(Window&)> driver) {
  m_drivers[templateId] = std::move(driver);
}

int HeadlessBackend::RunModal(CDialog& dialog) {
  modalRuns.push_back(dialog.Template().id);
  Window& w = Open(dialog);
  const auto driver = m_drivers.find(dialog.Template().id);
  if (!w.Ended() && driver != m_drivers.end()) driver->second(w);
  if (!w.Ended()) EndModal(dialog, IDCANCEL);
  const int result = w.Result();
  Close(dialog);
  return result;
}

void HeadlessBackend::EndModal(CDialog& dialog, int result) {
  Window& w = WindowOf(dialog);
  w.m_ended = true;
  w.m_result = result;
}

std::string HeadlessBackend::GetControlText(const CDialog& dialog, int id) { return WindowOf(dialog).Text(id); }

void HeadlessBackend::DescribeClient(CDialog& dialog, const std::string& name, const std::string& text) {
  WindowOf(dialog).m_description = name + ": " + text;
}

void HeadlessBackend::Announce(CDialog& dialog, const std::string& text) {
  WindowOf(dialog).m_announcements.push_back(text);
}

void HeadlessBackend::SetControlText(CDialog& dialog, int id, const std::string& text) {
  WindowOf(dialog).m_texts[id] = text;
  textWrites.push_back(id);
}

void HeadlessBackend::FocusAndSelect(CDialog& dialog, int id) {
  Window& w = WindowOf(dialog);
  w.m_focus = id;
  w.m_selected = true;
}

void HeadlessBackend::ShowMessageBox(const std::string& caption, const std::string& text, MessageIcon icon) {
  messages.push_back(ShownMessage{caption, text, icon});
}

std::optional<std::string> HeadlessBackend::RunFileDialog(CDialog&, const FileDialogRequest& request) {
  fileRequests.push_back(request);
  // A pattern only filters the list, as in the real dialog: the next answer is the user's next try.
  while (!fileAnswers.empty() && fileAnswers.front() && IsNamePattern(*fileAnswers.front())) {
    fileFilters.push_back(*fileAnswers.front());
    fileAnswers.pop_front();
  }
  if (fileAnswers.empty()) return std::nullopt;
  std::optional<std::string> answer = std::move(fileAnswers.front());
  fileAnswers.pop_front();
  return answer;
}

void HeadlessBackend::SetIcon(CDialog& dialog, const QImage& icon, bool big) {
  Window& window = WindowOf(dialog);
  if (big)
    window.m_bigIcons.push_back(icon);
  else
    window.m_smallIcon = icon;
  window.m_iconSizes.push_back(icon.width());
}

bool HeadlessBackend::IsIconic(const CDialog& dialog) { return WindowOf(dialog).Iconic(); }

void HeadlessBackend::Minimize(CDialog& dialog) { WindowOf(dialog).Minimize(); }

void HeadlessBackend::Invalidate(CDialog& dialog) { WindowOf(dialog).m_paintPending = true; }

}  // namespace platform
