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

from typing import Any, Callable

import dask.array as da
import dask.dataframe as dd
import numpy as np

import tagvaroskop as _t

from . import _fields
from . import _tagvaroskop as _ext

_ONE_THREAD = {"threads": 1}
_NO_DAYS = [np.empty(0, np.int64), np.empty(0, np.int64), np.empty(0), np.empty(0)]


def _frames(*arguments: Any) -> bool:
    return any(isinstance(a, (dd.Series, dd.DataFrame)) for a in arguments)


def _partitions(function: Callable, *arguments: Any, **keywords: Any) -> dd.DataFrame:
    """`function` over the partitions of Dask Series; its empty result, from the collections' own
    `_meta`, tells Dask the columns."""
    meta = function(*[a._meta if isinstance(a, (dd.Series, dd.DataFrame)) else a for a in arguments], **keywords)
    return dd.map_partitions(function, *arguments, meta=meta, **keywords)


def _blocks(function: Callable, fields: list[tuple[str, np.dtype]], *arguments: Any, trailing: int = 0,
            **keywords: Any) -> dict[str, da.Array]:
    """`function` (NumPy form) over broadcast blocks of Dask arrays: its fields packed into one
    record array a block (with a last axis of `trailing` where it adds one), then unpacked lazily
    into a dict of Dask arrays of the same graph."""
    arrays = da.broadcast_arrays(*[da.asarray(a) for a in arguments])
    arrays = da.core.unify_chunks(*[x for a in arrays for x in (a, tuple(range(a.ndim)))])[1]
    record = np.dtype(fields)

    def pack(*blocks: np.ndarray, block_info: Any = None) -> np.ndarray:
        try:
            result = function(*blocks, **keywords, **_ONE_THREAD)
        except (TypeError, ValueError) as error:
            starts = tuple(start for start, _ in block_info[None]["array-location"]) if block_info else "?"
            kind = TypeError if isinstance(error, TypeError) else ValueError  # a subclass may take other arguments
            raise kind(f"{error} (the position counted within the Dask block that starts at {starts})") from None
        result = result if isinstance(result, dict) else dict(zip(record.names, result))
        packed = np.empty(np.broadcast_shapes(*(b.shape for b in blocks)) + ((trailing,) if trailing else ()), record)
        for name in record.names:
            packed[name] = result[name]
        return packed

    extra = {"new_axis": arrays[0].ndim, "chunks": arrays[0].chunks + ((trailing,),)} if trailing else {}
    packed = da.map_blocks(pack, *arrays, dtype=record, **extra)
    return {name: packed[name] for name in record.names}


def position(time: Any, latitude: Any, longitude: Any):
    """`tagvaroskop.position` over Dask collections: a frame with azimuth_deg and elevation_deg,
    or a pair of float32 arrays."""
    if _frames(time, latitude, longitude):
        return _partitions(_t.position, time, latitude, longitude, **_ONE_THREAD)
    fields = [("azimuth_deg", np.float32), ("elevation_deg", np.float32)]
    result = _blocks(_t.position, fields, time, latitude, longitude)
    return result["azimuth_deg"], result["elevation_deg"]


def solar_position(time: Any, latitude: Any, longitude: Any, pressure: Any = 101325.0, temperature: Any = 12.0):
    """`tagvaroskop.solar_position` over Dask collections: a frame, or a dict of float64 arrays."""
    if _frames(time, latitude, longitude, pressure, temperature):
        return _partitions(_t.solar_position, time, latitude, longitude, pressure, temperature, **_ONE_THREAD)
    fields = [(name, np.float64) for name in _t.SOLAR_POSITION_COLUMNS]
    return _blocks(_t.solar_position, fields, time, latitude, longitude, pressure, temperature)


def day_events(date: Any, latitude: Any, longitude: Any, tz: Any = None):
    """`tagvaroskop.day_events` over Dask collections: a frame of the day fields, or a dict of
    arrays (counts float64, times datetime64[s] in UTC, states as words)."""
    if _frames(date, latitude, longitude):
        return _partitions(_t.day_events, date, latitude, longitude, tz=tz, **_ONE_THREAD)
    fields = _fields.numpy_dtypes(_ext.day_facts(*_NO_DAYS, 1))
    return _blocks(_t.day_events, fields, date, latitude, longitude, tz=tz)


def sun_times(date: Any, latitude: Any, longitude: Any, tz: Any = None, elevation: float = -0.833):
    """`tagvaroskop.sun_times` over Dask collections: a frame, or a dict of arrays."""
    if _frames(date, latitude, longitude):
        return _partitions(_t.sun_times, date, latitude, longitude, tz=tz, elevation=elevation, **_ONE_THREAD)
    fields = _fields.numpy_dtypes(_ext.sun_times(*_NO_DAYS, float(elevation), 1))
    return _blocks(_t.sun_times, fields, date, latitude, longitude, tz=tz, elevation=elevation)


def minutes_above(date: Any, latitude: Any, longitude: Any, heights: Any, tz: Any = None):
    """`tagvaroskop.minutes_above` over Dask collections: a frame whose (field, height) columns
    are flattened to "field@height", or a dict of arrays with a last axis of the heights."""
    if _frames(date, latitude, longitude):
        def flat(*arguments: Any, **keywords: Any):
            frame = _t.minutes_above(*arguments, heights, **keywords)
            frame.columns = [f"{field}@{height:g}" for field, height in frame.columns]
            return frame

        return _partitions(flat, date, latitude, longitude, tz=tz, **_ONE_THREAD)
    heights = _t._heights(heights)
    fields = _fields.numpy_dtypes(_ext.minutes_above(*_NO_DAYS, heights, 1))
    return _blocks(lambda *a, **k: _t.minutes_above(*a, heights, **k), fields, date, latitude, longitude,
                   trailing=len(heights), tz=tz)


def year_series(year: Any, latitude: Any, longitude: Any):
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
