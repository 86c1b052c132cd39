"""What goes in and what comes out: broadcasting, scalars, empty arrays, pandas indexes and zones,
and wrong arguments as a ValueError that names the argument and its first bad element."""
import numpy as np
import pandas as pd
import pytest

import tagvaroskop as t

NOON = np.datetime64("2005-06-21T11:00:00")


def test_numpy_broadcasts_and_pandas_keeps_its_index():
    azimuth, elevation = t.position(NOON, np.array([[51.0], [-33.0]]), np.array([7.0, 151.0, -118.0]))
    assert azimuth.shape == elevation.shape == (2, 3) and azimuth.dtype == np.float32
    assert (azimuth[0, 0], elevation[0, 0]) == (np.float32(163.5004), np.float32(61.67238))
    assert t.position(NOON, 51, 7)[0].shape == ()
    assert t.position(np.array([], "datetime64[s]"), 51, 7)[0].shape == (0,)
    index = pd.Index(["köln", "sydney"], name="ort")
    times = pd.Series(pd.to_datetime(["2005-06-21 13:00", "2005-06-21 21:00"]).tz_localize("Europe/Berlin"), index=index)
    frame = t.position(times, pd.Series([51.0, -33.87], index=index), 7)
    assert frame.index.equals(index) and frame.azimuth_deg.iloc[0] == np.float32(163.5004)
    days = t.day_events(pd.Series(["2005-06-21"], index=["x"]), 51, 7, tz="Europe/Berlin")
    assert str(days.sunrise.dt.tz) == "Europe/Berlin" and days.sun_state.dtype == t.STATES
    assert np.isnat(t.day_events("2005-06-21", 80, 0)["sunset"]) and t.day_events("2005-06-21", 80, 0)["sun_state"] == "above"


@pytest.mark.parametrize("tz, minutes", [(None, 1440), ("UTC", 1440), ("+05:45", 1440), ("UTC-03:30", 1440),
                                         ("Europe/Berlin", 1380), ("Antarctica/Troll", 1320)])
def test_zones_name_a_calendar(tz, minutes):
    assert t.day_events("2005-03-27", 52.52, 13.405, tz=tz)["day_minutes"] == minutes


@pytest.mark.parametrize("call, message", [
    (lambda: t.position(NOON, 91, 7), "latitude: not between -90 and 90 degrees at 0: 91"),
    (lambda: t.position(NOON, [51, np.nan], 7), "latitude: not a number at 1"),
    (lambda: t.position(NOON, 51, pd.Series([7, 400], index=["a", "b"])), "longitude: not between -180 and 360 degrees at 'b'"),
    (lambda: t.position([NOON, np.datetime64("NaT")], 51, 7), "time: not a time at 1"),
    (lambda: t.position(np.datetime64("2101-01-01T00:00"), 51, 7), "time: not within the years 1900 to 2100"),
    (lambda: t.position([NOON] * 3, [51, 52], 7), "shapes do not broadcast: time (3,), latitude (2,)"),
    (lambda: t.day_events(["2011-12-29", "2011-12-30"], -13.8, -171.75, tz="Pacific/Apia"),
     "date: a date that Pacific/Apia skips at 1"),
    (lambda: t.day_events("2005-06-21", 51, 7, tz="Berlin"), "tz: 'Berlin' is no zone"),
    (lambda: t.day_events("2005-06-21", 51, 7, tz="+14:30"), "does not lie between -12:00 and +14:00"),
    (lambda: t.minutes_above("2005-06-21", 51, 7, [0, 91]), "heights: not between -90 and 90 degrees at 1"),
    (lambda: t.year_series(2101, 51, 7), "year: not a year from 1900 to 2100 at 0"),
])
def test_wrong_arguments_are_named(call, message):
    with pytest.raises(ValueError, match=message.replace("(", r"\(").replace(")", r"\)").replace("+", r"\+")):
        call()
