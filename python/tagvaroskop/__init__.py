"""Where the sun stands and how long the day lasts, for NumPy, pandas and xarray.

The numbers are those of ``tagvaroskop-cli`` to the bit, computed on the usable cores without the
GIL:

==========================================================  ====================================
``position(time, latitude, longitude)``                     azimuth and elevation, float32
``solar_position(time, latitude, longitude, ...)``          pvlib's columns, refraction included
``day_events(date, latitude, longitude, tz=None)``          the fields of ``tagvaroskop-cli day``
``sun_times(date, latitude, longitude, tz=None)``           sunrise, solar noon and sunset alone
``minutes_above(date, latitude, longitude, heights, ...)``  those of ``day --height``
``year_series(year, latitude, longitude)``                  the year window's 72 sample days
==========================================================  ====================================

Conventions
-----------
- Arguments are scalars, array-likes, pandas objects (a DatetimeIndex, Series, DataFrame columns)
  or xarray DataArrays. They broadcast together as NumPy broadcasts; DataArrays broadcast by their
  dimension names, keep their coordinates and stay lazy where Dask holds them.
- NumPy in, NumPy out; pandas in, a DataFrame out, indexed like the input (Series with the same
  labels in another order are aligned first); xarray in, a Dataset out.
- Times are instants: tz-aware ones of any zone, naive ones taken as UTC (as pvlib takes them).
  The model computes at whole seconds: a fraction of a second is dropped (the time is taken at the
  start of its second), as ``tagvaroskop-cli`` does.
- Places are decimal degrees, latitude -90..90 north, longitude -180..360 east.
- ``elevation`` is geometric: the sun's centre without refraction, as the dialog and the tool give
  it; ``solar_position`` adds the apparent (refracted) elevation. Sunrise and sunset are the
  moments the centre passes -0.833 degrees (refraction and the sun's radius at the horizon).
- Nothing silent: a missing value (NaN, NaT, None, ``pd.NA``, an empty string, a masked element of
  a masked array, a column of times holding nothing but NaN) gives a missing value in its row and
  the other rows are computed; a wrong type (an integer where a time belongs) is a TypeError, a
  wrong value (a time outside 1900-2100, a latitude of 91, "now" or "today", which would change
  from run to run) a ValueError; each names the argument and its first bad element (within its
  block where Dask holds the data).
- ``threads`` limits the threads of a call; without it the setting ``TAGVAROSKOP_THREADS`` does,
  and without that every core the process may run on (its CPU affinity). Inside Dask, each block
  runs on one thread: Dask spreads the blocks. Ctrl-C stops a long call within a second.

``tagvaroskop.dask`` maps the same functions over Dask arrays and data frames.
"""
from __future__ import annotations

import datetime as _dt
from typing import TYPE_CHECKING, Any, Optional, Union, overload

import numpy as np
import pandas as pd

from . import _arguments, _fields, _xarray, _zones
from . import _tagvaroskop as _ext
from ._call import Call

if TYPE_CHECKING:
    import xarray as xr

__all__ = ["position", "solar_position", "day_events", "sun_times", "minutes_above", "year_series", "STATES",
           "DAY_FIELDS",
           "HEIGHT_FIELDS", "SOLAR_POSITION_COLUMNS", "__version__"]
__version__: str = _ext.__version__

STATES = _fields.STATES
SOLAR_POSITION_COLUMNS: list[str] = list(_ext.SOLAR_POSITION_COLUMNS)
_NO_DAYS = [np.empty(0, np.int64), np.empty(0, np.int64), np.empty(0), np.empty(0)]
DAY_FIELDS: list[str] = list(_ext.day_facts(*_NO_DAYS, 1))
HEIGHT_FIELDS: list[str] = list(_ext.minutes_above(*_NO_DAYS, np.empty(0, np.float32), 1))
Like = Any  # a scalar, an array-like, a pandas object or an xarray DataArray
# What gives NumPy out (pandas objects give a DataFrame, DataArrays a Dataset).
NumpyLike = Union[np.ndarray, np.generic, float, int, str, _dt.date, list, tuple]
Arrays = dict[str, np.ndarray]


def _place(call: Call, latitude: Like, longitude: Like) -> tuple[np.ndarray, np.ndarray]:
    return (_arguments.degrees(latitude, "latitude", -90, 90, call.fail),
            _arguments.degrees(longitude, "longitude", -180, 360, call.fail))


@overload
def position(time: xr.DataArray, latitude: Like, longitude: Like, *, threads: Optional[int] = ...) -> xr.Dataset: ...
@overload
def position(time: NumpyLike, latitude: NumpyLike, longitude: NumpyLike, *,
             threads: Optional[int] = ...) -> tuple[np.ndarray, np.ndarray]: ...
def position(time: Like, latitude: Like, longitude: Like, *, threads: Optional[int] = None) -> Any:
    """The sun's azimuth and geometric elevation, as the dialog and ``tagvaroskop-cli`` give them.

    Parameters
    ----------
    time : datetime-like, array-like, DatetimeIndex, Series or DataArray
        Instants; naive ones are UTC.
    latitude, longitude : float, array-like, Series or DataArray
        Decimal degrees, north and east.
    threads : int, optional
        At most this many threads (0: every usable core).

    Returns
    -------
    tuple of two ndarray, DataFrame or Dataset
        ``azimuth_deg`` (from north through east, above 0 and at most 360: due north is 360, as in
        the dialog) and ``elevation_deg`` (geometric, no refraction), float32, NaN where an input is
        missing.

    Raises
    ------
    TypeError
        Where an argument holds no times or no numbers (integers are not times: pass
        ``pd.to_datetime(x, unit="s")``).
    ValueError
        Where a time lies outside 1900-2100 or a place outside its range.

    Examples
    --------
    >>> azimuth, elevation = position(np.datetime64("2005-06-21T11:00"), 51.0, 7.0)
    >>> print(f"{azimuth:.4f} {elevation:.4f}")
    163.5004 61.6724
    >>> times = pd.date_range("2025-06-21 12:00", periods=2, freq="6H", tz="Europe/Berlin")
    >>> print(position(times, 52.52, 13.40).to_string(float_format="{:.2f}".format))
                               azimuth_deg  elevation_deg
    2025-06-21 12:00:00+02:00       149.33          58.14
    2025-06-21 18:00:00+02:00       271.84          28.66
    """
    if _xarray.given(time, latitude, longitude):
        return _xarray.apply(position, dict(time=time, latitude=latitude, longitude=longitude),
                             [("azimuth_deg", np.float32), ("elevation_deg", np.float32)], threads=threads)
    call = Call(time=time, latitude=latitude, longitude=longitude)
    times = _arguments.times(call.arguments["time"], "time", call.fail)
    latitudes, longitudes = _place(call, call.arguments["latitude"], call.arguments["longitude"])
    arrays = call.broadcast(time=times.values, latitude=latitudes, longitude=longitudes)
    block = _ext.position(arrays[0], times.num, times.den, *arrays[1:], _arguments.threads(threads))
    if call.pandas:
        return call.block_frame(block, ["azimuth_deg", "elevation_deg"])
    return block[0], block[1]


@overload
def solar_position(time: xr.DataArray, latitude: Like, longitude: Like, *positional: Any, altitude: Like = ...,
                   pressure: Like = ...,
                   temperature: Like = ..., threads: Optional[int] = ...) -> xr.Dataset: ...
@overload
def solar_position(time: NumpyLike, latitude: NumpyLike, longitude: NumpyLike, *positional: Any, altitude: Like = ...,
                   pressure: Like = ...,
                   temperature: Like = ..., threads: Optional[int] = ...) -> Arrays: ...
def solar_position(time: Like, latitude: Like, longitude: Like, *positional: Any, altitude: Like = None,
                   pressure: Like = None, temperature: Like = 12.0, threads: Optional[int] = None) -> Any:
    """The sun's position in pvlib's columns, with the apparent (refracted) elevation.

    Parameters
    ----------
    time : datetime-like, array-like, DatetimeIndex, Series or DataArray
        Instants; naive ones are UTC.
    latitude, longitude : float, array-like, Series or DataArray
        Decimal degrees, north and east.
    altitude : float or array-like, optional
        The place's height above sea level in metres (-500 to 9000), for the air pressure where
        `pressure` is not given: pvlib's ``alt2pres``, 100 ((44331.514 - h) / 11880.516) **
        (1 / 0.1902632) Pa. Nothing else depends on it (the model has no parallax).
    pressure : float or array-like, optional
        Air pressure at the place in pascals, 30,000 to 110,000 (1013.25 is hPa: a ValueError says
        so). None: that of `altitude`, or without it the standard 101,325 Pa.
    temperature : float or array-like, default 12
        Air temperature in degrees Celsius; None is 12, as in pvlib.
    threads : int, optional
        At most this many threads (0: every usable core).

    Returns
    -------
    DataFrame, dict of ndarray or Dataset
        float64 columns, NaN where the time or the place is missing (and in the two apparent
        columns alone where the pressure or the temperature is):

        - ``elevation``: geometric, the value of ``position`` (float32) exactly; ``zenith`` = 90 - it;
        - ``apparent_elevation``, ``apparent_zenith``: with refraction by Saemundsson's formula
          (Sky and Telescope 72, 70, 1986) scaled by pressure/101000 Pa and 283/(273 + temperature),
          as NREL's Solar Position Algorithm applies it (Reda and Andreas 2004, eq. 42): none when
          the sun stands more than 0.83337 degrees below the horizon;
        - ``azimuth``: from north through east in [0, 360) (pvlib's convention: due north is 0);
        - ``equation_of_time``: apparent minus mean solar time in minutes (the model's mean
          longitude minus its right ascension);
        - ``declination``: degrees; ``hour_angle``: local hour angle in degrees, (-180, 180],
          negative before the sun's transit.

        A DataFrame is indexed like the pandas input; for NumPy input a dict of arrays.

    Raises
    ------
    TypeError
        As for `position`; and a fourth positional argument (see below).
    ValueError
        As for `position`; and a pressure or altitude no place on Earth has, or a temperature at or
        below -273.15 degrees.

    Notes
    -----
    Beside pvlib's ``get_solarposition(time, latitude, longitude, altitude=None, pressure=None,
    method='nrel_numpy', temperature=12)``:

    - Arguments after the place are keywords here: pvlib's fourth positional argument is the
      altitude, which a number in that place might be taken for, so it is refused with a TypeError
      that names the keywords.
    - None means what it means in pvlib: the pressure of the altitude, else 101,325 Pa; a
      temperature of 12 degrees Celsius. The units are pvlib's: metres, pascals, degrees Celsius.
    - There is no ``method``: the position is the dialog's own model, in the accuracy class of
      pvlib's ``'ephemeris'`` method (elevation within about 0.013 degrees of SPA), with neither
      SPA's ``delta_t`` nor its topocentric parallax (so the altitude enters only the pressure).
    - The columns are pvlib's names; ``equation_of_time`` is in minutes as in pvlib.

    Examples
    --------
    >>> times = pd.date_range("2025-06-21 02:45", periods=3, freq="8H", tz="UTC")
    >>> solar_position(times, 52.52, 13.405)[["elevation", "apparent_elevation", "azimuth"]].round(3)
                               elevation  apparent_elevation  azimuth
    2025-06-21 02:45:00+00:00     -0.625              -0.045   48.096
    2025-06-21 10:45:00+00:00     60.578              60.588  169.098
    2025-06-21 18:45:00+00:00      4.991               5.152  302.831
    """
    _arguments.refuse_positional("solar_position", positional)
    air = {name: value for name, value in (("altitude", altitude), ("pressure", pressure)) if value is not None}
    air["temperature"] = 12.0 if temperature is None else temperature
    names = SOLAR_POSITION_COLUMNS
    if _xarray.given(time, latitude, longitude, *air.values()):
        return _xarray.apply(solar_position, dict(time=time, latitude=latitude, longitude=longitude, **air),
                             [(name, np.float64) for name in names], threads=threads)
    call = Call(time=time, latitude=latitude, longitude=longitude, **air)
    times = _arguments.times(call.arguments["time"], "time", call.fail)
    latitudes, longitudes = _place(call, call.arguments["latitude"], call.arguments["longitude"])
    pressures = _arguments.air_pressure(call.arguments.get("pressure"), call.arguments.get("altitude"), call.fail)
    temperatures = _arguments.degrees(call.arguments["temperature"], "temperature",
                                      np.nextafter(-273.15, 0.0), 100, call.fail,
                                      "degrees Celsius")
    arrays = call.broadcast(time=times.values, latitude=latitudes, longitude=longitudes, pressure=pressures,
                            temperature=temperatures)
    block = _ext.solar_position(arrays[0], times.num, times.den, *arrays[1:], _arguments.threads(threads))
    if call.pandas:
        return call.block_frame(block, names)
    return dict(zip(names, block))


def _local_days(date: Like, latitude: Like, longitude: Like, tz: Any) -> tuple[Call, _zones.Zone, list]:
    """The call over local days: its zone (tz, else the zone the dates carry, else the dialog's
    clock) and its broadcast arrays: the days' first and next instants and the places."""
    call = Call(date=date, latitude=latitude, longitude=longitude)
    days, carried = _arguments.dates(call.arguments["date"], "date", call.fail)
    zone = _zones.zone(tz if tz is not None else carried)
    latitudes, longitudes = _place(call, call.arguments["latitude"], call.arguments["longitude"])
    starts, ends, skipped = _zones.day_bounds(days, zone)
    if skipped.any():
        first = int(np.flatnonzero(skipped.ravel())[0])
        call.fail("date", first, f"a date that {zone.name} skips", days.ravel()[first].astype("datetime64[D]"))
    return call, zone, call.broadcast(date=starts, end=ends, latitude=latitudes, longitude=longitudes)


def _day_result(call: Call, zone: _zones.Zone, raw: dict[str, np.ndarray]):
    if call.pandas:
        return call.frame({name: _fields.as_pandas(values, zone.tzinfo) for name, values in raw.items()})
    return {name: _fields.as_numpy(values) for name, values in raw.items()}


@overload
def day_events(date: xr.DataArray, latitude: Like, longitude: Like, tz: Any = ..., *,
               threads: Optional[int] = ...) -> xr.Dataset: ...
@overload
def day_events(date: NumpyLike, latitude: NumpyLike, longitude: NumpyLike, tz: Any = ..., *,
               threads: Optional[int] = ...) -> Arrays: ...
def day_events(date: Like, latitude: Like, longitude: Like, tz: Any = None, *,
               threads: Optional[int] = None) -> Any:
    """The local days of a zone at places: the fields of ``tagvaroskop-cli day``.

    Parameters
    ----------
    date : date-like, array-like, DatetimeIndex, Series or DataArray
        Calendar dates as written (a time of day is passed over).
    latitude, longitude : float, array-like, Series or DataArray
        Decimal degrees, north and east.
    tz : str or tzinfo, optional
        The zone whose calendar days are meant: a name of the time-zone database, "UTC", an offset
        from -12:00 to +14:00 ("+05:30") or a tzinfo. Without it, the zone the dates carry
        (tz-aware dates, strings with an offset), and for naive dates the dialog's clock
        (UTC+01:00 all year).
    threads : int, optional
        At most this many threads (0: every usable core).

    Returns
    -------
    DataFrame, dict of ndarray or Dataset
        The fields of `DAY_FIELDS`, named as ``tagvaroskop-cli day`` names them: ``day_minutes``
        (the minutes that start in the day), ``sunshine_minutes`` and ``twilight_minutes`` (the
        dialog's counts above 0 and -7 degrees) with their hours, the first and last minute above
        the horizon, ``sunrise``/``sunset`` (the centre at -0.833 degrees) and the civil, nautical
        and astronomical dawn and dusk (-6, -12, -18 degrees) with their ``*_state`` ("above",
        "below", "crossing"), ``solar_noon`` and its elevation. Crossings are found through
        every second of the day (the first second on the new side, however short the stay), the
        highest point is the middle of the first and last second at the greatest height, as
        ``docs/cli-output.md`` defines them. A missing date or place gives a missing row. Counts
        are nullable Int32 in a DataFrame and float64 in NumPy, times tz-aware in the zone (NumPy:
        datetime64[s] in UTC), states categorical (NumPy: strings).

    Raises
    ------
    TypeError, ValueError
        As for `position`; and a date the zone skips (Apia's 2011-12-30) or an unknown zone.

    Examples
    --------
    >>> days = day_events(pd.Series(["2025-06-21", "2025-12-21"]), 52.52, 13.405, tz="Europe/Berlin")
    >>> days[["sunrise", "sunset", "day_minutes"]]
                        sunrise                    sunset  day_minutes
    0 2025-06-21 04:43:10+02:00 2025-06-21 21:33:20+02:00         1440
    1 2025-12-21 08:15:01+01:00 2025-12-21 15:54:06+01:00         1440
    """
    if _xarray.given(date, latitude, longitude):
        raw = _ext.day_facts(*_NO_DAYS, 1)
        return _xarray.apply(day_events, dict(date=date, latitude=latitude, longitude=longitude),
                             _fields.numpy_dtypes(raw, "ns"), tz=tz, threads=threads)
    call, zone, arrays = _local_days(date, latitude, longitude, tz)
    return _day_result(call, zone, _ext.day_facts(*arrays, _arguments.threads(threads)))


@overload
def sun_times(date: xr.DataArray, latitude: Like, longitude: Like, tz: Any = ..., elevation: float = ..., *,
              threads: Optional[int] = ...) -> xr.Dataset: ...
@overload
def sun_times(date: NumpyLike, latitude: NumpyLike, longitude: NumpyLike, tz: Any = ..., elevation: float = ..., *,
              threads: Optional[int] = ...) -> Arrays: ...
def sun_times(date: Like, latitude: Like, longitude: Like, tz: Any = None, elevation: float = -0.833, *,
              threads: Optional[int] = None) -> Any:
    """Sunrise, solar noon and sunset of local days, at their own cost.

    The same values as those fields of `day_events` (to the second), computed without the rest of
    the day's facts: pvlib's ``sun_rise_set_transit`` shape.

    Parameters
    ----------
    date, latitude, longitude, tz, threads
        As for `day_events`.
    elevation : float, default -0.833
        The height of the sun's centre in degrees at sunrise and sunset (-0.833: refraction and the
        sun's radius at the horizon; -6 for civil twilight, and so on).

    Returns
    -------
    DataFrame, dict of ndarray or Dataset
        ``sunrise``, ``solar_noon`` (the day's highest point: the middle of the first and last
        second at the greatest height), ``sunset`` (the first of each direction through every
        second of the day, missing where the sun stays above or below) and ``sun_state``
        ("above", "below", "crossing").

    Examples
    --------
    >>> sun_times(pd.Series(["2025-06-21"]), 52.52, 13.405, tz="Europe/Berlin")[["sunrise", "sunset"]]
                        sunrise                    sunset
    0 2025-06-21 04:43:10+02:00 2025-06-21 21:33:20+02:00
    """
    if not isinstance(elevation, (int, float, np.integer, np.floating)) or isinstance(elevation, bool):
        raise TypeError(f"elevation: expected a number of degrees, not {type(elevation).__name__}")
    if not -90 <= elevation <= 90:
        raise ValueError(f"elevation: not between -90 and 90 degrees: {elevation!r}")
    if _xarray.given(date, latitude, longitude):
        raw = _ext.sun_times(*_NO_DAYS, float(elevation), 1)
        return _xarray.apply(sun_times, dict(date=date, latitude=latitude, longitude=longitude),
                             _fields.numpy_dtypes(raw, "ns"), tz=tz, elevation=elevation, threads=threads)
    call, zone, arrays = _local_days(date, latitude, longitude, tz)
    return _day_result(call, zone, _ext.sun_times(*arrays, float(elevation), _arguments.threads(threads)))


def _heights(heights: Like) -> np.ndarray:
    heights = np.atleast_1d(np.asarray(heights))
    if heights.ndim != 1 or heights.dtype.kind not in "fiu":
        raise TypeError(f"heights: expected a list of numbers, not {heights.dtype} of shape {heights.shape}")
    if heights.size == 0:
        raise ValueError("heights: expected at least one height")
    bad = ~((heights >= -90) & (heights <= 90))
    if bad.any():
        first = int(np.flatnonzero(bad)[0])
        raise ValueError(f"heights: not between -90 and 90 degrees at {first}: {heights[first]!r}")
    return heights.astype(np.float32)


@overload
def minutes_above(date: xr.DataArray, latitude: Like, longitude: Like, heights: Like, tz: Any = ..., *,
                  threads: Optional[int] = ...) -> xr.Dataset: ...
@overload
def minutes_above(date: NumpyLike, latitude: NumpyLike, longitude: NumpyLike, heights: Like, tz: Any = ..., *,
                  threads: Optional[int] = ...) -> Arrays: ...
def minutes_above(date: Like, latitude: Like, longitude: Like, heights: Like, tz: Any = None, *,
                  threads: Optional[int] = None) -> Any:
    """The minutes of local days above each height, as ``tagvaroskop-cli day --height`` gives them.

    Parameters
    ----------
    date, latitude, longitude, tz, threads
        As for `day_events`.
    heights : float or list of float
        Heights of the sun's centre in degrees, -90 to 90.

    Returns
    -------
    DataFrame, dict of ndarray or Dataset
        The fields of `HEIGHT_FIELDS` (``minutes_above``, ``hours_above``, ``above_state``, the first
        and last minute above, the first ``rising`` and ``setting``) for each height: a last axis of
        the heights in NumPy, a dimension ``height_deg`` in xarray, columns (field, height) in pandas.

    Examples
    --------
    >>> minutes_above("2025-06-21", 69.65, 18.96, [-6, 30], tz="Europe/Oslo")["minutes_above"]
    array([1440.,  533.])
    """
    heights = _heights(heights)
    if _xarray.given(date, latitude, longitude):
        raw = _ext.minutes_above(*_NO_DAYS, heights, 1)
        return _xarray.apply(minutes_above, dict(date=date, latitude=latitude, longitude=longitude),
                             _fields.numpy_dtypes(raw, "ns"), trailing=("height_deg", heights), heights=heights,
                             tz=tz, threads=threads)
    call, zone, arrays = _local_days(date, latitude, longitude, tz)
    raw = _ext.minutes_above(*arrays, heights, _arguments.threads(threads))
    if not call.pandas:
        return {name: _fields.as_numpy(values) for name, values in raw.items()}
    columns = {(name, float(h)): _fields.as_pandas(np.ascontiguousarray(values[..., j]), zone.tzinfo)
               for name, values in raw.items() for j, h in enumerate(heights)}
    frame = call.frame(columns)
    frame.columns = pd.MultiIndex.from_tuples(columns, names=["field", "height_deg"])
    return frame


def _sample_dates(years: np.ndarray) -> np.ndarray:
    """The 72 sample days (the 1st, 6th, ..., 26th of each month) of each year, NaT for a missing year."""
    months, fifths = np.divmod(np.arange(_ext.SAMPLE_DAYS), 6)
    first = (years.astype(np.int64) - 1970).astype("datetime64[Y]")
    dates = first[..., None].astype("datetime64[M]") + months.astype("timedelta64[M]")
    dates = dates.astype("datetime64[D]") + (fifths * 5).astype("timedelta64[D]")
    return np.where((years == _arguments.MISSING_YEAR)[..., None], np.datetime64("NaT"), dates)


@overload
def year_series(year: xr.DataArray, latitude: Like, longitude: Like, *, threads: Optional[int] = ...) -> xr.Dataset: ...
@overload
def year_series(year: NumpyLike, latitude: Like, longitude: Like, *, threads: Optional[int] = ...) -> pd.DataFrame: ...
def year_series(year: Like, latitude: Like, longitude: Like, *, threads: Optional[int] = None) -> Any:
    """The year window's 72 sample days, as ``tagvaroskop-cli year`` gives them.

    Parameters
    ----------
    year : int or array-like of int
        Years 1900 to 2100.
    latitude, longitude : float, array-like, Series or DataArray
        Decimal degrees, north and east.
    threads : int, optional
        At most this many threads (0: every usable core).

    Returns
    -------
    DataFrame or Dataset
        ``sunshine_hours``, ``twilight_hours`` and the daily change of the sunshine to the next
        sample day in minutes and seconds (missing for the last) of the 1st, 6th, 11th, 16th, 21st
        and 26th of every month: indexed by date for one year and place, otherwise by the arguments'
        rows and the date; in xarray a dimension ``sample_day`` with the dates as a coordinate.

    Examples
    --------
    >>> year_series(2025, 52.52, 13.405)[["sunshine_hours", "daily_change_seconds"]].head(3)
                sunshine_hours  daily_change_seconds
    date                                            
    2025-01-01        7.533334                    35
    2025-01-06        7.666667                     0
    2025-01-11        7.833334                    23
    """
    if _xarray.given(year, latitude, longitude):
        raw = _ext.year_series(np.empty(0, np.int32), np.empty(0), np.empty(0), 1)
        return _xarray.apply(_year_arrays, dict(year=year, latitude=latitude, longitude=longitude),
                             _fields.numpy_dtypes(raw) + [("date", np.dtype("datetime64[ns]"))],
                             trailing=("sample_day", np.arange(_ext.SAMPLE_DAYS)), threads=threads)
    call, years, raw = _years(year, latitude, longitude, threads)
    columns = {name: _fields.as_pandas(values, None) for name, values in raw.items()}
    dates = _sample_dates(years).ravel()
    if not call.shape:
        return pd.DataFrame(columns, index=pd.DatetimeIndex(dates, name="date"))
    rows = call.rows() if call.pandas else pd.RangeIndex(int(np.prod(call.shape)))
    rows = rows.repeat(_ext.SAMPLE_DAYS)
    index = pd.MultiIndex.from_arrays([*(rows.get_level_values(k) for k in range(rows.nlevels)), dates],
                                      names=[*rows.names, "date"])
    return pd.DataFrame(columns, index=index)


def _years(year: Like, latitude: Like, longitude: Like, threads: Optional[int]):
    """The call over years and places, its years broadcast, and the extension's series."""
    call = Call(year=year, latitude=latitude, longitude=longitude)
    years = _arguments.years(call.arguments["year"], "year", call.fail)
    latitudes, longitudes = _place(call, call.arguments["latitude"], call.arguments["longitude"])
    arrays = call.broadcast(year=years, latitude=latitudes, longitude=longitudes)
    return call, arrays[0], _ext.year_series(*arrays, _arguments.threads(threads))


def _year_arrays(year, latitude, longitude, *, threads=None) -> dict[str, np.ndarray]:
    """year_series in NumPy form (for xarray and Dask): arrays with a last axis of the 72 sample days."""
    _, years, raw = _years(year, latitude, longitude, threads)
    result = {name: _fields.as_numpy(values) for name, values in raw.items()}
    result["date"] = _sample_dates(years).astype("datetime64[ns]")
    return result

