"""Every JSON line of the tool matches its definition in docs/cli-output.schema.json (validated by
jsonschema, times as RFC 3339 demands), and its CSV has unique column names and as many fields in
every line as in its header. The calls are the rows of tests/data/cli/schema.rows."""
import csv
import datetime
import io
import json
import os
import pathlib
import re
import shlex
import subprocess

import jsonschema
import pytest

CLI = os.environ.get("TAGVAROSKOP_CLI", "build/cli/tagvaroskop-cli")
SOURCE = pathlib.Path(__file__).resolve().parents[2]
SCHEMA = json.loads((SOURCE / "docs/cli-output.schema.json").read_text())
FORMATS = jsonschema.FormatChecker(["date"])
RFC_3339 = re.compile(r"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d(\.\d+)?(Z|[+-]\d\d:\d\d)")


@FORMATS.checks("date-time", raises=ValueError)
def is_rfc_3339(text):
    return not isinstance(text, str) or bool(RFC_3339.fullmatch(text) and datetime.datetime.fromisoformat(text))


def rows():
    lines = (SOURCE / "tests/data/cli/schema.rows").read_text().splitlines()
    return [pytest.param(*shlex.split(line)[1:2], shlex.split(line)[2:], id=line.split()[0])
            for line in lines if line.strip() and not line.startswith("#")]


def output(arguments, form):
    words = [w.replace("@DATA@", str(SOURCE / "tests/data")) for w in arguments]
    done = subprocess.run([CLI, *words, "--format", form], capture_output=True, text=True, timeout=60)
    assert done.returncode == 0, done.stderr
    return done.stdout


@pytest.mark.parametrize("definition, arguments", rows())
def test_json_matches_its_definition_and_csv_has_unique_columns(definition, arguments):
    validator = jsonschema.Draft202012Validator({**SCHEMA, "$ref": f"#/$defs/{definition}"}, format_checker=FORMATS)
    for line in output(arguments, "json").splitlines():
        assert [error.message for error in validator.iter_errors(json.loads(line))] == [], line
    table = list(csv.reader(io.StringIO(output(arguments, "csv"))))
    assert len(table) >= 2 and len(set(table[0])) == len(table[0]), table[0]
    assert all(len(fields) == len(table[0]) for fields in table), table[0]
