#include "platform/qt/termination.h"

#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>
#include <csignal>

namespace platform {

namespace {

int g_pipe[2] = {-1, -1};

void OnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = write(g_pipe[1], &byte, 1);
}

// Closes the innermost modal window, and the next one as soon as it is the innermost.
void CloseAll() {
  QWidget* top = QApplication::activeModalWidget();
  if (top == nullptr) return;
  top->close();
  QTimer::singleShot(0, &CloseAll);
}

}  // namespace

void CloseWindowsOnTermination() {
  if (pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  auto* notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, qApp);
  QObject::connect(notifier, &QSocketNotifier::activated, [] {
    char byte;
    while (read(g_pipe[0], &byte, 1) > 0) {
    }
    CloseAll();
  });
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

}  // namespace platform
