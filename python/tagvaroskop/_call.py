"""One call of a package function: its pandas arguments aligned, all of them broadcast as NumPy
broadcasts, and its results shaped and labelled like them."""
from __future__ import annotations

from typing import Any, NoReturn

import numpy as np
import pandas as pd


def _shown(element: Any) -> str:
    if isinstance(element, np.datetime64):
        return str(element)
    return repr(element.item() if isinstance(element, np.generic) else element)


class Call:
    """The arguments of one call, by name.

    pandas objects (Series, an Index such as a DatetimeIndex) label their rows. Where Series carry
    the same labels in another order, they are aligned to the first pandas argument, as pandas
    aligns; other labels are refused. After `broadcast`, `rows()` gives the index of a result frame.
    """

    def __init__(self, **arguments: Any) -> None:
        self.arguments = dict(arguments)
        self.labels: dict[str, pd.Index] = {}
        self.index: pd.Index | None = None
        first = None
        for name, value in arguments.items():
            if isinstance(value, pd.DataFrame):
                raise TypeError(f"{name}: expected one column, not a DataFrame")
            if not isinstance(value, (pd.Series, pd.Index)):
                continue
            labels = value.index if isinstance(value, pd.Series) else value
            if first is None:
                first, self.index = name, labels
            elif not labels.equals(self.index):
                if not (isinstance(value, pd.Series) and _same_labels(labels, self.index)):
                    raise ValueError(f"{name}: its labels differ from those of {first}; align them first "
                                     f"(columns of one DataFrame, .reindex) or pass arrays")
                value, labels = value.reindex(self.index), self.index
            self.arguments[name], self.labels[name] = value, labels
        self.pandas = first is not None
        self.shape: tuple[int, ...] = ()
        self._arrays: dict[str, np.ndarray] = {}

    def fail(self, name: str, position: int, what: str, element: Any, error: type = ValueError) -> NoReturn:
        """Raises `error` naming the argument, the element's label or position, and the element."""
        shape = np.shape(self.arguments[name])
        if name in self.labels:
            where = self.labels[name][position]
        elif len(shape) > 1:
            where = tuple(int(k) for k in np.unravel_index(position, shape))
        else:
            where = position
        raise error(f"{name}: {what} at {where!r}: {_shown(element)}")

    def broadcast(self, **arrays: np.ndarray) -> list[np.ndarray]:
        """The arrays broadcast to one shape, as read-only views (nothing is copied)."""
        try:
            self.shape = np.broadcast_shapes(*(a.shape for a in arrays.values()))
        except ValueError:
            shapes = ", ".join(f"{name} {a.shape}" for name, a in arrays.items())
            raise ValueError(f"the arguments' shapes do not broadcast together: {shapes}") from None
        self._arrays = arrays
        return [np.broadcast_to(a, self.shape) for a in arrays.values()]

    def rows(self) -> pd.Index:
        """The rows of a pandas result: the pandas arguments' index where the result has its length,
        otherwise one level a broadcast axis (a MultiIndex in C order), each labelled by the first
        argument that varies along that axis alone (its index, or its values under its name)."""
        if len(self.shape) == 1 and self.index is not None and len(self.index) == self.shape[0]:
            return self.index
        levels = [self._axis_labels(axis) for axis in range(len(self.shape))]
        return levels[0] if len(levels) == 1 else pd.MultiIndex.from_product(levels)

    def _axis_labels(self, axis: int) -> pd.Index:
        ndim, extent = len(self.shape), self.shape[axis]
        for name, array in self._arrays.items():
            own = (1,) * (ndim - array.ndim) + array.shape
            if extent > 1 and own[axis] == extent and all(e == 1 for k, e in enumerate(own) if k != axis):
                if name in self.labels:
                    return self.labels[name]
                return pd.Index(np.asarray(self.arguments[name]).ravel(), name=name)
        return pd.RangeIndex(extent, name=f"axis_{axis}")

    def frame(self, columns: dict[Any, Any]) -> pd.DataFrame:
        return pd.DataFrame(columns, index=self.rows())

    def block_frame(self, block: np.ndarray, names: list[str]) -> pd.DataFrame:
        """A frame of one dtype from an array of a row a column (fields first), without a copy."""
        return pd.DataFrame(block.reshape(len(names), -1).T, index=self.rows(), columns=names, copy=False)


def _same_labels(a: pd.Index, b: pd.Index) -> bool:
    return len(a) == len(b) and a.is_unique and b.is_unique and bool(a.isin(b).all())
