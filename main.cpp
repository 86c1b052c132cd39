#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#include <string>

#include "app/sun_app.h"
#include "platform/qt/look.h"
#include "platform/qt/qt_backend.h"
#include "platform/qt/termination.h"

namespace {

// The program has no options of its own; these two answer without opening a window.
const char* kHelp =
    "Aufruf: tagvaroskop [--help] [--version]\n"
    "Tagvaroskop zeigt, wo die Sonne an einem Ort und zu einem Zeitpunkt steht und wie lange der\n"
    "Tag dauert: Azimut und Höhe, Sonnenscheindauer und Dauer inklusive Dämmerung, den\n"
    "Tagesverlauf als Diagramm und die Tageslänge über das Jahr.\n\n"
    "  --help     Zeigt diese Hilfe an.\n"
    "  --version  Zeigt die Version an.\n\n"
    "F1 öffnet in jedem Fenster das Info-Fenster; ein Klick mit der rechten Maustaste auf eine\n"
    "freie Stelle, Umschalt+F10 oder die Menütaste öffnet das Menü mit ihm. Für Skripte und\n"
    "Tabellen gibt es tagvaroskop-cli.\n\n"
    "Rückgabewert: 0, 1 wenn die Hilfe oder die Version nicht geschrieben werden konnte.\n";

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--version") {
      std::printf("tagvaroskop %s\n", TAGVAROSKOP_VERSION);
      return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    }
    if (argument == "--help" || argument == "-h") {
      std::fputs(kHelp, stdout);
      return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    }
  }
  QApplication application(argc, argv);
  platform::UseLightLook();
  QTranslator qtTexts;  // German texts for Qt's own dialogs and buttons
  if (qtTexts.load(QLocale(QLocale::German), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&qtTexts);
  }
  platform::CloseWindowsOnTermination();
  platform::QtBackend backend;
  app::CSunApp theApp(backend, QCoreApplication::applicationFilePath().toStdString());
  theApp.InitInstance();
  return 0;
}
