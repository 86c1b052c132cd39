"""On a cluster of two worker processes (on the loopback address), the Dask forms give exactly what
the package gives in this process: 10,000,000 positions and 100,000 days, in chunks."""
import dask
import dask.array as da
import dask.dataframe as dd
import numpy as np
import pandas as pd
import pytest
from distributed import Client, LocalCluster

import tagvaroskop as t
import tagvaroskop.dask as td


@pytest.fixture(scope="module")
def client():
    with LocalCluster(n_workers=2, threads_per_worker=1, processes=True, host="127.0.0.1",
                      dashboard_address=None) as cluster, Client(cluster) as c:
        yield c


def places(i, xp):
    """The same rows in NumPy (xp=np) as built lazily on the workers (xp=da)."""
    times = np.datetime64("1990-01-01T00:00:00") + (i * 97).astype("timedelta64[s]")
    return times, (i % 17999) / 100.0 - 89.99, (i % 36001) / 100.0 - 180.0


def test_ten_million_positions_on_the_cluster(client):
    n = 10_000_000
    azimuth, elevation = td.position(*places(da.arange(n, chunks=1_000_000), da))
    azimuth, elevation = dask.compute(azimuth, elevation)
    expected = t.position(*places(np.arange(n), np))
    assert np.array_equal(azimuth, expected[0]) and np.array_equal(elevation, expected[1])


def test_a_hundred_thousand_days_on_the_cluster(client):
    dates = pd.date_range("2005-01-01", periods=365, freq="D")
    grid = pd.DataFrame({"date": np.tile(dates, 274), "latitude": np.repeat(np.linspace(-68, 68, 274), 365),
                         "longitude": 13.4})
    frame = dd.from_pandas(grid, npartitions=8)
    days = td.day_events(frame.date, frame.latitude, frame.longitude, tz="Europe/Berlin").compute()
    pd.testing.assert_frame_equal(days, t.day_events(grid.date, grid.latitude, grid.longitude, tz="Europe/Berlin"))


def test_building_a_graph_computes_nothing():
    def refuse(partition):
        raise AssertionError("a partition was computed")

    frame = dd.from_pandas(pd.DataFrame({"date": pd.date_range("2005-01-01", periods=4), "lat": 51.0}), npartitions=2)
    dates = frame.date.map_partitions(refuse, meta=frame.date._meta)
    for lazy in (td.day_events(dates, frame.lat, 7.0), td.position(dates, frame.lat, 7.0),
                 td.minutes_above(dates, frame.lat, 7.0, [0, 5]), td.solar_position(dates, frame.lat, 7.0)):
        with pytest.raises(AssertionError, match="a partition was computed"):
            lazy.compute()


def test_arrays_with_a_last_axis_are_the_packages():
    dates = np.array(["2005-03-27", "2005-06-21", "2005-12-21"], "datetime64[D]")
    latitudes = np.array([[69.65], [-33.87]])
    lazy = td.minutes_above(da.from_array(dates, chunks=1), da.from_array(latitudes, chunks=1), 18.96, [-6, 0, 30],
                            tz="Europe/Oslo")
    expected = t.minutes_above(dates, latitudes, 18.96, [-6, 0, 30], tz="Europe/Oslo")
    for name, values in dask.compute(lazy)[0].items():
        np.testing.assert_array_equal(values, expected[name])
    years = td.year_series(da.from_array(np.array([2004, 2005]), chunks=1), 52.52, 13.405)
    table = t.year_series(pd.Series([2004, 2005]), 52.52, 13.405)
    np.testing.assert_array_equal(years["sunshine_hours"].compute().ravel(), table.sunshine_hours)
    np.testing.assert_array_equal(years["date"].compute().ravel(), table.index.get_level_values("date"))


def test_data_arrays_broadcast_by_name_and_stay_lazy():
    xr = pytest.importorskip("xarray")
    times = xr.DataArray(pd.date_range("2005-06-21", periods=5, freq="5H"), dims="time", name="time")
    latitude = xr.DataArray([-60.0, 0.0, 51.0], dims="lat", coords={"lat": [-60.0, 0.0, 51.0]})
    longitude = xr.DataArray([7.0, 151.0], dims="lon", coords={"lon": [7.0, 151.0]})
    lazy = t.solar_position(times.chunk({"time": 2}), latitude.chunk({"lat": 1}), longitude)
    assert lazy.elevation.chunks is not None and lazy.elevation.dims == ("time", "lat", "lon")
    expected = t.solar_position(times.values[:, None, None], latitude.values[:, None], longitude.values)
    for name in t.SOLAR_POSITION_COLUMNS:
        np.testing.assert_array_equal(lazy[name].compute().values, expected[name])
    grid = latitude.broadcast_like(longitude).transpose("lon", "lat")  # dimensions in another order
    days = t.day_events(times.dt.floor("D"), grid, longitude, tz="UTC")
    assert days.sunrise.dims == ("time", "lon", "lat") and list(days.lat.values) == [-60.0, 0.0, 51.0]
    assert days.sunrise.dtype == np.dtype("datetime64[ns]") and set(days.sun_state.values.ravel()) <= {"above", "below", "crossing"}


def test_a_bad_element_is_placed_in_its_block():
    latitude = da.from_array(np.array([40.0, 95.0, 60.0]), chunks=1)
    with pytest.raises(ValueError, match=r"at 0: 95.0 \(the position counted within the Dask block that starts at \(1,\)\)"):
        td.sun_times(np.datetime64("2005-06-21"), latitude, 7.0)["sunrise"].compute(scheduler="sync")
