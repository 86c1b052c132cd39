#include "cli/command_work.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "cli/argument_bytes.h"
#include "cli/batch.h"
#include "cli/day_results.h"
#include "cli/descriptor_buffer.h"
#include "cli/input.h"
#include "cli/local_day.h"
#include "cli/output.h"
#include "cli/results.h"
#include "dialog_model/observation.h"
#include "files/location_file.h"
#include "files/minute_table.h"
#include "platform/base/archive.h"
#include "platform/base/field_text.h"
#include "platform/base/file.h"
#include "platform/base/file_exception.h"
#include "solar/parallel.h"
#include "solar/solar.h"

namespace cli {

namespace {

// Days that `days` takes at once: a few years.
constexpr qint64 kMostDays = 5LL * 366;
// Heights that --height takes at once: each adds a row to every day.
constexpr qsizetype kMostHeights = 100;

std::string Text(const QString& s) { return ArgumentBytes(s); }

}  // namespace

Format FormatOf(QCommandLineParser& p) {
  const QString f = p.value("format");
  if (f == "text") return Format::kText;
  if (f == "csv") return Format::kCsv;
  if (f == "json") return Format::kJson;
  throw InputError{"Format: erwartet text, csv oder json, nicht " + Shown(Text(f)) + "."};
}

TimeBasis BasisOf(QCommandLineParser& p) { return p.isSet("tz") ? ReadTimeBasis(Text(p.value("tz"))) : DialogClock(); }

std::string Positional(QCommandLineParser& p, int i) { return Text(p.positionalArguments().at(i)); }

namespace {

// The names that mean the standard output the tool already holds.
bool IsStandardOutput(const std::string& target) {
  return target == "-" || target == "/dev/stdout" || target == "/dev/fd/1" || target == "/proc/self/fd/1";
}

}  // namespace

void SaveTo(const std::string& target, Io& io, const std::function<void(platform::CArchive&)>& write) {
  if (IsStandardOutput(target)) {
    platform::MemoryStream memory;
    platform::CArchive ar(&memory, platform::CArchive::store);
    write(ar);
    ar.Close();
    io.out.write(memory.Bytes().data(), static_cast<std::streamsize>(memory.Bytes().size()));
    return;
  }
  platform::CFile file(target,
                       platform::CFile::modeCreate | platform::CFile::modeWrite | platform::CFile::shareExclusive);
  platform::CArchive ar(&file, platform::CArchive::store);
  write(ar);
  ar.Close();
  file.Close();
}

void WriteBytes(const std::string& target, const QByteArray& bytes, Io& io) {
  SaveTo(target, io, [&](platform::CArchive& ar) { ar.Write(bytes.constData(), static_cast<size_t>(bytes.size())); });
}

Place PlaceAt(QCommandLineParser& p, int i) { return ReadPlace(Positional(p, i), Positional(p, i + 1)); }

long long MomentAndPlace(QCommandLineParser& p, int momentForm, const TimeBasis& basis, Place& place) {
  const bool single = p.positionalArguments().size() == momentForm;
  const long long instant =
      single ? ReadMoment(Positional(p, 0), basis) : ReadMoment(Positional(p, 0), Positional(p, 1), basis);
  place = PlaceAt(p, single ? 1 : 2);
  return instant;
}

solar::ObservationFields DialogFields(const Place& place) {
  solar::ObservationFields f{};
  f.day = 1.0f;
  f.month = 1;
  f.year = 2000;
  files::SetPlace(f, place.fields);
  return f;
}

void SetModelTime(long long instant, solar::ObservationFields& f) {
  const QDate date = LocalDateOf(instant, DialogClock());
  const long long second = (instant + DialogClock().OffsetAt(instant)) - LocalDayNumber(date) * 86400;
  f.year = date.year();
  f.month = date.month();
  f.day = static_cast<float>(date.day());
  f.hour = static_cast<int>(second / 3600);
  f.minute = static_cast<int>(second / 60 % 60);
  f.second = static_cast<int>(second % 60);
}

namespace {

int SecondsOf(QCommandLineParser& p) { return p.isSet("time") ? ReadClockTime(Text(p.value("time"))).second : 0; }

std::vector<float> HeightsOf(QCommandLineParser& p) {
  std::vector<float> heights;
  if (p.values("height").size() > kMostHeights) {
    throw InputError{"Höhe: höchstens " + std::to_string(kMostHeights) + " Höhen auf einmal."};
  }
  for (const QString& value : p.values("height")) {
    const float height = ReadHeight(Text(value));
    if (std::find(heights.begin(), heights.end(), height) == heights.end()) heights.push_back(height);
  }
  return heights;
}

// Runs a batch on the file named by --input, or on standard input for "-". Opening never waits:
// a FIFO is read as a stream, from when its writer comes until it closes it.
int WithInput(const std::string& source, Io& io, const std::function<int(std::istream&, const std::string&)>& run) {
  if (source == "-") {
    const auto* standard = dynamic_cast<const DescriptorReader*>(io.in.rdbuf());
    if (standard && standard->Closed()) throw FileError{"Die Standardeingabe ist geschlossen."};
    return run(io.in, "Standardeingabe");
  }
  const int descriptor = open(source.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) throw platform::CFileException(platform::CFileException::OsErrorToCause(errno), source);
  DescriptorReader reader(descriptor, true);
  struct stat status {};
  if (fstat(descriptor, &status) == 0 && S_ISDIR(status.st_mode)) {
    throw FileError{platform::PrintableText(source) + " ist ein Ordner, keine Datei."};
  }
  fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
  std::istream in(&reader);
  return run(in, source);
}

}  // namespace

solar::ObservationFields YearFields(QCommandLineParser& p) {
  solar::ObservationFields f = DialogFields(PlaceAt(p, 1));
  f.year = ReadWhole(Positional(p, 0), "Jahr", 1900, 2100);
  if (p.isSet("second")) f.second = ReadWhole(Text(p.value("second")), "Sekunde", 0, 59);
  return f;
}

int Position(QCommandLineParser& p, Io& io) {
  const Format format = FormatOf(p);
  const TimeBasis basis = BasisOf(p);
  if (p.isSet("input")) {
    return WithInput(Text(p.value("input")), io, [&](std::istream& in, const std::string& name) {
      return RunPositionBatch(in, name, io.out, io.err, format, basis);
    });
  }
  Place place{};
  const long long instant = MomentAndPlace(p, 3, basis, place);
  WriteRecord(io.out, format, PositionRecord(instant, place, basis), basis);
  return 0;
}

int Day(QCommandLineParser& p, Io& io) {
  const Format format = FormatOf(p);
  const TimeBasis basis = BasisOf(p);
  const DayRequest request{SecondsOf(p), HeightsOf(p), format, basis};
  if (p.isSet("input")) {
    return WithInput(Text(p.value("input")), io, [&](std::istream& in, const std::string& name) {
      return RunDayBatch(in, name, io.out, io.err, request);
    });
  }
  const QDate date = ReadCalendarDate(Positional(p, 0));
  WriteDay(io.out, date, PlaceAt(p, 1), request);
  return 0;
}

int Days(QCommandLineParser& p, Io& io) {
  const Format format = FormatOf(p);
  const TimeBasis basis = BasisOf(p);
  const QDate from = ReadCalendarDate(Positional(p, 0)), to = ReadCalendarDate(Positional(p, 1));
  const Place place = PlaceAt(p, 2);
  const qint64 count = from.daysTo(to) + 1;
  if (count < 1 || count > kMostDays) {
    throw InputError{"Zeitraum: BIS liegt nicht nach VON oder mehr als " + std::to_string(kMostDays) + " Tage danach."};
  }
  const int second = SecondsOf(p);
  // The dates that the zone has, with their bounds; a skipped date has no row.
  std::vector<std::pair<QDate, DayBounds>> dates;
  for (QDate date = from; date <= to; date = date.addDays(1)) {
    if (const std::optional<DayBounds> bounds = BoundsOf(date, basis)) dates.emplace_back(date, *bounds);
  }
  std::vector<Record> rows(dates.size());
  solar::ForEachBlock(rows.size(), 8, 0, [&](size_t first, size_t last) {
    for (size_t i = first; i < last; ++i) {
      LocalDay day = ScanLocalDay(dates[i].first, dates[i].second, second, place, basis);
      rows[i] = DayValues(day);
    }
  });
  const long long start = dates.empty() ? 0 : dates.front().second.start,
                  end = dates.empty() ? 0 : dates.back().second.end;
  Record head;
  head.Add(ZoneColumn(), ZoneCell(basis, start, end, false, format == Format::kText));
  head.Append(PlaceRecord(place));
  WriteTable(io.out, format, head, rows, "days", basis);
  return 0;
}

int Year(QCommandLineParser& p, Io& io) {
  const Format format = FormatOf(p);
  const solar::ObservationFields f = YearFields(p);
  const std::vector<float> heights = HeightsOf(p);
  solar::YearSeries series{};
  solar::ComputeYearSeries(dialog_model::YearPlaceOf(f), series);
  WriteTable(io.out, format, YearHead(f.year, PlaceAt(p, 1)), YearRows(f, series, heights), "sample_days",
             DialogClock());
  return 0;
}

int Export(QCommandLineParser& p, Io& io) {
  solar::ObservationFields f = DialogFields(PlaceAt(p, 1));
  const QDate date = ReadCalendarDate(Positional(p, 0));
  f.year = date.year();
  f.month = date.month();
  f.day = static_cast<float>(date.day());
  f.second = SecondsOf(p);
  solar::DayTrack track;
  dialog_model::ScanDayOf(f, track);
  SaveTo(Positional(p, 3), io, [&](platform::CArchive& ar) { files::WriteMinuteTable(ar, track); });
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
  const files::Place place = StoredPlace(PlaceAt(p, 0));
  SaveTo(Positional(p, 2), io, [&](platform::CArchive& ar) { files::WriteLocation(ar, place); });
  return 0;
}

int PlaceShow(QCommandLineParser& p, Io& io) {
  const Format format = FormatOf(p);
  files::Place stored{};
  try {
    stored = files::LoadLocation(Positional(p, 0));
  } catch (const platform::CFileException& e) {
    if (e.m_cause != platform::CFileException::endOfFile) throw;
    throw FileError{platform::PrintableText(Positional(p, 0)) + " ist keine Ortsdatei: kürzer als 24 Bytes."};
  }
  if (!files::IsDialogPlace(stored))
    throw FileError{platform::PrintableText(Positional(p, 0)) + " ist keine Ortsdatei."};
  WriteRecord(io.out, format, StoredPlaceRecord(stored), DialogClock());
  return 0;
}

}  // namespace cli
