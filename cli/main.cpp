#include <QCoreApplication>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>

#include "cli/commands.h"
#include "platform/file.h"

int main(int argc, char** argv) {
  // The tool reports its own failures; Qt's notes about its environment would only clutter.
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  static char name[] = "tagvaroskop-cli";  // the name the help texts show
  argv[0] = name;
  std::ios::sync_with_stdio(false);
  // Only the charts draw text, which needs Qt's fonts (no window is ever shown); the rest needs
  // no more than the core, which starts in a fraction of the time.
  std::unique_ptr<QCoreApplication> application;
  if (argc > 1 && std::strcmp(argv[1], "chart") == 0) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    application = std::make_unique<QGuiApplication>(argc, argv);
  } else {
    application = std::make_unique<QCoreApplication>(argc, argv);
  }
  QTranslator qtTexts;  // German words in Qt's own help texts
  if (qtTexts.load(QLocale(QLocale::German), "qtbase", "_",
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(&qtTexts);
  }
  // A file size limit is reported as a full medium, not ended by SIGXFSZ; an interrupted save
  // leaves no temporary file behind.
  std::signal(SIGXFSZ, SIG_IGN);
  platform::RemoveTemporaryFilesOnSignals();
  std::vector<std::string> arguments(argv + 1, argv + argc);
  const int status = cli::Run(arguments, std::cin, std::cout, std::cerr);
  std::cout.flush();
  return status;
}
