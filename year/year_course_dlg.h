#pragma once

#include "dialog_model/year_pick.h"
#include "platform/cdialog.h"
#include "solar/types.h"

namespace year {

// The year window: the day lengths over the year at the entered place, and for a clicked
// position the interpolated durations and the daily change of the sunshine.
class CYearCourseDlg : public platform::CDialog {
 public:
  explicit CYearCourseDlg(platform::CWinApp& app);

  bool OnInitDialog() override;
  void DoDataExchange(platform::CDataExchange& dx) override;
  void OnPaint();
  void OnLButtonDown(platform::Point point);
  void OnLButtonDblClk(platform::Point point);
  // The arrow keys, Home and End on the curve pick as a click at the column they lead to.
  void OnKeyDown(unsigned key, platform::Point);
  std::optional<platform::PixelRect> KeyboardArea() const override;
  void DrawYearCourse(const float* sunshine, const float* twilight);

  solar::ObservationFields m_fields{};
  solar::YearSeries m_series{};
  bool m_dayPicked = false;
  int m_markerOffset = 0;
  float m_pickSunshine = 0.0f;
  int m_pickSunHours = 0;
  int m_pickSunMinutes = 0;
  int m_pickTwilightHours = 0;
  int m_pickTwilightMinutes = 0;
  int m_pickChangeMinutes = 0;
  int m_pickChangeSeconds = 0;
  dialog_model::YearPick m_pick{};  // the last pick, for the chart's description

 private:
  void PickAt(int x);

 protected:
  bool OnMessage(const platform::Message& message) override;
};

}  // namespace year
