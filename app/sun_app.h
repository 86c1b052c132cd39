#pragma once

#include "platform/cwinapp.h"

namespace app {

// The application: runs the main dialog modally and ends when it closes.
class CSunApp : public platform::CWinApp {
 public:
  using CWinApp::CWinApp;
  bool InitInstance() override;
};

}  // namespace app
