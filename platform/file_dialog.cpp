#include "platform/file_dialog.h"

#include "platform/cdialog.h"
#include "platform/cwinapp.h"

namespace platform {

std::string AddDefaultExtension(const std::string& path, const std::string& extension) {
  const size_t slash = path.find_last_of('/');
  const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const size_t dot = path.find_last_of('.');
  const bool hasExtension = dot != std::string::npos && dot > nameStart;
  if (hasExtension || extension.empty() || nameStart == path.size()) return path;
  return path + "." + extension;
}

CFileDialog::CFileDialog(bool openFileDialog, const char* defaultExtension, const char* fileName, unsigned flags,
                         const char*, CDialog* parent)
    : m_request{openFileDialog, defaultExtension ? defaultExtension : "", fileName ? fileName : "", flags},
      m_parent(parent) {}

bool IsNamePattern(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return path.find_first_of("*?[", slash == std::string::npos ? 0 : slash + 1) != std::string::npos;
}

int CFileDialog::DoModal() {
  const std::optional<std::string> chosen = m_parent->App().Ui().RunFileDialog(*m_parent, m_request);
  if (!chosen || IsNamePattern(*chosen)) return IDCANCEL;
  m_path = AddDefaultExtension(*chosen, m_request.defaultExtension);
  return IDOK;
}

}  // namespace platform
