#include "cli/command_work.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>

#include "cli/batch.h"
#include "cli/day_results.h"
#include "cli/input.h"
#include "cli/local_day.h"
#include "cli/output.h"
#include "cli/results.h"
#include "files/location_file.h"
#include "files/minute_table.h"
#include "platform/field_text.h"
#include "platform/file.h"
#include "platform/file_exception.h"
#include "solar/parallel.h"
#include "solar/solar.h"

namespace cli {

namespace {

// Days that `days` takes at once: a few years.
constexpr qint64 kMostDays = 5 * 366;

std::string Text(const QString& s) { return s.toStdString(); }

}  // namespace

Format FormatOf(QCommandLineParser& p) {
  const QString f = p.value("format");
  if (f == "text") return Format::kText;
  if (f == "csv") return Format::kCsv;
  if (f == "json") return Format::kJson;
  throw InputError{"Format: erwartet text, csv oder json, nicht \"" + Text(f) + "\"."};
}

TimeBasis BasisOf(QCommandLineParser& p) {
  return p.isSet("tz") ? ReadTimeBasis(Text(p.value("tz"))) : DialogClock();
}

std::string Positional(QCommandLineParser& p, int i) { return Text(p.positionalArguments().at(i)); }

void ExpectArguments(QCommandLineParser& p, std::initializer_list<int> counts, const char* syntax) {
  for (const int n : counts) {
    if (p.positionalArguments().size() == n) return;
  }
  const int given = static_cast<int>(p.positionalArguments().size());
  throw InputError{std::string("Erwartet: ") + syntax + " (" + std::to_string(given) +
                   (given == 1 ? " Argument)." : " Argumente).")};
}

namespace {

// Saves to the target with `save`, or for the target "-" writes the same bytes to standard
// output: they are saved to a private folder first and read back from there.
void SaveTo(const std::string& target, Io& io, const std::function<void(const std::string&)>& save) {
  if (target != "-") return save(target);
  char pattern[] = "/tmp/tagvaroskop-XXXXXX";
  if (mkdtemp(pattern) == nullptr) {
    throw platform::CFileException(platform::CFileException::OsErrorToCause(errno), pattern);
  }
  const std::string path = std::string(pattern) + "/out";
  std::string bytes;
  try {
    save(path);
    platform::CFile file(path, platform::CFile::modeRead);
    char buffer[4096];
    for (size_t n; (n = file.Read(buffer, sizeof buffer)) > 0;) bytes.append(buffer, n);
  } catch (...) {
    std::filesystem::remove_all(pattern);
    throw;
  }
  std::filesystem::remove_all(pattern);
  io.out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Writes bytes as a new file: nothing half written, an old file kept on failure.
void WriteFile(const std::string& path, const QByteArray& bytes) {
  platform::CFile file(path, platform::CFile::modeCreate | platform::CFile::modeWrite |
                                 platform::CFile::shareExclusive);
  file.Write(bytes.constData(), static_cast<size_t>(bytes.size()));
  file.Close();
}

}  // namespace

void WriteBytes(const std::string& target, const QByteArray& bytes, Io& io) {
  SaveTo(target, io, [&](const std::string& path) { WriteFile(path, bytes); });
}

solar::ObservationFields PlaceAt(QCommandLineParser& p, int i) {
  solar::ObservationFields f = StartFields();
  ReadLatitude(Positional(p, i), f);
  ReadLongitude(Positional(p, i + 1), f);
  return f;
}

// The moment of DATUM ZEIT, or of one ZEITPUNKT when there are `momentForm` arguments; the
// fields then hold the place after it and the moment on the model's clock.
QDateTime MomentAndPlace(QCommandLineParser& p, int momentForm, const TimeBasis& basis,
                         solar::ObservationFields& f) {
  const bool single = p.positionalArguments().size() == momentForm;
  const QDateTime moment = single ? ReadMoment(Positional(p, 0), basis)
                                  : ReadMoment(Positional(p, 0), Positional(p, 1), basis);
  f = PlaceAt(p, single ? 1 : 2);
  SetModelTime(moment, f);
  return moment;
}

namespace {

int SecondsOf(QCommandLineParser& p) {
  solar::ObservationFields f{};
  if (p.isSet("time")) ReadTime(Text(p.value("time")), f);
  return f.second;
}

std::vector<float> HeightsOf(QCommandLineParser& p) {
  std::vector<float> heights;
  for (const QString& value : p.values("height")) {
    const float height = ReadHeight(Text(value));
    if (std::find(heights.begin(), heights.end(), height) == heights.end()) heights.push_back(height);
  }
  return heights;
}

// Runs a batch on the file named by --input, or on standard input for "-".
int WithInput(const std::string& source, Io& io,
              const std::function<int(std::istream&, const std::string&)>& run) {
  if (source == "-") return run(io.in, "Standardeingabe");
  std::ifstream file(source, std::ios::binary);
  if (!file) throw platform::CFileException(platform::CFileException::OsErrorToCause(errno), source);
  std::error_code folder;
  if (std::filesystem::is_directory(source, folder)) {
    throw platform::CFileException(platform::CFileException::OsErrorToCause(EISDIR), source);
  }
  return run(file, source);
}

}  // namespace

solar::ObservationFields YearFields(QCommandLineParser& p) {
  solar::ObservationFields f = PlaceAt(p, 1);
  ReadYear(Positional(p, 0), f);
  if (p.isSet("second")) ReadSecond(Text(p.value("second")), f);
  return f;
}

int Position(QCommandLineParser& p, Io& io) {
  const Format format = FormatOf(p);
  const TimeBasis basis = BasisOf(p);
  if (p.isSet("input")) {
    ExpectArguments(p, {0}, "--input DATEI ohne weitere Argumente");
    return WithInput(Text(p.value("input")), io, [&](std::istream& in, const std::string& name) {
      return RunPositionBatch(in, name, io.out, io.err, format, basis);
    });
  }
  ExpectArguments(p, {3, 4}, "DATUM ZEIT BREITE LÄNGE oder ZEITPUNKT BREITE LÄNGE");
  solar::ObservationFields f;
  const QDateTime moment = MomentAndPlace(p, 3, basis, f);
  WriteRecord(io.out, format, PositionRecord(f, moment, basis));
  return 0;
}

int Day(QCommandLineParser& p, Io& io) {
  const Format format = FormatOf(p);
  const TimeBasis basis = BasisOf(p);
  const DayRequest request{SecondsOf(p), HeightsOf(p), format, basis};
  if (p.isSet("input")) {
    ExpectArguments(p, {0}, "--input DATEI ohne weitere Argumente");
    return WithInput(Text(p.value("input")), io, [&](std::istream& in, const std::string& name) {
      return RunDayBatch(in, name, io.out, io.err, request);
    });
  }
  ExpectArguments(p, {3}, "DATUM BREITE LÄNGE");
  const QDate date = ReadCalendarDate(Positional(p, 0));
  WriteDay(io.out, date, PlaceAt(p, 1), request);
  return 0;
}

int Days(QCommandLineParser& p, Io& io) {
  const Format format = FormatOf(p);
  const TimeBasis basis = BasisOf(p);
  ExpectArguments(p, {4}, "VON BIS BREITE LÄNGE");
  const QDate from = ReadCalendarDate(Positional(p, 0)), to = ReadCalendarDate(Positional(p, 1));
  const solar::ObservationFields place = PlaceAt(p, 2);
  const qint64 count = from.daysTo(to) + 1;
  if (count < 1 || count > kMostDays) {
    throw InputError{"Zeitraum: BIS liegt nicht nach VON oder mehr als " + std::to_string(kMostDays) +
                     " Tage danach."};
  }
  const int second = SecondsOf(p);
  std::vector<Record> rows(static_cast<size_t>(count));
  solar::OnBothCores(rows.size(), [&](size_t first, size_t last) {
    for (size_t i = first; i < last; ++i)
      rows[i] = DayValues(ScanLocalDay(from.addDays(static_cast<qint64>(i)), second, place, basis));
  });
  Record head{ZoneValue(basis, from.startOfDay(basis.zone), to.addDays(1).startOfDay(basis.zone))};
  Append(head, PlaceRecord(place));
  WriteTable(io.out, format, head, rows, "days");
  return 0;
}

int Year(QCommandLineParser& p, Io& io) {
  const Format format = FormatOf(p);
  ExpectArguments(p, {3}, "JAHR BREITE LÄNGE");
  const solar::ObservationFields f = YearFields(p);
  const std::vector<float> heights = HeightsOf(p);
  solar::YearSeries series{};
  solar::ComputeYearSeries(f, series);
  WriteTable(io.out, format, YearHead(f), YearRows(f, series, heights), "sample_days");
  return 0;
}

int Export(QCommandLineParser& p, Io& io) {
  ExpectArguments(p, {4}, "DATUM BREITE LÄNGE DATEI");
  solar::ObservationFields f = PlaceAt(p, 1);
  SetModelTime(QDateTime(ReadCalendarDate(Positional(p, 0)), QTime(0, 0), DialogClock().zone), f);
  f.second = SecondsOf(p);
  solar::DayTrack track;
  solar::ScanDayOf(f, track);
  SaveTo(Positional(p, 3), io, [&](const std::string& path) { files::ExportMinuteTable(path, track); });
  return 0;
}

namespace {

ChartCommands& Charts() {
  static ChartCommands charts{};
  return charts;
}

int WithoutCharts() {
  throw platform::CFileException(platform::CFileException::fileNotFound, "tagvaroskop-cli-charts");
}

}  // namespace

void SetChartCommands(const ChartCommands& commands) { Charts() = commands; }

int ChartDay(QCommandLineParser& p, Io& io) { return Charts().day ? Charts().day(p, io) : WithoutCharts(); }

int ChartYear(QCommandLineParser& p, Io& io) { return Charts().year ? Charts().year(p, io) : WithoutCharts(); }

int PlaceSave(QCommandLineParser& p, Io& io) {
  ExpectArguments(p, {3}, "BREITE LÄNGE DATEI");
  const files::Place place = files::PlaceOf(StoredPlace(PlaceAt(p, 0)));
  SaveTo(Positional(p, 2), io, [&](const std::string& path) { files::SaveLocation(path, place); });
  return 0;
}

int PlaceShow(QCommandLineParser& p, Io& io) {
  const Format format = FormatOf(p);
  ExpectArguments(p, {1}, "DATEI");
  solar::ObservationFields f = StartFields();
  files::SetPlace(f, files::LoadLocation(Positional(p, 0)));
  Record r = PlaceRecord(f);
  r.push_back(String("stored_latitude", "Breite (Grad:Arcmin:Arcsec)", FieldsText(f.latDegrees, f.latArcmin, f.latArcsec)));
  r.push_back(String("stored_longitude", "Länge (Grad:Arcmin:Arcsec)",
                     FieldsText(f.lonDegrees, static_cast<float>(f.lonArcmin), f.lonArcsec)));
  WriteRecord(io.out, format, r);
  return 0;
}

}  // namespace cli
