"""solar_position: pvlib's columns from the model's own numbers, geometric ones to the bit, the
refraction of a published formula, and the equation of time, declination and hour angle as
almanacs give them."""
import numpy as np
import pandas as pd
import pytest

import tagvaroskop as t

RANDOM = np.random.default_rng(3)


def test_geometric_columns_are_the_positions():
    n = 20000
    times = np.datetime64("1900-01-01T00:00:00") + RANDOM.integers(0, 201 * 365 * 86400, n).astype("timedelta64[s]")
    times[0] = np.datetime64("2021-06-15T19:54:26")  # due north: 360 in the model, 0 here
    lat, lon = RANDOM.uniform(-90, 90, n), RANDOM.uniform(-180, 360, n)
    lat[0], lon[0] = 88.03, 61.54
    azimuth, elevation = t.position(times, lat, lon)
    table = t.solar_position(times, lat, lon)
    assert np.array_equal(table["elevation"], elevation.astype(np.float64))
    assert np.array_equal(table["zenith"], 90.0 - elevation.astype(np.float64))
    assert np.array_equal(table["azimuth"], np.where(azimuth == 360, 0, azimuth).astype(np.float64))
    assert table["azimuth"].min() >= 0 and table["azimuth"].max() < 360
    lift = table["apparent_elevation"] - table["elevation"]
    assert np.array_equal(table["apparent_zenith"], 90.0 - table["apparent_elevation"])
    assert np.all(lift[elevation < -0.8334] == 0) and np.all(lift[elevation > -0.8333] > 0)
    no_air = t.solar_position(times, lat, lon, pressure=np.nan, temperature=np.nan)  # missing: apparent ones alone
    assert np.isnan(no_air["apparent_elevation"]).all() and np.isnan(no_air["apparent_zenith"]).all()
    assert all(np.array_equal(no_air[k], table[k]) for k in ("elevation", "zenith", "azimuth", "hour_angle"))


@pytest.mark.parametrize("pressure, temperature, scale", [(101000, 10, 1.0), (50500, 10, 0.5), (101000, -10, 283 / 263)])
def test_refraction_follows_pressure_and_temperature(pressure, temperature, scale):
    # Where the geometric elevation is 10 degrees, Saemundsson's formula gives 5.4072 arc minutes at
    # 1010 hPa and 10 degrees Celsius.
    times = pd.date_range("2005-06-21 00:00", periods=1440, freq="min", tz="UTC")
    table = t.solar_position(times, 52.0, 13.0, pressure=pressure, temperature=temperature)
    lift = np.interp(10.0, table.elevation.iloc[:720], (table.apparent_elevation - table.elevation).iloc[:720])
    assert lift * 60 == pytest.approx(5.4072 * scale, rel=2e-3)


# PyEphem 4.1.4 at 12:00 UTC: the sun's apparent declination, and its hour angle at Greenwich in
# minutes of time (the equation of time).
@pytest.mark.parametrize("date, minutes, declination", [("2005-02-11", -14.24, -13.896), ("2005-05-14", 3.68, 18.722),
                                                         ("2005-07-26", -6.49, 19.352), ("2005-11-03", 16.43, -15.181),
                                                         ("2005-06-21", -1.78, 23.441)])
def test_equation_of_time_and_declination_are_the_ephemeris(date, minutes, declination):
    table = t.solar_position(np.datetime64(f"{date}T12:00"), 0.0, 0.0)
    assert table["equation_of_time"] == pytest.approx(minutes, abs=0.05)
    assert table["declination"] == pytest.approx(declination, abs=0.01)
    assert table["hour_angle"] == pytest.approx(minutes / 4, abs=0.01)


def test_hour_angle_is_zero_at_solar_noon_and_negative_before():
    # The highest point lies off the transit by the declination's change over the day: 30 s at 69.65 N.
    days = t.day_events(pd.Series(["2005-03-01", "2005-08-15"]), [-33.87, 69.65], [151.21, 18.96], tz="UTC")
    for noon, lat, lon in zip(days.solar_noon, [-33.87, 69.65], [151.21, 18.96]):
        angles = t.solar_position(pd.DatetimeIndex([noon - pd.Timedelta(hours=3), noon]), lat, lon)["hour_angle"]
        assert angles.iloc[0] == pytest.approx(-45.0, abs=0.25) and angles.iloc[1] == pytest.approx(0.0, abs=0.15)
