#pragma once

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "app/day_course_dlg.h"
#include "app/sun_app.h"
#include "platform/headless/headless_backend.h"
#include "res/ids.h"

namespace test_support {

// The main dialog open on the headless backend, its clock at 2005-06-21 10:00:00 UTC
// (12:00 in the tests' time zone, central European summer time).
class MainDialogTest : public testing::Test {
 protected:
  using Window = platform::HeadlessBackend::Window;

  MainDialogTest() : app(ui, "/usr/local/bin/tagvaroskop") {
    ui.now = 1119348000;
    dlg = std::make_unique<app::CDayCourseDlg>(app);
    window = &ui.Open(*dlg);
  }

  std::string Text(int id) const { return window->Text(id); }

  platform::HeadlessBackend ui;
  app::CSunApp app;
  std::unique_ptr<app::CDayCourseDlg> dlg;
  Window* window;
};

}  // namespace test_support
