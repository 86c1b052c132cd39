#include "dialog_model/descriptions.h"

#include <algorithm>

#include "solar/constants.h"
#include "solar/day_scan.h"
#include "solar/numeric.h"
#include "solar/year_series.h"

namespace dialog_model {

namespace {

// A value with one decimal, as "61.7" or "-0.4".
std::string OneDecimal(double value) {
  const int tenths = solar::TruncToInt(value * 10.0 + (value < 0 ? -0.5 : 0.5));
  const int magnitude = tenths < 0 ? -tenths : tenths;
  std::string text(tenths < 0 ? "-" : "");
  return text.append(std::to_string(magnitude / 10)).append(".").append(std::to_string(magnitude % 10));
}

std::string Clock(int minute) {
  const auto two = [](int n) { return std::string(n < 10 ? "0" : "") + std::to_string(n); };
  return two(minute / 60) + ":" + two(minute % 60);
}

std::string Duration(const solar::HoursAndMinutes& shown) {
  return std::to_string(shown.hours) + " Std " + std::to_string(shown.minutes) + " min";
}

std::string Hours(int minutes) { return Duration(solar::SplitHours(solar::MinutesToHours(minutes))); }

}  // namespace

std::string DescribeDayCourse(const solar::DayTrack& track, solar::SunPosition marked) {
  const float* begin = track.height;
  const float* end = track.height + solar::kMinutesPerScan;
  const auto above = [](float h) { return h > solar::kHorizonHeight; };
  const float* first = std::find_if(begin, end, above);
  const float* last = std::find_if(std::make_reverse_iterator(end), std::make_reverse_iterator(begin), above).base();
  std::string text;
  if (first == end) {
    text = "den ganzen Tag unter dem Horizont";
  } else if (first == begin && last == end) {
    text = "den ganzen Tag über dem Horizont";
  } else {
    text = "über dem Horizont von " + Clock(static_cast<int>(first - begin)) + " bis " +
           Clock(static_cast<int>(last - begin) - 1);
  }
  const float* top = std::max_element(begin, end);
  const int at = static_cast<int>(top - begin);
  const solar::DayLengths lengths = solar::CountDayLengths(track);
  return text + ", höchster Stand " + OneDecimal(*top) + " Grad um " + Clock(at) + " im Azimut " +
         OneDecimal(track.azimuth[at]) + " Grad; Sonne über Horizont " + Hours(lengths.minutesAboveHorizon) +
         ", inkl. Dämmerung (-7 Grad) " + Hours(lengths.minutesAboveTwilight) + "; das Kreuz steht bei Azimut " +
         OneDecimal(marked.azimuth) + " Grad, Höhe " + OneDecimal(marked.height) + " Grad.";
}

std::string DescribeYearCourse(const solar::YearSeries& series, const YearPick* picked) {
  const auto range = [](const float* values) {
    const auto [low, high] = std::minmax_element(values + 1, values + 1 + solar::kSampleDays);
    return "von " + OneDecimal(*low) + " bis " + OneDecimal(*high) + " Stunden";
  };
  std::string text = "Sonnenschein " + range(series.sunshine) + ", mit Dämmerung (Sonne 7 Grad unter dem Horizont) " +
                     range(series.twilight);
  if (picked) {
    text += "; gewählter Tag: Sonnenschein " + Duration(picked->sunshineShown) + ", inklusive Dämmerung " +
            Duration(picked->twilightShown) + ", tägliche Veränderung " + std::to_string(picked->change.minutes) +
            " min " + std::to_string(picked->change.seconds) + " sek";
  }
  return text + ".";
}

std::string SummarizeResult(solar::SunPosition position, solar::HoursAndMinutes sunshine) {
  const auto spoken = [](double value) {
    std::string text = OneDecimal(value);
    text[text.find('.')] = ',';
    return text;
  };
  return "Höhe " + spoken(position.height) + " Grad, Azimut " + spoken(position.azimuth) +
         " Grad, Sonne über Horizont " + Duration(sunshine);
}

}  // namespace dialog_model
