"""The Python package measured as its users run it (medians of repeated runs in one process):

- position over 10,000,000 rows (beside BM_PositionsOfRowsOnBothCores of build-bench/bench/bench_solar,
  the C++ loop of the same rows), and PyEphem's and astropy's rates where they are installed;
- a tz-aware DatetimeIndex against the same times as datetime64;
- the memory of one place against 100,000,000 times beyond the inputs, against the outputs;
- how long Ctrl-C takes to end a long call;
- day_events over 100,010 (day, place) rows (the rows of BM_DayFactsOfRows);
- sun_times on one core beside the same fields of day_events, astral and PyEphem;
- the grid example (python/examples/day_length_grid.py) on a local cluster of two worker processes
  against the same grid in this process.

    PYTHONPATH=build/python python3 bench/python_bench.py
"""
import os
import signal
import statistics
import subprocess
import sys
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
    """Rows per second of PyEphem (one row at a time, azimuth and altitude read: its compute() is
    lazy) and astropy (vectorised), on the first n rows."""
    rates = {}
    try:
        import ephem
        sun, observer = ephem.Sun(), ephem.Observer()
        observer.pressure = 0

        def one_at_a_time():
            for s, a, o in zip(times[:n].astype("datetime64[s]").tolist(), latitude[:n], longitude[:n]):
                observer.date, observer.lat, observer.lon = s, str(a), str(o)
                sun.compute(observer)
                float(sun.az), float(sun.alt)
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


def positions():
    times, latitude, longitude = rows(np.arange(N))
    seconds = median(lambda: t.position(times, latitude, longitude))
    print(f"position, {N:,} rows: {seconds:.3f} s, {N / seconds / 1e6:.2f} million rows/s")
    for name, rate in peers(times, latitude, longitude, 20_000).items():
        print(f"  {name}: {rate / 1e3:.1f} thousand rows/s")
    index = pd.date_range("2025-01-01", periods=2_000_000, freq="min", tz="Europe/Berlin")
    plain = index.tz_convert(None).to_numpy()
    with_index = median(lambda: t.position(index, 52.52, 13.405), 7)
    with_array = median(lambda: t.position(plain, 52.52, 13.405), 7)
    print(f"a tz-aware DatetimeIndex of 2,000,000 times: {with_index:.3f} s (a frame); the same times as "
          f"datetime64: {with_array:.3f} s ({with_index / with_array:.2f}x)")


def memory():
    many = np.datetime64("2000-01-01T00:00:00", "ns") + np.arange(100_000_000).astype("timedelta64[s]")
    tracemalloc.start()
    base = tracemalloc.get_traced_memory()[0]
    azimuth, elevation = t.position(many, 52.52, 13.405)
    peak = (tracemalloc.get_traced_memory()[1] - base) / 2**20
    tracemalloc.stop()
    outputs = (azimuth.nbytes + elevation.nbytes) / 2**20
    print(f"one place, 100,000,000 times ({many.nbytes / 2**20:.0f} MiB): {peak:.0f} MiB beyond the inputs at the "
          f"peak, the outputs {outputs:.0f} MiB ({peak / outputs:.2f}x)")


def interruption():
    """Seconds from SIGINT to the end of a process one second into a call of 10^8 positions."""
    # A shell without job control starts background jobs with SIGINT ignored, and Python then
    # installs no handler of its own: the child puts back the one an interactive user has.
    script = ("import signal; signal.signal(signal.SIGINT, signal.default_int_handler)\n"
              "import numpy as np, tagvaroskop as t\n"
              "times = np.datetime64('2000-01-01T00:00:00', 'ns') + np.arange(100_000_000).astype('timedelta64[s]')\n"
              "print('ready', flush=True)\n"
              "t.position(times, 52.52, 13.405)\n")
    delays = []
    for _ in range(5):
        process = subprocess.Popen([sys.executable, "-c", script], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                   text=True, env=dict(os.environ))
        process.stdout.readline()
        time.sleep(1)
        sent = time.perf_counter()
        process.send_signal(signal.SIGINT)
        process.wait()
        delays.append(time.perf_counter() - sent)
    print(f"Ctrl-C one second into 10^8 positions: the process ends {statistics.median(delays):.3f} s later "
          f"(median of 5; max {max(delays):.3f} s)")


def days():
    dates = pd.date_range("2025-01-01", periods=365, freq="D")
    grid = pd.DataFrame({"date": np.tile(dates, 274), "latitude": np.repeat(np.linspace(-68, 68, 274), 365)})
    cpu = time.process_time()
    wall = median(lambda: t.day_events(grid.date, grid.latitude, 13.4), 3)
    cpu = (time.process_time() - cpu) / 3
    print(f"day_events, {len(grid):,} rows: {wall:.3f} s wall, {cpu / len(grid) * 1e6:.1f} us of CPU a day")


def sun_times_beside_peers(n=20_000):
    """CPU a day on one core: sun_times, the same fields of day_events, astral 1.6 and PyEphem."""
    rng = np.random.default_rng(1)
    dates = np.datetime64("2000-01-01") + rng.integers(0, 20000, n).astype("timedelta64[D]")
    latitude, longitude = rng.uniform(-65, 65, n), rng.uniform(-180, 180, n)

    def cpu(call, runs=5):
        return statistics.median(_cpu(call) for _ in range(runs)) / n * 1e6

    ours = cpu(lambda: t.sun_times(dates, latitude, longitude, tz="UTC", threads=1))
    whole = cpu(lambda: t.day_events(dates, latitude, longitude, tz="UTC", threads=1))
    print(f"sun_times, {n:,} days on one core: {ours:.2f} us a day; day_events {whole:.2f} us ({whole / ours:.1f}x)")
    rows = list(zip(dates.astype(object).tolist(), latitude.tolist(), longitude.tolist()))
    try:
        import astral

        sky = astral.Astral()

        def by_astral():
            for day, lat, lon in rows:
                try:
                    sky.sunrise_utc(day, lat, lon), sky.solar_noon_utc(day, lon), sky.sunset_utc(day, lat, lon)
                except astral.AstralError:
                    pass
        peer = cpu(by_astral, 3)
        print(f"  astral {astral.__version__}, sunrise, noon and sunset: {peer:.2f} us a day ({peer / ours:.2f}x ours)")
    except ImportError:
        pass
    try:
        import ephem

        sun, observer = ephem.Sun(), ephem.Observer()
        observer.pressure, observer.horizon = 0, "-0:50"

        def by_ephem():
            for day, lat, lon in rows[:2000]:
                observer.date, observer.lat, observer.lon = day, str(lat), str(lon)
                try:
                    observer.next_rising(sun), observer.next_transit(sun), observer.next_setting(sun)
                except (ephem.AlwaysUpError, ephem.NeverUpError):
                    pass
        peer = cpu(by_ephem, 3) * n / 2000
        print(f"  PyEphem {ephem.__version__}: {peer:.2f} us a day ({peer / ours:.1f}x ours)")
    except ImportError:
        pass


ZONES = {"Europe/Berlin": (52.52, 13.405), "America/New_York": (40.71, -74.01), "Australia/Sydney": (-33.87, 151.21)}


def sun_times_in_zones(n=3650):
    """CPU a day on one core, the same 3,650 days at one place: sun_times and day_events in UTC and
    in three zones with clock changes (the same call, only tz differs), and astral 1.6 in the zone."""
    dates = np.datetime64("2015-01-01") + np.arange(n).astype("timedelta64[D]")

    def cpu(call, runs=7):
        return statistics.median(_cpu(call) for _ in range(runs)) / n * 1e6

    for name, (latitude, longitude) in ZONES.items():
        figures = {}
        for function in (t.sun_times, t.day_events):
            utc = cpu(lambda: function(dates, latitude, longitude, tz="UTC", threads=1))
            figures[function.__name__] = cpu(lambda: function(dates, latitude, longitude, tz=name, threads=1))
            print(f"{name}: {function.__name__} {utc:.2f} us a day in UTC, {figures[function.__name__]:.2f} "
                  f"in the zone ({figures[function.__name__] / utc:.2f}x)")
        try:
            import astral

            place = astral.Location(("", "", latitude, longitude, name, 0))
            days = dates.astype(object).tolist()

            def by_astral():
                for day in days:
                    try:
                        place.sunrise(day, local=True), place.solar_noon(day, local=True), place.sunset(day, local=True)
                    except astral.AstralError:
                        pass
            peer = cpu(by_astral, 3)
            print(f"  astral {astral.__version__} in the zone: {peer:.2f} us a day "
                  f"(sun_times {figures['sun_times'] / peer:.2f}x astral's)")
        except ImportError:
            pass


def _cpu(call):
    start = time.process_time()
    call()
    return time.process_time() - start


def grid_example(years=(2025, 2026, 2027), step=5.0):
    """The grid of each year on two worker processes and in this process, medians over the years.
    Each run is a graph of its own: a graph computed again can be answered from results the
    scheduler has not yet released."""
    sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "python", "examples"))
    import day_length_grid
    from distributed import Client, LocalCluster

    grids = [day_length_grid.day_lengths(year, step) for year in years]
    local = []
    for lazy in grids:
        dates, latitude, longitude = (lazy[name].values for name in ("time", "latitude", "longitude"))
        local.append(median(lambda: t.day_events(dates[:, None, None], latitude[:, None], longitude, tz="UTC"), 1))
    with LocalCluster(n_workers=2, threads_per_worker=1, host="127.0.0.1", dashboard_address=None) as cluster, \
            Client(cluster):
        day_length_grid.day_lengths(years[0] - 1, step).compute()  # the workers import the package once
        on_cluster = [median(lazy.compute, 1) for lazy in grids]
    ratio = statistics.median(on_cluster) / statistics.median(local)
    print(f"grid example, {grids[0].size:,} days a year ({step:g} degrees, {years[0]}-{years[-1]}): two worker "
          f"processes {statistics.median(on_cluster):.2f} s, in this process {statistics.median(local):.2f} s "
          f"({ratio:.2f}x)")


def main():
    positions()
    memory()
    interruption()
    days()
    sun_times_beside_peers()
    sun_times_in_zones()
    grid_example()


if __name__ == "__main__":  # the cluster's worker processes import this file
    main()
