"""What goes in and what comes out, as rows of tests/data/python/arguments.rows: wrong types and
values named, missing values kept missing, and pandas' conventions of indexes and alignment."""
import datetime
import pathlib

import numpy as np
import pandas as pd
import pytest

import tagvaroskop as t
from tagvaroskop import _tagvaroskop as ext

ROWS = pathlib.Path(__file__).resolve().parents[2] / "tests/data/python/arguments.rows"
NOON = np.datetime64("2005-06-21T11:00:00")


def rows():
    for line in ROWS.read_text(encoding="utf-8").splitlines():
        if line.strip() and not line.startswith("#"):
            name, call, expected = (part.strip() for part in line.split(" | "))
            yield pytest.param(call, expected, id=name)


def same(actual, expected):
    """Equal in value, dtype and index; NaN, NaT and NA equal to themselves."""
    if isinstance(expected, pd.DataFrame):
        pd.testing.assert_frame_equal(actual, expected)
    elif isinstance(expected, pd.Series):
        pd.testing.assert_series_equal(actual, expected)
    elif isinstance(expected, pd.Index):
        pd.testing.assert_index_equal(actual, expected)
    elif isinstance(expected, (tuple, list)):
        assert type(actual) is type(expected) and len(actual) == len(expected), actual
        for a, e in zip(actual, expected):
            same(a, e)
    elif expected is pd.NA:
        assert actual is pd.NA, actual
    else:
        if isinstance(expected, (np.ndarray, np.generic)):
            assert np.asarray(actual).dtype == expected.dtype, (actual, expected)
        np.testing.assert_array_equal(actual, expected)


@pytest.mark.parametrize("call, expected", rows())
def test_row(call, expected):
    scope = {"t": t, "ext": ext, "np": np, "pd": pd, "NOON": NOON}
    if expected.startswith("=="):
        same(eval(call, scope), eval(expected[2:], scope))
        return
    error, message = expected.split(": ", 1)
    with pytest.raises({"TypeError": TypeError, "ValueError": ValueError}[error]) as raised:
        eval(call, scope)
    assert str(raised.value).startswith(message), str(raised.value)


class GapOverMidnight(datetime.tzinfo):
    """A zone whose clocks jump from 23:30 to 00:30 on 2005-06-21 (UTC+1 before, UTC+2 after)."""

    def utcoffset(self, local):
        import datetime as dt
        if local is None:
            return None
        change = dt.datetime(2005, 6, 20, 23, 30)  # the last local time of the old offset
        naive = local.replace(tzinfo=None)
        if naive < change or (naive < change + dt.timedelta(hours=1) and local.fold == 0):
            return dt.timedelta(hours=1)
        return dt.timedelta(hours=2)

    def fromutc(self, moment):
        import datetime as dt
        offset = dt.timedelta(hours=1 if moment.replace(tzinfo=None) < dt.datetime(2005, 6, 20, 22, 30) else 2)
        return moment + offset


def test_a_day_whose_midnight_falls_in_a_gap_starts_where_the_clocks_change():
    days = t.day_events(["2005-06-21"], 51, 7, tz=GapOverMidnight())
    assert days["day_minutes"][0] == 1440 - 30  # from 00:30, 22:30 UTC, to the next midnight
