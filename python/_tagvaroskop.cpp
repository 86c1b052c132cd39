// The computations of the Python package over NumPy arrays: the same model, the same day facts
// and the same year series as tagvaroskop-cli, for many rows at once, on every core and without
// the GIL. The Python layer (tagvaroskop/__init__.py) checks and broadcasts the arguments and
// turns calendar days into instants; here every argument is a flat array of one length.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "dialog_model/observation.h"
#include "dialog_model/year_pick.h"
#include "solar/day_facts.h"
#include "solar/local_day.h"
#include "solar/moment.h"
#include "solar/year_series.h"

namespace py = pybind11;

namespace {

constexpr std::int64_t kNotATime = INT64_MIN;  // NumPy's NaT

template <typename T>
using Array = py::array_t<T, py::array::c_style | py::array::forcecast>;

// Runs work(first, last) over [0, n) in as many pieces as the machine has cores, without the GIL.
void OnEveryCore(size_t n, size_t leastPerThread, const std::function<void(size_t, size_t)>& work) {
  const py::gil_scoped_release released;
  const size_t threads =
      std::clamp<size_t>(n / std::max<size_t>(leastPerThread, 1), 1, std::max(1u, std::thread::hardware_concurrency()));
  std::vector<std::thread> others;
  for (size_t t = 1; t < threads; ++t) others.emplace_back(work, n * t / threads, n * (t + 1) / threads);
  work(0, n / threads);
  for (std::thread& thread : others) thread.join();
}

template <typename T>
T* Data(py::array_t<T>& array) {
  return array.mutable_data();
}

// Positions for instants (nanoseconds since 1970, the fraction of a second dropped) and places
// (decimal degrees).
py::tuple Position(const Array<std::int64_t>& instants, const Array<double>& latitudes,
                   const Array<double>& longitudes) {
  const size_t n = static_cast<size_t>(instants.size());
  py::array_t<float> azimuth(static_cast<py::ssize_t>(n)), elevation(static_cast<py::ssize_t>(n));
  const std::int64_t* t = instants.data();
  const double *lat = latitudes.data(), *lon = longitudes.data();
  float *az = Data(azimuth), *el = Data(elevation);
  OnEveryCore(n, 4096, [&](size_t first, size_t last) {
    for (size_t i = first; i < last; ++i) {
      const std::int64_t second = t[i] / 1000000000 - (t[i] % 1000000000 < 0 ? 1 : 0);
      const solar::SunPosition p =
          solar::SunPositionAt(second, dialog_model::ModelLatitude(lat[i]), dialog_model::ModelLongitude(lon[i]));
      az[i] = p.azimuth;
      el[i] = p.height;
    }
  });
  return py::make_tuple(azimuth, elevation);
}

// The columns of a result: named arrays of n rows (and `width` values a row where it is not 1).
struct Columns {
  Columns(size_t rows, size_t perRow = 1) : n(rows), width(perRow) {}
  size_t n, width;
  py::dict arrays;

  template <typename T>
  T* Add(const char* name) {
    py::array_t<T> array(width == 1
                             ? std::vector<py::ssize_t>{static_cast<py::ssize_t>(n)}
                             : std::vector<py::ssize_t>{static_cast<py::ssize_t>(n), static_cast<py::ssize_t>(width)});
    arrays[name] = array;
    return array.mutable_data();
  }
};

std::int64_t InstantOf(const solar::LocalDay& day, const solar::Crossing* crossing) {
  return crossing ? day.InstantAfter(crossing->second) : kNotATime;
}

std::int64_t MinuteInstant(const solar::LocalDay& day, int minute) {
  return minute < 0 ? kNotATime : day.InstantAfter(60LL * minute);
}

const char* kEventKeys[][3] = {{"sunrise", "sunset", "sun_state"},
                               {"civil_dawn", "civil_dusk", "civil_state"},
                               {"nautical_dawn", "nautical_dusk", "nautical_state"},
                               {"astronomical_dawn", "astronomical_dusk", "astronomical_state"}};

// The facts of local days [start, end) at places, as `tagvaroskop-cli day` gives them; states are
// 0 above, 1 below, 2 crossing.
py::dict DayFacts(const Array<std::int64_t>& starts, const Array<std::int64_t>& ends, const Array<double>& latitudes,
                  const Array<double>& longitudes) {
  Columns c(static_cast<size_t>(starts.size()));
  std::int32_t* minutes = c.Add<std::int32_t>("day_minutes");
  std::int32_t* sunshine = c.Add<std::int32_t>("sunshine_minutes");
  float* sunshineHours = c.Add<float>("sunshine_hours");
  std::int32_t* twilight = c.Add<std::int32_t>("twilight_minutes");
  float* twilightHours = c.Add<float>("twilight_hours");
  std::int64_t* firstUp = c.Add<std::int64_t>("first_minute_above_horizon");
  std::int64_t* lastUp = c.Add<std::int64_t>("last_minute_above_horizon");
  std::int64_t *rising[4], *setting[4];
  std::int8_t* state[4];
  for (size_t e = 0; e < 4; ++e) {
    rising[e] = c.Add<std::int64_t>(kEventKeys[e][0]);
    setting[e] = c.Add<std::int64_t>(kEventKeys[e][1]);
    state[e] = c.Add<std::int8_t>(kEventKeys[e][2]);
  }
  std::int64_t* noon = c.Add<std::int64_t>("solar_noon");
  float* noonHeight = c.Add<float>("solar_noon_elevation_deg");
  const std::int64_t *start = starts.data(), *end = ends.data();
  const double *lat = latitudes.data(), *lon = longitudes.data();
  OnEveryCore(c.n, 8, [&](size_t first, size_t last) {
    for (size_t i = first; i < last; ++i) {
      solar::LocalDay day(start[i], end[i], 0, dialog_model::ModelLatitude(lat[i]),
                          dialog_model::ModelLongitude(lon[i]));
      const solar::DayFacts f = solar::FactsOf(day);
      minutes[i] = f.minutes;
      sunshine[i] = f.sunshineMinutes;
      sunshineHours[i] = solar::MinutesToHours(f.sunshineMinutes);
      twilight[i] = f.twilightMinutes;
      twilightHours[i] = solar::MinutesToHours(f.twilightMinutes);
      firstUp[i] = MinuteInstant(day, f.aboveHorizon.empty() ? -1 : f.aboveHorizon.front().first);
      lastUp[i] = MinuteInstant(day, f.aboveHorizon.empty() ? -1 : f.aboveHorizon.back().last);
      for (size_t e = 0; e < 4; ++e) {
        rising[e][i] = InstantOf(day, f.events[e].First(true));
        setting[e][i] = InstantOf(day, f.events[e].First(false));
        state[e][i] = static_cast<std::int8_t>(f.events[e].state);
      }
      noon[i] = day.InstantAfter(f.highest.second);
      noonHeight[i] = f.highest.height;
    }
  });
  return c.arrays;
}

// The minutes of local days above each of the heights, as `tagvaroskop-cli day --height` gives
// them: arrays of a row per day and a column per height.
py::dict MinutesAbove(const Array<std::int64_t>& starts, const Array<std::int64_t>& ends,
                      const Array<double>& latitudes, const Array<double>& longitudes, const Array<float>& heights) {
  Columns c(static_cast<size_t>(starts.size()), static_cast<size_t>(heights.size()));
  std::int32_t* minutes = c.Add<std::int32_t>("minutes_above");
  float* hours = c.Add<float>("hours_above");
  std::int8_t* state = c.Add<std::int8_t>("above_state");
  std::int64_t* firstMinute = c.Add<std::int64_t>("first_minute_above");
  std::int64_t* lastMinute = c.Add<std::int64_t>("last_minute_above");
  std::int64_t* rising = c.Add<std::int64_t>("rising");
  std::int64_t* setting = c.Add<std::int64_t>("setting");
  const std::int64_t *start = starts.data(), *end = ends.data();
  const double *lat = latitudes.data(), *lon = longitudes.data();
  const float* height = heights.data();
  OnEveryCore(c.n, 8, [&](size_t first, size_t last) {
    for (size_t i = first; i < last; ++i) {
      solar::LocalDay day(start[i], end[i], 0, dialog_model::ModelLatitude(lat[i]),
                          dialog_model::ModelLongitude(lon[i]));
      for (size_t h = 0; h < c.width; ++h) {
        const size_t at = i * c.width + h;
        const solar::HeightFacts f = solar::FactsAbove(day, height[h]);
        const bool crossing = f.state == solar::HeightState::kCrossing;
        minutes[at] = f.minutesAbove;
        hours[at] = solar::MinutesToHours(f.minutesAbove);
        state[at] = static_cast<std::int8_t>(f.state);
        firstMinute[at] = MinuteInstant(day, crossing ? f.stretches.front().first : -1);
        lastMinute[at] = MinuteInstant(day, crossing ? f.stretches.back().last : -1);
        rising[at] = InstantOf(day, f.First(true));
        setting[at] = InstantOf(day, f.First(false));
      }
    }
  });
  return c.arrays;
}

// The year window's 72 sample days of years at places: a row per year and place, a column per
// sample day; the daily change of the last sample day is 0 (it has none).
py::dict YearSeries(const Array<std::int32_t>& years, const Array<double>& latitudes, const Array<double>& longitudes) {
  Columns c(static_cast<size_t>(years.size()), static_cast<size_t>(solar::kSampleDays));
  float* sunshine = c.Add<float>("sunshine_hours");
  float* twilight = c.Add<float>("twilight_hours");
  std::int32_t* changeMinutes = c.Add<std::int32_t>("daily_change_minutes");
  std::int32_t* changeSeconds = c.Add<std::int32_t>("daily_change_seconds");
  const std::int32_t* year = years.data();
  const double *lat = latitudes.data(), *lon = longitudes.data();
  OnEveryCore(c.n, 1, [&](size_t first, size_t last) {
    for (size_t i = first; i < last; ++i) {
      solar::YearSeries series{};
      solar::ComputeYearSeriesOnOneThread(
          solar::YearPlace{year[i], 0, dialog_model::ModelLatitude(lat[i]), dialog_model::ModelLongitude(lon[i])},
          series);
      for (int k = 1; k <= solar::kSampleDays; ++k) {
        const size_t at = i * c.width + static_cast<size_t>(k - 1);
        sunshine[at] = series.sunshine[k];
        twilight[at] = series.twilight[k];
        const dialog_model::DailyChange change =
            k < solar::kSampleDays ? dialog_model::DailyChangeOf(dialog_model::SunshineChangePerDay(series, k, year[i]))
                                   : dialog_model::DailyChange{0, 0};
        changeMinutes[at] = change.minutes;
        changeSeconds[at] = change.seconds;
      }
    }
  });
  return c.arrays;
}

}  // namespace

PYBIND11_MODULE(_tagvaroskop, m) {
  m.doc() = "The computations of tagvaroskop over NumPy arrays (use the package tagvaroskop).";
  m.def("position", &Position, "Azimuth and elevation (float32) for instants and places.");
  m.def("day_facts", &DayFacts, "The facts of local days [start, end) at places.");
  m.def("minutes_above", &MinutesAbove, "The minutes of local days above heights.");
  m.def("year_series", &YearSeries, "The 72 sample days of years at places.");
}
