#pragma once

#include <optional>
#include <string>

#include "platform/cdialog.h"
#include "platform/ctime.h"
#include "solar/types.h"
#include "year/year_course_dlg.h"

namespace app {

// The main dialog: place and moment in, the sun's position, the day lengths and the day's
// chart out; buttons for the year window, the minute table and the location file.
class CDayCourseDlg : public platform::CDialog {
 public:
  explicit CDayCourseDlg(platform::CWinApp& app);

  // Computes from the fields and shows the results; false where a field was refused (its
  // message shown, the last values kept).
  bool Calculate();
  // "Berechnen" and Enter: the calculation, and its result told to screen readers.
  void OnCalculate();
  void OnYearCourse();
  void OnAsciiExport();
  void OnOpenLocation();
  void OnSaveLocation();
  void OnSysCommand(unsigned id, platform::Point point);
  void OnPaint();

  bool OnInitDialog() override;
  void OnOK() override;
  void DoDataExchange(platform::CDataExchange& dx) override;

  // Draws the sun's path of the track and the cross at the entered moment.
  void DrawDayCourse(const float* height, const float* azimuth);

  solar::DayTrack m_track;
  platform::CTime m_now;
  solar::ObservationFields m_fields;
  int m_sunshineMinutes = 0;
  int m_twilightMinutes = 0;
  year::CYearCourseDlg m_yearDlg;
  platform::Icon m_hIcon;

 protected:
  bool OnMessage(const platform::Message& message) override;

 private:
  // The full path chosen in the save dialog, which asks before replacing a file.
  std::optional<std::string> AskFileToSave(const char* extension, const char* pattern);
};

}  // namespace app
