#include "app/sun_app.h"

#include "app/day_course_dlg.h"

namespace app {

bool CSunApp::InitInstance() {
  CDayCourseDlg dlg(*this);
  m_pMainWnd = &dlg;
  dlg.DoModal();
  m_pMainWnd = nullptr;
  return false;
}

}  // namespace app
