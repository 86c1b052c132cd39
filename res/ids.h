#pragma once

// Resource and control ids of the program.
namespace res {

inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDS_ABOUTBOX = 101;
inline constexpr int IDD_DAYCOURSE = 102;
inline constexpr int IDI_MAINFRAME = 128;
inline constexpr int IDD_YEARCOURSE = 129;
inline constexpr int IDB_PICTURE = 131;

inline constexpr int IDM_ABOUTBOX = 16;  // system menu command of the About box

// Main dialog.
inline constexpr int IDC_SECOND = 1000;
inline constexpr int IDC_MINUTE = 1001;
inline constexpr int IDC_HOUR = 1002;
inline constexpr int IDC_YEAR = 1003;
inline constexpr int IDC_MONTH = 1004;
inline constexpr int IDC_DAY = 1005;
inline constexpr int IDC_LON_ARCSEC = 1006;
inline constexpr int IDC_LON_ARCMIN = 1007;
inline constexpr int IDC_LON_DEGREES = 1008;
inline constexpr int IDC_LAT_ARCSEC = 1009;
inline constexpr int IDC_LAT_ARCMIN = 1010;
inline constexpr int IDC_LAT_DEGREES = 1011;
inline constexpr int IDC_AZIMUTH = 1012;
inline constexpr int IDC_HEIGHT = 1013;
inline constexpr int IDC_CALCULATE = 1014;
inline constexpr int IDC_SUNSHINE_HOURS = 1015;
inline constexpr int IDC_TWILIGHT_HOURS = 1016;
inline constexpr int IDC_YEAR_COURSE = 1017;
inline constexpr int IDC_SUNSHINE_MINUTES = 1027;
inline constexpr int IDC_TWILIGHT_MINUTES = 1028;
inline constexpr int IDC_ASCII_EXPORT = 1029;
inline constexpr int IDC_OPEN_LOCATION = 1030;
inline constexpr int IDC_SAVE_LOCATION = 1031;

// Year dialog.
inline constexpr int IDC_PICK_SUN_MINUTES = 1020;
inline constexpr int IDC_PICK_SUN_HOURS = 1021;
inline constexpr int IDC_PICK_TWILIGHT_MINUTES = 1022;
inline constexpr int IDC_PICK_TWILIGHT_HOURS = 1023;
inline constexpr int IDC_PICK_CHANGE_MINUTES = 1024;
inline constexpr int IDC_PICK_CHANGE_SECONDS = 1025;

}  // namespace res
