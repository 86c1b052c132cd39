#include "cli/commands.h"

#include <QCommandLineParser>
#include <fstream>
#include <functional>
#include <optional>

#include "cli/batch.h"
#include "cli/input.h"
#include "cli/output.h"
#include "cli/results.h"
#include "files/location_file.h"
#include "files/minute_table.h"
#include "platform/file.h"
#include "platform/file_exception.h"
#include "platform/field_text.h"
#include "solar/solar.h"

namespace cli {

namespace {

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

// Writes bytes as a new file: nothing half written, an old file kept on failure.
void WriteFile(const std::string& path, const QByteArray& bytes) {
  platform::CFile file(path, platform::CFile::modeCreate | platform::CFile::modeWrite |
                                 platform::CFile::shareExclusive);
  file.Write(bytes.constData(), static_cast<size_t>(bytes.size()));
  file.Close();
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

int Day(const Command&, QCommandLineParser& p, Io& io) {
  const Format format = FormatOf(p);
  const solar::ObservationFields f = MomentFields(p, false);
  const std::vector<float> heights = HeightsOf(p);
  solar::DayTrack track;
  solar::ScanDayOf(f, track);
  const Record day = DayRecord(f, track);
  if (heights.empty()) {
    WriteRecord(io.out, format, day);
    return 0;
  }
  std::vector<Record> rows;
  for (const float height : heights) rows.push_back(HeightRecord(track, height));
  WriteTable(io.out, format, day, rows, "hoehen");
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
  WriteTable(io.out, format, YearHead(f), YearRows(f, series, heights), "tage");
  return 0;
}

int Export(const Command&, QCommandLineParser& p, Io&) {
  if (p.positionalArguments().size() != 4) throw InputError{"Erwartet: DATUM BREITE LÄNGE DATEI."};
  const solar::ObservationFields f = MomentFields(p, false);
  solar::DayTrack track;
  solar::ScanDayOf(f, track);
  files::ExportMinuteTable(Positional(p, 3), track);
  return 0;
}

int ChartDay(const Command&, QCommandLineParser& p, Io&) {
  if (p.positionalArguments().size() != 5) throw InputError{"Erwartet: DATUM ZEIT BREITE LÄNGE DATEI."};
  WriteFile(Positional(p, 4), DayChartPng(MomentFields(p, true)));
  return 0;
}

int ChartYear(const Command&, QCommandLineParser& p, Io&) {
  if (p.positionalArguments().size() != 4) throw InputError{"Erwartet: JAHR BREITE LÄNGE DATEI."};
  const solar::ObservationFields f = YearFields(p);
  std::optional<int> click;
  if (p.isSet("click")) {
    click = platform::ParseIntField(Text(p.value("click")));
    if (!click) throw InputError{"Klick: " + platform::IntExpectedMessage()};
  }
  WriteFile(Positional(p, 3), YearChartPng(f, click));
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
  WriteRecord(io.out, format, PlaceRecord(f));
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
