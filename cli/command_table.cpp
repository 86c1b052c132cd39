// The commands of tagvaroskop-cli: the one place that says which arguments and options each takes.
// The parsing, the help, the manual page and the shell's completion all come from here.
#include "cli/command_work.h"
#include "cli/commands.h"

namespace cli {

namespace {

const OptionSpec kFormat{"format", "FORMAT", "Ausgabe als text (Vorgabe), csv oder json.", "text", Completion::kFormat};
const OptionSpec kZone{"tz", "ZONE",
                       "Zeitzone der Zeiten, die gelesen und geschrieben werden: ein Name der "
                       "Zeitzonendatenbank wie Europe/Berlin oder America/Los_Angeles (mit Sommerzeit), "
                       "UTC oder ein Versatz von -12:00 bis +14:00 wie +05:30. Ohne --tz gilt das ganze "
                       "Jahr MEZ (UTC+01:00), die Uhr des Dialogs. Eine Uhrzeit, die es zweimal gibt (wenn "
                       "die Uhren zurückgestellt werden), gilt beim ersten Mal; eine, die die Uhren "
                       "überspringen, wird abgelehnt.",
                       nullptr, Completion::kZone};
const OptionSpec kTime{"time", "ZEIT",
                       "Uhrzeit HH:MM:SS; für den Tag zählen nur die Sekunden: jede Minute wird um sie "
                       "verschoben."};
const OptionSpec kSecond{"second", "SEK", "Sekunden der Uhrzeit (0 bis 59), Vorgabe 0."};
const OptionSpec kScale{"scale", "N",
                        "Zeichnet das Bild N-mal so groß in voller Auflösung, für Bildschirme mit hoher "
                        "Pixeldichte (1 bis 4, Vorgabe 1).",
                        "1"};
const OptionSpec kHeight{"height", "GRAD",
                         "Zusätzlich die Dauer über dieser Sonnenhöhe in Grad, -90 bis 90 (mehrfach "
                         "möglich, etwa -6, -12, -18 oder 6)."};

const ArgumentSpec kDate{"DATUM", "Datum JJJJ-MM-TT (1900 bis 2100)."};
const ArgumentSpec kClock{"ZEIT", "Uhrzeit HH:MM:SS in der Zeitzone von --tz, ohne --tz MEZ (UTC+01:00)."};
const ArgumentSpec kMoment{"ZEITPUNKT",
                           "Statt DATUM und ZEIT: ein Zeitpunkt nach RFC 3339 wie 2005-06-21T12:00:00Z "
                           "oder 2005-06-21T14:00:00+02:00 (T oder ein Leerzeichen zwischen Datum und "
                           "Uhrzeit), ohne Z und Versatz eine Uhrzeit der Zeitzone von --tz; oder now. Bruchteile "
                           "einer Sekunde zählen nicht: der Zeitpunkt gilt ab dem Anfang seiner Sekunde."};
const ArgumentSpec kLatitude{"BREITE",
                             "Breite in Grad, -90 bis 90, Süden negativ: Dezimalgrad (-33.8688), "
                             "GRAD:ARCMIN:ARCSEC mit dem Vorzeichen für den ganzen Winkel (-33:52:0) oder "
                             "mit N/S statt des Vorzeichens (33.8688S); Nachkommastellen nur im letzten "
                             "Teil, Minuten und Sekunden unter 60."};
const ArgumentSpec kLongitude{"LÄNGE",
                              "Länge in Grad, -180 bis 360, Westen negativ: Dezimalgrad (-118.2437), "
                              "GRAD:ARCMIN:ARCSEC (-118:14:37) oder mit E/W statt des Vorzeichens "
                              "(118.2437W), nach denselben Regeln."};
const ArgumentSpec kStoredLatitude{"BREITE",
                                   "Breite in Grad, -89 bis 89 (so weit reicht die Ortsdatei), in "
                                   "denselben Formen wie bei den anderen Befehlen."};
const ArgumentSpec kYear{"JAHR", "Jahr (1900 bis 2100)."};
const ArgumentSpec kOutput{"DATEI", "Zieldatei (- für die Standardausgabe).", Completion::kFile};
const ArgumentSpec kPicture{"DATEI", "PNG-Datei (- für die Standardausgabe).", Completion::kFile};

OptionSpec Input(const char* lines) { return OptionSpec{"input", "DATEI", lines, nullptr, Completion::kFile}; }

}  // namespace

// A table of data: longer than a function may be.
const std::vector<CommandSpec>& CommandTable() {  // NOLINT(readability-function-size)
  static const std::vector<CommandSpec> commands{
      {{"position"},
       "Azimut und Höhe der Sonne für einen Zeitpunkt und Ort, wie der Dialog sie zeigt.",
       {kDate, kClock, kMoment, kLatitude, kLongitude},
       {{{"DATUM", "ZEIT", "BREITE", "LÄNGE"}}, {{"ZEITPUNKT", "BREITE", "LÄNGE"}}, {{}, "input"}},
       {kFormat, kZone,
        Input("Liest Zeilen DATUM,ZEIT,BREITE,LÄNGE aus DATEI (- für die Standardeingabe) und schreibt je "
              "Zeile ein Ergebnis.")},
       Position},
      {{"day"},
       "Ein Kalendertag der Zeitzone vom ersten Augenblick des Datums bis zum ersten des nächsten, Minute "
       "für Minute: Sonnenscheindauer und Dauer inkl. Dämmerung, Sonnenaufgang und Sonnenuntergang, die "
       "Dämmerungen und der höchste Stand auf die Sekunde (die erste ganze Sekunde auf der neuen Seite).",
       {kDate, kLatitude, kLongitude},
       {{{"DATUM", "BREITE", "LÄNGE"}}, {{}, "input"}},
       {kFormat, kZone, kTime, kHeight,
        Input("Liest Zeilen DATUM,BREITE,LÄNGE aus DATEI (- für die Standardeingabe) und schreibt je Zeile "
              "den Tag.")},
       Day},
      {{"days"},
       "Dasselbe für jeden Tag von VON bis BIS (höchstens fünf Jahre), die Tage, die die Zeitzone "
       "überspringt, ausgenommen: die Tabelle der Sonnenaufgänge und Sonnenuntergänge.",
       {{"VON", kDate.description}, {"BIS", kDate.description}, kLatitude, kLongitude},
       {{{"VON", "BIS", "BREITE", "LÄNGE"}}},
       {kFormat, kZone, kTime},
       Days},
      {{"year"},
       "Die 72 Stichtage eines Jahres mit Sonnenschein, Dämmerung und täglicher Veränderung, wie das "
       "Jahresfenster sie zeigt.",
       {kYear, kLatitude, kLongitude},
       {{{"JAHR", "BREITE", "LÄNGE"}}},
       {kFormat, kSecond, kHeight},
       Year},
      {{"export"},
       "Schreibt die Minutentabelle des Tages wie \"ASCII Export\" (MEZ, wie der Dialog).",
       {kDate, kLatitude, kLongitude, kOutput},
       {{{"DATUM", "BREITE", "LÄNGE", "DATEI"}}},
       {kTime},
       Export},
      {{"chart", "day"},
       "Das Tagesverlauf-Diagramm des Dialogs als PNG-Bild.",
       {kDate, kClock, kMoment, kLatitude, kLongitude, kPicture},
       {{{"DATUM", "ZEIT", "BREITE", "LÄNGE", "DATEI"}}, {{"ZEITPUNKT", "BREITE", "LÄNGE", "DATEI"}}},
       {kZone, kScale},
       ChartDay},
      {{"chart", "year"},
       "Das Jahresverlauf-Diagramm als PNG-Bild, auf Wunsch mit Markierung.",
       {kYear, kLatitude, kLongitude, kPicture},
       {{{"JAHR", "BREITE", "LÄNGE", "DATEI"}}},
       {kSecond, kScale, {"click", "X", "Markiert die Spalte eines Klicks bei X (Pixel im Fenster), wie im Dialog."}},
       ChartYear},
      {{"place", "save"},
       "Schreibt einen Ort als Ortsdatei (.ort), die der Dialog lesen kann.",
       {kStoredLatitude, kLongitude, {"DATEI", "Ortsdatei (- für die Standardausgabe).", Completion::kFile}},
       {{{"BREITE", "LÄNGE", "DATEI"}}},
       {},
       PlaceSave},
      {{"place", "show"},
       "Zeigt den Ort einer Ortsdatei in Dezimalgrad und wie gespeichert.",
       {{"DATEI", "Ortsdatei.", Completion::kFile}},
       {{{"DATEI"}}},
       {kFormat},
       PlaceShow},
  };
  return commands;
}

}  // namespace cli
