#include "cli/commands.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QImage>
#include <fstream>
#include <functional>
#include <map>
#include <optional>

#include "charts/day_course_chart.h"
#include "charts/year_chart.h"
#include "cli/batch.h"
#include "cli/input.h"
#include "cli/output.h"
#include "cli/results.h"
#include "files/location_file.h"
#include "files/minute_table.h"
#include "platform/file.h"
#include "platform/file_exception.h"
#include "platform/field_text.h"
#include "res/resources.h"
#include "solar/solar.h"
#include "year/year_pick.h"

namespace cli {

namespace {

using platform::FormatFloatField;
using platform::FormatIntField;

struct Io {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
};

// A subcommand: its words, what it does, its arguments and options, and its work.
struct Command;
using Work = std::function<int(const Command&, QCommandLineParser&, Io&)>;
struct Command {
  std::vector<std::string> words;
  const char* summary;
  std::vector<std::pair<const char*, const char*>> arguments;  // name, description
  QList<QCommandLineOption> options;
  Work work;
};

QCommandLineOption FormatOption() {
  return QCommandLineOption(QStringList{"format"}, "Ausgabe als text (Vorgabe), csv oder json.", "FORMAT",
                            "text");
}
QCommandLineOption TimeOption() {
  return QCommandLineOption(QStringList{"time"}, "Uhrzeit HH:MM:SS; für den Tag zählen nur die Sekunden.",
                            "ZEIT");
}
QCommandLineOption SecondOption() {
  return QCommandLineOption(QStringList{"second"}, "Sekunden der Uhrzeit (0 bis 59), Vorgabe 0.", "SEK");
}

QCommandLineOption HeightOption() {
  return QCommandLineOption(QStringList{"height"},
                            "Zusätzlich die Dauer über dieser Sonnenhöhe in Grad, -90 bis 90 "
                            "(mehrfach möglich, etwa -6, -12, -18 oder 6).",
                            "GRAD");
}

const char* kDate = "Datum JJJJ-MM-TT, Tag auch mit Bruchteil wie im Dialog.";
const char* kTime = "Uhrzeit HH:MM:SS (Weltzeit).";
const char* kLatitude = "Breite GRAD:ARCMIN:ARCSEC, Norden positiv; Minuten und Sekunden zählen "
                        "immer dazu, wie im Dialog.";
const char* kLongitude = "Länge GRAD:ARCMIN:ARCSEC, ostwärts von Greenwich (0 bis 359).";

std::string Text(const QString& s) { return s.toStdString(); }

Format FormatOf(QCommandLineParser& p) {
  const QString f = p.value("format");
  if (f == "text") return Format::kText;
  if (f == "csv") return Format::kCsv;
  if (f == "json") return Format::kJson;
  throw InputError{"Format: erwartet text, csv oder json, nicht \"" + Text(f) + "\"."};
}

std::string Positional(QCommandLineParser& p, int i) { return Text(p.positionalArguments().at(i)); }

// A client image of the size of a dialog's window.
platform::Surface ClientOf(const platform::DialogTemplate& t) {
  return platform::Surface(platform::DialogUnitsToPixelsX(t.width),
                           platform::DialogUnitsToPixelsY(t.height));
}

// Writes bytes as a new file: nothing half written, an old file kept on failure.
void WriteFile(const std::string& path, const QByteArray& bytes) {
  platform::CFile file(path, platform::CFile::modeCreate | platform::CFile::modeWrite |
                                 platform::CFile::shareExclusive);
  file.Write(bytes.constData(), static_cast<size_t>(bytes.size()));
  file.Close();
}

void WritePng(const std::string& path, const platform::Surface& surface, const platform::PixelRect& area) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  surface.Image().copy(area.left, area.top, area.Width(), area.Height()).save(&buffer, "PNG");
  WriteFile(path, bytes);
}

solar::ObservationFields MomentFields(QCommandLineParser& p, bool withTime) {
  solar::ObservationFields f = StartFields();
  int i = 0;
  ReadDate(Positional(p, i++), f);
  if (withTime) ReadTime(Positional(p, i++), f);
  ReadLatitude(Positional(p, i++), f);
  ReadLongitude(Positional(p, i++), f);
  if (!withTime && p.isSet("time")) ReadTime(Text(p.value("time")), f);
  return f;
}

Record PlaceHead(const solar::ObservationFields& f) {
  return Record{
      {"breite", "Breite", PlaceText(f.latDegrees, f.latArcmin, f.latArcsec), false},
      {"laenge", "Länge", PlaceText(f.lonDegrees, static_cast<float>(f.lonArcmin), f.lonArcsec), false}};
}

std::vector<Value> Duration(const std::string& key, const std::string& label, int minutes) {
  const float hours = solar::MinutesToHours(minutes);
  const solar::HoursAndMinutes shown = solar::SplitHours(hours);
  return {{key + "_std", label + " (Std)", FormatIntField(shown.hours), true},
          {key + "_min", label + " (min)", FormatIntField(shown.minutes), true},
          {key + "_stunden", label + " (Stunden)", FormatFloatField(hours), true}};
}

void Append(Record& record, const std::vector<Value>& values) {
  record.insert(record.end(), values.begin(), values.end());
}

int Position(const Command&, QCommandLineParser& p, Io& io) {
  const Format format = FormatOf(p);
  if (p.isSet("input")) {
    const std::string source = Text(p.value("input"));
    if (source == "-") return RunPositionBatch(io.in, io.out, io.err, format);
    std::ifstream file(source, std::ios::binary);
    if (!file) {
      throw platform::CFileException(
          platform::CFileException::OsErrorToCause(errno), source);
    }
    return RunPositionBatch(file, io.out, io.err, format);
  }
  if (p.positionalArguments().size() != 4) throw InputError{"Erwartet: DATUM ZEIT BREITE LÄNGE."};
  WriteRecord(io.out, format, PositionRecord(MomentFields(p, true)));
  return 0;
}

std::vector<float> HeightsOf(QCommandLineParser& p) {
  std::vector<float> heights;
  for (const QString& value : p.values("height")) heights.push_back(ReadHeight(Text(value)));
  return heights;
}

// The time above one height: its minutes, hours, state, and every stretch above it.
Record HeightRecord(const solar::DayTrack& track, float height) {
  const int count = solar::CountMinutesAbove(track, height);
  const std::vector<solar::Stretch> stretches = solar::StretchesAbove(track, height);
  const bool above = count == solar::kMinutesPerScan, below = count == 0;
  Record r{{"hoehe", "Höhe (Grad)", FormatFloatField(height), true}};
  Append(r, Duration("ueber", "darüber", count));
  r.push_back({"minuten", "Minuten", FormatIntField(count), true});
  r.push_back({"state", "Zustand", above ? "above" : below ? "below" : "crossing", false, {},
               above ? "immer darüber" : below ? "immer darunter" : "kreuzt"});
  const bool crossing = !above && !below;
  const std::string first = crossing ? ClockOfMinute(stretches.front().first) : "";
  const std::string last = crossing ? ClockOfMinute(stretches.back().last) : "";
  r.push_back({"erste_minute", "Erste Minute", first, false, crossing ? "" : "null"});
  r.push_back({"letzte_minute", "Letzte Minute", last, false, crossing ? "" : "null"});
  std::string shown, json = "[";
  for (const solar::Stretch& stretch : stretches) {
    const std::string from = ClockOfMinute(stretch.first), to = ClockOfMinute(stretch.last);
    shown.append(shown.empty() ? "" : " ").append(from).append("-").append(to);
    json.append(json.size() > 1 ? ", " : "")
        .append("{\"erste\": \"").append(from).append("\", \"letzte\": \"").append(to).append("\"}");
  }
  r.push_back({"abschnitte", "Abschnitte", shown, false, json + "]"});
  return r;
}

int Day(const Command&, QCommandLineParser& p, Io& io) {
  const Format format = FormatOf(p);
  const solar::ObservationFields f = MomentFields(p, false);
  const std::vector<float> heights = HeightsOf(p);
  static solar::DayTrack track;
  solar::ScanDay(solar::DayNumberOf(f), f.second, solar::LatitudeOf(f), solar::LongitudeOf(f), track);
  const solar::DayLengths lengths = solar::CountDayLengths(track);
  Record r{{"datum", "Datum", DateText(f), false}};
  Append(r, PlaceHead(f));
  Append(r, Duration("sonne", "Sonne über Horizont", lengths.minutesAboveHorizon));
  Append(r, Duration("daemmerung", "inkl. Dämmerung (-7 Grad)", lengths.minutesAboveTwilight));
  int first = -1, last = -1;
  for (int i = 0; i < 1440; ++i) {
    if (track.height[i] > 0.0f) {
      if (first < 0) first = i;
      last = i;
    }
  }
  r.push_back({"erste_minute", "Erste Minute über dem Horizont", first < 0 ? "" : ClockOfMinute(first), false});
  r.push_back({"letzte_minute", "Letzte Minute über dem Horizont", last < 0 ? "" : ClockOfMinute(last), false});
  if (heights.empty()) {
    WriteRecord(io.out, format, r);
    return 0;
  }
  std::vector<Record> rows;
  for (const float height : heights) rows.push_back(HeightRecord(track, height));
  WriteTable(io.out, format, r, rows, "hoehen");
  return 0;
}

solar::ObservationFields YearFields(QCommandLineParser& p) {
  solar::ObservationFields f = StartFields();
  ReadYear(Positional(p, 0), f);
  ReadLatitude(Positional(p, 1), f);
  ReadLongitude(Positional(p, 2), f);
  if (p.isSet("second")) ReadSecond(Text(p.value("second")), f);
  return f;
}

int Year(const Command&, QCommandLineParser& p, Io& io) {
  const Format format = FormatOf(p);
  const solar::ObservationFields f = YearFields(p);
  const std::vector<float> heights = HeightsOf(p);
  solar::YearSeries series{};
  solar::ComputeYearSeries(f, series);
  Record head{{"jahr", "Jahr", FormatIntField(f.year), true}};
  Append(head, PlaceHead(f));
  std::vector<Record> rows;
  for (int k = 1; k <= solar::kSampleDays; ++k) {
    const solar::SampleDate date = solar::SampleDateOf(k);
    char day[8];
    std::snprintf(day, sizeof day, "%02d.%02d.", date.day, date.month);
    Record row{{"tag", "Tag", day, false}};
    const solar::HoursAndMinutes sun = solar::SplitHours(series.sunshine[k]);
    const solar::HoursAndMinutes twi = solar::SplitHours(series.twilight[k]);
    row.push_back({"sonne_std", "Sonne Std", FormatIntField(sun.hours), true});
    row.push_back({"sonne_min", "min", FormatIntField(sun.minutes), true});
    row.push_back({"daemmerung_std", "inkl. Dämmerung Std", FormatIntField(twi.hours), true});
    row.push_back({"daemmerung_min", "min", FormatIntField(twi.minutes), true});
    row.push_back({"sonne_stunden", "Sonne Stunden", FormatFloatField(series.sunshine[k]), true});
    row.push_back({"daemmerung_stunden", "Dämmerung Stunden", FormatFloatField(series.twilight[k]), true});
    std::string minutes, seconds;
    if (k < solar::kSampleDays) {  // the change to the next sample day
      const year::DailyChange change =
          year::DailyChangeOf(year::SunshineChangePerDay(series, k, f.year));
      minutes = FormatIntField(change.minutes);
      seconds = FormatIntField(change.seconds);
    }
    row.push_back({"veraenderung_min", "Veränderung min", minutes, true});
    row.push_back({"veraenderung_sek", "sek", seconds, true});
    if (!heights.empty()) {
      static solar::DayTrack track;
      solar::ScanSampleDay(f, k, track);
      for (const float height : heights) {
        const std::string h = FormatFloatField(height);
        const int count = solar::CountMinutesAbove(track, height);
        row.push_back({"ueber_" + h + "_stunden", "über " + h + " Grad Stunden",
                       FormatFloatField(solar::MinutesToHours(count)), true});
      }
    }
    rows.push_back(std::move(row));
  }
  WriteTable(io.out, format, head, rows, "tage");
  return 0;
}

int Export(const Command&, QCommandLineParser& p, Io&) {
  if (p.positionalArguments().size() != 4) throw InputError{"Erwartet: DATUM BREITE LÄNGE DATEI."};
  const solar::ObservationFields f = MomentFields(p, false);
  static solar::DayTrack track;
  solar::ScanDay(solar::DayNumberOf(f), f.second, solar::LatitudeOf(f), solar::LongitudeOf(f), track);
  files::ExportMinuteTable(Positional(p, 3), track);
  return 0;
}

int ChartDay(const Command&, QCommandLineParser& p, Io&) {
  if (p.positionalArguments().size() != 5) throw InputError{"Erwartet: DATUM ZEIT BREITE LÄNGE DATEI."};
  const solar::ObservationFields f = MomentFields(p, true);
  static solar::DayTrack track;
  const float latitude = solar::LatitudeOf(f), longitude = solar::LongitudeOf(f);
  const solar::SunPosition moment = solar::ComputeSunPosition(
      solar::DayNumberOf(f), solar::ClockHoursOf(f), latitude, longitude);
  solar::ScanDay(solar::DayNumberOf(f), f.second, latitude, longitude, track);
  platform::Surface surface = ClientOf(res::kDayCourseDialog);
  {
    platform::CDC dc(surface);
    charts::DrawDayCourse(dc, track.height, track.azimuth, moment);
  }
  WritePng(Positional(p, 4), surface, charts::kDayChartArea);
  return 0;
}

int ChartYear(const Command&, QCommandLineParser& p, Io&) {
  if (p.positionalArguments().size() != 4) throw InputError{"Erwartet: JAHR BREITE LÄNGE DATEI."};
  const solar::ObservationFields f = YearFields(p);
  solar::YearSeries series{};
  solar::ComputeYearSeries(f, series);
  int offset = 0;
  if (p.isSet("click")) {
    const std::optional<int> x = platform::ParseIntField(Text(p.value("click")));
    if (!x) throw InputError{"Klick: " + platform::IntExpectedMessage()};
    offset = year::PickColumn(*x);
  }
  platform::Surface surface = ClientOf(res::kYearCourseDialog);
  {
    platform::CDC dc(surface);
    charts::DrawYearCourse(dc, series.sunshine, series.twilight, p.isSet("click"), offset);
  }
  WritePng(Positional(p, 3), surface, charts::kYearChartArea);
  return 0;
}

int PlaceSave(const Command&, QCommandLineParser& p, Io&) {
  if (p.positionalArguments().size() != 3) throw InputError{"Erwartet: BREITE LÄNGE DATEI."};
  solar::ObservationFields f = StartFields();
  ReadLatitude(Positional(p, 0), f);
  ReadLongitude(Positional(p, 1), f);
  files::SaveLocation(Positional(p, 2), files::PlaceOf(f));
  return 0;
}

int PlaceShow(const Command&, QCommandLineParser& p, Io& io) {
  const Format format = FormatOf(p);
  if (p.positionalArguments().size() != 1) throw InputError{"Erwartet: DATEI."};
  solar::ObservationFields f = StartFields();
  files::SetPlace(f, files::LoadLocation(Positional(p, 0)));
  WriteRecord(io.out, format, PlaceHead(f));
  return 0;
}

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands{
      {{"position"}, "Azimut und Höhe der Sonne für einen Zeitpunkt und Ort, wie der Dialog sie zeigt.",
       {{"DATUM", kDate}, {"ZEIT", kTime}, {"BREITE", kLatitude}, {"LÄNGE", kLongitude}},
       {FormatOption(),
        QCommandLineOption(QStringList{"input"}, "Liest Zeilen DATUM,ZEIT,BREITE,LÄNGE aus DATEI (- für die "
                                      "Standardeingabe) und schreibt je Zeile ein Ergebnis.", "DATEI")},
       Position},
      {{"day"}, "Sonnenscheindauer und Dauer inkl. Dämmerung eines Tages, erste und letzte Minute "
                "über dem Horizont.",
       {{"DATUM", kDate}, {"BREITE", kLatitude}, {"LÄNGE", kLongitude}},
       {FormatOption(), TimeOption(), HeightOption()}, Day},
      {{"year"}, "Die 72 Stichtage eines Jahres mit Sonnenschein, Dämmerung und täglicher Veränderung.",
       {{"JAHR", "Jahr (1900 bis 2100)."}, {"BREITE", kLatitude}, {"LÄNGE", kLongitude}},
       {FormatOption(), SecondOption(), HeightOption()}, Year},
      {{"export"}, "Schreibt die Minutentabelle des Tages wie \"ASCII Export\".",
       {{"DATUM", kDate}, {"BREITE", kLatitude}, {"LÄNGE", kLongitude}, {"DATEI", "Zieldatei."}},
       {TimeOption()}, Export},
      {{"chart", "day"}, "Das Tagesverlauf-Diagramm des Dialogs als PNG-Bild.",
       {{"DATUM", kDate}, {"ZEIT", kTime}, {"BREITE", kLatitude}, {"LÄNGE", kLongitude},
        {"DATEI", "PNG-Datei."}},
       {}, ChartDay},
      {{"chart", "year"}, "Das Jahresverlauf-Diagramm als PNG-Bild, auf Wunsch mit Markierung.",
       {{"JAHR", "Jahr (1900 bis 2100)."}, {"BREITE", kLatitude}, {"LÄNGE", kLongitude},
        {"DATEI", "PNG-Datei."}},
       {SecondOption(), QCommandLineOption(QStringList{"click"}, "Markiert die Spalte eines Klicks bei X "
                                                      "(Pixel im Fenster), wie im Dialog.", "X")},
       ChartYear},
      {{"place", "save"}, "Schreibt einen Ort als Ortsdatei (.ort).",
       {{"BREITE", kLatitude}, {"LÄNGE", kLongitude}, {"DATEI", "Ortsdatei."}}, {}, PlaceSave},
      {{"place", "show"}, "Zeigt den Ort einer Ortsdatei.", {{"DATEI", "Ortsdatei."}},
       {FormatOption()}, PlaceShow},
  };
  return commands;
}

std::string Joined(const std::vector<std::string>& words) {
  std::string s;
  for (const std::string& w : words) s += (s.empty() ? "" : " ") + w;
  return s;
}

std::string Overview() {
  std::string s = "Aufruf: tagvaroskop-cli BEFEHL [ARGUMENTE] [OPTIONEN]\n\nBefehle:\n";
  for (const Command& c : Commands()) s += "  " + Joined(c.words) + "\n      " + c.summary + "\n";
  return s + "\nHilfe zu einem Befehl: tagvaroskop-cli BEFEHL --help\n";
}

// Options first, then "--" and the positional arguments, so that a negative value such as
// -33:52:0 stays an argument.
QStringList Reordered(const std::vector<std::string>& arguments, const Command& command) {
  QStringList options, positional;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const QString a = QString::fromStdString(arguments[i]);
    const bool looksLikeOption = a.startsWith("--") || a == "-h";
    if (!looksLikeOption) {
      positional << a;
      continue;
    }
    options << a;
    const QString name = a.mid(2).section('=', 0, 0);
    for (const QCommandLineOption& o : command.options) {
      if (o.names().contains(name) && !o.valueName().isEmpty() && !a.contains('=') &&
          i + 1 < arguments.size()) {
        options << QString::fromStdString(arguments[++i]);
      }
    }
  }
  return QStringList{"tagvaroskop-cli"} + options + QStringList{"--"} + positional;
}

int RunCommand(const Command& command, const std::vector<std::string>& arguments, Io& io) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QString::fromUtf8(command.summary));
  const QCommandLineOption help(QStringList{"h", "help"}, "Zeigt diese Hilfe an.");
  parser.addOption(help);
  parser.addOptions(command.options);
  for (const auto& [name, description] : command.arguments) {
    parser.addPositionalArgument(QString::fromUtf8(name), QString::fromUtf8(description));
  }
  if (!parser.parse(Reordered(arguments, command))) {
    throw InputError{Text(parser.errorText())};
  }
  if (parser.isSet(help)) {
    std::string text = Text(parser.helpText());
    const size_t program = text.find("tagvaroskop-cli");
    if (program != std::string::npos) text.insert(program + 15, std::string(" ").append(Joined(command.words)));
    io.out << text;
    return 0;
  }
  if (parser.positionalArguments().size() < static_cast<int>(command.arguments.size()) &&
      !(command.words[0] == "position" && parser.isSet("input"))) {
    std::string syntax;
    for (const auto& argument : command.arguments) syntax += std::string(" ") + argument.first;
    throw InputError{"Erwartet:" + syntax + "."};
  }
  return command.work(command, parser, io);
}

}  // namespace

int Run(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out,
        std::ostream& err) {
  Io io{in, out, err};
  if (arguments.empty() || arguments[0] == "-h" || arguments[0] == "--help") {
    (arguments.empty() ? err : out) << Overview();
    return arguments.empty() ? kWrongEntry : 0;
  }
  for (const Command& command : Commands()) {
    const size_t n = command.words.size();
    if (arguments.size() < n || !std::equal(command.words.begin(), command.words.end(), arguments.begin()))
      continue;
    try {
      return RunCommand(command, std::vector<std::string>(arguments.begin() + n, arguments.end()), io);
    } catch (const InputError& e) {
      err << "tagvaroskop-cli: " << e.message << "\n";
      return kWrongEntry;
    } catch (const platform::CFileException& e) {
      err << "tagvaroskop-cli: " << e.GetErrorMessage() << "\n";
      return kFileError;
    }
  }
  err << "tagvaroskop-cli: unbekannter Befehl \"" << Joined(arguments) << "\".\n\n" << Overview();
  return kWrongEntry;
}

}  // namespace cli
