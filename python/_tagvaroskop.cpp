// The computations of the Python package over NumPy arrays: the same model, the same day facts
// and the same year series as tagvaroskop-cli, for many rows at once, on the usable cores and
// without the GIL. The Python layer (tagvaroskop/) turns its arguments into the arrays taken
// here and names what is wrong with them; this layer still checks every dtype and shape itself,
// and a row it cannot compute (a missing or impossible value) comes out missing, never as a
// number.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "dialog_model/day_record.h"
#include "dialog_model/observation.h"
#include "dialog_model/year_pick.h"
#include "solar/day_facts.h"
#include "solar/local_day.h"
#include "solar/moment.h"
#include "solar/parallel.h"
#include "solar/refraction.h"
#include "solar/year_series.h"

namespace py = pybind11;

namespace {

constexpr std::int64_t kNotATime = INT64_MIN;  // NumPy's NaT
constexpr float kMissing = std::numeric_limits<float>::quiet_NaN();
constexpr double kMissingDouble = std::numeric_limits<double>::quiet_NaN();
// The instants the model takes: 1900-01-01 up to 2101-01-01 (UTC).
constexpr long long kFirstInstant = -2208988800LL, kAfterLastInstant = 4133980800LL;
constexpr long long kLongestDay = 50 * 3600;  // a zone that repeats a date gives 47 hours
// Local days of the dates 1900-01-01 to 2100-12-31 (as the tool takes them): the first begins
// before 1900 in UTC where its zone lies east of Greenwich.
constexpr long long kFirstDayStart = kFirstInstant - 86400;

template <typename T>
const char* DtypeName() {
  if constexpr (std::is_same_v<T, std::int64_t>) return "int64";
  if constexpr (std::is_same_v<T, std::int32_t>) return "int32";
  if constexpr (std::is_same_v<T, double>) return "float64";
  return "float32";
}

// An argument of exactly dtype T (no conversion), of any shape and strides.
template <typename T>
py::array Checked(const py::handle& argument, const char* name) {
  if (!py::isinstance<py::array_t<T>>(argument))
    throw py::type_error(std::string(name) + ": expected a NumPy array of " + DtypeName<T>());
  return py::reinterpret_borrow<py::array>(argument);
}

// Arrays of one shape, each with its own strides (0 along the axes it is broadcast over), walked
// in C order: a broadcast argument is read where it lies, never copied.
template <size_t N>
class Walk {
 public:
  explicit Walk(const std::array<py::array, N>& arrays) {
    for (size_t a = 0; a < N; ++a) {
      if (arrays[a].ndim() != arrays[0].ndim() ||
          !std::equal(arrays[a].shape(), arrays[a].shape() + arrays[a].ndim(), arrays[0].shape()))
        throw py::value_error("the arrays are not all of one shape");
      m_base[a] = static_cast<const char*>(arrays[a].data());
      m_strides[a].assign(arrays[a].strides(), arrays[a].strides() + arrays[a].ndim());
    }
    m_shape.assign(arrays[0].shape(), arrays[0].shape() + arrays[0].ndim());
  }
  const std::vector<py::ssize_t>& Shape() const { return m_shape; }
  size_t Size() const {
    size_t n = 1;
    for (py::ssize_t extent : m_shape) n *= static_cast<size_t>(extent);
    return n;
  }

  // visit(i, pointers) for the flat positions first <= i < last.
  template <typename Visit>
  void Over(size_t first, size_t last, Visit&& visit) const {
    const size_t dims = m_shape.size();
    std::vector<py::ssize_t> index(dims);
    std::array<const char*, N> at = m_base;
    size_t rest = first;
    for (size_t k = dims; k-- > 0;) {
      index[k] = static_cast<py::ssize_t>(rest % static_cast<size_t>(m_shape[k]));
      rest /= static_cast<size_t>(m_shape[k]);
      for (size_t a = 0; a < N; ++a) at[a] += index[k] * m_strides[a][k];
    }
    for (size_t i = first; i < last; ++i) {
      visit(i, at);
      for (size_t k = dims; k-- > 0;) {  // the next position, as an odometer turns
        for (size_t a = 0; a < N; ++a) at[a] += m_strides[a][k];
        if (++index[k] < m_shape[k]) break;
        for (size_t a = 0; a < N; ++a) at[a] -= m_strides[a][k] * m_shape[k];
        index[k] = 0;
      }
    }
  }

 private:
  std::vector<py::ssize_t> m_shape;
  std::array<const char*, N> m_base{};
  std::array<std::vector<py::ssize_t>, N> m_strides;
};

template <typename T>
T Read(const char* at) {
  T value;
  std::memcpy(&value, at, sizeof value);
  return value;
}

// Runs work over [0, n) in blocks on the usable cores (or `threads`), without the GIL; Ctrl-C
// (any Python signal handler that raises) stops it within a fraction of a second.
void InBlocks(size_t n, size_t block, unsigned threads, const std::function<void(size_t, size_t)>& work) {
  bool completed;
  {
    const py::gil_scoped_release released;
    completed = solar::ForEachBlock(n, block, threads, work, [] {
      const py::gil_scoped_acquire held;
      return PyErr_CheckSignals() == 0;
    });
  }
  if (!completed) throw py::error_already_set();
}

// Output arrays of a shape, with leading `rows` (one per field) or a trailing `width`.
template <typename T>
py::array_t<T> NewArray(const std::vector<py::ssize_t>& shape, py::ssize_t leading = 0, py::ssize_t trailing = 0) {
  std::vector<py::ssize_t> full;
  if (leading > 0) full.push_back(leading);
  full.insert(full.end(), shape.begin(), shape.end());
  if (trailing > 0) full.push_back(trailing);
  return py::array_t<T>(full);
}

// A place the model takes, or false: latitude -90..90, longitude -180..360, not NaN.
bool ModelPlace(double latitude, double longitude, float& modelLatitude, float& modelLongitude) {
  if (!(latitude >= -90.0 && latitude <= 90.0 && longitude >= -180.0 && longitude <= 360.0)) return false;
  modelLatitude = dialog_model::ModelLatitude(latitude);
  modelLongitude = dialog_model::ModelLongitude(longitude);
  return true;
}

// Times are datetime64 values viewed as int64: a value stands for value·num/den seconds since
// 1970, where num or den is 1 (the seconds of its unit, or the unit's parts of a second). The
// instant is its whole second (the fraction dropped, toward the past), or false for NaT and times
// outside 1900-2100.
struct TimeUnit {
  std::int64_t num, den;
};
TimeUnit UnitOf(std::int64_t num, std::int64_t den) {
  if (!((num == 1 && den >= 1) || (den == 1 && num >= 1)))
    throw py::value_error("time unit: one of num and den must be 1, both positive");
  return TimeUnit{num, den};
}
bool InstantOf(std::int64_t value, TimeUnit unit, long long& instant) {
  if (value == kNotATime) return false;
  long long seconds;
  if (unit.den > 1) {
    seconds = value / unit.den - (value % unit.den < 0 ? 1 : 0);
  } else if (__builtin_mul_overflow(value, unit.num, &seconds)) {
    return false;
  }
  if (seconds < kFirstInstant || seconds >= kAfterLastInstant) return false;
  instant = seconds;
  return true;
}

// The sun's azimuth and elevation (float32, the tool's numbers): an array of two rows.
py::array_t<float> Position(const py::handle& times, TimeUnit unit, const py::handle& latitudes,
                            const py::handle& longitudes, unsigned threads) {
  const Walk<3> walk({Checked<std::int64_t>(times, "time"), Checked<double>(latitudes, "latitude"),
                      Checked<double>(longitudes, "longitude")});
  const size_t n = walk.Size();
  py::array_t<float> out = NewArray<float>(walk.Shape(), 2);
  float* azimuth = out.mutable_data();
  float* elevation = azimuth + n;
  InBlocks(n, 16384, threads, [&](size_t first, size_t last) {
    walk.Over(first, last, [&](size_t i, const std::array<const char*, 3>& at) {
      long long instant;
      float lat, lon;
      if (!InstantOf(Read<std::int64_t>(at[0]), unit, instant) ||
          !ModelPlace(Read<double>(at[1]), Read<double>(at[2]), lat, lon)) {
        azimuth[i] = elevation[i] = kMissing;
        return;
      }
      const solar::SunPosition p = solar::SunPositionAt(instant, lat, lon);
      azimuth[i] = p.azimuth;
      elevation[i] = p.height;
    });
  });
  return out;
}

// Degrees into (-180, 180].
double HalfTurn(double degrees) {
  degrees = std::fmod(degrees, 360.0);
  if (degrees > 180.0) degrees -= 360.0;
  if (degrees <= -180.0) degrees += 360.0;
  return degrees;
}

// The solar-position table (float64), rows in the order of kSolarPositionColumns.
constexpr const char* kSolarPositionColumns[] = {"apparent_zenith", "zenith",    "apparent_elevation",
                                                 "elevation",       "azimuth",   "equation_of_time",
                                                 "declination",     "hour_angle"};
constexpr size_t kSolarPositionRows = std::size(kSolarPositionColumns);

py::array_t<double> SolarPosition(const py::handle& times, TimeUnit unit, const py::handle& latitudes,
                                  const py::handle& longitudes, const py::handle& pressures,
                                  const py::handle& temperatures, unsigned threads) {
  const Walk<5> walk({Checked<std::int64_t>(times, "time"), Checked<double>(latitudes, "latitude"),
                      Checked<double>(longitudes, "longitude"), Checked<double>(pressures, "pressure"),
                      Checked<double>(temperatures, "temperature")});
  const size_t n = walk.Size();
  py::array_t<double> out = NewArray<double>(walk.Shape(), static_cast<py::ssize_t>(kSolarPositionRows));
  double* rows = out.mutable_data();
  InBlocks(n, 16384, threads, [&](size_t first, size_t last) {
    walk.Over(first, last, [&](size_t i, const std::array<const char*, 5>& at) {
      long long instant;
      float lat, lon;
      const double pressure = Read<double>(at[3]), temperature = Read<double>(at[4]);
      if (!InstantOf(Read<std::int64_t>(at[0]), unit, instant) ||
          !ModelPlace(Read<double>(at[1]), Read<double>(at[2]), lat, lon)) {
        for (size_t r = 0; r < kSolarPositionRows; ++r) rows[r * n + i] = kMissingDouble;
        return;
      }
      const solar::PositionSteps s = solar::PositionStepsAt(instant, lat, lon);
      const double elevation = s.position.height;
      // The air only bends the light: without its pressure or temperature the apparent columns
      // alone are missing.
      const bool air =
          pressure >= 0.0 && std::isfinite(pressure) && temperature > -273.15 && std::isfinite(temperature);
      const double apparent = air ? elevation + solar::Refraction(elevation, pressure, temperature) : kMissingDouble;
      constexpr double kDegrees = 180.0 / 3.14159265358979323846;
      const double values[kSolarPositionRows] = {
          90.0 - apparent,
          90.0 - elevation,
          apparent,
          elevation,
          s.position.azimuth == 360.0f ? 0.0 : static_cast<double>(s.position.azimuth),
          HalfTurn(s.meanLongitude - s.rightAscension * kDegrees) * 4.0,  // minutes of time
          s.declination * kDegrees,
          HalfTurn(s.hourAngle + lon),
      };
      for (size_t r = 0; r < kSolarPositionRows; ++r) rows[r * n + i] = values[r];
    });
  });
  return out;
}

// Named output arrays of a shape, a trailing axis of `width` where it is not 0.
struct Columns {
  std::vector<py::ssize_t> shape;
  py::ssize_t width;
  py::dict arrays;

  template <typename T>
  T* Add(const char* name) {
    py::array_t<T> array = NewArray<T>(shape, 0, width);
    arrays[name] = array;
    return array.mutable_data();
  }
};

// A local day [start, end) at a place that the model takes, or false.
bool DayOf(const std::array<const char*, 4>& at, long long& start, long long& end, float& lat, float& lon) {
  start = Read<std::int64_t>(at[0]);
  end = Read<std::int64_t>(at[1]);
  return start >= kFirstDayStart && start < kAfterLastInstant && end > start && end - start <= kLongestDay &&
         ModelPlace(Read<double>(at[2]), Read<double>(at[3]), lat, lon);
}

Walk<4> DaysWalk(const py::handle& starts, const py::handle& ends, const py::handle& latitudes,
                 const py::handle& longitudes) {
  return Walk<4>({Checked<std::int64_t>(starts, "start"), Checked<std::int64_t>(ends, "end"),
                  Checked<double>(latitudes, "latitude"), Checked<double>(longitudes, "longitude")});
}

// An array a field of the day record's one description (dialog_model/day_record.h), typed by its
// kind: counts int32, hours and degrees float32, instants int64 (seconds), states int8 (0 above,
// 1 below, 2 crossing). Missing: INT32_MIN, NaN, NaT, -1.
class FieldArrays {
 public:
  FieldArrays(Columns& columns, std::span<const dialog_model::DayField> fields) {
    using enum dialog_model::DayKind;
    for (const dialog_model::DayField& f : fields) {
      m_kinds.push_back(f.kind);
      if (f.kind == kCount) m_data.push_back(columns.Add<std::int32_t>(f.key));
      if (f.kind == kHours || f.kind == kDegrees) m_data.push_back(columns.Add<float>(f.key));
      if (f.kind == kMinute || f.kind == kInstant) m_data.push_back(columns.Add<std::int64_t>(f.key));
      if (f.kind == kState) m_data.push_back(columns.Add<std::int8_t>(f.key));
    }
  }
  // The values of one row at position `at` of the arrays; every one missing without values.
  void Set(size_t at, const std::vector<dialog_model::DayValue>* values) const {
    using enum dialog_model::DayKind;
    for (size_t f = 0; f < m_kinds.size(); ++f) {
      const dialog_model::DayValue* v = values ? &(*values)[f] : nullptr;
      const bool missing = v == nullptr || v->missing;
      switch (m_kinds[f]) {
        case kCount:
          static_cast<std::int32_t*>(m_data[f])[at] = missing ? INT32_MIN : static_cast<std::int32_t>(v->number);
          break;
        case kHours:
        case kDegrees:
          static_cast<float*>(m_data[f])[at] = missing ? kMissing : static_cast<float>(v->number);
          break;
        case kMinute:
        case kInstant:
          static_cast<std::int64_t*>(m_data[f])[at] = missing ? kNotATime : v->instant;
          break;
        case kState:
          static_cast<std::int8_t*>(m_data[f])[at] = missing ? -1 : static_cast<std::int8_t>(v->state);
          break;
      }
    }
  }

 private:
  std::vector<dialog_model::DayKind> m_kinds;
  std::vector<void*> m_data;
};

// The facts of local days [start, end) (instants) at places, as `tagvaroskop-cli day` gives them:
// the fields of dialog_model::DayFields().
py::dict DayFacts(const py::handle& starts, const py::handle& ends, const py::handle& latitudes,
                  const py::handle& longitudes, unsigned threads) {
  const Walk<4> walk = DaysWalk(starts, ends, latitudes, longitudes);
  Columns c{walk.Shape(), 0, {}};
  const FieldArrays fields(c, dialog_model::DayFields());
  InBlocks(walk.Size(), 16, threads, [&](size_t first, size_t last) {
    walk.Over(first, last, [&](size_t i, const std::array<const char*, 4>& at) {
      long long start, end;
      float lat, lon;
      if (!DayOf(at, start, end, lat, lon)) return fields.Set(i, nullptr);
      solar::LocalDay day(start, end, 0, lat, lon);
      const solar::DayFacts facts = solar::FactsOf(day);
      const std::vector<dialog_model::DayValue> values = dialog_model::DayValuesOf(day, facts);
      fields.Set(i, &values);
    });
  });
  return c.arrays;
}

// The sunrise, solar noon and sunset of local days for one height of the sun's centre (degrees),
// with its state: the fields of dialog_model::SunTimeFields(), as day_facts gives them, without
// the rest of the day's facts.
py::dict SunTimes(const py::handle& starts, const py::handle& ends, const py::handle& latitudes,
                  const py::handle& longitudes, float height, unsigned threads) {
  const Walk<4> walk = DaysWalk(starts, ends, latitudes, longitudes);
  Columns c{walk.Shape(), 0, {}};
  const FieldArrays fields(c, dialog_model::SunTimeFields());
  const bool known = height >= -90.0f && height <= 90.0f;
  InBlocks(walk.Size(), 64, threads, [&](size_t first, size_t last) {
    walk.Over(first, last, [&](size_t i, const std::array<const char*, 4>& at) {
      long long start, end;
      float lat, lon;
      if (!known || !DayOf(at, start, end, lat, lon)) return fields.Set(i, nullptr);
      solar::LocalDay day(start, end, 0, lat, lon);
      const solar::HeightFacts facts = solar::FactsAbove(day, height);
      const std::vector<dialog_model::DayValue> values = dialog_model::SunTimeValuesOf(day, facts, day.Highest());
      fields.Set(i, &values);
    });
  });
  return c.arrays;
}

// The minutes of local days above each of the heights, as `tagvaroskop-cli day --height` gives
// them: the fields of dialog_model::HeightFields() with a trailing axis of the heights.
py::dict MinutesAbove(const py::handle& starts, const py::handle& ends, const py::handle& latitudes,
                      const py::handle& longitudes, const py::handle& heightArgument, unsigned threads) {
  const Walk<4> walk = DaysWalk(starts, ends, latitudes, longitudes);
  const py::array_t<float> heights = Checked<float>(heightArgument, "heights");
  if (heights.ndim() != 1) throw py::value_error("heights: expected a flat array");
  const size_t width = static_cast<size_t>(heights.shape(0));
  std::vector<float> height(width);
  for (size_t h = 0; h < width; ++h) height[h] = heights.at(static_cast<py::ssize_t>(h));
  Columns c{walk.Shape(), static_cast<py::ssize_t>(width), {}};
  const FieldArrays fields(c, dialog_model::HeightFields());
  InBlocks(walk.Size(), 16, threads, [&](size_t first, size_t last) {
    walk.Over(first, last, [&](size_t i, const std::array<const char*, 4>& at) {
      long long start, end;
      float lat, lon;
      const bool known = DayOf(at, start, end, lat, lon);
      std::optional<solar::LocalDay> day;
      if (known) day.emplace(start, end, 0, lat, lon);
      for (size_t h = 0; h < width; ++h) {
        if (!known || !(height[h] >= -90.0f && height[h] <= 90.0f)) {
          fields.Set(i * width + h, nullptr);
          continue;
        }
        const solar::HeightFacts facts = solar::FactsAbove(*day, height[h]);
        const std::vector<dialog_model::DayValue> values = dialog_model::HeightValuesOf(*day, facts);
        fields.Set(i * width + h, &values);
      }
    });
  });
  return c.arrays;
}

// The year window's 72 sample days of years at places: a trailing axis of the sample days; the
// daily change of the last sample day is missing (it has none), as is every value of a year
// outside 1900-2100 or a place the model does not take.
py::dict YearSeries(const py::handle& years, const py::handle& latitudes, const py::handle& longitudes,
                    unsigned threads) {
  const Walk<3> walk({Checked<std::int32_t>(years, "year"), Checked<double>(latitudes, "latitude"),
                      Checked<double>(longitudes, "longitude")});
  constexpr size_t kDays = solar::kSampleDays;
  Columns c{walk.Shape(), static_cast<py::ssize_t>(kDays), {}};
  float* sunshine = c.Add<float>("sunshine_hours");
  float* twilight = c.Add<float>("twilight_hours");
  std::int32_t* changeMinutes = c.Add<std::int32_t>("daily_change_minutes");
  std::int32_t* changeSeconds = c.Add<std::int32_t>("daily_change_seconds");
  InBlocks(walk.Size(), 1, threads, [&](size_t first, size_t last) {
    walk.Over(first, last, [&](size_t i, const std::array<const char*, 3>& at) {
      const std::int32_t year = Read<std::int32_t>(at[0]);
      float lat, lon;
      const bool known = year >= 1900 && year <= 2100 && ModelPlace(Read<double>(at[1]), Read<double>(at[2]), lat, lon);
      solar::YearSeries series{};
      if (known) solar::ComputeYearSeriesOnOneThread(solar::YearPlace{year, 0, lat, lon}, series);
      for (size_t k = 1; k <= kDays; ++k) {
        const size_t to = i * kDays + (k - 1);
        sunshine[to] = known ? series.sunshine[k] : kMissing;
        twilight[to] = known ? series.twilight[k] : kMissing;
        if (!known || k == kDays) {
          changeMinutes[to] = changeSeconds[to] = INT32_MIN;
          continue;
        }
        const dialog_model::DailyChange change =
            dialog_model::DailyChangeOf(dialog_model::SunshineChangePerDay(series, static_cast<int>(k), year));
        changeMinutes[to] = change.minutes;
        changeSeconds[to] = change.seconds;
      }
    });
  });
  return c.arrays;
}

// The flat position of the first value of an array (any shape) that is not missing (NaT, NaN) and
// lies outside [low, high], or -1: the check of an argument's range, without a copy of it.
template <typename T>
py::ssize_t FirstOutside(const py::handle& argument, T low, T high) {
  const py::array values = Checked<T>(argument, "values");
  const Walk<1> walk({values});
  std::atomic<size_t> found{SIZE_MAX};
  InBlocks(walk.Size(), 1 << 20, 0, [&](size_t first, size_t last) {
    walk.Over(first, last, [&](size_t i, const std::array<const char*, 1>& at) {
      const T value = Read<T>(at[0]);
      bool missing;
      if constexpr (std::is_floating_point_v<T>) {
        missing = std::isnan(value);
      } else {
        missing = value == kNotATime;
      }
      if (!missing && !(value >= low && value <= high)) {
        size_t seen = found.load();
        while (i < seen && !found.compare_exchange_weak(seen, i)) {
        }
      }
    });
  });
  return found == SIZE_MAX ? -1 : static_cast<py::ssize_t>(found.load());
}

}  // namespace

PYBIND11_MODULE(_tagvaroskop, m) {
  m.doc() = "The computations of tagvaroskop over NumPy arrays (use the package tagvaroskop).";
  m.attr("__version__") = TAGVAROSKOP_VERSION;
  py::list columns;
  for (const char* name : kSolarPositionColumns) columns.append(name);
  m.attr("SOLAR_POSITION_COLUMNS") = columns;
  m.attr("SAMPLE_DAYS") = solar::kSampleDays;
  m.def("usable_cores", &solar::UsableCores, "The CPUs this process may run on.");
  const auto unit = UnitOf;
  m.def(
      "position",
      [unit](const py::handle& t, std::int64_t num, std::int64_t den, const py::handle& lat, const py::handle& lon,
             unsigned threads) { return Position(t, unit(num, den), lat, lon, threads); },
      "Azimuth and elevation (float32, two rows) for datetime64 values as int64 (a unit of num/den seconds).");
  m.def(
      "solar_position",
      [unit](const py::handle& t, std::int64_t num, std::int64_t den, const py::handle& lat, const py::handle& lon,
             const py::handle& pressure, const py::handle& temperature,
             unsigned threads) { return SolarPosition(t, unit(num, den), lat, lon, pressure, temperature, threads); },
      "The rows of SOLAR_POSITION_COLUMNS (float64) for datetime64 values as int64.");
  m.def("day_facts", &DayFacts, "The facts of local days [start, end) at places.");
  m.def("minutes_above", &MinutesAbove, "The minutes of local days above heights.");
  m.def("sun_times", &SunTimes, "Sunrise, solar noon and sunset of local days for one height.");
  m.def("year_series", &YearSeries, "The 72 sample days of years at places.");
  m.def(
      "first_outside",
      [](const py::handle& values, const py::object& low, const py::object& high) {
        if (py::isinstance<py::array_t<std::int64_t>>(values))
          return FirstOutside<std::int64_t>(values, low.cast<std::int64_t>(), high.cast<std::int64_t>());
        return FirstOutside<double>(values, low.cast<double>(), high.cast<double>());
      },
      "The flat position of the first value outside [low, high] (int64 or float64; NaT and NaN passed over), or -1.");
}
