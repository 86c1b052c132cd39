#pragma once

namespace platform {

// On SIGTERM or SIGINT every window is closed the way its close box closes it, so that the
// program ends through its own dialogs and returns normally.
void CloseWindowsOnTermination();

}  // namespace platform
