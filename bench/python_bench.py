"""The Python package measured as its users run it (medians of five runs, one process):
position over 10,000,000 rows (time, peak memory beyond the inputs and the outputs, and beside
PyEphem's and astropy's rates for the same rows, where they are installed), day_events over
100,000 (day, place) rows (the rows of BM_DayFactsOfRows), and position on a local Dask cluster of two worker processes.

    PYTHONPATH=build/python python3 bench/python_bench.py
The C++ loop of the same rows is BM_PositionsOfRowsOnBothCores of build-bench/bench/bench_solar.
"""
import statistics
import time
import tracemalloc

import numpy as np
import pandas as pd

import tagvaroskop as t

N = 10_000_000


def rows(i):
    return (np.datetime64("1990-01-01T00:00:00", "ns") + (i * 97).astype("timedelta64[s]"),
            (i % 17999) / 100.0 - 89.99, (i % 36001) / 100.0 - 180.0)


def median(call, runs=5):
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        call()
        times.append(time.perf_counter() - start)
    return statistics.median(times)


def peers(times, latitude, longitude, n):
    """Rows per second of PyEphem (one row at a time) and astropy (vectorised), on the first n."""
    rates = {}
    try:
        import ephem
        sun, observer = ephem.Sun(), ephem.Observer()
        observer.pressure = 0

        def one_at_a_time():
            for s, a, o in zip(times[:n].astype("datetime64[s]").tolist(), latitude[:n], longitude[:n]):
                observer.date, observer.lat, observer.lon = s, str(a), str(o)
                sun.compute(observer)
        rates["PyEphem"] = n / median(one_at_a_time, 3)
    except ImportError:
        pass
    try:
        import astropy.coordinates as c
        import astropy.time as at
        import astropy.units as u
        from astropy.utils import iers
        iers.conf.auto_download = False

        def vectorised():
            frame = c.AltAz(obstime=at.Time(times[:n]), location=c.EarthLocation(lat=latitude[:n] * u.deg,
                                                                               lon=longitude[:n] * u.deg))
            c.get_sun(frame.obstime).transform_to(frame)
        rates["astropy"] = n / median(vectorised, 3)
    except ImportError:
        pass
    return rates


def main():
    times, latitude, longitude = rows(np.arange(N))
    seconds = median(lambda: t.position(times, latitude, longitude))
    print(f"position, {N:,} rows: {seconds:.3f} s, {N / seconds / 1e6:.1f} million rows/s")
    tracemalloc.start()
    base = tracemalloc.get_traced_memory()[0]
    t.position(times, latitude, longitude)
    extra = (tracemalloc.get_traced_memory()[1] - base) / 2**20
    tracemalloc.stop()
    inputs = (times.nbytes + latitude.nbytes + longitude.nbytes) / 2**20
    print(f"  memory beyond the inputs ({inputs:.0f} MiB): {extra:.0f} MiB at the peak (the outputs: {N * 8 / 2**20:.0f} MiB)")
    for name, rate in peers(times, latitude, longitude, 20_000).items():
        print(f"  {name}: {rate / 1e3:.1f} thousand rows/s")

    dates = pd.date_range("2025-01-01", periods=365, freq="D")
    grid = pd.DataFrame({"date": np.tile(dates, 274), "latitude": np.repeat(np.linspace(-68, 68, 274), 365)})
    cpu = time.process_time()
    wall = median(lambda: t.day_events(grid.date, grid.latitude, 13.4), 3)
    cpu = (time.process_time() - cpu) / 3
    print(f"day_events, {len(grid):,} rows: {wall:.3f} s wall, {cpu / len(grid) * 1e6:.1f} us of CPU a day")

    from distributed import Client, LocalCluster
    import dask
    import dask.array as da
    import tagvaroskop.dask as td
    with LocalCluster(n_workers=2, threads_per_worker=1, host="127.0.0.1", dashboard_address=None) as cluster, \
            Client(cluster):
        lazy = td.position(*rows(da.arange(N, chunks=N // 8)))
        dask.compute(*lazy)  # the workers import the package once
        local = median(lambda: t.position(*rows(np.arange(N))), 3)
        cluster_seconds = median(lambda: dask.compute(*lazy), 3)
        print(f"dask, two worker processes, {N:,} positions, the rows made where they are computed: "
              f"{cluster_seconds:.3f} s; in this process, the rows made here: {local:.3f} s "
              f"({cluster_seconds / local:.2f}x)")


if __name__ == "__main__":  # the cluster's worker processes import this file
    main()
