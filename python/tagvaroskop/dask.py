"""The functions of tagvaroskop over Dask collections, block by block and lazy until computed.
Dask's scheduler does the distribution, on the local machine or a cluster of
`distributed`: there is no scheduling code here.

- dask.dataframe: the arguments are Series of one frame (or scalars); each partition goes through
  the pandas form of the function (`map_partitions`), so the results are frames as there.
- dask.array: the arguments are arrays (or scalars), broadcast and cut into the same blocks; each
  block goes through the NumPy form (`map_blocks`), and the results are arrays as there.
"""
import dask.array as da
import dask.dataframe as dd
import numpy as np

import tagvaroskop as _t


def _frames(*arguments):
    return any(isinstance(a, (dd.Series, dd.DataFrame)) for a in arguments)


def _meta(function, *arguments, **keywords):
    """What `function` gives for a partition: computed on the first row of each argument."""
    sample = [a.head(1) if isinstance(a, (dd.Series, dd.DataFrame)) else a for a in arguments]
    return function(*sample, **keywords).iloc[:0]


def _blocks(function, fields, *arguments, **keywords):
    """`function` over broadcast blocks of dask arrays, its dict of arrays packed into one record
    array a block, then unpacked lazily into a dict of dask arrays of the same graph."""
    arrays = da.broadcast_arrays(*[da.asarray(a) for a in arguments])
    arrays = da.core.unify_chunks(*[x for a in arrays for x in (a, tuple(range(a.ndim)))])[1]

    def pack(*blocks):
        result = function(*blocks, **keywords)
        record = np.empty(blocks[0].shape, dtype=fields)
        for name in record.dtype.names:
            record[name] = result[name]
        return record

    packed = da.map_blocks(pack, *arrays, dtype=fields)
    return {name: packed[name] for name in packed.dtype.names}


def position(time, latitude, longitude):
    """tagvaroskop.position over Dask collections: a frame with azimuth_deg and elevation_deg, or
    a pair of float32 arrays."""
    if _frames(time, latitude, longitude):
        return dd.map_partitions(_t.position, time, latitude, longitude, meta=_meta(_t.position, time, latitude, longitude))
    fields = np.dtype([("azimuth_deg", np.float32), ("elevation_deg", np.float32)])
    result = _blocks(lambda *a: dict(zip(fields.names, _t.position(*a))), fields, time, latitude, longitude)
    return result["azimuth_deg"], result["elevation_deg"]


def day_events(date, latitude, longitude, tz=None):
    """tagvaroskop.day_events over Dask collections: a frame of the day fields, or a dict of arrays
    (times datetime64[s] in UTC, states as words)."""
    if _frames(date, latitude, longitude):
        meta = _meta(_t.day_events, date, latitude, longitude, tz=tz)
        return dd.map_partitions(_t.day_events, date, latitude, longitude, tz=tz, meta=meta)
    sample = _t.day_events("2000-01-01", 0, 0, tz=tz)
    fields = np.dtype([(k, v.dtype if v.dtype != object else "U8") for k, v in sample.items()])
    return _blocks(lambda *a: _t.day_events(*a, tz=tz), fields, date, latitude, longitude)


def minutes_above(date, latitude, longitude, heights, tz=None):
    """tagvaroskop.minutes_above over a Dask frame's Series: a frame with (field, height) columns
    flattened to "field@height"."""
    def flat(*arguments):
        frame = _t.minutes_above(*arguments, heights, tz=tz)
        frame.columns = [f"{field}@{height:g}" for field, height in frame.columns]
        return frame

    return dd.map_partitions(flat, date, latitude, longitude, meta=_meta(flat, date, latitude, longitude))


def year_series(year, latitude, longitude):
    """tagvaroskop.year_series over a Dask frame's Series: 72 rows a row, its index and the date
    as columns."""
    def flat(*arguments):
        return _t.year_series(*arguments).reset_index(names=["row", "date"])

    return dd.map_partitions(flat, year, latitude, longitude, meta=_meta(flat, year, latitude, longitude))


__all__ = ["position", "day_events", "minutes_above", "year_series"]
