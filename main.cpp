#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app/sun_app.h"
#include "platform/qt/qt_backend.h"
#include "platform/qt/termination.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QTranslator qtTexts;  // German texts for Qt's own dialogs and buttons
  if (qtTexts.load(QLocale(QLocale::German), "qtbase", "_",
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(&qtTexts);
  }
  platform::CloseWindowsOnTermination();
  platform::QtBackend backend;
  app::CSunApp theApp(backend, QCoreApplication::applicationFilePath().toStdString());
  theApp.InitInstance();
  return 0;
}
