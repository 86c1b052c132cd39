#pragma once

#include <QCommandLineParser>
#include <functional>
#include <istream>
#include <ostream>
#include <string>

#include "cli/input.h"
#include "cli/output.h"
#include "cli/time_basis.h"
#include "solar/types.h"

namespace platform {
class CArchive;
}

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
// `chart day` and `chart year`: where the program has them (chart_work.cpp, which needs Qt's
// GUI module), it sets them as it starts; elsewhere they report that charts are not drawn here.
int ChartDay(QCommandLineParser& p, Io& io);
int ChartYear(QCommandLineParser& p, Io& io);
struct ChartCommands {
  int (*day)(QCommandLineParser&, Io&);
  int (*year)(QCommandLineParser&, Io&);
};
void SetChartCommands(const ChartCommands& commands);
int PlaceSave(QCommandLineParser& p, Io& io);
int PlaceShow(QCommandLineParser& p, Io& io);

// What the commands share in reading their arguments.
Format FormatOf(QCommandLineParser& p);
TimeBasis BasisOf(QCommandLineParser& p);
std::string Positional(QCommandLineParser& p, int i);
Place PlaceAt(QCommandLineParser& p, int i);
// The instant of DATUM ZEIT, or of one ZEITPUNKT when there are `momentForm` arguments, and the
// place after it.
long long MomentAndPlace(QCommandLineParser& p, int momentForm, const TimeBasis& basis, Place& place);

// The dialog's fields for the outputs that show what the dialogs show (the minute table, the
// charts, the year window, the location file): the place, and the date and time of an instant on
// the dialog's clock, with the dialog's own day count.
solar::ObservationFields DialogFields(const Place& place);
void SetModelTime(long long instant, solar::ObservationFields& f);
solar::ObservationFields YearFields(QCommandLineParser& p);

// Writes what `write` puts into the archive as a new file (nothing half written, an old file kept
// on failure), or to standard output for "-" (and /dev/stdout, /dev/fd/1).
void SaveTo(const std::string& target, Io& io, const std::function<void(platform::CArchive&)>& write);
// The same for bytes made already.
void WriteBytes(const std::string& target, const QByteArray& bytes, Io& io);

}  // namespace cli
