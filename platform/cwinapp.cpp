#include "platform/cwinapp.h"

namespace platform {

std::string ProgramName(std::string_view programPath) {
  const size_t slash = programPath.find_last_of('/');
  std::string_view name = slash == std::string_view::npos ? programPath : programPath.substr(slash + 1);
  const size_t dot = name.find_last_of('.');
  if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
  return std::string(name);
}

CWinApp::CWinApp(Backend& backend, std::string_view programPath)
    : m_backend(backend), m_appName(ProgramName(programPath)) {}

}  // namespace platform
