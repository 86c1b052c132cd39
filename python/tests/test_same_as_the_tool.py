"""Every number of the package equals tagvaroskop-cli's for the same input, and every time is the
same instant: random moments, places, days and zones, and the days that zones make odd."""
import io
import json
import os
import subprocess

import numpy as np
import pandas as pd
import pytest

import tagvaroskop as t

CLI = os.environ.get("TAGVAROSKOP_CLI", "build/cli/tagvaroskop-cli")
RANDOM = np.random.default_rng(7)
ZONES = ["UTC", "+05:45", None, "Europe/Berlin", "America/Los_Angeles", "Australia/Lord_Howe", "Pacific/Apia",
         "Atlantic/Azores", "America/Havana", "Antarctica/Troll", "Antarctica/Casey", "Asia/Kathmandu"]


def cli(*arguments, stdin=""):
    done = subprocess.run([CLI, *arguments], input=stdin, capture_output=True, text=True, check=True)
    return done.stdout


def test_positions_are_the_tools_to_the_bit():
    n = 3000
    times = np.datetime64("1900-01-01T00:00:00") + RANDOM.integers(0, 201 * 365 * 86400, n).astype("timedelta64[s]")
    lat, lon = RANDOM.uniform(-90, 90, n).round(6), RANDOM.uniform(-180, 360, n).round(6)
    lines = "".join(f"{str(s)[:10]},{str(s)[11:19]},{a!r},{o!r}\n" for s, a, o in zip(times, lat, lon))
    tool = pd.read_csv(io.StringIO(cli("position", "--input", "-", "--tz", "UTC", "--format", "csv", stdin=lines)),
                       dtype={"azimuth_deg": str, "elevation_deg": str})
    azimuth, elevation = t.position(times, lat, lon)
    assert np.array_equal(azimuth, tool.azimuth_deg.astype(np.float32))
    assert np.array_equal(elevation, tool.elevation_deg.astype(np.float32))


def random_days(n):
    dates = pd.Timestamp("1900-01-01") + pd.to_timedelta(RANDOM.integers(0, 73000, n), unit="D")
    return [d.date().isoformat() for d in dates], RANDOM.uniform(-89, 89, n).round(4), RANDOM.uniform(-180, 180, n).round(4)


ODD_DAYS = [("Pacific/Apia", "2011-12-29"), ("Atlantic/Azores", "2022-10-30"), ("America/Havana", "2022-11-06"),
            ("Antarctica/Troll", "2022-10-30"), ("Antarctica/Casey", "2022-03-12"), ("Australia/Lord_Howe", "2005-10-30")]


@pytest.mark.parametrize("tz", ZONES)
def test_days_are_the_tools(tz):
    dates, lat, lon = random_days(25)
    dates += [d for z, d in ODD_DAYS if z == tz]
    lat, lon = np.append(lat, [-40.0] * (len(dates) - len(lat))), np.append(lon, [-5.25] * (len(dates) - len(lon)))
    stdin = "".join(f"{d},{a!r},{o!r}\n" for d, a, o in zip(dates, lat, lon))
    zone = ["--tz", tz] if tz else []
    tool = [json.loads(line) for line in cli("day", "--input", "-", "--format", "json", *zone, stdin=stdin).splitlines()]
    ours = t.day_events(pd.Series(dates), pd.Series(lat), pd.Series(lon), tz=tz)
    times = t.sun_times(pd.Series(dates), pd.Series(lat), pd.Series(lon), tz=tz)
    for key in ("sunrise", "solar_noon", "sunset", "sun_state"):
        pd.testing.assert_series_equal(times[key], ours[key], obj=key)
    for i, record in enumerate(tool):
        for key in t.DAY_FIELDS:
            value = ours[key][i]
            if key.endswith(("_minutes", "_hours", "_deg")):
                assert value == np.float32(record[key]), (key, record)
            elif key.endswith("_state"):
                assert value == record[key], (key, record)
            else:
                assert (pd.isna(value) and record[key] is None) or value == pd.Timestamp(record[key]), (key, record)


def test_heights_and_years_are_the_tools():
    tool = pd.read_csv(io.StringIO(cli("day", "2005-06-21", "69.65", "18.96", "--tz", "Europe/Oslo", "--format", "csv",
                                       "--height", "-6", "--height", "30")))
    ours = t.minutes_above("2005-06-21", 69.65, 18.96, [-6, 30], tz="Europe/Oslo")
    assert list(ours["minutes_above"]) == list(tool.minutes_above)
    assert list(ours["above_state"]) == list(tool.above_state)
    tool = pd.read_csv(io.StringIO(cli("year", "2004", "-33.8688", "151.2093", "--format", "csv")))
    ours = t.year_series(2004, -33.8688, 151.2093)
    assert np.array_equal(ours.sunshine_hours.to_numpy(), tool.sunshine_hours.to_numpy(np.float32))
    assert ours.daily_change_seconds.astype("float").fillna(-1).tolist() == tool.daily_change_seconds.fillna(-1).tolist()
    assert [d.isoformat()[:10] for d in ours.index] == list(tool.date)


# Days whose sun stays above a height for less than a minute, crosses it at a day's edge or
# three times within a minute, and a top that lasts minutes at the pole: found against every
# second of the day, in the package as in the tool, and sun_times (at -6 degrees too) as
# day_events and the tool.
EDGE_DAYS = [("2100-12-31", 43.04802, 359.99, "-12:00", 23.967613), ("2005-06-10", 90.0, 0.0, "UTC", 23.07518),
             ("2010-12-16", 67.51538, 15.0, "UTC", -0.833), ("1942-11-23", 87.65048, -127.3196, "UTC", -22.5944),
             ("2031-06-20", 89.99, -179.99, "Pacific/Chatham", 23.4362)]


def same_instant(value, text):
    """Whether a time of the package (naive ones in UTC) is the tool's RFC 3339 time or both are missing."""
    value = np.asarray(value).reshape(-1)[0]
    if text is None:
        return bool(pd.isna(value))
    stamp = pd.Timestamp(value)
    return (stamp if stamp.tzinfo else stamp.tz_localize("UTC")) == pd.Timestamp(text)


@pytest.mark.parametrize("date, lat, lon, tz, height", EDGE_DAYS)
def test_days_at_the_edges_are_the_tools(date, lat, lon, tz, height):
    record = json.loads(cli("day", date, repr(lat), repr(lon), "--tz", tz, "--height", repr(height), "--format", "json"))
    tool = record["heights"][0]
    above = t.minutes_above(date, lat, lon, [height], tz=tz)
    assert [above[key][0] for key in ("minutes_above", "above_state")] == [tool["minutes_above"], tool["above_state"]]
    for key in ("first_minute_above", "last_minute_above", "rising", "setting"):
        assert same_instant(above[key][0], tool[key]), key
    times, days = t.sun_times(date, lat, lon, tz=tz), t.day_events(date, lat, lon, tz=tz)
    civil = t.sun_times(date, lat, lon, tz=tz, elevation=-6.0)
    pairs = [(times[key], key) for key in ("sunrise", "solar_noon", "sunset")]
    for ours, key in pairs + [(civil["sunrise"], "civil_dawn"), (civil["sunset"], "civil_dusk")]:
        assert same_instant(ours, record[key]) and same_instant(days[key], record[key]), key
    assert times["sun_state"] == days["sun_state"] == record["sun_state"]
