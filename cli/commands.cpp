#include "cli/commands.h"

#include <QCommandLineParser>
#include <new>

#include "cli/command_work.h"
#include "cli/output.h"
#include "cli/input.h"
#include "platform/file_exception.h"

namespace cli {

namespace {

// A subcommand: its words, what it does, its arguments and options, and its work.
struct Command {
  std::vector<std::string> words;
  const char* summary;
  std::vector<std::pair<const char*, const char*>> arguments;  // name, description
  QList<QCommandLineOption> options;
  int (*work)(QCommandLineParser&, Io&);
  const char* usage = nullptr;  // the arguments in the first line of the help, where not their names
};

QCommandLineOption FormatOption() {
  return QCommandLineOption(QStringList{"format"}, "Ausgabe als text (Vorgabe), csv oder json.", "FORMAT",
                            "text");
}
QCommandLineOption TimeZoneOption() {
  return QCommandLineOption(QStringList{"tz"},
                            "Zeitzone der Zeiten, die gelesen und geschrieben werden: ein Name wie "
                            "Europe/Berlin oder America/Los_Angeles (mit Sommerzeit), UTC oder ein "
                            "Versatz wie +05:30. Ohne --tz gilt das ganze Jahr MEZ (UTC+01:00), die "
                            "Uhr des Dialogs.",
                            "ZONE");
}
QCommandLineOption TimeOption() {
  return QCommandLineOption(QStringList{"time"}, "Uhrzeit HH:MM:SS; für den Tag zählen nur die Sekunden: "
                            "jede Minute wird um sie verschoben.", "ZEIT");
}
QCommandLineOption SecondOption() {
  return QCommandLineOption(QStringList{"second"}, "Sekunden der Uhrzeit (0 bis 59), Vorgabe 0.", "SEK");
}
QCommandLineOption ScaleOption() {
  return QCommandLineOption(QStringList{"scale"}, "Zeichnet das Bild N-mal so groß in voller Auflösung, "
                            "für Bildschirme mit hoher Pixeldichte (1 bis 4, Vorgabe 1).", "N", "1");
}
QCommandLineOption HeightOption() {
  return QCommandLineOption(QStringList{"height"},
                            "Zusätzlich die Dauer über dieser Sonnenhöhe in Grad, -90 bis 90 "
                            "(mehrfach möglich, etwa -6, -12, -18 oder 6).",
                            "GRAD");
}

const char* kDate = "Datum JJJJ-MM-TT (1900 bis 2100).";
const char* kTime = "Uhrzeit HH:MM:SS in der Zeitzone von --tz, ohne --tz MEZ (UTC+01:00).";
const char* kMoment = "Statt DATUM und ZEIT: ein Zeitpunkt nach ISO 8601 mit Z oder Versatz, etwa "
                      "2005-06-21T12:00:00Z, oder now.";
const char* kLatitude = "Breite in Grad, -90 bis 90, Süden negativ: Dezimalgrad (-33.8688), "
                        "GRAD:ARCMIN:ARCSEC mit dem Vorzeichen für den ganzen Winkel (-33:52:0) "
                        "oder mit N/S statt des Vorzeichens (33.8688S).";
const char* kLongitude = "Länge in Grad, -180 bis 360, Westen negativ: Dezimalgrad (-118.2437), "
                         "GRAD:ARCMIN:ARCSEC (-118:14:37) oder mit E/W statt des Vorzeichens "
                         "(118.2437W).";
const char* kYear = "Jahr (1900 bis 2100).";

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands{
      {{"position"}, "Azimut und Höhe der Sonne für einen Zeitpunkt und Ort, wie der Dialog sie zeigt.",
       {{"DATUM", kDate}, {"ZEIT", kTime}, {"ZEITPUNKT", kMoment}, {"BREITE", kLatitude}, {"LÄNGE", kLongitude}},
       {FormatOption(), TimeZoneOption(),
        QCommandLineOption(QStringList{"input"}, "Liest Zeilen DATUM,ZEIT,BREITE,LÄNGE aus DATEI (- für die "
                                      "Standardeingabe) und schreibt je Zeile ein Ergebnis.", "DATEI")},
       Position, "(DATUM ZEIT | ZEITPUNKT) BREITE LÄNGE"},
      {{"day"}, "Ein Kalendertag der Zeitzone Minute für Minute: Sonnenscheindauer und Dauer inkl. "
                "Dämmerung, Sonnenaufgang und Sonnenuntergang, die Dämmerungen und der höchste Stand "
                "auf die Sekunde.",
       {{"DATUM", kDate}, {"BREITE", kLatitude}, {"LÄNGE", kLongitude}},
       {FormatOption(), TimeZoneOption(), TimeOption(), HeightOption(),
        QCommandLineOption(QStringList{"input"}, "Liest Zeilen DATUM,BREITE,LÄNGE aus DATEI (- für die "
                                      "Standardeingabe) und schreibt je Zeile den Tag.", "DATEI")},
       Day, "(DATUM BREITE LÄNGE | --input DATEI)"},
      {{"days"}, "Dasselbe für jeden Tag von VON bis BIS (höchstens fünf Jahre): die Tabelle der "
                 "Sonnenaufgänge und Sonnenuntergänge.",
       {{"VON", kDate}, {"BIS", kDate}, {"BREITE", kLatitude}, {"LÄNGE", kLongitude}},
       {FormatOption(), TimeZoneOption(), TimeOption()}, Days},
      {{"year"}, "Die 72 Stichtage eines Jahres mit Sonnenschein, Dämmerung und täglicher Veränderung.",
       {{"JAHR", kYear}, {"BREITE", kLatitude}, {"LÄNGE", kLongitude}},
       {FormatOption(), SecondOption(), HeightOption()}, Year},
      {{"export"}, "Schreibt die Minutentabelle des Tages wie \"ASCII Export\" (MEZ, wie der Dialog).",
       {{"DATUM", kDate}, {"BREITE", kLatitude}, {"LÄNGE", kLongitude}, {"DATEI", "Zieldatei."}},
       {TimeOption()}, Export},
      {{"chart", "day"}, "Das Tagesverlauf-Diagramm des Dialogs als PNG-Bild.",
       {{"DATUM", kDate}, {"ZEIT", kTime}, {"ZEITPUNKT", kMoment}, {"BREITE", kLatitude},
        {"LÄNGE", kLongitude}, {"DATEI", "PNG-Datei (- für die Standardausgabe)."}},
       {TimeZoneOption(), ScaleOption()}, ChartDay, "(DATUM ZEIT | ZEITPUNKT) BREITE LÄNGE DATEI"},
      {{"chart", "year"}, "Das Jahresverlauf-Diagramm als PNG-Bild, auf Wunsch mit Markierung.",
       {{"JAHR", kYear}, {"BREITE", kLatitude}, {"LÄNGE", kLongitude}, {"DATEI", "PNG-Datei."}},
       {SecondOption(), ScaleOption(),
        QCommandLineOption(QStringList{"click"}, "Markiert die Spalte eines Klicks bei X "
                                                 "(Pixel im Fenster), wie im Dialog.", "X")},
       ChartYear},
      {{"place", "save"}, "Schreibt einen Ort als Ortsdatei (.ort), die der Dialog lesen kann.",
       {{"BREITE", kLatitude}, {"LÄNGE", kLongitude}, {"DATEI", "Ortsdatei."}}, {}, PlaceSave},
      {{"place", "show"}, "Zeigt den Ort einer Ortsdatei in Dezimalgrad und wie gespeichert.",
       {{"DATEI", "Ortsdatei."}}, {FormatOption()}, PlaceShow},
  };
  return commands;
}

std::string Joined(const std::vector<std::string>& words) {
  std::string s;
  for (const std::string& w : words) s += (s.empty() ? "" : " ") + w;
  return s;
}

const char* kExitStatus =
    "Rückgabewert: 0 Erfolg, 1 Datei- oder Ausgabefehler, 2 falsche Eingabe.\n";

// The commands that begin with `group` ("" for all).
std::string Overview(const std::string& group = {}) {
  std::string s = "Aufruf: tagvaroskop-cli " + (group.empty() ? std::string("BEFEHL") : group + " UNTERBEFEHL") +
                  " [ARGUMENTE] [OPTIONEN]\n\nBefehle:\n";
  for (const Command& c : Commands()) {
    if (group.empty() || c.words.front() == group) s += "  " + Joined(c.words) + "\n      " + c.summary + "\n";
  }
  return s + "\nHilfe zu einem Befehl: tagvaroskop-cli BEFEHL --help\n" +
         "Version: tagvaroskop-cli --version\n" + kExitStatus;
}

// Options first, then "--" and the positional arguments, so that a negative value such as
// -33:52:0 stays an argument.
QStringList Reordered(const std::vector<std::string>& arguments, const Command& command) {
  QStringList options, positional;
  bool onlyArguments = false;  // after "--"
  for (size_t i = 0; i < arguments.size(); ++i) {
    const QString a = QString::fromStdString(arguments[i]);
    if (a == "--" && !onlyArguments) {
      onlyArguments = true;
      continue;
    }
    const bool looksLikeOption = !onlyArguments && (a.startsWith("--") || a == "-h");
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

std::string Text(const QString& s) { return s.toStdString(); }

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
    const size_t options = text.find("] "), lineEnd = text.find('\n');
    if (command.usage && options < lineEnd) text.replace(options + 2, lineEnd - options - 2, command.usage);
    io.out << text << "\n" << kExitStatus;
    CheckWritten(io.out);
    return 0;
  }
  const int status = command.work(parser, io);
  CheckWritten(io.out);
  return status;
}

}  // namespace

int Run(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out,
        std::ostream& err) {
  Io io{in, out, err};
  try {
    if (!arguments.empty() && (arguments[0] == "-h" || arguments[0] == "--help" || arguments[0] == "--version")) {
      out << (arguments[0] == "--version" ? std::string("tagvaroskop-cli ") + TAGVAROSKOP_VERSION + "\n" : Overview());
      CheckWritten(out);
      return 0;
    }
  } catch (const platform::CFileException& e) {
    err << "tagvaroskop-cli: " << e.GetErrorMessage() << "\n";
    return kFileError;
  }
  if (arguments.empty()) {
    err << Overview();
    return kWrongEntry;
  }
  if (arguments.size() == 1 && (arguments[0] == "chart" || arguments[0] == "place")) {
    err << Overview(arguments[0]);
    return kWrongEntry;
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
    } catch (const FileError& e) {
      err << "tagvaroskop-cli: " << e.message << "\n";
      return kFileError;
    } catch (const platform::CFileException& e) {
      err << "tagvaroskop-cli: " << e.GetErrorMessage() << "\n";
      return kFileError;
    } catch (const std::bad_alloc&) {
      err << "tagvaroskop-cli: Der Arbeitsspeicher reicht nicht aus.\n";
      return kFileError;
    }
  }
  err << "tagvaroskop-cli: unbekannter Befehl \"" << Joined(arguments) << "\".\n\n" << Overview();
  return kWrongEntry;
}

}  // namespace cli
