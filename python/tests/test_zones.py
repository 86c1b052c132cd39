# The local days of every zone of the database, from its offsets looked at every 3.5 days, equal
# those found day by day from datetime's own rules; and no zone changes twice between two looks.
import datetime as dt
import importlib
import zoneinfo

import numpy as np
import pytest

from tagvaroskop import _zones

EPOCH = dt.datetime(1970, 1, 1)
FIRST, AFTER_LAST = -2208988800, 4133980800  # 1900-01-01 and 2101-01-01
ZONES = sorted(zoneinfo.available_timezones())
RANDOM = np.random.default_rng(11)
PURE = importlib.import_module("zoneinfo._zoneinfo")  # the pure-Python reader: its table of changes


def local_day(instant, tzinfo):
    return (dt.datetime.fromtimestamp(instant, tz=tzinfo).replace(tzinfo=None) - EPOCH).days


def first_instant_from(day, tzinfo):
    """The first instant whose local date is `day` or a later one, from datetime's folds: midnight's
    earlier reading, or where the clocks skip midnight, the first instant after the skip."""
    midnight = EPOCH + dt.timedelta(days=day)
    earlier = int(midnight.replace(tzinfo=tzinfo, fold=0).timestamp())
    later = int(midnight.replace(tzinfo=tzinfo, fold=1).timestamp())
    if earlier <= later:
        return earlier
    low, high = later, earlier
    while high - low > 1:
        middle = (low + high) // 2
        low, high = (low, middle) if local_day(middle, tzinfo) >= day else (middle, high)
    return high


def changes(name):
    return [t for t in PURE.ZoneInfo.no_cache(name)._trans_utc if FIRST <= t < AFTER_LAST]


def test_no_zone_changes_twice_between_two_looks():
    gaps = [(b - a, name) for name in ZONES for a, b in zip(changes(name), changes(name)[1:])]
    assert min(gaps) > (_zones._STEP, ""), min(gaps)


# Days around each of the zone's changes, and 300 random ones 1900-2100: runs of days years apart,
# between which the zone changes more than once (what it did there must not leak into a run).
@pytest.mark.parametrize("name", ZONES)
def test_every_zones_days_are_those_of_its_rules(name):
    tzinfo = zoneinfo.ZoneInfo(name)
    spread = set(RANDOM.integers(FIRST // 86400, AFTER_LAST // 86400 - 1, 300).tolist())
    for days in (spread, spread | {t // 86400 + d for t in changes(name) for d in (-1, 0, 1)}):
        days = np.array(sorted(days))
        starts, ends, skipped = _zones.day_bounds(days, _zones.Zone(name, tzinfo))
        expected = [first_instant_from(d, tzinfo) for d in days.tolist()]
        assert starts.tolist() == expected
        assert ends.tolist() == [first_instant_from(d + 1, tzinfo) for d in days.tolist()]
        assert skipped.tolist() == [local_day(s, tzinfo) != d for s, d in zip(expected, days.tolist())]
