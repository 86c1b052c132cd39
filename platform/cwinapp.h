#pragma once

#include <string>
#include <string_view>

#include "platform/backend.h"
#include "platform/message.h"

namespace platform {

class CDialog;

// The application object: its name (the program file's name without folder and extension) is
// the caption of every message box.
class CWinApp {
 public:
  CWinApp(Backend& backend, std::string_view programPath);
  virtual ~CWinApp() = default;
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  // Runs the program; returning false ends it without a message loop of its own.
  virtual bool InitInstance() { return false; }

  const std::string& AppName() const { return m_appName; }
  Backend& Ui() { return m_backend; }
  void MessageBox(const std::string& text, MessageIcon icon) { m_backend.ShowMessageBox(m_appName, text, icon); }

  CDialog* m_pMainWnd = nullptr;

 private:
  Backend& m_backend;
  std::string m_appName;
};

// The program file's name without folder and extension.
std::string ProgramName(std::string_view programPath);

}  // namespace platform
