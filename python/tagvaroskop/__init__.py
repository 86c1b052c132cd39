"""Where the sun stands and how long the day lasts, for NumPy arrays and pandas objects.

The numbers are those of tagvaroskop-cli to the bit, computed on every core without the GIL:

    position(time, latitude, longitude)                     -> azimuth_deg, elevation_deg
    day_events(date, latitude, longitude, tz=None)          -> the fields of `tagvaroskop-cli day`
    minutes_above(date, latitude, longitude, heights, tz=None) -> those of `day --height`
    year_series(year, latitude, longitude)                  -> the year window's 72 sample days

Arguments are scalars, array-likes or pandas objects, broadcast together as NumPy does. Places
are decimal degrees (latitude -90..90 north, longitude -180..360 east). NumPy in, NumPy out; where
a pandas object goes in, a pandas object comes out, indexed alike, with tz-aware times (NaT where
the tool writes null) and categorical states. `tz` is a zone name ("Europe/Berlin"), "UTC", an
offset ("+05:30"), a tzinfo, or None for the dialog's clock (UTC+01:00 all year). A wrong argument
is a ValueError that names it and its first bad element. tagvaroskop.dask maps the same functions
over Dask collections.
"""
import numpy as np
import pandas as pd

from . import _arguments, _zones
from ._tagvaroskop import day_facts as _day_facts
from ._tagvaroskop import minutes_above as _minutes_above
from ._tagvaroskop import position as _position
from ._tagvaroskop import year_series as _year_series

__all__ = ["position", "day_events", "minutes_above", "year_series"]

STATES = pd.CategoricalDtype(["above", "below", "crossing"])
_EVENTS = [("sunrise", "sunset", "sun_state"), ("civil_dawn", "civil_dusk", "civil_state"),
           ("nautical_dawn", "nautical_dusk", "nautical_state"),
           ("astronomical_dawn", "astronomical_dusk", "astronomical_state")]
DAY_FIELDS = ["day_minutes", "sunshine_minutes", "sunshine_hours", "twilight_minutes", "twilight_hours",
              "first_minute_above_horizon", "last_minute_above_horizon",
              *[key for event in _EVENTS for key in event], "solar_noon", "solar_noon_elevation_deg"]
HEIGHT_FIELDS = ["minutes_above", "hours_above", "above_state", "first_minute_above", "last_minute_above",
                 "rising", "setting"]


def _place(args):
    return args.degrees("latitude", -90, 90), args.degrees("longitude", -180, 360)


def position(time, latitude, longitude):
    """The sun's azimuth (from north through east) and elevation in degrees, float32, at UTC
    datetime64 or tz-aware times: a tuple of arrays, or a DataFrame for pandas arguments."""
    args = _arguments.Arguments(time=_arguments.instants(time), latitude=latitude, longitude=longitude)
    azimuth, elevation = _position(_arguments.nanoseconds(args, "time"), *_place(args))
    if args.pandas:
        return pd.DataFrame({"azimuth_deg": azimuth, "elevation_deg": elevation}, index=args.index)
    return azimuth.reshape(args.shape), elevation.reshape(args.shape)


def _local_days(date, latitude, longitude, tz):
    """The arguments of a function over local days, and the days' first and next instants."""
    args = _arguments.Arguments(date=_arguments.days(date), latitude=latitude, longitude=longitude)
    _arguments.check_years(args, "date", args.flat["date"])
    place = _place(args)
    zone = _zones.zone(tz)
    starts, ends, skipped = _zones.day_bounds(args.flat["date"], zone)
    if skipped.any():
        args.fail("date", skipped, f"a date that {zone.name} skips")
    return args, zone, starts, ends, place


def _shaped(args, zone, facts, trailing=()):
    """The facts as NumPy arrays of the arguments' shape (times datetime64[s] in UTC, states as
    words), or as flat pandas columns (times in the zone, states categorical)."""
    out = {}
    for key, values in facts.items():
        if args.pandas:
            values = values.ravel()
            if key.endswith("state"):
                values = pd.Categorical.from_codes(values, dtype=STATES)
            elif values.dtype == np.int64:
                values = pd.DatetimeIndex(values.view("datetime64[s]").astype("datetime64[ns]"))
                values = values.tz_localize("UTC").tz_convert(zone.tzinfo)
        elif key.endswith("state"):
            values = np.asarray(STATES.categories)[values].reshape(args.shape + trailing)
        else:
            values = (values.view("datetime64[s]") if values.dtype == np.int64 else values).reshape(args.shape + trailing)
        out[key] = values
    return out


def day_events(date, latitude, longitude, tz=None):
    """The local days of the zone at the places: the fields of `tagvaroskop-cli day` with its names
    (day_minutes, sunshine_minutes, sunrise, sunset, the twilights with their *_state, solar_noon,
    ...): a dict of arrays, or a DataFrame for pandas arguments."""
    args, zone, starts, ends, (latitudes, longitudes) = _local_days(date, latitude, longitude, tz)
    facts = _shaped(args, zone, _day_facts(starts, ends, latitudes, longitudes))
    facts = {key: facts[key] for key in DAY_FIELDS}
    return pd.DataFrame(facts, index=args.index) if args.pandas else facts


def minutes_above(date, latitude, longitude, heights, tz=None):
    """The minutes of the local days above each height (degrees), with the state, the first and
    last minute above, and the first rising and setting, as `day --height` gives them: arrays with
    a last axis of the heights, or a DataFrame whose columns are (field, height)."""
    heights = np.atleast_1d(np.asarray(heights, dtype=np.float64))
    bad = ~((heights >= -90) & (heights <= 90))
    if bad.any():
        raise ValueError(f"heights: not between -90 and 90 degrees at {int(np.flatnonzero(bad)[0])}: {heights[bad][0]!r}")
    args, zone, starts, ends, (latitudes, longitudes) = _local_days(date, latitude, longitude, tz)
    facts = _minutes_above(starts, ends, latitudes, longitudes, heights.astype(np.float32))
    shaped = _shaped(args, zone, {k: facts[k] for k in HEIGHT_FIELDS}, trailing=(len(heights),))
    if not args.pandas:
        return shaped
    columns = {(key, float(h)): shaped[key][j :: len(heights)] for key in HEIGHT_FIELDS for j, h in enumerate(heights)}
    frame = pd.DataFrame(columns, index=args.index)
    frame.columns = pd.MultiIndex.from_tuples(columns, names=["field", "height_deg"])
    return frame


def year_series(year, latitude, longitude):
    """The year window's 72 sample days (the 1st, 6th, 11th, 16th, 21st and 26th of every month)
    of the years at the places: sunshine_hours, twilight_hours and the daily change of the sunshine
    to the next sample day (null for the last), as `tagvaroskop-cli year` gives them. A table of 72
    rows a year and place: a DataFrame indexed by date for one year and place, otherwise by the
    arguments' index (or flat position) and the date."""
    args = _arguments.Arguments(year=year, latitude=latitude, longitude=longitude)
    years = args.flat["year"]
    bad = ~np.isin(years, np.arange(1900, 2101))
    if bad.any():
        args.fail("year", bad, "not a year from 1900 to 2100")
    facts = _year_series(years.astype(np.int32), *_place(args))
    months, fifths = np.divmod(np.arange(72), 6)
    dates = (years - 1970).astype("datetime64[Y]")[:, None] + months.astype("timedelta64[M]")
    dates = dates.astype("datetime64[D]") + (fifths * 5).astype("timedelta64[D]")
    last = np.tile(np.arange(72) == 71, len(years))
    columns = {"sunshine_hours": facts["sunshine_hours"].ravel(), "twilight_hours": facts["twilight_hours"].ravel()}
    for key in ("daily_change_minutes", "daily_change_seconds"):
        columns[key] = pd.arrays.IntegerArray(facts[key].ravel(), last)
    rows = args.index if args.index is not None else pd.RangeIndex(len(years))
    index = pd.MultiIndex.from_arrays([np.repeat(rows, 72), dates.ravel()], names=[rows.name, "date"])
    frame = pd.DataFrame(columns, index=index)
    return frame.droplevel(0) if not args.shape else frame
