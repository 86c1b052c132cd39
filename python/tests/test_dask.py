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
