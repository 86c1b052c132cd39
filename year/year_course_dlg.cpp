#include "year/year_course_dlg.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "charts/year_chart.h"
#include "dialog_model/descriptions.h"
#include "dialog_model/observation.h"
#include "dialog_model/year_pick.h"
#include "platform/cdc.h"
#include "platform/data_exchange.h"
#include "res/resources.h"
#include "solar/year_series.h"

namespace year {

using platform::Event;

namespace {

const std::array<platform::MessageMapEntry<CYearCourseDlg>, 4> kMessageMap{{
    {Event::kPaint, 0, &CYearCourseDlg::OnPaint},
    {Event::kLButtonDblClk, 0, &CYearCourseDlg::OnLButtonDblClk},
    {Event::kLButtonDown, 0, &CYearCourseDlg::OnLButtonDown},
    {Event::kKeyDown, 0, &CYearCourseDlg::OnKeyDown},
}};

// The chart's frame with two pixels of room: where the keyboard focus is shown.
constexpr platform::PixelRect kCurveFocus{22, 42, 389, 289};

}  // namespace

CYearCourseDlg::CYearCourseDlg(platform::CWinApp& app) : CDialog(app, res::kYearCourseDialog) {}

bool CYearCourseDlg::OnMessage(const platform::Message& message) {
  return platform::DispatchMessageMap<CYearCourseDlg>(kMessageMap, *this, message);
}

void CYearCourseDlg::DoDataExchange(platform::CDataExchange& dx) {
  platform::DDX_Text(dx, res::IDC_PICK_SUN_HOURS, m_pickSunHours);
  platform::DDX_Text(dx, res::IDC_PICK_SUN_MINUTES, m_pickSunMinutes);
  platform::DDX_Text(dx, res::IDC_PICK_TWILIGHT_HOURS, m_pickTwilightHours);
  platform::DDX_Text(dx, res::IDC_PICK_TWILIGHT_MINUTES, m_pickTwilightMinutes);
  platform::DDX_Text(dx, res::IDC_PICK_CHANGE_MINUTES, m_pickChangeMinutes);
  platform::DDX_Text(dx, res::IDC_PICK_CHANGE_SECONDS, m_pickChangeSeconds);
}

bool CYearCourseDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  UpdateData(false);
  Invalidate(true);
  UpdateData(true);
  solar::ComputeYearSeries(dialog_model::YearPlaceOf(m_fields), m_series);
  DrawYearCourse(m_series.sunshine, m_series.twilight);
  UpdateData(false);
  return true;
}

void CYearCourseDlg::OnPaint() {
  platform::CPaintDC dc(this);
  DrawYearCourse(m_series.sunshine, m_series.twilight);
}

void CYearCourseDlg::DrawYearCourse(const float* sunshine, const float* twilight) {
  platform::CClientDC dc(this);
  solar::YearSeries series;
  std::copy_n(sunshine, std::size(series.sunshine), series.sunshine);
  std::copy_n(twilight, std::size(series.twilight), series.twilight);
  charts::DrawYearCourse(dc, series, m_dayPicked, m_markerOffset);
  DescribeClient("Tageslängen im Jahresverlauf",
                 dialog_model::DescribeYearCourse(series, m_dayPicked ? &m_pick : nullptr));
}

void CYearCourseDlg::OnLButtonDown(platform::Point point) {
  PickAt(point.x);
  Default();
}

void CYearCourseDlg::OnKeyDown(unsigned key, platform::Point) {
  using dialog_model::DayStep;
  const DayStep step = key == platform::kKeyLeft    ? DayStep::kBack
                       : key == platform::kKeyRight ? DayStep::kForward
                       : key == platform::kKeyHome  ? DayStep::kFirst
                                                    : DayStep::kLast;
  const int column = dialog_model::SteppedColumn(step, m_dayPicked ? std::optional(m_markerOffset) : std::nullopt);
  PickAt(dialog_model::ClickXOfColumn(column));
}

std::optional<platform::PixelRect> CYearCourseDlg::KeyboardArea() const { return kCurveFocus; }

void CYearCourseDlg::PickAt(int x) {
  const dialog_model::YearPick pick = dialog_model::PickAt(x, m_series, m_fields.year);
  m_pick = pick;
  m_markerOffset = pick.markerOffset;
  m_pickSunshine = pick.sunshine;
  m_pickSunHours = pick.sunshineShown.hours;
  m_pickSunMinutes = pick.sunshineShown.minutes;
  m_pickTwilightHours = pick.twilightShown.hours;
  m_pickTwilightMinutes = pick.twilightShown.minutes;
  m_pickChangeMinutes = pick.change.minutes;
  m_pickChangeSeconds = pick.change.seconds;
  UpdateData(false);
  m_dayPicked = true;
  Invalidate(true);
}

// The first press of a double click has already picked; the marker stays on its column.
void CYearCourseDlg::OnLButtonDblClk(platform::Point point) { m_markerOffset = dialog_model::PickColumn(point.x); }

}  // namespace year
