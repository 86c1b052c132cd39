"""The extension's result arrays in the forms the package gives them: NumPy, pandas and xarray.

The extension marks a missing value in each dtype: int32 counts INT32_MIN, int64 instants NaT,
int8 states -1, floats NaN. In NumPy (and xarray) results counts are float64 with NaN, instants
datetime64 in UTC with NaT and states strings, "" where missing; in pandas results counts are
nullable Int32, instants tz-aware in the day's zone and states categorical.
"""
from __future__ import annotations

import datetime as _dt
from typing import Optional

import numpy as np
import pandas as pd

STATES = pd.CategoricalDtype(["above", "below", "crossing"])
MISSING_INTEGER = np.iinfo(np.int32).min
_STATE_WORDS = np.array(list(STATES.categories) + [""], dtype="U8")  # -1 picks ""


def as_numpy(values: np.ndarray, time_unit: str = "s") -> np.ndarray:
    if values.dtype == np.int32:
        return np.where(values == MISSING_INTEGER, np.nan, values)
    if values.dtype == np.int64:
        times = values.view("datetime64[s]")
        return times if time_unit == "s" else times.astype(f"datetime64[{time_unit}]")
    if values.dtype == np.int8:
        return _STATE_WORDS[values]
    return values


def as_pandas(values: np.ndarray, tzinfo: Optional[_dt.tzinfo]) -> pd.api.extensions.ExtensionArray | np.ndarray:
    flat = values.ravel()
    if flat.dtype == np.int32:
        return pd.arrays.IntegerArray(flat, flat == MISSING_INTEGER)
    if flat.dtype == np.int64:
        times = pd.DatetimeIndex(flat.view("datetime64[s]").astype("datetime64[ns]"))
        return times.tz_localize("UTC").tz_convert(tzinfo).array
    if flat.dtype == np.int8:
        return pd.Categorical.from_codes(flat, dtype=STATES)
    return flat


def numpy_dtypes(raw: dict[str, np.ndarray], time_unit: str = "s") -> list[tuple[str, np.dtype]]:
    """The fields and dtypes of the NumPy form of the extension's results (of any length)."""
    return [(name, as_numpy(values[:0], time_unit).dtype) for name, values in raw.items()]
