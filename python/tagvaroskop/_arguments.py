"""The arguments of the package's functions: pandas objects or array-likes broadcast together,
checked with messages that name the argument and the first bad element."""
import numpy as np
import pandas as pd

# The years the model takes, as tagvaroskop-cli does.
_FIRST = np.datetime64("1900-01-01", "ns").astype(np.int64)
_AFTER_LAST = np.datetime64("2101-01-01", "ns").astype(np.int64)


class Arguments:
    """Named arguments as flat arrays of one length, and how to shape results like them."""

    def __init__(self, **values):
        pandas = [v for v in values.values() if isinstance(v, (pd.Series, pd.Index))]
        self.index = pandas[0].index if pandas and isinstance(pandas[0], pd.Series) else (pandas[0] if pandas else None)
        for name, v in values.items():
            if isinstance(v, pd.Series) and not v.index.equals(self.index):
                raise ValueError(f"{name}: its index differs from the other arguments'")
        try:
            arrays = np.broadcast_arrays(*[np.asarray(v) for v in values.values()])
        except ValueError:
            shapes = ", ".join(f"{n} {np.shape(v)}" for n, v in values.items())
            raise ValueError(f"the arguments' shapes do not broadcast: {shapes}") from None
        self.shape = arrays[0].shape if arrays else ()
        self.flat = {name: np.ravel(a) for name, a in zip(values, arrays)}
        self.pandas = bool(pandas)

    def fail(self, name, bad, what):
        """Raises a ValueError for the first True of `bad` (flat) in argument `name`."""
        first = int(np.flatnonzero(bad)[0])
        where = np.unravel_index(first, self.shape) if len(self.shape) > 1 else first
        if self.index is not None:
            where = self.index[first]
        raise ValueError(f"{name}: {what} at {where!r}: {self.flat[name][first]!r}")

    def degrees(self, name, low, high):
        values = self.flat[name].astype(np.float64, copy=False)
        if np.isnan(values).any():
            self.fail(name, np.isnan(values), "not a number")
        bad = ~((values >= low) & (values <= high))
        if bad.any():
            self.fail(name, bad, f"not between {low} and {high} degrees")
        return values


def instants(time):
    """Times as datetime64[ns] in UTC, of their shape: naive ones are taken as UTC. A datetime64
    array is taken as it is, without a copy."""
    if isinstance(time, pd.Series):
        return pd.Series(pd.to_datetime(time, utc=True).dt.tz_localize(None), index=time.index)
    array = np.asarray(time)
    if array.dtype.kind == "M":
        return array.astype("datetime64[ns]", copy=False)
    values = pd.to_datetime(np.ravel(array.astype(object)), utc=True).tz_localize(None)
    return values.to_numpy().reshape(array.shape)


def nanoseconds(args, name):
    """The argument's times as nanoseconds since 1970, checked: the extension drops the fraction
    of a second, as the tool does."""
    ns = args.flat[name].astype("datetime64[ns]", copy=False).view(np.int64)
    if (ns == np.iinfo(np.int64).min).any():
        args.fail(name, ns == np.iinfo(np.int64).min, "not a time")
    outside = (ns < _FIRST) | (ns >= _AFTER_LAST)
    if outside.any():
        args.fail(name, outside, "not within the years 1900 to 2100")
    return ns


def days(date):
    """Calendar dates as days since 1970, of their shape."""
    if isinstance(date, pd.Series):
        values = pd.to_datetime(date)
        values = values.dt.tz_localize(None) if values.dt.tz is not None else values
        return pd.Series(values.dt.normalize().to_numpy().astype("datetime64[D]").astype(np.int64), index=date.index)
    values = pd.to_datetime(np.ravel(np.asarray(date, dtype=object)))
    values = values.tz_localize(None) if values.tz is not None else values
    return values.normalize().to_numpy().astype("datetime64[D]").astype(np.int64).reshape(np.shape(date))


def check_years(args, name, days_since_1970):
    d = days_since_1970.astype("datetime64[D]")
    bad = (d < np.datetime64("1900-01-01")) | (d > np.datetime64("2100-12-31"))
    if bad.any():
        args.fail(name, bad, "not within the years 1900 to 2100")
