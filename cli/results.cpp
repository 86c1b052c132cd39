#include "cli/results.h"

#include <QBuffer>
#include <QImage>
#include <cstdio>

#include "charts/day_course_chart.h"
#include "charts/year_chart.h"
#include "core/year_pick.h"
#include "platform/field_text.h"
#include "res/resources.h"
#include "solar/solar.h"

namespace cli {

using platform::FormatFloatField;
using platform::FormatIntField;

namespace {

// A client image of the size of a dialog's window.
platform::Surface ClientOf(const platform::DialogTemplate& t) {
  return platform::Surface(platform::DialogUnitsToPixelsX(t.width),
                           platform::DialogUnitsToPixelsY(t.height));
}

QByteArray Png(const platform::Surface& surface, const platform::PixelRect& area) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  surface.Image().copy(area.left, area.top, area.Width(), area.Height()).save(&buffer, "PNG");
  return bytes;
}

}  // namespace

std::string FieldsText(float degrees, float arcmin, float arcsec) {
  return FormatFloatField(degrees) + ":" + FormatFloatField(arcmin) + ":" + FormatFloatField(arcsec);
}

std::string DecimalDegrees(double degrees) {
  char text[32];
  std::snprintf(text, sizeof text, "%.5f", degrees);
  std::string s = text;
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  return s == "-0" ? "0" : s;
}

double SignedLongitude(const solar::ObservationFields& f) {
  const double longitude = solar::LongitudeOf(f);
  return longitude > 180.0 ? longitude - 360.0 : longitude;
}

Record PlaceRecord(const solar::ObservationFields& f) {
  return Record{{"breite", "Breite (Grad)", DecimalDegrees(solar::LatitudeOf(f)), true},
                {"laenge", "Länge (Grad)", DecimalDegrees(SignedLongitude(f)), true}};
}

Value ZoneValue(const TimeBasis& basis, const QDateTime& from, const QDateTime& until) {
  return {"zeitzone", "Zeitzone", basis.name, false, {}, ZoneText(basis, from, until)};
}

Record PositionRecord(const solar::ObservationFields& f, const QDateTime& moment, const TimeBasis& basis) {
  const solar::SunPosition p = solar::SunPositionOf(f);
  const QDateTime local = moment.toTimeZone(basis.zone);
  Record r{{"datum", "Datum", local.date().toString(Qt::ISODate).toStdString(), false},
           {"zeit", "Uhrzeit", Rfc3339(moment, basis), false, {}, ClockText(moment, basis)},
           ZoneValue(basis, moment, moment)};
  Append(r, PlaceRecord(f));
  r.push_back({"azimut", "Azimut", FormatFloatField(p.azimuth), true});
  r.push_back({"hoehe", "Höhe", FormatFloatField(p.height), true});
  return r;
}

Record YearHead(const solar::ObservationFields& f) {
  Record head{{"jahr", "Jahr", FormatIntField(f.year), true}};
  Append(head, PlaceRecord(f));
  return head;
}

std::vector<Record> YearRows(const solar::ObservationFields& f, const solar::YearSeries& series,
                             const std::vector<float>& heights) {
  std::vector<Record> rows;
  solar::DayTrack track;
  for (int k = 1; k <= solar::kSampleDays; ++k) {
    const solar::SampleDate date = solar::SampleDateOf(k);
    char day[8];
    std::snprintf(day, sizeof day, "%02d.%02d.", date.day, date.month);
    Record row{{"tag", "Tag", day, false}};
    const solar::HoursAndMinutes sun = solar::SplitHours(series.sunshine[k]);
    const solar::HoursAndMinutes twi = solar::SplitHours(series.twilight[k]);
    row.push_back({"sonne_std", "Sonne Std", FormatIntField(sun.hours), true});
    row.push_back({"sonne_min", "min", FormatIntField(sun.minutes), true});
    row.push_back({"daemmerung_std", "inkl. Dämmerung Std", FormatIntField(twi.hours), true});
    row.push_back({"daemmerung_min", "min", FormatIntField(twi.minutes), true});
    row.push_back({"sonne_stunden", "Sonne Stunden", FormatFloatField(series.sunshine[k]), true});
    row.push_back({"daemmerung_stunden", "Dämmerung Stunden", FormatFloatField(series.twilight[k]), true});
    std::string minutes, seconds;
    if (k < solar::kSampleDays) {  // the change to the next sample day
      const core::DailyChange change =
          core::DailyChangeOf(core::SunshineChangePerDay(series, k, f.year));
      minutes = FormatIntField(change.minutes);
      seconds = FormatIntField(change.seconds);
    }
    row.push_back({"veraenderung_min", "Veränderung min", minutes, true});
    row.push_back({"veraenderung_sek", "sek", seconds, true});
    if (!heights.empty()) solar::ScanSampleDay(f, k, track);
    for (const float height : heights) {
      const std::string h = FormatFloatField(height);
      const int count = solar::CountMinutesAbove(track, height);
      row.push_back({"ueber_" + h + "_stunden", "über " + h + " Grad Stunden",
                     FormatFloatField(solar::MinutesToHours(count)), true});
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

QByteArray DayChartPng(const solar::ObservationFields& f) {
  solar::DayTrack track;
  solar::ScanDayOf(f, track);
  platform::Surface surface = ClientOf(res::kDayCourseDialog);
  {
    platform::CDC dc(surface);
    charts::DrawDayCourse(dc, track, solar::SunPositionOf(f));
  }
  return Png(surface, charts::kDayChartArea);
}

QByteArray YearChartPng(const solar::ObservationFields& f, std::optional<int> clickX) {
  solar::YearSeries series{};
  solar::ComputeYearSeries(f, series);
  platform::Surface surface = ClientOf(res::kYearCourseDialog);
  {
    platform::CDC dc(surface);
    charts::DrawYearCourse(dc, series, clickX.has_value(), clickX ? core::PickColumn(*clickX) : 0);
  }
  return Png(surface, charts::kYearChartArea);
}

}  // namespace cli
