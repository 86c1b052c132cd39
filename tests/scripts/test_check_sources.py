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


MAPS = [line.split("\t") for line in (ROOT / "tests/data/scripts/planted_maps.rows").read_text().splitlines()
        if line and not line.startswith("#")]


@pytest.mark.parametrize("line, files, verdict", [r[1:] for r in MAPS], ids=[r[0] for r in MAPS])
def test_the_map_names_only_what_exists(tmp_path, line, files, verdict):
    for name in files.split():
        (tmp_path / name).parent.mkdir(parents=True, exist_ok=True)
        (tmp_path / name).write_text("#pragma once\n")
    (tmp_path / "docs").mkdir()
    (tmp_path / "docs/ARCHITECTURE.md").write_text(line + "\n")
    checked = subprocess.run([str(ROOT / "scripts/check-sources"), str(tmp_path)], capture_output=True, text=True)
    missing = verdict == "missing"
    assert (checked.returncode == 1, "docs/ARCHITECTURE.md:1: names" in checked.stdout) == (missing, missing), checked.stdout
