// The chart commands. They draw with Qt's GUI module, so only the chart program links this file
// (tagvaroskop-cli hands `chart` calls to it): the other commands start without loading it.
#include <QBuffer>
#include <QImage>
#include <optional>

#include "charts/day_course_chart.h"
#include "charts/year_chart.h"
#include "cli/command_work.h"
#include "cli/input.h"
#include "dialog_model/observation.h"
#include "dialog_model/year_pick.h"
#include "platform/base/field_text.h"
#include "res/resources.h"
#include "solar/solar.h"

namespace cli {

namespace {

// A client image of the size of a dialog's window, `scale` device pixels to the pixel.
platform::Surface ClientOf(const platform::DialogTemplate& t, int scale) {
  return platform::Surface(platform::DialogUnitsToPixelsX(t.width), platform::DialogUnitsToPixelsY(t.height), scale);
}

QByteArray Png(const platform::Surface& surface, const platform::PixelRect& area) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  const int left = surface.Device(area.left), top = surface.Device(area.top);
  QImage image = surface.Image().copy(left, top, surface.Device(area.right) - left, surface.Device(area.bottom) - top);
  image.setDevicePixelRatio(1.0);
  image.save(&buffer, "PNG");
  return bytes;
}

int ScaleOf(QCommandLineParser& p) { return ReadWhole(p.value("scale").toStdString(), "Maßstab", 1, 4); }

// The charts as the dialogs draw them, cut to the chart's area, as PNG bytes.
QByteArray DayChartPng(const solar::ObservationFields& f, int scale) {
  solar::DayTrack track;
  dialog_model::ScanDayOf(f, track);
  platform::Surface surface = ClientOf(res::kDayCourseDialog, scale);
  {
    platform::CDC dc(surface);
    charts::DrawDayCourse(dc, track, dialog_model::SunPositionOf(f));
  }
  return Png(surface, charts::kDayChartArea);
}

QByteArray YearChartPng(const solar::ObservationFields& f, std::optional<int> clickX, int scale) {
  solar::YearSeries series{};
  solar::ComputeYearSeries(dialog_model::YearPlaceOf(f), series);
  platform::Surface surface = ClientOf(res::kYearCourseDialog, scale);
  {
    platform::CDC dc(surface);
    charts::DrawYearCourse(dc, series, clickX.has_value(), clickX ? dialog_model::PickColumn(*clickX) : 0);
  }
  return Png(surface, charts::kYearChartArea);
}

int DayChart(QCommandLineParser& p, Io& io) {
  Place place{};
  const long long instant = MomentAndPlace(p, 4, BasisOf(p), place);
  solar::ObservationFields f = DialogFields(place);
  SetModelTime(instant, f);
  const int scale = ScaleOf(p);
  WriteBytes(Positional(p, static_cast<int>(p.positionalArguments().size()) - 1), DayChartPng(f, scale), io);
  return 0;
}

int YearChart(QCommandLineParser& p, Io& io) {
  const solar::ObservationFields f = YearFields(p);
  std::optional<int> click;
  if (p.isSet("click")) {
    click = ReadWhole(p.value("click").toStdString(), "Klick", 0, 100000);
  }
  WriteBytes(Positional(p, 3), YearChartPng(f, click, ScaleOf(p)), io);
  return 0;
}

const bool kChartsSet = (SetChartCommands(ChartCommands{DayChart, YearChart}), true);

}  // namespace

}  // namespace cli
