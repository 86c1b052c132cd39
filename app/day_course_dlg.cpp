#include "app/day_course_dlg.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "app/about_dlg.h"
#include "charts/day_course_chart.h"
#include "dialog_model/descriptions.h"
#include "dialog_model/field_rules.h"
#include "dialog_model/observation.h"
#include "files/location_file.h"
#include "files/minute_table.h"
#include "platform/base/field_text.h"
#include "platform/cdc.h"
#include "platform/cwinapp.h"
#include "platform/data_exchange.h"
#include "platform/file_dialog.h"
#include "res/resources.h"
#include "solar/solar.h"

namespace app {

using platform::Event;
using platform::MessageMapEntry;

namespace {

constexpr int kSystemIconSize = 32;  // width and height of a big icon

const std::array<MessageMapEntry<CDayCourseDlg>, 7> kMessageMap{{
    {Event::kSysCommand, 0, &CDayCourseDlg::OnSysCommand},
    {Event::kPaint, 0, &CDayCourseDlg::OnPaint},
    {Event::kCommand, res::IDC_CALCULATE, &CDayCourseDlg::OnCalculate},
    {Event::kCommand, res::IDC_YEAR_COURSE, &CDayCourseDlg::OnYearCourse},
    {Event::kCommand, res::IDC_ASCII_EXPORT, &CDayCourseDlg::OnAsciiExport},
    {Event::kCommand, res::IDC_OPEN_LOCATION, &CDayCourseDlg::OnOpenLocation},
    {Event::kCommand, res::IDC_SAVE_LOCATION, &CDayCourseDlg::OnSaveLocation},
}};

}  // namespace

CDayCourseDlg::CDayCourseDlg(platform::CWinApp& app)
    : CDialog(app, res::kDayCourseDialog),
      m_track{},
      m_now(app.Ui().Now()),
      m_fields{},
      m_yearDlg(app),
      m_hIcon{res::LoadIcon(32), res::LoadIcon(16), {res::LoadIcon(48), res::LoadIcon(256)}} {
  const std::tm local = m_now.GetLocalTm();
  m_fields.day = static_cast<float>(local.tm_mday);
  m_fields.month = local.tm_mon + 1;
  m_fields.year = local.tm_year + 1900;
  m_fields.hour = local.tm_hour;
  m_fields.minute = local.tm_min;
  m_fields.second = local.tm_sec;
  m_fields.latDegrees = 51.0f;
  m_fields.lonDegrees = 7.0f;
}

bool CDayCourseDlg::OnMessage(const platform::Message& message) {
  return platform::DispatchMessageMap<CDayCourseDlg>(kMessageMap, *this, message);
}

void CDayCourseDlg::DoDataExchange(platform::CDataExchange& dx) {
  for (const dialog_model::FieldRule& rule : dialog_model::kFieldRules) {
    if (auto member = std::get_if<float solar::ObservationFields::*>(&rule.member)) {
      float& value = m_fields.*(*member);
      platform::DDX_Text(dx, rule.control, value);
      if (rule.checked) {
        platform::DDV_MinMaxFloat(dx, value, static_cast<float>(rule.minimum), static_cast<float>(rule.maximum));
      }
    } else {
      int& value = m_fields.*std::get<int solar::ObservationFields::*>(rule.member);
      platform::DDX_Text(dx, rule.control, value);
      if (rule.checked) {
        platform::DDV_MinMaxInt(dx, value, static_cast<int>(rule.minimum), static_cast<int>(rule.maximum));
      }
    }
  }
  platform::DDX_Text(dx, res::IDC_SUNSHINE_MINUTES, m_sunshineMinutes);
  platform::DDX_Text(dx, res::IDC_TWILIGHT_MINUTES, m_twilightMinutes);
}

bool CDayCourseDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  if (platform::CMenu* menu = GetSystemMenu()) {
    const std::string about = res::LoadString(res::IDS_ABOUTBOX);
    if (!about.empty()) {
      menu->AppendSeparator();
      menu->AppendString(res::IDM_ABOUTBOX, about);
      SetHelpCommand(res::IDM_ABOUTBOX);
    }
  }
  SetIcon(m_hIcon, true);
  SetIcon(m_hIcon, false);
  Calculate();
  return true;
}

void CDayCourseDlg::OnSysCommand(unsigned id, platform::Point) {
  if ((id & 0xFFF0) == res::IDM_ABOUTBOX) {
    CAboutDlg about(App());
    about.DoModal();
  } else {
    Default();
  }
}

void CDayCourseDlg::OnPaint() {
  if (!IsIconic()) {
    Default();
    Calculate();
    return;
  }
  platform::CPaintDC dc(this);
  dc.FillSolidRect(dc.ClipBox(), platform::kDialogBackground);  // the icon's background
  const int x = (Client().Width() - kSystemIconSize + 1) / 2;
  const int y = (Client().Height() - kSystemIconSize + 1) / 2;
  dc.DrawIcon(x, y, m_hIcon.big);
}

void CDayCourseDlg::OnOK() { OnCalculate(); }

void CDayCourseDlg::OnCalculate() {
  if (!Calculate()) return;
  Announce(
      dialog_model::SummarizeResult({m_fields.azimuth, m_fields.height}, solar::SplitHours(m_fields.sunshineHours)));
}

bool CDayCourseDlg::Calculate() {
  const bool taken = UpdateData(true);
  solar::ObservationFields& f = m_fields;
  const solar::SunPosition position = dialog_model::SunPositionOf(f);
  f.azimuth = position.azimuth;
  f.height = position.height;
  UpdateData(false);

  dialog_model::ScanDayOf(f, m_track);
  const solar::DayLengths lengths = solar::CountDayLengths(m_track);
  const float sunshine = solar::MinutesToHours(lengths.minutesAboveHorizon);
  const float twilight = solar::MinutesToHours(lengths.minutesAboveTwilight);
  const solar::HoursAndMinutes sunshineShown = solar::SplitHours(sunshine);
  const solar::HoursAndMinutes twilightShown = solar::SplitHours(twilight);
  f.sunshineHours = static_cast<float>(sunshineShown.hours);
  f.twilightHours = static_cast<float>(twilightShown.hours);
  m_sunshineMinutes = sunshineShown.minutes;
  m_twilightMinutes = twilightShown.minutes;
  UpdateData(false);
  f.sunshineHours = sunshine;
  f.twilightHours = twilight;

  DrawDayCourse(m_track.height, m_track.azimuth);
  DescribeClient("Tagesverlauf der Sonne", dialog_model::DescribeDayCourse(m_track, {f.azimuth, f.height}));
  return taken;
}

void CDayCourseDlg::DrawDayCourse(const float* height, const float* azimuth) {
  platform::CClientDC dc(this);
  solar::DayTrack track;
  std::copy_n(height, solar::kMinutesPerScan, track.height);
  std::copy_n(azimuth, solar::kMinutesPerScan, track.azimuth);
  charts::DrawDayCourse(dc, track, {m_fields.azimuth, m_fields.height});
}

void CDayCourseDlg::OnYearCourse() {
  Calculate();
  std::memcpy(&m_yearDlg.m_fields, &m_fields, sizeof m_fields);
  m_yearDlg.DoModal();
}

std::optional<std::string> CDayCourseDlg::AskFileToSave(const char* extension, const char* pattern) {
  platform::CFileDialog dialog(false, extension, pattern, platform::OFN_HIDEREADONLY | platform::OFN_OVERWRITEPROMPT,
                               nullptr, this);
  if (dialog.DoModal() != platform::IDOK) return std::nullopt;
  return dialog.GetPathName();
}

void CDayCourseDlg::OnAsciiExport() {
  UpdateData(true);
  if (const auto path = AskFileToSave("txt", "*.txt")) files::ExportMinuteTable(*path, m_track);
}

// Loading shows the place in the fields and calculates nothing; the next calculation reads
// the place back from the fields.
void CDayCourseDlg::OnOpenLocation() {
  platform::CFileDialog dialog(true, "ort", "*.ort", platform::OFN_HIDEREADONLY, nullptr, this);
  if (dialog.DoModal() != platform::IDOK) return;
  const files::Place place = files::LoadLocation(dialog.GetPathName());
  // Values that no field of the dialog takes (not finite, out of range) are no place: the file is
  // refused and the dialog stays as it was.
  if (!files::IsDialogPlace(place)) {
    App().MessageBox(platform::PrintableText(dialog.GetPathName()) + " ist keine Ortsdatei.",
                     platform::MessageIcon::kStop);
    return;
  }
  files::SetPlace(m_fields, place);
  UpdateData(false);
}

void CDayCourseDlg::OnSaveLocation() {
  // A field that failed its check has shown its message and holds the focus: nothing is saved,
  // where the file would hold the failed value.
  if (!UpdateData(true)) return;
  if (const auto path = AskFileToSave("ort", "*.ort")) {
    files::SaveLocation(*path, files::PlaceOf(m_fields));
  }
}

}  // namespace app
