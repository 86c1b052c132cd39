#include "app/about_dlg.h"

#include "res/resources.h"

namespace app {

CAboutDlg::CAboutDlg(platform::CWinApp& app) : CDialog(app, res::kAboutDialog) {}

}  // namespace app
