// Writes the program's icon as PNG files in the hicolor layout below the given folder.
#include <cstdio>
#include <string>

#include <QDir>

#include "res/resources.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "Aufruf: write_icons ORDNER\n");
    return 2;
  }
  for (const int size : {16, 32, 48, 256}) {
    const QString folder = QString("%1/hicolor/%2x%2/apps").arg(argv[1]).arg(size);
    if (!QDir().mkpath(folder) || !res::LoadIcon(size).save(folder + "/tagvaroskop.png", "PNG")) {
      std::fprintf(stderr, "write_icons: %s kann nicht geschrieben werden\n", qPrintable(folder));
      return 1;
    }
  }
  return 0;
}
