"""A year of daily day lengths on a latitude-longitude grid, as a Dask-backed xarray DataArray
written to NetCDF: the hours of sunshine (the sun's centre above the horizon, counted minute by
minute as the dialog counts them) of every UTC day at every grid point.

    PYTHONPATH=build/python python3 python/examples/day_length_grid.py [YEAR] [STEP] [FILE.nc] [WORKERS] [dashboard]

STEP is the grid's spacing in degrees (1 by default: 181 x 360 points, 365 days, about 24 million
days, some minutes on two cores); WORKERS > 0 runs it on a local cluster of that many worker
processes, 0 in this process with Dask's threads. A progress bar shows how far it is (Dask's
ProgressBar in this process, distributed's progress on the cluster); "dashboard" after the workers
starts the cluster's dashboard and prints its address, otherwise none runs.
"""
from __future__ import annotations

import sys
from typing import Any

import dask
import numpy as np
import pandas as pd
import xarray as xr

import tagvaroskop


def day_lengths(year: int, step: float) -> xr.DataArray:
    """The lazy grid of sunshine hours (time x latitude x longitude), in chunks of a month and
    30 degrees of latitude."""
    dates = xr.DataArray(pd.date_range(f"{year}-01-01", f"{year}-12-31", freq="D"), dims="time", name="time")
    latitude = xr.DataArray(np.arange(-90, 90 + step / 2, step), dims="latitude")
    longitude = xr.DataArray(np.arange(-180, 180, step), dims="longitude")
    latitude, longitude = latitude.assign_coords(latitude=latitude), longitude.assign_coords(longitude=longitude)
    days = tagvaroskop.day_events(dates.chunk({"time": 31}), latitude.chunk({"latitude": max(1, int(30 / step))}),
                                  longitude, tz="UTC")
    hours = days.sunshine_hours.rename("sunshine_hours")
    return hours.assign_attrs(units="h", long_name="Stunden mit der Sonne über dem Horizont (UTC-Tage)")


def main(year: int = 2025, step: float = 1.0, path: str = "day_lengths.nc", workers: int = 2,
         dashboard: bool = False) -> xr.DataArray:
    hours = day_lengths(year, step)
    if workers > 0:
        from distributed import Client, LocalCluster, progress

        # Without a dashboard the scheduler's web server takes a free port rather than 8787, so
        # that another cluster on the machine neither clashes with it nor causes a warning.
        place: dict[str, Any] = {"dashboard_address": ":8787"} if dashboard else {
            "dashboard_address": None, "scheduler_kwargs": {"dashboard_address": ":0"}}
        with LocalCluster(n_workers=workers, threads_per_worker=1, host="127.0.0.1", **place) as cluster, \
                Client(cluster) as client:
            if dashboard:
                print(f"Dashboard: {client.dashboard_link}", flush=True)
            written = client.compute(hours.to_netcdf(path, compute=False))
            progress(written)
            written.result()
            print()
    else:
        from dask.diagnostics import ProgressBar

        with dask.config.set(scheduler="threads"), ProgressBar():
            hours.to_netcdf(path)
    print(f"{path}: {hours.size:,} Tage, {dict(hours.sizes)}")
    return hours


if __name__ == "__main__":  # the cluster's worker processes import this file
    arguments = sys.argv[1:]
    main(int(arguments[0]) if arguments else 2025, float(arguments[1]) if len(arguments) > 1 else 1.0,
         arguments[2] if len(arguments) > 2 else "day_lengths.nc", int(arguments[3]) if len(arguments) > 3 else 2,
         len(arguments) > 4 and arguments[4] == "dashboard")
