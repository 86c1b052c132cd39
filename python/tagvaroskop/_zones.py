"""Zones and their calendar days, as tagvaroskop-cli reads them.

A zone is a name of the time-zone database (through Python's zoneinfo), "UTC", a fixed offset
from -12:00 to +14:00 such as "+05:30", a tzinfo object (zoneinfo's, pytz's as pandas gives them,
dateutil's, a fixed offset), or None for the dialog's clock (UTC+01:00 all year). A day of a zone
runs from the first instant whose local date is that day to the first instant of a later date,
whatever its length; a date the zone skips has none.
"""
from __future__ import annotations

import datetime as _dt
import re
import zoneinfo
from typing import Any

import numpy as np

from ._arguments import NOT_A_TIME

_SECONDS_PER_DAY = 86400
_EPOCH = _dt.datetime(1970, 1, 1)
_OFFSET = re.compile(r"^(?:UTC)?([+-])(\d\d):?(\d\d)?$")


class Zone:
    """A zone: `tzinfo` for pandas, and `fixed` (seconds east of UTC) where its offset never changes."""

    def __init__(self, name, tzinfo, fixed=None):
        self.name, self.tzinfo, self.fixed = name, tzinfo, fixed


def zone(tz: Any) -> Zone:
    """The zone of a `tz` argument; a TypeError or ValueError names what is wrong."""
    if tz is None:
        return Zone("MEZ", _dt.timezone(_dt.timedelta(hours=1), "MEZ"), 3600)
    if isinstance(tz, _dt.tzinfo):
        return _zone_of_tzinfo(tz)
    if not isinstance(tz, str):
        raise TypeError(f"tz: expected a zone name, an offset or a tzinfo, not {type(tz).__name__}")
    if tz in ("UTC", "Z"):
        return Zone("UTC", _dt.timezone.utc, 0)
    offset = _OFFSET.match(tz)
    if offset:
        seconds = (1 if offset[1] == "+" else -1) * (int(offset[2]) * 3600 + int(offset[3] or 0) * 60)
        if not -12 * 3600 <= seconds <= 14 * 3600 or int(offset[3] or 0) > 59:
            raise ValueError(f"tz: {tz!r} does not lie between -12:00 and +14:00")
        return Zone(tz, _dt.timezone(_dt.timedelta(seconds=seconds)), seconds)
    try:
        return Zone(tz, zoneinfo.ZoneInfo(tz))
    except (zoneinfo.ZoneInfoNotFoundError, ValueError):
        raise ValueError(f"tz: {tz!r} is no zone of the time-zone database") from None


def _zone_of_tzinfo(tz: _dt.tzinfo) -> Zone:
    fixed = tz.utcoffset(None)
    if fixed is not None:  # a fixed offset: datetime.timezone, pytz's UTC and FixedOffset
        return Zone(str(tz), tz, int(fixed.total_seconds()))
    name = getattr(tz, "zone", None) or getattr(tz, "key", None)
    if name and getattr(tz, "zone", None):  # pytz's zones do not follow `fold`; zoneinfo's of the same name do
        tz = zoneinfo.ZoneInfo(name)
    return Zone(name or str(tz), tz)


def _local_day(instant, tzinfo):
    local = _dt.datetime.fromtimestamp(instant, tz=tzinfo)
    return (local.replace(tzinfo=None) - _EPOCH).days


def _first_instant_from(day, tzinfo):
    """The first instant whose local date is `day` (days since 1970) or a later one."""
    midnight = _EPOCH + _dt.timedelta(days=day)
    earlier = int(midnight.replace(tzinfo=tzinfo, fold=0).timestamp())
    later = int(midnight.replace(tzinfo=tzinfo, fold=1).timestamp())
    if earlier <= later:  # midnight is shown once, or twice (the earlier then)
        return earlier
    # The clocks skip midnight: the date begins where they change, between the two readings.
    low, high = later, earlier
    while high - low > 1:
        middle = (low + high) // 2
        if _local_day(middle, tzinfo) >= day:
            high = middle
        else:
            low = middle
    return high


def day_bounds(days: np.ndarray, z: Zone) -> tuple[np.ndarray, np.ndarray, np.ndarray]:
    """The first instants of local days (days since 1970, any shape, NOT_A_TIME where missing) and
    of their next dates, NOT_A_TIME for missing days, and where a date is skipped by the zone."""
    days = np.asarray(days, dtype=np.int64)
    missing = days == NOT_A_TIME
    if z.fixed is not None:
        starts = np.where(missing, NOT_A_TIME, days * _SECONDS_PER_DAY - z.fixed)
        return starts, np.where(missing, NOT_A_TIME, starts + _SECONDS_PER_DAY), np.zeros(days.shape, dtype=bool)
    unique, inverse = np.unique(np.where(missing, 0, days), return_inverse=True)
    firsts = {}
    for day in unique.tolist():
        for d in (day, day + 1):
            if d not in firsts:
                firsts[d] = _first_instant_from(d, z.tzinfo)
    starts = np.array([firsts[d] for d in unique.tolist()], dtype=np.int64)
    ends = np.array([firsts[d + 1] for d in unique.tolist()], dtype=np.int64)
    skipped = np.array([_local_day(s, z.tzinfo) != d for s, d in zip(starts.tolist(), unique.tolist())], dtype=bool)
    shape = days.shape
    starts, ends = starts[inverse].reshape(shape), ends[inverse].reshape(shape)
    return (np.where(missing, NOT_A_TIME, starts), np.where(missing, NOT_A_TIME, ends),
            skipped[inverse].reshape(shape) & ~missing)
