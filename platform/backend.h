#pragma once

#include <ctime>
#include <optional>
#include <string>

#include <QImage>

#include "platform/file_dialog.h"
#include "platform/message.h"

namespace platform {

class CDialog;

// Everything the framework layer asks of the window system. The Qt backend shows real windows;
// the headless backend keeps the same state in memory and is driven by tests.
class Backend {
 public:
  virtual ~Backend() = default;

  // Creates the dialog's window from its template, delivers its initialisation and then its
  // messages until EndModal is called; returns the result.
  virtual int RunModal(CDialog& dialog) = 0;
  virtual void EndModal(CDialog& dialog, int result) = 0;

  virtual std::string GetControlText(const CDialog& dialog, int id) = 0;
  virtual void SetControlText(CDialog& dialog, int id, const std::string& text) = 0;
  virtual void FocusAndSelect(CDialog& dialog, int id) = 0;

  virtual void ShowMessageBox(const std::string& caption, const std::string& text, MessageIcon icon) = 0;

  // Runs the open or save dialog owned by the dialog; the chosen full path, or nothing on Cancel.
  virtual std::optional<std::string> RunFileDialog(CDialog& owner, const FileDialogRequest& request) = 0;

  virtual void SetIcon(CDialog& dialog, const QImage& icon, bool big) = 0;
  virtual bool IsIconic(const CDialog& dialog) = 0;
  virtual void Minimize(CDialog& dialog) = 0;
  // Asks for a paint of the whole client area, delivered later through the event loop.
  virtual void Invalidate(CDialog& dialog) = 0;
  // The client image was drawn into: show it.
  virtual void ClientChanged(CDialog& dialog) = 0;
  // What the client area shows, in words (`name`, and `text` that describes it), for screen readers.
  virtual void DescribeClient(CDialog& dialog, const std::string& name, const std::string& text) = 0;
  // Says `text` to screen readers as a notification of the dialog's window.
  virtual void Announce(CDialog& dialog, const std::string& text) = 0;

  virtual std::time_t Now() = 0;
};

}  // namespace platform
