"""Each argument of the package's functions turned into the NumPy array that the extension takes,
checked without copying it: a wrong type is a TypeError and a wrong value a ValueError, each naming
the argument and its first bad element; a missing value (NaN, NaT, None) stays missing."""
from __future__ import annotations

import datetime as _dt
from fractions import Fraction
from typing import Any, Callable, NamedTuple, NoReturn, Union

import numpy as np
import pandas as pd

from . import _tagvaroskop as _ext

NOT_A_TIME = np.iinfo(np.int64).min  # NaT as an int64
# The instants and dates the model takes, as tagvaroskop-cli does: 1900-01-01 up to 2101-01-01 UTC.
FIRST_SECOND, AFTER_LAST_SECOND = -2208988800, 4133980800
_YEARS = "not within the years 1900 to 2100"
_SECONDS: dict[str, Union[int, Fraction]] = {"W": 604800, "D": 86400, "h": 3600, "m": 60, "s": 1, "ms": Fraction(1, 10**3),
            "us": Fraction(1, 10**6), "ns": Fraction(1, 10**9), "ps": Fraction(1, 10**12),
            "fs": Fraction(1, 10**15), "as": Fraction(1, 10**18)}
_INT64 = (np.iinfo(np.int64).min + 1, np.iinfo(np.int64).max)

# fail(name, flat position in the argument, what is wrong, the element, the exception class)
Fail = Callable[[str, int, str, Any, type], NoReturn]


class Times(NamedTuple):
    """datetime64 values viewed as int64, each standing for values·num/den seconds since 1970."""

    values: np.ndarray
    num: int
    den: int


def _unmasked(value: Any, missing: Any) -> Any:
    """A masked array with its masked elements missing (NaN, NaT); anything else as it is."""
    if not np.ma.isMaskedArray(value):
        return value
    if value.dtype.kind in "biu":
        value = value.astype(np.float64)
    return value.filled(missing)


def _native_order(array: np.ndarray) -> np.ndarray:
    """The array in this machine's byte order (a copy only where it is not)."""
    return array if array.dtype.isnative else array.astype(array.dtype.newbyteorder("="))


def _time_array(value: Any, unit: str) -> np.ndarray:
    """Times as an array, masked elements NaT; floats that are all NaN (a column of times with
    nothing in it, as a CSV reader gives it) all NaT."""
    array = np.asarray(_unmasked(value, np.datetime64("NaT")))
    if array.dtype.kind == "f" and array.size > 0 and bool(np.isnan(array).all()):
        return np.full(array.shape, np.datetime64("NaT"), f"datetime64[{unit}]")
    return array


def _checked(array: np.ndarray, name: str, fail: Fail) -> np.ndarray:
    """datetime64 range-checked in its own unit, then in native byte order and a unit the extension
    takes."""
    array = _native_order(_with_unit(array))
    _check_range(array.view(np.int64), array.dtype, array, name, fail)
    return _native(array)


def _kind(array: np.ndarray, name: str) -> str:
    """What an object array holds, by pandas' inference, missing values passed over."""
    return pd.api.types.infer_dtype(array.ravel(), skipna=True) if array.dtype == object else array.dtype.kind


def _numbers_hint(name: str, what: str) -> TypeError:
    unit, units = ("D", "days") if name == "date" else ("s", "seconds")
    return TypeError(f"{name}: expected times, not {what}; numbers of {units} since 1970 are times with "
                     f"pd.to_datetime(x, unit=\"{unit}\") or x.astype(\"datetime64[{unit}]\")")


def _refuse_non_times(array: np.ndarray, name: str) -> None:
    kind = _kind(array, name)
    if kind in ("i", "u", "f", "integer", "floating", "mixed-integer", "mixed-integer-float", "decimal"):
        raise _numbers_hint(name, "numbers")
    if kind in ("b", "boolean"):
        raise TypeError(f"{name}: expected times, not booleans")
    if kind in ("m", "timedelta", "timedelta64"):
        raise TypeError(f"{name}: expected times, not durations (timedelta)")
    if kind in ("c", "complex", "V", "bytes", "categorical", "interval", "period"):
        raise TypeError(f"{name}: expected times, not {kind}")


def _parse(array: np.ndarray, name: str, fail: Fail, utc: bool) -> pd.DatetimeIndex:
    """Strings, dates and datetime objects (any shape) as a flat DatetimeIndex; None and NaN are NaT."""
    flat = array.ravel()
    if array.dtype.kind in "OU":
        relative = [isinstance(x, str) and x.strip().lower() in ("now", "today") for x in flat]
        if any(relative):
            bad = relative.index(True)
            fail(name, bad, "not a time (it would change from run to run)", flat[bad], ValueError)
    try:
        return pd.DatetimeIndex(pd.to_datetime(flat, utc=utc))
    except (ValueError, TypeError, OverflowError, pd.errors.OutOfBoundsDatetime):
        pass
    for position, element in enumerate(flat):
        try:
            pd.to_datetime(element, utc=utc)
        except pd.errors.OutOfBoundsDatetime:
            fail(name, position, _YEARS, element, ValueError)
        except (ValueError, TypeError, OverflowError):
            fail(name, position, "not a time", element, ValueError)
    raise TypeError(f"{name}: times of different zones; convert them to one (pd.to_datetime(x, utc=True))")


def _unit(dtype: np.dtype) -> tuple[str, int]:
    return np.datetime_data(dtype)


def _with_unit(array: np.ndarray) -> np.ndarray:
    """datetime64 without a unit holds NaT alone: as seconds."""
    return array.astype("datetime64[s]") if _unit(array.dtype)[0] == "generic" else array


def _native(array: np.ndarray) -> np.ndarray:
    """A datetime64 array in a unit of whole seconds or of a whole part of one: years and months
    become days and odd units such as 3 ns nanoseconds (a copy, made after the range check)."""
    unit, count = _unit(array.dtype)
    if unit in ("Y", "M"):
        return array.astype("datetime64[D]")
    seconds = Fraction(_SECONDS[unit]) * count
    return array.astype("datetime64[ns]") if seconds.numerator > 1 and seconds.denominator > 1 else array


def _check_range(values: np.ndarray, dtype: np.dtype, original: np.ndarray, name: str, fail: Fail) -> None:
    """Refuses the first value outside 1900-2100, in the values' own unit (no conversion can wrap)."""
    unit, count = _unit(dtype)
    if unit in ("Y", "M"):
        low = np.datetime64("1900-01-01").astype(dtype).astype(np.int64)
        high = np.datetime64("2101-01-01").astype(dtype).astype(np.int64) - 1
    else:
        seconds = Fraction(_SECONDS[unit]) * count
        low = -(-Fraction(FIRST_SECOND) // seconds)
        high = -(-Fraction(AFTER_LAST_SECOND) // seconds) - 1
    low, high = max(int(low), _INT64[0]), min(int(high), _INT64[1])
    bad = _ext.first_outside(values.view(np.int64), low, high)
    if bad >= 0:
        fail(name, bad, _YEARS, original.ravel()[bad], ValueError)


def times(value: Any, name: str, fail: Fail) -> Times:
    """Times (datetime64 of any unit, tz-aware or naive pandas times, strings, datetime objects) as
    int64 values and their unit, without a copy where they are datetime64 already. Naive times are
    UTC."""
    if isinstance(value, (pd.DatetimeIndex, pd.Series)) and isinstance(value.dtype, pd.DatetimeTZDtype):
        value = pd.DatetimeIndex(value).tz_convert(None)  # a view of the same instants
    array = _time_array(value, "s")
    if array.dtype.kind != "M":
        _refuse_non_times(array, name)
        if array.size == 0:
            array = array.astype("datetime64[s]")
        else:
            array = _parse(array, name, fail, utc=True).tz_convert(None).to_numpy().reshape(array.shape)
    native = _checked(array, name, fail)
    seconds = Fraction(_SECONDS[_unit(native.dtype)[0]]) * _unit(native.dtype)[1]
    return Times(native.view(np.int64), seconds.numerator, seconds.denominator)


def dates(value: Any, name: str, fail: Fail) -> tuple[np.ndarray, _dt.tzinfo | None]:
    """Calendar dates as int64 days since 1970 (NaT where missing), of their shape, and the zone
    they carry (None where they carry none): the date as written, in the dates' own zone where
    they carry one. A time of day is passed over."""
    zone = None
    if isinstance(value, (pd.DatetimeIndex, pd.Series)) and isinstance(value.dtype, pd.DatetimeTZDtype):
        zone = value.dtype.tz
        value = pd.DatetimeIndex(value).tz_localize(None)  # the local wall dates
    if isinstance(value, (pd.Timestamp, _dt.datetime)) and value.tzinfo is not None:
        zone = value.tzinfo
        value = pd.Timestamp(value).tz_localize(None)
    array = _time_array(value, "D")
    if array.dtype.kind != "M":
        _refuse_non_times(array, name)
        if array.size == 0:
            array = array.astype("datetime64[D]")
        else:
            parsed = _parse(array, name, fail, utc=False)
            if parsed.tz is not None:
                zone = parsed.tz
                parsed = parsed.tz_localize(None)
            array = parsed.to_numpy().reshape(array.shape)
    return _checked(array, name, fail).astype("datetime64[D]").view(np.int64), zone


def _as_numbers(value: Any, name: str, fail: Fail) -> np.ndarray:
    """Numbers of any numeric dtype as float64 (no copy where they are float64 already), NaN where
    missing; anything else is a TypeError naming the first element that is no number."""
    value = _unmasked(value, np.nan)
    if isinstance(value, (pd.Series, pd.Index)) and pd.api.types.is_extension_array_dtype(value.dtype) \
            and pd.api.types.is_numeric_dtype(value.dtype) and not pd.api.types.is_bool_dtype(value.dtype):
        value = value.to_numpy(dtype=np.float64, na_value=np.nan)
    array = np.asarray(value)
    if array.dtype.kind in "fiu":
        return array.astype(np.float64, copy=False)
    flat = array.ravel()
    if array.dtype == object:
        missing = [x is None or x is pd.NA for x in flat]
        number = [m or (isinstance(x, (int, float, np.integer, np.floating)) and not isinstance(x, bool))
                  for x, m in zip(flat, missing)]
        if all(number):
            return np.array([np.nan if m else x for x, m in zip(flat, missing)], dtype=np.float64).reshape(array.shape)
        bad = number.index(False)
    else:
        bad = 0
    if array.size == 0:
        raise TypeError(f"{name}: expected numbers, not {array.dtype}")
    what = {"str": "a string", "str_": "a string", "bool": "a boolean", "bool_": "a boolean"}
    kind = type(flat[bad]).__name__
    fail(name, bad, f"expected a number, not {what.get(kind, kind)}", flat[bad], TypeError)


def degrees(value: Any, name: str, low: float, high: float, fail: Fail, unit: str = "degrees") -> np.ndarray:
    """Numbers as float64 (no copy where they are float64), checked against [low, high]; NaN and
    None are missing."""
    array = _as_numbers(value, name, fail)
    bad = _ext.first_outside(array, float(low), float(high))
    if bad >= 0:
        fail(name, bad, f"not between {low:g} and {high:g} {unit}", array.ravel()[bad], ValueError)
    return array


# The standard atmosphere's pressure at sea level, and the pressures that places on Earth have (Pa):
# from the summit of Everest (about 33,700) to the deepest dry basins on a high (about 108,000).
STANDARD_PRESSURE = 101325.0
PRESSURES = (30000.0, 110000.0)
ALTITUDES = (-500.0, 9000.0)  # metres; their pressures lie within PRESSURES


def air_pressure(pressure: Any, altitude: Any, fail: Fail) -> np.ndarray:
    """Pascals as float64, as pvlib takes them: the pressure where given, else that of the altitude
    (metres) by pvlib's ``alt2pres``, 100 ((44331.514 - h) / 11880.516) ** (1 / 0.1902632), else
    the standard 101325. A pressure no place on Earth has is a ValueError (hPa by mistake said so);
    NaN and None in an array are missing."""
    metres = None if altitude is None else degrees(altitude, "altitude", *ALTITUDES, fail, "metres")
    if pressure is not None:
        array = _as_numbers(pressure, "pressure", fail)
        bad = _ext.first_outside(array, *PRESSURES)
        if bad >= 0:
            element = float(array.ravel()[bad])
            hint = f"; pressure is in Pa, {element:g} looks like hPa" if 300.0 <= element <= 1100.0 else ""
            fail("pressure", bad, f"not between {PRESSURES[0]:g} and {PRESSURES[1]:g} Pa{hint}", element,
                 ValueError)
        return array
    if metres is not None:
        return 100.0 * ((44331.514 - metres) / 11880.516) ** (1 / 0.1902632)
    return np.asarray(STANDARD_PRESSURE)


def refuse_positional(function: str, positional: tuple) -> None:
    """Arguments after the place are keywords: pvlib's fourth argument (altitude) means another
    thing than a pressure or a temperature would, so a number there is refused, not guessed."""
    if positional:
        raise TypeError(f"{function}: arguments after the place are keywords: altitude= (metres), pressure= "
                        f"(Pa), temperature= (degrees Celsius); pvlib's fourth argument is altitude: "
                        f"altitude={positional[0]!r}")


MISSING_YEAR = np.int32(-1)


def years(value: Any, name: str, fail: Fail) -> np.ndarray:
    """Whole years 1900-2100 as int32; missing ones (NaN, None) as MISSING_YEAR."""
    original = np.asarray(value)
    array = _as_numbers(value, name, fail)
    bad = _ext.first_outside(array, 1900.0, 2100.0)
    if bad < 0:
        fractions = (np.flatnonzero((array % 1 != 0) & ~np.isnan(array)) if array.dtype.kind == "f"
                     else np.empty(0, np.int64))
        bad = int(fractions[0]) if len(fractions) else -1
    if bad >= 0:
        fail(name, bad, "not a year from 1900 to 2100", original.ravel()[bad], ValueError)
    return np.where(np.isnan(array), MISSING_YEAR, array).astype(np.int32)


def threads(value: Any) -> int:
    """The threads argument: None for the setting TAGVAROSKOP_THREADS or else every usable core (0)."""
    import os

    if value is None:
        value = os.environ.get("TAGVAROSKOP_THREADS", "0")
        try:
            value = int(value)
        except ValueError:
            raise ValueError(f"TAGVAROSKOP_THREADS: not a whole number: {value!r}") from None
    if isinstance(value, bool) or not isinstance(value, (int, np.integer)):
        raise TypeError(f"threads: expected a whole number, not {type(value).__name__}")
    if value < 0:
        raise ValueError(f"threads: not 0 (every usable core) or more: {value}")
    return min(int(value), 1 << 16)  # more threads than blocks never start
