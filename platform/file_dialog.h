#pragma once

#include <optional>
#include <string>

namespace platform {

class CDialog;

inline constexpr unsigned OFN_HIDEREADONLY = 0x00000004;
inline constexpr unsigned OFN_OVERWRITEPROMPT = 0x00000002;

// What an open or save dialog is asked to show.
struct FileDialogRequest {
  bool open;
  std::string defaultExtension;  // added to a name typed without one
  std::string initialName;       // the file-name box's first text, such as "*.ort"
  unsigned flags;
};

// A name with *, ? or [ is a pattern: the dialogs filter their list by it and save or open
// nothing.
bool IsNamePattern(const std::string& path);

// A name without an extension gets the default one: "ort" turns "Köln" into "Köln.ort".
std::string AddDefaultExtension(const std::string& path, const std::string& extension);

// The standard open or save dialog, owned by a dialog; after OK it holds the chosen full path.
class CFileDialog {
 public:
  CFileDialog(bool openFileDialog, const char* defaultExtension, const char* fileName, unsigned flags,
              const char* filter, CDialog* parent);

  int DoModal();
  const std::string& GetPathName() const { return m_path; }

 private:
  FileDialogRequest m_request;
  CDialog* m_parent;
  std::string m_path;
};

}  // namespace platform
