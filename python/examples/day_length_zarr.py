"""A year of daily day lengths on a latitude-longitude grid, computed on a Dask cluster of separate
processes and written to a Zarr store block by block, so that an interrupted job goes on where it
stopped:

    dask scheduler --scheduler-file cluster.json &
    dask worker --scheduler-file cluster.json --nworkers 2 --nthreads 1 &    # with PYTHONPATH
    PYTHONPATH=build/python python3 python/examples/day_length_zarr.py cluster.json out.zarr [YEAR] [STEP]

The first argument is the scheduler's file or address (tcp://host:port), or "local" to compute in
this process on all cores. Each block (a month of days, 30 degrees of latitude, every longitude)
is one task, which computes it and writes it as one chunk of the store; the store writes a chunk to
a temporary name and renames it, so a chunk is there whole or not at all. Started again after
Ctrl-C, a killed client or a killed worker, the job computes only the blocks whose chunks are
missing, and the store ends the same to the bit as after an uninterrupted run. A worker that dies
loses only the block it was computing: the scheduler gives it to another. Where no block has been
finished for STALL seconds (120; the environment's TAGVAROSKOP_STALL_SECONDS) the job stops with a
message, and starting it again goes on.

Written: sunshine_hours (hours of the sun's centre above the horizon, counted minute by minute as
the dialog counts them, of every UTC day) over time x latitude x longitude; `xarray.open_zarr`
reads it with its coordinates.
"""
from __future__ import annotations

import os
import sys
import time
from concurrent import futures
from concurrent.futures import FIRST_COMPLETED, ThreadPoolExecutor
from typing import Any, Iterable

import numpy as np
import zarr

import tagvaroskop

DAYS_PER_BLOCK = 31
BLOCK_DEGREES = 30.0


def axes(year: int, step: float) -> tuple[np.ndarray, np.ndarray, np.ndarray]:
    """The grid's days, latitudes and longitudes."""
    days = np.arange(np.datetime64(f"{year}-01-01"), np.datetime64(f"{year + 1}-01-01"))
    return days, np.arange(-90, 90 + step / 2, step), np.arange(-180, 180, step)


def open_store(path: str, year: int, step: float) -> zarr.Array:
    """The store's day lengths, created with the grid's coordinates on the first run; a store of
    another grid is refused."""
    root = zarr.open_group(path, mode="a")
    if "sunshine_hours" in root:
        hours = root["sunshine_hours"]
        if (hours.attrs.get("year"), hours.attrs.get("step")) != (year, step):
            raise SystemExit(f"{path} hält das Jahr {hours.attrs.get('year')} im Abstand {hours.attrs.get('step')}°, "
                             f"nicht {year} im Abstand {step}°.")
        return hours
    days, latitudes, longitudes = axes(year, step)
    for name, values, attributes in (
            ("time", np.arange(days.size), {"units": f"days since {year}-01-01", "calendar": "proleptic_gregorian"}),
            ("latitude", latitudes, {"units": "degrees_north"}), ("longitude", longitudes, {"units": "degrees_east"})):
        root.array(name, values, fill_value=None, overwrite=True).attrs.update(_ARRAY_DIMENSIONS=[name], **attributes)
    rows = max(1, int(BLOCK_DEGREES / step))
    hours = root.create("sunshine_hours", shape=(days.size, latitudes.size, longitudes.size), dtype="f4",
                        chunks=(DAYS_PER_BLOCK, rows, longitudes.size), fill_value=np.nan, overwrite=True)
    # The last attribute written: a store with it is complete but for its chunks.
    hours.attrs.update(_ARRAY_DIMENSIONS=["time", "latitude", "longitude"], units="h", year=year, step=step,
                       long_name="Stunden mit der Sonne über dem Horizont (UTC-Tage)")
    zarr.consolidate_metadata(path)  # the chunks come later; the metadata stays as it is
    return hours


def missing_blocks(hours: zarr.Array) -> list[tuple[int, int]]:
    """The blocks (time, latitude) whose chunk the store does not hold."""
    return [block for block in all_blocks(hours) if f"{hours.path}/{block[0]}.{block[1]}.0" not in hours.store]


def all_blocks(hours: zarr.Array) -> list[tuple[int, int]]:
    """Every block (time, latitude) of the store, in order."""
    times, rows = (-(-size // chunk) for size, chunk in zip(hours.shape[:2], hours.chunks[:2]))
    return [(i, j) for i in range(times) for j in range(rows)]


def write_block(path: str, year: int, step: float, block: tuple[int, int]) -> tuple[int, int]:
    """Computes one block and writes it as its chunk (on a worker)."""
    hours = zarr.open_array(f"{path}/sunshine_hours", mode="r+")
    days, latitudes, longitudes = axes(year, step)
    rows, columns = (slice(k * size, (k + 1) * size) for k, size in zip(block, hours.chunks))
    # One thread a block, as Dask runs its tasks: the cluster's workers or this process's pool
    # give each core its block.
    values = tagvaroskop.day_events(days[rows, None, None], latitudes[columns, None], longitudes, tz="UTC", threads=1)
    hours[rows, columns, :] = values["sunshine_hours"]
    return block


def show_progress(done: int, total: int) -> None:
    bar = "#" * (40 * done // total)
    print(f"\r[{bar:<40}] {done} von {total} Blöcken", end="", flush=True)


def run(pending: Iterable[Any], wait: Any, total: int, done: int, stall: float) -> int:
    """Waits for the tasks, showing progress; stops with status 1 where none finishes for `stall`
    seconds. Each task's failure is raised here. `wait(tasks, timeout)` gives the finished tasks
    and the others, as concurrent.futures.wait does."""
    pending = set(pending)
    while pending:
        finished, pending = wait(pending, stall)
        if not finished:
            print(f"\nSeit {stall:g} s ist kein Block fertig geworden; derselbe Aufruf setzt später fort.",
                  file=sys.stderr)
            return 1
        for task in finished:
            task.result()
        done += len(finished)
        show_progress(done, total)
    print()
    return 0


def run_here(path: str, year: int, step: float, blocks: list[tuple[int, int]], total: int, stall: float) -> int:
    """The blocks on this process's cores; on Ctrl-C the blocks not yet begun are dropped."""
    pool = ThreadPoolExecutor(os.cpu_count())
    try:
        tasks = [pool.submit(write_block, path, year, step, b) for b in blocks]
        return run(tasks, lambda tasks, timeout: futures.wait(tasks, timeout, FIRST_COMPLETED), total,
                   total - len(blocks), stall)
    finally:
        pool.shutdown(wait=True, cancel_futures=True)


def run_on_cluster(scheduler: str, path: str, year: int, step: float, blocks: list[tuple[int, int]], total: int,
                   stall: float) -> int:
    """The blocks as tasks of the cluster; when the client goes, the scheduler forgets them."""
    from distributed import Client, wait

    def first_finished(tasks: set[Any], timeout: float) -> tuple[set[Any], set[Any]]:
        try:
            return tuple(wait(tasks, timeout=timeout, return_when="FIRST_COMPLETED"))  # type: ignore[return-value]
        except TimeoutError:
            return set(), tasks

    where = {"scheduler_file": scheduler} if os.path.isfile(scheduler) else {"address": scheduler}
    with Client(**where, timeout="30s") as client:
        tasks = [client.submit(write_block, path, year, step, b, key=f"block-{b[0]}-{b[1]}") for b in blocks]
        return run(tasks, first_finished, total, total - len(blocks), stall)


def main(scheduler: str, path: str, year: int = 2025, step: float = 1.0) -> int:
    hours = open_store(path, year, step)
    blocks = missing_blocks(hours)
    total = len(all_blocks(hours))
    print(f"{path}: {len(blocks)} von {total} Blöcken zu rechnen", flush=True)
    stall = float(os.environ.get("TAGVAROSKOP_STALL_SECONDS", "120"))
    started = time.perf_counter()
    try:
        status = (run_here(path, year, step, blocks, total, stall) if scheduler == "local"
                  else run_on_cluster(scheduler, path, year, step, blocks, total, stall))
    except KeyboardInterrupt:
        left = len(missing_blocks(hours))
        print(f"\nUnterbrochen: {total - left} von {total} Blöcken geschrieben; derselbe Aufruf setzt fort.",
              file=sys.stderr)
        return 130
    if status == 0:
        print(f"{path}: {hours.size:,} Tage in {time.perf_counter() - started:.1f} s")
    return status


if __name__ == "__main__":  # the workers unpickle write_block by value: they import nothing of this file
    if len(sys.argv) < 3:
        raise SystemExit(__doc__)
    arguments = sys.argv[1:]
    sys.exit(main(arguments[0], arguments[1], int(arguments[2]) if len(arguments) > 2 else 2025,
                  float(arguments[3]) if len(arguments) > 3 else 1.0))
