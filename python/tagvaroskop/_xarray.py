"""The package's functions over xarray DataArrays: broadcast by dimension name, coordinates kept,
lazy where Dask holds the data (``xarray.apply_ufunc`` with ``dask="parallelized"``). xarray is
imported only when a DataArray comes in."""
from __future__ import annotations

import sys
from typing import Any, Callable, Optional

import numpy as np


def given(*arguments: Any) -> bool:
    """Whether a DataArray is among the arguments."""
    xr = sys.modules.get("xarray")
    return xr is not None and any(isinstance(a, xr.DataArray) for a in arguments)


def apply(function: Callable, arguments: dict[str, Any], fields: list[tuple[str, Any]],
          trailing: Optional[tuple[str, np.ndarray]] = None, threads: Optional[int] = None, **keywords: Any):
    """A Dataset of `fields` (name, dtype): `function` in its NumPy form over the DataArrays and
    scalars of `arguments`, with a last dimension `trailing` (name, coordinate) where it adds one.
    Each Dask block runs on one thread unless `threads` says otherwise."""
    import xarray as xr

    for name, value in arguments.items():
        if not isinstance(value, xr.DataArray) and np.ndim(value) > 0:
            raise TypeError(f"{name}: with DataArrays, expected a DataArray (its dimensions named) or a scalar")
    lazy = any(isinstance(a, xr.DataArray) and a.chunks is not None for a in arguments.values())
    threads = 1 if lazy and threads is None else threads
    names = list(arguments)

    def block(*arrays: np.ndarray) -> tuple[np.ndarray, ...]:
        try:
            result = function(**dict(zip(names, arrays)), threads=threads, **keywords)
        except (TypeError, ValueError) as error:
            if not lazy:
                raise
            kind = TypeError if isinstance(error, TypeError) else ValueError  # a subclass may take other arguments
            raise kind(f"{error} (the position counted within a Dask block)") from None
        result = result if isinstance(result, dict) else dict(zip((name for name, _ in fields), result))
        return tuple(np.asarray(result[name]).astype(dtype, copy=False) for name, dtype in fields)

    core = [[trailing[0]] if trailing else [] for _ in fields]
    sizes = {"output_sizes": {trailing[0]: len(trailing[1])}} if trailing else {}
    outputs = xr.apply_ufunc(block, *arguments.values(), output_core_dims=core, dask="parallelized",
                             output_dtypes=[dtype for _, dtype in fields], dask_gufunc_kwargs=sizes)
    dataset = xr.Dataset({name: output for (name, _), output in zip(fields, outputs)})
    return dataset.assign_coords({trailing[0]: trailing[1]}) if trailing else dataset
