"""What mypy infers for the package's calls, checked by mypy in make test (never run): NumPy in,
NumPy out. pandas and Dask's collections carry no types here, so their calls come out as Any."""
from typing import assert_type

import numpy as np

import tagvaroskop as t
import tagvaroskop.dask as td

times = np.array(["2025-06-21T12:00"], "datetime64[s]")
assert_type(t.position(times, 52.5, 13.4), tuple[np.ndarray, np.ndarray])
assert_type(t.solar_position(times, 52.5, 13.4, pressure=101325.0), dict[str, np.ndarray])
assert_type(t.day_events("2025-06-21", 52.5, 13.4), dict[str, np.ndarray])
assert_type(t.sun_times(["2025-06-21"], 52.5, 13.4, tz="Europe/Berlin"), dict[str, np.ndarray])
assert_type(t.minutes_above("2025-06-21", 52.5, 13.4, [0.0, 10.0]), dict[str, np.ndarray])
assert_type(td.sun_times(times, 52.5, 13.4), dict[str, td.da.Array])
