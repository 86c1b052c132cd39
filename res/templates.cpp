#include "res/resources.h"

namespace res {

namespace {

using platform::ControlKind;
using platform::ControlTemplate;
using platform::kNoId;
constexpr ControlKind kEdit = ControlKind::kEdit;
constexpr ControlKind kButton = ControlKind::kPushButton;
constexpr ControlKind kDefault = ControlKind::kDefPushButton;
constexpr ControlKind kLabel = ControlKind::kLabel;
constexpr ControlKind kGroup = ControlKind::kGroupBox;

QImage Picture(double ratio) { return LoadBitmap(IDB_PICTURE, ratio); }

const ControlTemplate kAboutControls[] = {
    {kNoId, ControlKind::kPicture, "", 7, 7, 62, 77, &Picture},
    {kNoId, kLabel, "Tagvaroskop, Version " TAGVAROSKOP_VERSION, 74, 9, 89, 8},
    {platform::IDOK, kDefault, "OK", 195, 7, 32, 14},
};

const ControlTemplate kDayCourseControls[] = {
    {IDC_HOUR, kEdit, "", 302, 39, 22, 14},
    {IDC_MINUTE, kEdit, "", 327, 39, 22, 14},
    {IDC_SECOND, kEdit, "", 353, 39, 26, 14},
    {IDC_DAY, kEdit, "", 301, 67, 23, 14},
    {IDC_MONTH, kEdit, "", 327, 67, 22, 14},
    {IDC_YEAR, kEdit, "", 353, 67, 26, 14},
    {IDC_LON_DEGREES, kEdit, "", 302, 109, 22, 14},
    {IDC_LON_ARCMIN, kEdit, "", 327, 109, 22, 14},
    {IDC_LON_ARCSEC, kEdit, "", 353, 109, 26, 14},
    {IDC_LAT_DEGREES, kEdit, "", 302, 124, 22, 14},
    {IDC_LAT_ARCMIN, kEdit, "", 327, 124, 22, 14},
    {IDC_LAT_ARCSEC, kEdit, "", 353, 124, 26, 14},
    {platform::IDOK, kDefault, "OK", 7, 161, 42, 14},
    {platform::IDCANCEL, kButton, "Abbrechen", 7, 181, 42, 14},
    {kNoId, kLabel, "Sek", 353, 28, 14, 8},
    {kNoId, kLabel, "Min", 328, 28, 12, 8},
    {kNoId, kLabel, "Std", 302, 28, 12, 8},
    {kNoId, kLabel, "Jahr", 353, 56, 23, 11},
    {kNoId, kLabel, "Monat", 328, 56, 21, 11},
    {kNoId, kLabel, "Tag", 302, 56, 14, 8},
    {kNoId, kGroup, "Datum und Uhrzeit (Weltzeit)", 261, 18, 131, 68},
    {kNoId, kLabel, "Länge", 267, 113, 21, 8},
    {kNoId, kLabel, "Grad", 302, 97, 16, 8},
    {kNoId, kLabel, "Arcmin", 327, 97, 22, 8},
    {kNoId, kLabel, "Arcsec", 353, 97, 23, 8},
    {kNoId, kLabel, "Breite", 267, 127, 19, 8},
    {kNoId, kGroup, "Ortskoordinten", 261, 88, 131, 69},
    {IDC_AZIMUTH, kEdit, "", 353, 174, 26, 14},
    {IDC_HEIGHT, kEdit, "", 324, 174, 23, 14},
    {kNoId, kLabel, "Azimut", 353, 163, 22, 8},
    {kNoId, kLabel, "Höhe", 324, 163, 18, 8},
    {kNoId, kGroup, "Ergebnisse", 107, 155, 285, 40},
    {IDC_CALCULATE, kButton, "Berechnen", 55, 162, 47, 33},
    {kNoId, kLabel, "Sonne über Horizont", 113, 167, 66, 8},
    {kNoId, kLabel, "inkl. Dämmerung (-7 Grad)", 114, 179, 83, 8},
    {IDC_SUNSHINE_HOURS, kEdit, "", 197, 162, 19, 14},
    {IDC_TWILIGHT_HOURS, kEdit, "", 197, 177, 19, 14},
    {kNoId, kLabel, "GMT", 267, 42, 17, 8},
    {kNoId, kLabel, "Std", 218, 166, 12, 8},
    {kNoId, kLabel, "Std", 217, 180, 12, 8},
    {IDC_YEAR_COURSE, kButton, "Jahresverlauf", 264, 178, 55, 12},
    {IDC_SUNSHINE_MINUTES, kEdit, "", 231, 162, 17, 14},
    {IDC_TWILIGHT_MINUTES, kEdit, "", 231, 177, 17, 14},
    {kNoId, kLabel, "min", 250, 166, 11, 8},
    {kNoId, kLabel, "min", 250, 180, 11, 8},
    {IDC_ASCII_EXPORT, kButton, "ASCII Export", 264, 162, 55, 13},
    {IDC_OPEN_LOCATION, kButton, "Öffnen", 302, 141, 33, 12},
    {kNoId, kLabel, "Datei", 267, 142, 18, 8},
    {IDC_SAVE_LOCATION, kButton, "Speichern", 340, 141, 39, 12},
};

const ControlTemplate kYearCourseControls[] = {
    {platform::IDOK, kDefault, "OK", 376, 23, 50, 14},
    {platform::IDCANCEL, kButton, "Cancel", 376, 42, 50, 14},
    {kNoId, kLabel, "Sonnenschein", 336, 88, 46, 8},
    {kNoId, kLabel, "Dämmerung", 336, 109, 38, 8},
    {IDC_PICK_SUN_MINUTES, kEdit, "", 404, 86, 18, 14},
    {IDC_PICK_SUN_HOURS, kEdit, "", 384, 86, 16, 14},
    {IDC_PICK_TWILIGHT_MINUTES, kEdit, "", 404, 103, 18, 14},
    {IDC_PICK_TWILIGHT_HOURS, kEdit, "", 384, 103, 16, 14},
    {kNoId, kLabel, "min", 406, 76, 12, 8},
    {kNoId, kLabel, "Std", 387, 76, 13, 9},
    {kNoId, kGroup, "Tageslängen", 331, 68, 94, 57},
    {kNoId, kLabel, "inklusive", 336, 100, 28, 8},
    {kNoId, kLabel, "Für Details auf die Kurve klicken!", 321, 171, 105, 8},
    {kNoId, kGroup, "Tägliche Veränderung", 332, 129, 94, 39},
    {IDC_PICK_CHANGE_MINUTES, kEdit, "", 384, 150, 16, 12},
    {IDC_PICK_CHANGE_SECONDS, kEdit, "", 404, 150, 19, 13},
    {kNoId, kLabel, "min", 386, 140, 12, 8},
    {kNoId, kLabel, "sek", 407, 140, 14, 9},
    {kNoId, kLabel, "Mittelwert aus", 337, 145, 45, 10},
    {kNoId, kLabel, "10 Tagen", 337, 155, 38, 9},
};

const platform::ControlName kDayCourseNames[] = {
    {IDC_HOUR, "GMT (Std)"},
    {IDC_MINUTE, "GMT (Min)"},
    {IDC_SECOND, "GMT (Sek)"},
    {IDC_DAY, "Tag"},
    {IDC_MONTH, "Monat"},
    {IDC_YEAR, "Jahr"},
    {IDC_LON_DEGREES, "Länge (Grad)"},
    {IDC_LON_ARCMIN, "Länge (Arcmin)"},
    {IDC_LON_ARCSEC, "Länge (Arcsec)"},
    {IDC_LAT_DEGREES, "Breite (Grad)"},
    {IDC_LAT_ARCMIN, "Breite (Arcmin)"},
    {IDC_LAT_ARCSEC, "Breite (Arcsec)"},
    {IDC_SUNSHINE_HOURS, "Sonne über Horizont (Std)"},
    {IDC_SUNSHINE_MINUTES, "Sonne über Horizont (min)"},
    {IDC_TWILIGHT_HOURS, "inkl. Dämmerung (-7 Grad) (Std)"},
    {IDC_TWILIGHT_MINUTES, "inkl. Dämmerung (-7 Grad) (min)"},
    {IDC_HEIGHT, "Höhe"},
    {IDC_AZIMUTH, "Azimut"},
};

const platform::ControlName kYearCourseNames[] = {
    {IDC_PICK_SUN_HOURS, "Sonnenschein (Std)"},
    {IDC_PICK_SUN_MINUTES, "Sonnenschein (min)"},
    {IDC_PICK_TWILIGHT_HOURS, "inklusive Dämmerung (Std)"},
    {IDC_PICK_TWILIGHT_MINUTES, "inklusive Dämmerung (min)"},
    {IDC_PICK_CHANGE_MINUTES, "Tägliche Veränderung (min)"},
    {IDC_PICK_CHANGE_SECONDS, "Tägliche Veränderung (sek)"},
};

}  // namespace

const platform::DialogTemplate kAboutDialog{IDD_ABOUTBOX, "Info über Tagvaroskop", 234, 97, kAboutControls};
const platform::DialogTemplate kDayCourseDialog{
    IDD_DAYCOURSE, "Tagvaroskop im Verlauf des Tages", 405, 201, kDayCourseControls, kDayCourseNames};
const platform::DialogTemplate kYearCourseDialog{
    IDD_YEARCOURSE,  "Tageslänge im Jahresverlauf   Für Details auf die Kurve klicken!", 433, 191, kYearCourseControls,
    kYearCourseNames};

const char* LoadString(int id) { return id == IDS_ABOUTBOX ? "Inf&o über Tagvaroskop..." : ""; }

}  // namespace res
