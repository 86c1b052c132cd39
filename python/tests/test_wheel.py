"""The package as pip users get it: a wheel built by `python3 -m build --wheel --no-isolation`,
installed into a new virtual environment, gives the numbers of build/python to the bit."""
import os
import pathlib
import subprocess
import sys

import pytest

PYTHON = pathlib.Path(__file__).resolve().parents[1]
NUMBERS = """
import hashlib, numpy as np, tagvaroskop as t
rng = np.random.default_rng(5)
times = np.datetime64("1900-01-01T00:00:00") + rng.integers(0, 201 * 365 * 86400, 5000).astype("timedelta64[s]")
lat, lon = rng.uniform(-90, 90, 5000), rng.uniform(-180, 360, 5000)
dates = times[:500].astype("datetime64[D]")
parts = [*t.position(times, lat, lon), *t.solar_position(times, lat, lon).values(),
         *t.day_events(dates, lat[:500], lon[:500], tz="Europe/Berlin").values(),
         *t.sun_times(dates, lat[:500], lon[:500]).values()]
print(t.__version__, hashlib.sha256(b"".join(np.ascontiguousarray(p).tobytes() for p in parts)).hexdigest())
"""


def test_the_wheel_in_a_new_environment_gives_the_same_numbers(tmp_path):
    # The tools run as a user runs them: without the sanitizers' runtimes some test builds preload.
    clean = {key: value for key, value in os.environ.items() if key not in ("PYTHONPATH", "LD_PRELOAD")}
    if subprocess.run([sys.executable, "-c", "import build, pybind11, setuptools"], env=clean).returncode != 0:
        pytest.skip("python3-build, pybind11 and setuptools are not installed")
    built = subprocess.run([sys.executable, "-m", "build", "--wheel", "--no-isolation", "--outdir", str(tmp_path)],
                           cwd=PYTHON, capture_output=True, text=True, env=clean)
    assert built.returncode == 0, built.stdout[-2000:] + built.stderr[-2000:]
    wheel = next(tmp_path.glob("tagvaroskop-*.whl"))
    subprocess.run([sys.executable, "-m", "venv", "--system-site-packages", str(tmp_path / "env")], check=True,
                   env=clean)
    installed = subprocess.run([str(tmp_path / "env/bin/pip"), "install", "-q", "--no-index", str(wheel)],
                               capture_output=True, text=True, env=clean)
    assert installed.returncode == 0, installed.stderr
    where = "import tagvaroskop; print(tagvaroskop.__file__)"
    in_env = subprocess.run([str(tmp_path / "env/bin/python"), "-c", where + NUMBERS], capture_output=True,
                            text=True, env=clean, cwd=tmp_path, check=True).stdout.splitlines()
    in_build = subprocess.run([sys.executable, "-c", NUMBERS], capture_output=True, text=True, check=True).stdout
    assert in_env[0].startswith(str(tmp_path / "env")) and in_env[1] == in_build.strip()
