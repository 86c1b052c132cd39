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


# The zone's offset is looked at every _STEP seconds: less than the least time between two of any
# zone's changes from 1900 to 2100 (3.99 days: Africa/Freetown in 1939), so that at most one change
# lies between two looks (checked for every zone of the database by the tests).
_STEP = 7 * _SECONDS_PER_DAY // 2
_MARGIN = 3 * _SECONDS_PER_DAY  # looked at beyond the days: their first instants lie within 14 hours


def _offset(instant: int, tzinfo: _dt.tzinfo) -> int:
    offset = _dt.datetime.fromtimestamp(instant, tzinfo).utcoffset()
    return int(offset.total_seconds()) if offset is not None else 0


def _offsets(days: np.ndarray, tzinfo: _dt.tzinfo) -> tuple[np.ndarray, np.ndarray]:
    """The zone's offsets around the sorted days (days since 1970): the instants from which each
    holds and the offsets (seconds). The offset is looked at every _STEP seconds over each run of
    days, from a few days before it to a few after; each run's first look starts a span of its own
    (what the zone did between runs is never asked), and where two looks of a run differ, the
    change between them is found to the second by bisection."""
    at = _dt.datetime.fromtimestamp
    looks: list[int] = []
    firsts: list[int] = []  # where each run's looks begin
    for run in np.split(days, np.flatnonzero(np.diff(days) > 4) + 1):
        first, last = int(run[0]) * _SECONDS_PER_DAY - _MARGIN, int(run[-1] + 1) * _SECONDS_PER_DAY + _MARGIN
        firsts.append(len(looks))
        looks += [*range(first, last, _STEP), last]
    offsets = [at(t, tzinfo).utcoffset() for t in looks]  # the hot loop: timedeltas, compared as they are
    begins = set(firsts)
    changed = [k for k in range(len(looks) - 1) if k + 1 not in begins and offsets[k] != offsets[k + 1]]
    # All changes bisected together, a round a halving: `before` keeps the old offset, `after` not.
    before, after = [looks[k] for k in changed], [looks[k + 1] for k in changed]
    old = [offsets[k] for k in changed]
    while any(b - a > 1 for a, b in zip(before, after)):
        middles = [(a + b) // 2 for a, b in zip(before, after)]
        kept = [at(m, tzinfo).utcoffset() == o for m, o in zip(middles, old)]
        for i, middle in enumerate(middles):
            if after[i] - before[i] > 1:
                (before if kept[i] else after)[i] = middle
    starts = sorted([looks[k] for k in firsts] + after)
    return np.array(starts, np.int64), np.array([_offset(t, tzinfo) for t in starts], np.int64)


def _first_instants(days: np.ndarray, starts: np.ndarray, offsets: np.ndarray) -> tuple[np.ndarray, np.ndarray]:
    """The first instant whose local date is each day or a later one, and the offset there. Over
    the span from starts[k] to starts[k + 1] the local times run up to starts[k + 1] + offsets[k],
    and these ends rise with k (spans last days, offsets change by hours): the first span that
    reaches past local midnight holds the instant, at midnight or where the span begins."""
    ends = np.append(starts[1:], np.iinfo(np.int64).max // 2) + offsets
    midnight = days * _SECONDS_PER_DAY
    k = np.searchsorted(ends, midnight, side="right")
    return np.maximum(starts[k], midnight - offsets[k]), offsets[k]


def day_bounds(days: np.ndarray, z: Zone) -> tuple[np.ndarray, np.ndarray, np.ndarray]:
    """The first instants of local days (days since 1970, any shape, NOT_A_TIME where missing) and
    of their next dates, NOT_A_TIME for missing days, and where a date is skipped by the zone."""
    days = np.asarray(days, dtype=np.int64)
    missing = days == NOT_A_TIME
    if z.fixed is not None:
        starts = np.where(missing, NOT_A_TIME, days * _SECONDS_PER_DAY - z.fixed)
        return starts, np.where(missing, NOT_A_TIME, starts + _SECONDS_PER_DAY), np.zeros(days.shape, dtype=bool)
    if missing.all():
        empty = np.full(days.shape, NOT_A_TIME, np.int64)
        return empty, empty.copy(), np.zeros(days.shape, dtype=bool)
    unique, inverse = np.unique(days[~missing], return_inverse=True)
    changes, offsets = _offsets(unique, z.tzinfo)
    firsts, offset = _first_instants(unique, changes, offsets)
    nexts, _ = _first_instants(unique + 1, changes, offsets)
    skipped = (firsts + offset) // _SECONDS_PER_DAY != unique  # the date begins no day: the zone skips it
    bounds = [np.full(days.shape, NOT_A_TIME, np.int64), np.full(days.shape, NOT_A_TIME, np.int64),
              np.zeros(days.shape, dtype=bool)]
    for bound, values in zip(bounds, (firsts, nexts, skipped)):
        bound[~missing] = values[inverse]
    return bounds[0], bounds[1], bounds[2]
