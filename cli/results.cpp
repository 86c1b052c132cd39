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

std::vector<Value> Duration(const std::string& key, const std::string& label, int minutes) {
  const float hours = solar::MinutesToHours(minutes);
  const solar::HoursAndMinutes shown = solar::SplitHours(hours);
  return {{key + "_std", label + " (Std)", FormatIntField(shown.hours), true},
          {key + "_min", label + " (min)", FormatIntField(shown.minutes), true},
          {key + "_stunden", label + " (Stunden)", FormatFloatField(hours), true}};
}

void Append(Record& record, const std::vector<Value>& values) {
  record.insert(record.end(), values.begin(), values.end());
}

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

std::string PlaceText(float degrees, float arcmin, float arcsec) {
  return FormatFloatField(degrees) + ":" + FormatFloatField(arcmin) + ":" + FormatFloatField(arcsec);
}

std::string DateText(const solar::ObservationFields& f) {
  return std::to_string(f.year) + "-" + (f.month < 10 ? "0" : "") + std::to_string(f.month) + "-" +
         (f.day < 10 ? "0" : "") + FormatFloatField(f.day);
}

std::string ClockOfMinute(int minute) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d:%02d", (minute / 60) % 100, minute % 60);
  return text;
}

std::string TimeText(const solar::ObservationFields& f) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", f.hour, f.minute, f.second);
  return text;
}

Record PlaceRecord(const solar::ObservationFields& f) {
  return Record{
      {"breite", "Breite", PlaceText(f.latDegrees, f.latArcmin, f.latArcsec), false},
      {"laenge", "Länge", PlaceText(f.lonDegrees, static_cast<float>(f.lonArcmin), f.lonArcsec), false}};
}

Record PositionRecord(const solar::ObservationFields& f) {
  const solar::SunPosition p = solar::SunPositionOf(f);
  Record r{{"datum", "Datum", DateText(f), false}, {"zeit", "Uhrzeit", TimeText(f), false}};
  Append(r, PlaceRecord(f));
  r.push_back({"azimut", "Azimut", FormatFloatField(p.azimuth), true});
  r.push_back({"hoehe", "Höhe", FormatFloatField(p.height), true});
  return r;
}

Record DayRecord(const solar::ObservationFields& f, const solar::DayTrack& track) {
  const solar::DayLengths lengths = solar::CountDayLengths(track);
  Record r{{"datum", "Datum", DateText(f), false}};
  Append(r, PlaceRecord(f));
  Append(r, Duration("sonne", "Sonne über Horizont", lengths.minutesAboveHorizon));
  Append(r, Duration("daemmerung", "inkl. Dämmerung (-7 Grad)", lengths.minutesAboveTwilight));
  const std::vector<solar::Stretch> up = solar::StretchesAbove(track, solar::kHorizonHeight);
  r.push_back({"erste_minute", "Erste Minute über dem Horizont",
               up.empty() ? "" : ClockOfMinute(up.front().first), false});
  r.push_back({"letzte_minute", "Letzte Minute über dem Horizont",
               up.empty() ? "" : ClockOfMinute(up.back().last), false});
  return r;
}

Record HeightRecord(const solar::DayTrack& track, float height) {
  const int count = solar::CountMinutesAbove(track, height);
  const std::vector<solar::Stretch> stretches = solar::StretchesAbove(track, height);
  const bool above = count == solar::kMinutesPerScan, below = count == 0;
  Record r{{"hoehe", "Höhe (Grad)", FormatFloatField(height), true}};
  Append(r, Duration("ueber", "darüber", count));
  r.push_back({"minuten", "Minuten", FormatIntField(count), true});
  r.push_back({"state", "Zustand", above ? "above" : below ? "below" : "crossing", false, {},
               above ? "immer darüber" : below ? "immer darunter" : "kreuzt"});
  const bool crossing = !above && !below;
  const std::string first = crossing ? ClockOfMinute(stretches.front().first) : "";
  const std::string last = crossing ? ClockOfMinute(stretches.back().last) : "";
  r.push_back({"erste_minute", "Erste Minute", first, false, crossing ? "" : "null"});
  r.push_back({"letzte_minute", "Letzte Minute", last, false, crossing ? "" : "null"});
  std::string shown, json = "[";
  for (const solar::Stretch& stretch : stretches) {
    const std::string from = ClockOfMinute(stretch.first), to = ClockOfMinute(stretch.last);
    shown.append(shown.empty() ? "" : " ").append(from).append("-").append(to);
    json.append(json.size() > 1 ? ", " : "")
        .append("{\"erste\": \"").append(from).append("\", \"letzte\": \"").append(to).append("\"}");
  }
  r.push_back({"abschnitte", "Abschnitte", shown, false, json + "]"});
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
