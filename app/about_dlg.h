#pragma once

#include "platform/cdialog.h"

namespace app {

// The About box: the program's picture, its name and version, and OK.
class CAboutDlg : public platform::CDialog {
 public:
  explicit CAboutDlg(platform::CWinApp& app);
};

}  // namespace app
