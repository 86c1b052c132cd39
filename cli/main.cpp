#include <fcntl.h>
#include <unistd.h>
#include <QCoreApplication>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>

#include "cli/commands.h"
#include "cli/descriptor_buffer.h"
#include "platform/base/field_text.h"
#include "platform/base/file.h"

#ifdef TAGVAROSKOP_CHARTS
#include <QGuiApplication>
#else
#include <filesystem>
#endif

namespace {

#ifndef TAGVAROSKOP_CHARTS
// `chart` calls go to the chart program, which loads Qt's GUI module; every other call needs
// only Qt's core and starts in a fraction of the time. It lies beside this program (in the build
// tree) or in ../libexec/tagvaroskop (installed). Returns only if it cannot be started.
int RunChartProgram(char** argv) {
  std::error_code error;
  const std::filesystem::path here = std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
  if (error || !here.is_absolute()) {  // never a program of the current folder
    std::cerr << "tagvaroskop-cli: Der Ort dieses Programms ist nicht zu erfahren (/proc fehlt), darum auch nicht "
                 "der des Programms für die Diagramme.\n";
    return 1;
  }
  const std::filesystem::path candidates[] = {here / "tagvaroskop-cli-charts",
                                              here / "../libexec/tagvaroskop/tagvaroskop-cli-charts"};
  int refused = ENOENT;  // why the first candidate that exists cannot be run, if one does
  for (const std::filesystem::path& program : candidates) {
    if (access(program.c_str(), X_OK) == 0) execv(program.c_str(), argv);
    if (errno != ENOENT && refused == ENOENT) refused = errno;
  }
  const std::string shown = platform::PrintableText(here.string());
  if (refused == ENOENT) {
    std::cerr << "tagvaroskop-cli: Das Programm für die Diagramme (tagvaroskop-cli-charts) fehlt neben " << shown
              << ".\n";
  } else {  // there, but a folder on the way or the program itself is closed to this user
    std::cerr << "tagvaroskop-cli: Das Programm für die Diagramme (tagvaroskop-cli-charts) neben " << shown
              << " ist für diesen Benutzer nicht erreichbar (" << std::strerror(refused) << ").\n";
  }
  return 1;
}
#endif

}  // namespace

int main(int argc, char** argv) {
  static char name[] = "tagvaroskop-cli";  // the name the help texts show
  argv[0] = name;
#ifdef TAGVAROSKOP_CHARTS
  // The charts draw text, which needs Qt's fonts; no window is ever shown.
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
#else
  if (argc > 1 && std::strcmp(argv[1], "chart") == 0) return RunChartProgram(argv);
#endif
  // The tool reports its own failures; Qt's notes about its environment would only clutter.
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  std::ios::sync_with_stdio(false);
  // A standard stream that the caller closed stays closed for the tool's writes, but its number
  // is taken by /dev/null, so that no file the tool opens later becomes its standard output.
  bool closed[3] = {};
  for (int descriptor = 0; descriptor < 3; ++descriptor) {
    closed[descriptor] = fcntl(descriptor, F_GETFD) < 0 && errno == EBADF;
    if (closed[descriptor]) open("/dev/null", descriptor == 0 ? O_RDONLY : O_WRONLY);
  }
  // Standard output and error through buffers that keep the cause of a failed write; each
  // message leaves in one piece when the run ends.
  cli::DescriptorBuffer outBuffer(STDOUT_FILENO, closed[1]), errBuffer(STDERR_FILENO, closed[2]);
  cli::DescriptorReader inBuffer(STDIN_FILENO, false, closed[0]);
  std::ostream out(&outBuffer), err(&errBuffer);
  std::istream in(&inBuffer);
  // Qt never sees the arguments: they are the tool's, and Qt would take -platform, -style and
  // the like from them.
  int qtArgc = 1;
  char* qtArgv[] = {name, nullptr};
#ifdef TAGVAROSKOP_CHARTS
  QGuiApplication application(qtArgc, qtArgv);
#else
  QCoreApplication application(qtArgc, qtArgv);
#endif
  // A file size limit is reported as a full medium, not ended by SIGXFSZ; an interrupted save
  // leaves no temporary file behind.
  std::signal(SIGXFSZ, SIG_IGN);
  platform::RemoveTemporaryFilesOnSignals();
  std::vector<std::string> arguments(argv + 1, argv + argc);
  const int status = cli::Run(arguments, in, out, err);
  out.flush();
  err.flush();
  return status;
}
