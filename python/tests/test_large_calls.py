"""What long calls owe their callers: Ctrl-C ends them, and the threads follow the CPUs the process
may use; the grid example writes what the package computes in this process."""
import os
import pathlib
import signal
import subprocess
import sys
import time

import numpy as np
import pandas as pd
import pytest

import tagvaroskop as t

EXAMPLES = pathlib.Path(__file__).resolve().parents[1] / "examples"


def python(script, **options):
    return subprocess.Popen([sys.executable, "-c", script], env=dict(os.environ), text=True,
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE, **options)


def test_ctrl_c_ends_a_long_call():
    # Two million days on one thread take 40 s: without the check between blocks the process would
    # outlive the timeout.
    process = python("import numpy as np, tagvaroskop as t\n"
                     "print('ready', flush=True)\n"
                     "t.day_events('2005-06-21', np.linspace(-60, 60, 2_000_000), 7.0, threads=1)\n")
    assert process.stdout.readline() == "ready\n"
    time.sleep(2)
    process.send_signal(signal.SIGINT)
    _, errors = process.communicate(timeout=20)
    assert process.returncode != 0 and "KeyboardInterrupt" in errors and "day_facts" in errors, errors


def test_threads_follow_the_affinity():
    process = python("import os; os.sched_setaffinity(0, {min(os.sched_getaffinity(0))})\n"
                     "from tagvaroskop import _tagvaroskop as e; print(e.usable_cores())")
    assert process.communicate(timeout=20)[0] == "1\n"


def test_grid_example_on_two_workers(tmp_path, capsys):
    import socket
    import warnings

    xr = pytest.importorskip("xarray")
    sys.path.insert(0, str(EXAMPLES))
    try:
        import day_length_grid
    finally:
        sys.path.pop(0)
    with socket.socket() as other, warnings.catch_warnings(record=True) as warned:  # another cluster's port
        other.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        try:
            other.bind(("127.0.0.1", 8787))
            other.listen()
        except OSError:
            pass  # something holds it already
        warnings.simplefilter("always")
        day_length_grid.main(2005, 30.0, str(tmp_path / "grid.nc"), workers=2)
    assert not [w for w in warned if "already in use" in str(w.message)]  # no dashboard, no warning
    assert "[####" in capsys.readouterr().out  # the progress bar
    with xr.open_dataarray(tmp_path / "grid.nc") as written:
        dates = pd.date_range("2005-01-01", "2005-12-31", freq="D").to_numpy()
        expected = t.day_events(dates[:, None, None], written.latitude.values[:, None], written.longitude.values,
                                tz="UTC")["sunshine_hours"]
        assert written.dims == ("time", "latitude", "longitude") and written.shape == (365, 7, 12)
        np.testing.assert_array_equal(written.values, expected)
