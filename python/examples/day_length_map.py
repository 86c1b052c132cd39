"""The day length for every latitude (-90 to 90 in steps of 0.5 degrees) and every day of a year,
computed with Dask and drawn as a heat map: polar day and polar night, the classic picture.

    PYTHONPATH=build/python python3 python/examples/day_length_map.py [YEAR] [PICTURE.png]
"""
import sys

import dask.dataframe as dd
import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402
import pandas as pd  # noqa: E402

import tagvaroskop.dask as td  # noqa: E402

year = int(sys.argv[1]) if len(sys.argv) > 1 else 2025
picture = sys.argv[2] if len(sys.argv) > 2 else "day_length.png"
dates = pd.date_range(f"{year}-01-01", f"{year}-12-31", freq="D")
latitudes = np.arange(-90, 90.25, 0.5)
grid = pd.DataFrame({"date": np.tile(dates, len(latitudes)), "latitude": np.repeat(latitudes, len(dates))})
days = dd.from_pandas(grid, npartitions=16)
hours = td.day_events(days.date, days.latitude, 0.0, tz="UTC").sunshine_hours.compute()

figure, axes = plt.subplots(figsize=(10, 6))
image = axes.imshow(hours.to_numpy().reshape(len(latitudes), len(dates)), origin="lower", aspect="auto",
                    cmap="cividis", extent=[0, len(dates), -90, 90])
axes.set_xlabel(f"Tag des Jahres {year}")
axes.set_ylabel("Breite (Grad)")
axes.set_title("Stunden mit der Sonne über dem Horizont")
figure.colorbar(image, label="Stunden")
figure.savefig(picture, dpi=100)
print(f"{picture}: {len(grid)} Tage")
