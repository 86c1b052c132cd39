#pragma once

#include <QCommandLineParser>
#include <istream>
#include <ostream>

namespace cli {

struct Io {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
};

// The work of each subcommand on its parsed arguments; a wrong entry throws InputError, a file
// error CFileException. Each returns the exit status.
int Position(QCommandLineParser& p, Io& io);
int Day(QCommandLineParser& p, Io& io);
int Days(QCommandLineParser& p, Io& io);
int Year(QCommandLineParser& p, Io& io);
int Export(QCommandLineParser& p, Io& io);
int ChartDay(QCommandLineParser& p, Io& io);
int ChartYear(QCommandLineParser& p, Io& io);
int PlaceSave(QCommandLineParser& p, Io& io);
int PlaceShow(QCommandLineParser& p, Io& io);

}  // namespace cli
