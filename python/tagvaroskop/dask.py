"""The functions of tagvaroskop over Dask collections, block by block and lazy until computed.
Dask's scheduler does the distribution, on the local machine or a cluster of `distributed`: there
is no scheduling code here, and each block runs on one thread (Dask spreads the blocks).

- dask.dataframe: the arguments are Series of one frame (or scalars); each partition goes through
  the pandas form of the function (``map_partitions``), so the results are frames as there. Building
  the graph computes nothing: the empty result that Dask needs comes from the collections' own
  ``_meta``.
- dask.array: the arguments are arrays (or scalars), broadcast and cut into the same blocks; each
  block goes through the NumPy form (``map_blocks``), and the results are arrays as there, with a
  last axis of the heights (``minutes_above``) or the 72 sample days (``year_series``, with their
  ``date``).
- xarray DataArrays backed by Dask go to the functions of tagvaroskop themselves.
"""
from __future__ import annotations

import datetime as _dt
from typing import Any, Callable, Union, overload

import dask.array as da
import dask.dataframe as dd
import numpy as np

import tagvaroskop as _t

from . import _arguments, _fields
from . import _tagvaroskop as _ext

_ONE_THREAD = {"threads": 1}
# What gives Dask arrays out (Dask Series give a Dask frame).
ArrayIn = Union[da.Array, np.ndarray, np.generic, float, int, str, _dt.date, list, tuple]
_NO_DAYS = [np.empty(0, np.int64), np.empty(0, np.int64), np.empty(0), np.empty(0)]


def _frames(*arguments: Any) -> bool:
    return any(isinstance(a, (dd.Series, dd.DataFrame)) for a in arguments)


def _partitions(function: Callable, *arguments: Any, **keywords: Any) -> dd.DataFrame:
    """`function` over the partitions of Dask Series; its empty result, from the collections' own
    `_meta`, tells Dask the columns."""
    meta = function(*[a._meta if isinstance(a, (dd.Series, dd.DataFrame)) else a for a in arguments], **keywords)
    return dd.map_partitions(function, *arguments, meta=meta, **keywords)


def _blocks(function: Callable, fields: list[tuple[str, Any]], *arguments: Any, trailing: int = 0,
            **keywords: Any) -> dict[str, da.Array]:
    """`function` (NumPy form) over broadcast blocks of Dask arrays: its fields packed into one
    record array a block (with a last axis of `trailing` where it adds one), then unpacked lazily
    into a dict of Dask arrays of the same graph."""
    arrays = da.broadcast_arrays(*[da.asarray(a) for a in arguments])
    arrays = da.core.unify_chunks(*[x for a in arrays for x in (a, tuple(range(a.ndim)))])[1]
    record = np.dtype(fields)
    names = [name for name, _ in fields]

    def pack(*blocks: np.ndarray, block_info: Any = None) -> np.ndarray:
        try:
            result = function(*blocks, **keywords, **_ONE_THREAD)
        except (TypeError, ValueError) as error:
            starts = tuple(start for start, _ in block_info[None]["array-location"]) if block_info else "?"
            kind = TypeError if isinstance(error, TypeError) else ValueError  # a subclass may take other arguments
            raise kind(f"{error} (the position counted within the Dask block that starts at {starts})") from None
        result = result if isinstance(result, dict) else dict(zip(names, result))
        packed = np.empty(np.broadcast_shapes(*(b.shape for b in blocks)) + ((trailing,) if trailing else ()), record)
        for name in names:
            packed[name] = result[name]
        return packed

    extra = {"new_axis": arrays[0].ndim, "chunks": arrays[0].chunks + ((trailing,),)} if trailing else {}
    packed = da.map_blocks(pack, *arrays, dtype=record, **extra)
    return {name: packed[name] for name in names}


@overload
def position(time: dd.Series, latitude: Any, longitude: Any) -> dd.DataFrame: ...
@overload
def position(time: ArrayIn, latitude: Any, longitude: Any) -> tuple[da.Array, da.Array]: ...
def position(time: Any, latitude: Any, longitude: Any) -> Union[dd.DataFrame, tuple[da.Array, da.Array]]:
    """`tagvaroskop.position` over Dask collections: a frame with azimuth_deg and elevation_deg,
    or a pair of float32 arrays."""
    if _frames(time, latitude, longitude):
        return _partitions(_t.position, time, latitude, longitude, **_ONE_THREAD)
    fields = [("azimuth_deg", np.float32), ("elevation_deg", np.float32)]
    result = _blocks(_t.position, fields, time, latitude, longitude)
    return result["azimuth_deg"], result["elevation_deg"]


@overload
def solar_position(time: dd.Series, latitude: Any, longitude: Any, *positional: Any, altitude: Any = ...,
                   pressure: Any = ..., temperature: Any = ...) -> dd.DataFrame: ...
@overload
def solar_position(time: ArrayIn, latitude: Any, longitude: Any, *positional: Any, altitude: Any = ...,
                   pressure: Any = ..., temperature: Any = ...) -> dict[str, da.Array]: ...
def solar_position(time: Any, latitude: Any, longitude: Any, *positional: Any, altitude: Any = None,
                   pressure: Any = None, temperature: Any = 12.0) -> Union[dd.DataFrame, dict[str, da.Array]]:
    """`tagvaroskop.solar_position` over Dask collections: a frame, or a dict of float64 arrays."""
    _arguments.refuse_positional("solar_position", positional)
    air = {name: value for name, value in (("altitude", altitude), ("pressure", pressure), ("temperature", temperature))
           if value is not None}
    names = list(air)

    def one(time: Any, latitude: Any, longitude: Any, *values: Any, **keywords: Any) -> Any:
        return _t.solar_position(time, latitude, longitude, **dict(zip(names, values)), **keywords)

    if _frames(time, latitude, longitude, *air.values()):
        return _partitions(one, time, latitude, longitude, *air.values(), **_ONE_THREAD)
    fields = [(name, np.float64) for name in _t.SOLAR_POSITION_COLUMNS]
    return _blocks(one, fields, time, latitude, longitude, *air.values())


@overload
def day_events(date: dd.Series, latitude: Any, longitude: Any, tz: Any = ...) -> dd.DataFrame: ...
@overload
def day_events(date: ArrayIn, latitude: Any, longitude: Any, tz: Any = ...) -> dict[str, da.Array]: ...
def day_events(date: Any, latitude: Any, longitude: Any, tz: Any = None) -> Union[dd.DataFrame, dict[str, da.Array]]:
    """`tagvaroskop.day_events` over Dask collections: a frame of the day fields, or a dict of
    arrays (counts float64, times datetime64[s] in UTC, states as words)."""
    if _frames(date, latitude, longitude):
        return _partitions(_t.day_events, date, latitude, longitude, tz=tz, **_ONE_THREAD)
    fields = _fields.numpy_dtypes(_ext.day_facts(*_NO_DAYS, 1))
    return _blocks(_t.day_events, fields, date, latitude, longitude, tz=tz)


@overload
def sun_times(date: dd.Series, latitude: Any, longitude: Any, tz: Any = ...,
              elevation: float = ...) -> dd.DataFrame: ...
@overload
def sun_times(date: ArrayIn, latitude: Any, longitude: Any, tz: Any = ..., elevation: float = ...) -> dict[str,
              da.Array]: ...
def sun_times(date: Any, latitude: Any, longitude: Any, tz: Any = None,
              elevation: float = -0.833) -> Union[dd.DataFrame, dict[str, da.Array]]:
    """`tagvaroskop.sun_times` over Dask collections: a frame, or a dict of arrays."""
    if _frames(date, latitude, longitude):
        return _partitions(_t.sun_times, date, latitude, longitude, tz=tz, elevation=elevation, **_ONE_THREAD)
    fields = _fields.numpy_dtypes(_ext.sun_times(*_NO_DAYS, float(elevation), 1))
    return _blocks(_t.sun_times, fields, date, latitude, longitude, tz=tz, elevation=elevation)


@overload
def minutes_above(date: dd.Series, latitude: Any, longitude: Any, heights: Any, tz: Any = ...) -> dd.DataFrame: ...
@overload
def minutes_above(date: ArrayIn, latitude: Any, longitude: Any, heights: Any, tz: Any = ...) -> dict[str, da.Array]: ...
def minutes_above(date: Any, latitude: Any, longitude: Any, heights: Any,
                  tz: Any = None) -> Union[dd.DataFrame, dict[str, da.Array]]:
    """`tagvaroskop.minutes_above` over Dask collections: a frame whose (field, height) columns
    are flattened to "field@height", or a dict of arrays with a last axis of the heights."""
    if _frames(date, latitude, longitude):
        def flat(date: Any, latitude: Any, longitude: Any, **keywords: Any) -> Any:
            frame = _t.minutes_above(date, latitude, longitude, heights, **keywords)
            frame.columns = [f"{field}@{height:g}" for field, height in frame.columns]
            return frame

        return _partitions(flat, date, latitude, longitude, tz=tz, **_ONE_THREAD)
    heights = _t._heights(heights)
    fields = _fields.numpy_dtypes(_ext.minutes_above(*_NO_DAYS, heights, 1))
    return _blocks(lambda d, a, o, **k: _t.minutes_above(d, a, o, heights, **k), fields, date, latitude, longitude,
                   trailing=len(heights), tz=tz)


@overload
def year_series(year: dd.Series, latitude: Any, longitude: Any) -> dd.DataFrame: ...
@overload
def year_series(year: ArrayIn, latitude: Any, longitude: Any) -> dict[str, da.Array]: ...
def year_series(year: Any, latitude: Any, longitude: Any) -> Union[dd.DataFrame, dict[str, da.Array]]:
    """`tagvaroskop.year_series` over Dask collections: 72 rows a row with its index and the date
    as columns, or a dict of arrays with a last axis of the 72 sample days and their `date`."""
    if _frames(year, latitude, longitude):
        def flat(*arguments: Any, **keywords: Any):
            frame = _t.year_series(*arguments, **keywords)
            return frame.reset_index(names=["row", "date"] if frame.index.nlevels == 2 else ["date"])

        return _partitions(flat, year, latitude, longitude, **_ONE_THREAD)
    raw = _ext.year_series(np.empty(0, np.int32), np.empty(0), np.empty(0), 1)
    fields = _fields.numpy_dtypes(raw) + [("date", np.dtype("datetime64[ns]"))]
    return _blocks(_t._year_arrays, fields, year, latitude, longitude, trailing=_ext.SAMPLE_DAYS)


__all__ = ["position", "solar_position", "day_events", "sun_times", "minutes_above", "year_series"]
