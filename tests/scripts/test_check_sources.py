"""scripts/check-sources finds every include that breaks the layers, in every folder and form,
planted in a tree of the project's folders (tests/data/scripts/planted_includes.rows)."""
import pathlib
import subprocess

import pytest

ROOT = pathlib.Path(__file__).resolve().parents[2]
ROWS = [line.split(" | ") for line in (ROOT / "tests/data/scripts/planted_includes.rows").read_text().splitlines()
        if line and not line.startswith("#")]


@pytest.mark.parametrize("source, line, verdict", ROWS, ids=[f"{s}:{l}" for s, l, _ in ROWS])
def test_a_planted_include(tmp_path, source, line, verdict):
    for header in ("files/location_file.h", "res/ids.h", "cli/number_text.h", "solar/sun_position.h",
                   "dialog_model/year_pick.h", "platform/qt/look.h", "platform/base/file.h", "cli/output.h",
                   "app/sun_app.h"):
        (tmp_path / header).parent.mkdir(parents=True, exist_ok=True)
        (tmp_path / header).write_text("#pragma once\n")
    (tmp_path / source).parent.mkdir(parents=True, exist_ok=True)
    (tmp_path / source).write_text(line + "\n")
    checked = subprocess.run([str(ROOT / "scripts/check-sources"), str(tmp_path)], capture_output=True, text=True)
    assert (checked.returncode, checked.stdout.startswith(f"{source}:1: ")) == ((1, True) if verdict == "breach"
                                                                             else (0, False)), checked.stdout


# A line of a planted map, the files the tree holds, and whether the map names what is missing.
MAP_ROWS = [
    ("a path from the top", "Rules in `solar/moment.h`.", ["solar/moment.h"], False),
    ("a path that moved", "Rules in `platform/field_text.h`.", ["platform/base/field_text.h"], True),
    ("a stem without its extension", "See `platform/field_text`.", ["platform/base/field_text.h"], True),
    ("a name in its row's folder", "| `solar/` | `moment.h` |", ["solar/moment.h"], False),
    ("a name below its row's folder", "| `python/` | `_call.py` |", ["python/tagvaroskop/_call.py"], False),
    ("a name in another row's folder", "| `cli/` | `moment.h` |", ["solar/moment.h", "cli/batch.cpp"], True),
    ("test data in the tests' table", "| `tests/files` | `causes.rows` |", ["tests/files/file_test.cpp", "tests/data/files/causes.rows"],
     False),
    ("a missing folder", "Builds into `dist/`.", ["solar/moment.h"], True),
    ("a build folder and words", "`build/layers/TARGET`, `tagvaroskop-cli`, `cli::Show`", [], False),
]


@pytest.mark.parametrize("line, files, missing", [r[1:] for r in MAP_ROWS], ids=[r[0] for r in MAP_ROWS])
def test_the_map_names_only_what_exists(tmp_path, line, files, missing):
    for name in files:
        (tmp_path / name).parent.mkdir(parents=True, exist_ok=True)
        (tmp_path / name).write_text("#pragma once\n")
    (tmp_path / "docs").mkdir()
    (tmp_path / "docs/ARCHITECTURE.md").write_text(line + "\n")
    checked = subprocess.run([str(ROOT / "scripts/check-sources"), str(tmp_path)], capture_output=True, text=True)
    assert (checked.returncode == 1, "docs/ARCHITECTURE.md:1: names" in checked.stdout) == (missing, missing), checked.stdout
