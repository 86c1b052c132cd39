"""The Zarr example as a global job runs: a scheduler and two workers as separate processes
(`dask scheduler`, `dask worker`), the client stopped by Ctrl-C and killed and started again, a
worker killed by its PID. The store ends equal to the grid computed in one call, and no block once
written is computed again."""
import glob
import os
import pathlib
import shutil
import signal
import subprocess
import sys
import time

import numpy as np
import pytest

import tagvaroskop as t

zarr = pytest.importorskip("zarr")
EXAMPLE = pathlib.Path(__file__).resolve().parents[1] / "examples/day_length_zarr.py"
YEAR, STEP, BLOCKS = 2025, 30.0, 12 * 7
# How long a job may take before it counts as hung: the sanitizer build's unoptimised module
# needs minutes for what the release build does in seconds.
WAIT = 600
# A gone client's blocks still at work on a worker land after it: a store counts as settled once
# no chunk came for longer than a block takes (1.6 s in the sanitizer build on a busy machine).
QUIET = 10


@pytest.fixture(scope="module")
def cluster(tmp_path_factory):
    if not shutil.which("dask"):
        pytest.skip("needs Dask's command line (python3-distributed)")
    file = tmp_path_factory.mktemp("cluster") / "scheduler.json"
    place = ["--scheduler-file", str(file), "--no-dashboard", "--host", "127.0.0.1"]
    quiet = {"stdout": subprocess.DEVNULL, "stderr": subprocess.DEVNULL}
    processes = [subprocess.Popen(["dask", "scheduler", "--port", "0", *place], **quiet)]
    processes += [subprocess.Popen(["dask", "worker", "--nthreads", "1", "--no-nanny", *place], **quiet) for _ in "ab"]
    from distributed import Client
    with Client(scheduler_file=str(file), timeout="30s") as client:
        client.wait_for_workers(2, timeout=30)
    yield file, processes[1:]
    for process in processes:
        process.kill(), process.wait()


@pytest.fixture(scope="module")
def expected():
    days = np.arange(np.datetime64(f"{YEAR}-01-01"), np.datetime64(f"{YEAR + 1}-01-01"))
    return t.day_events(days[:, None, None], np.arange(-90, 91, STEP)[:, None], np.arange(-180, 180, STEP),
                        tz="UTC")["sunshine_hours"]


def start(scheduler, store, step=STEP, **environment):
    return subprocess.Popen([sys.executable, str(EXAMPLE), str(scheduler), str(store), str(YEAR), str(step)],
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, env={**os.environ, **environment})


def written(store, at_least=None, client=None):
    """The store's chunk files and their identities: once there are `at_least` or the client ended,
    or without a count once QUIET seconds pass with no chunk of a gone client's tasks added."""
    while True:
        chunks = {path: (os.stat(path).st_ino, os.stat(path).st_mtime_ns)
                  for path in glob.glob(f"{store}/sunshine_hours/*.*.0")}
        if at_least is not None and (len(chunks) >= at_least or client.poll() is not None):
            return chunks
        time.sleep(0.005 if at_least is not None else QUIET)
        if at_least is None and len(glob.glob(f"{store}/sunshine_hours/*.*.0")) == len(chunks):
            return chunks


def test_an_interrupted_job_computes_only_the_missing_blocks(cluster, tmp_path, expected):
    store = tmp_path / "grid.zarr"
    for stop, blocks in ((signal.SIGINT, 10), (signal.SIGKILL, 30)):
        client = start(cluster[0], store)
        written(store, blocks, client)
        client.send_signal(stop)
        error = client.communicate(timeout=WAIT)[1]
        assert client.returncode == (130 if stop == signal.SIGINT else -signal.SIGKILL), error
    before = written(store)
    # What a worker killed inside a write leaves: a part under a temporary name, no chunk.
    cut = next(f"{i}.{j}.0" for i in range(12) for j in range(7) if f"{store}/sunshine_hours/{i}.{j}.0" not in before)
    (store / "sunshine_hours" / f"{cut}.{'0' * 32}.partial").write_bytes(b"\x02\x01")
    refused = start(cluster[0], store, step=10.0).communicate(timeout=WAIT)[1]  # another grid's job
    assert "hält das Jahr 2025 im Abstand 30.0°, nicht 2025 im Abstand 10.0°" in refused, refused
    client = start(cluster[0], store)
    output, error = client.communicate(timeout=WAIT)
    assert client.returncode == 0, error
    assert f"{BLOCKS - len(before)} von {BLOCKS} Blöcken zu rechnen" in output and 30 <= len(before) < BLOCKS
    after = written(store, BLOCKS, client)
    assert len(after) == BLOCKS and all(after[path] == identity for path, identity in before.items())
    assert f"{store}/sunshine_hours/{cut}" in after
    np.testing.assert_array_equal(zarr.open_array(str(store / "sunshine_hours"))[:], expected)


def test_a_killed_worker_costs_only_its_block(cluster, tmp_path, expected):  # last: it kills both workers
    store = tmp_path / "grid.zarr"
    client = start(cluster[0], store)
    written(store, 1, client)
    cluster[1][0].kill()
    at_kill = len(written(store, 0, client))
    error = client.communicate(timeout=WAIT)[1]
    assert client.returncode == 0 and at_kill < BLOCKS, error
    np.testing.assert_array_equal(zarr.open_array(str(store / "sunshine_hours"))[:], expected)
    # With no worker left no block can finish: the job stops after the stall it was given.
    cluster[1][1].kill()
    stalled = start(cluster[0], tmp_path / "stalled.zarr", TAGVAROSKOP_STALL_SECONDS="2")
    error = stalled.communicate(timeout=WAIT)[1]
    assert stalled.returncode == 1 and error.endswith("kein Block fertig geworden; derselbe Aufruf setzt später fort.\n")
