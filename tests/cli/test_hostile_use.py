"""tagvaroskop-cli as a hostile or unlucky user runs it: streams it already holds as targets,
closed and slow streams, FIFOs, many saves at once, signals, Qt's own arguments, unreadable names.
Each case runs the built program (TAGVAROSKOP_CLI) as a process."""
import os
import resource
import signal
import subprocess
import time

import pytest

CLI = os.environ.get("TAGVAROSKOP_CLI", "build/cli/tagvaroskop-cli")
PLACE_51_7 = bytes.fromhex("00004c42" + "00000000" * 2 + "0000e040" + "00000000" * 2)


def run(*arguments, **options):
    return subprocess.run([CLI, *arguments], capture_output=True, timeout=60, **options)


def test_standard_output_by_name_is_the_stream_held(tmp_path):
    log = tmp_path / "log"
    log.write_bytes(b"KEEP\n")
    with open(log, "ab") as appended:
        assert subprocess.run([CLI, "place", "save", "51", "7", "/dev/stdout"], stdout=appended).returncode == 0
    assert log.read_bytes() == b"KEEP\n" + PLACE_51_7
    for name in ("/dev/stdout", "/dev/./stdout", "/dev//stdout", "/dev/fd//1", "/proc/self/./fd/1"):
        piped = subprocess.run(f"{CLI} place save 51 7 {name} | cat", shell=True, capture_output=True)
        assert piped.stdout == PLACE_51_7, name
    with open(tmp_path / "fd", "wb") as other:  # as >(...) hands it over
        number = other.fileno()
        assert run("place", "save", "51", "7", f"/dev/fd/{number}", pass_fds=[number]).returncode == 0
    assert (tmp_path / "fd").read_bytes() == PLACE_51_7


def test_dash_writes_standard_output_without_a_temporary_folder():
    saved = run("place", "save", "51", "7", "-", env={**os.environ, "TMPDIR": "/nicht/da"})
    assert (saved.returncode, saved.stdout) == (0, PLACE_51_7)


@pytest.mark.parametrize("call, stream", [("position 2005-06-21 12:00 51 7 >&-", "Standardausgabe"),
                                          ("position --input - <&-", "Standardeingabe"),
                                          ("day --input - --format csv <&-", "Standardeingabe")])
def test_a_closed_standard_stream_is_named(call, stream):
    closed = subprocess.run(f"{CLI} {call}", shell=True, capture_output=False, stderr=subprocess.PIPE,
                            stdout=subprocess.PIPE)
    assert (closed.returncode, closed.stdout) == (1, b"")
    assert closed.stderr == f"tagvaroskop-cli: Die {stream} ist geschlossen.\n".encode()


def lines_within(process, count, seconds):
    """The first `count` lines the process writes, each within `seconds`."""
    got = []
    for _ in range(count):
        start = time.monotonic()
        got.append(process.stdout.readline())
        assert time.monotonic() - start < seconds, "the output waited for more input"
    return got


@pytest.mark.parametrize("through_fifo", [False, True], ids=["pipe", "fifo"])
def test_a_line_in_gives_a_line_out_at_once(tmp_path, through_fifo):
    source = tmp_path / "rohr"
    if through_fifo:
        os.mkfifo(source)
    process = subprocess.Popen([CLI, "position", "--input", str(source) if through_fifo else "-", "--format", "csv"],
                               stdin=None if through_fifo else subprocess.PIPE, stdout=subprocess.PIPE)
    writer = open(source, "wb", buffering=0) if through_fifo else process.stdin
    writer.write(b"2005-06-21,12:00,51,7\n")
    writer.flush()
    header, line = lines_within(process, 2, 5)
    assert header.startswith(b"date,") and line.startswith(b"2005-06-21,")
    writer.close()
    assert process.wait(timeout=10) == 0


def test_many_heights_are_refused_and_a_batch_with_many_stays_small():
    refused = run("day", "2005-06-21", "51", "7", *[f"--height={h}" for h in range(101)])
    assert refused.returncode == 2 and "höchstens 100" in refused.stderr.decode()
    days = "".join(f"2005-06-{1 + i % 28:02d},51,7\n" for i in range(2000)).encode()
    before = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss
    batch = run("day", "--input", "-", "--format", "json", *[f"--height={h}" for h in range(-50, 50)], input=days)
    assert batch.returncode == 0 and batch.stdout.count(b"\n") == 2000
    peak = max(before, resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)
    if os.environ.get("TAGVAROSKOP_SANITIZED") != "ON":  # a sanitizer's shadow memory is no measure
        assert peak < 100 * 1024, f"{peak} KiB for 2000 days of 100 heights"


def valid_place(path):
    return run("place", "show", str(path)).returncode == 0 and path.stat().st_size == 24


@pytest.mark.parametrize("names", [1, 2], ids=["one_name", "two_names"])
def test_saves_at_once_and_signals_leave_one_whole_version(tmp_path, names):
    target = tmp_path / "a.ort"
    assert run("place", "save", "51", "7", str(target)).returncode == 0
    if names == 2:
        os.link(target, tmp_path / "b.ort")
    for round_ in range(3):
        saves = [subprocess.Popen([CLI, "place", "save", str(i % 80), "20", str(target)], stderr=subprocess.DEVNULL)
                 for i in range(50)]
        for save in saves[::3]:
            save.send_signal(signal.SIGTERM if round_ % 2 else signal.SIGINT)
        for save in saves:
            assert save.wait(timeout=30) in (0, 1, -signal.SIGTERM, -signal.SIGINT)
        assert valid_place(target)
        if names == 2:
            assert (tmp_path / "b.ort").read_bytes() == target.read_bytes()
        assert sorted(p.name for p in tmp_path.iterdir()) == ["a.ort", "b.ort"][:names]


def test_a_size_limit_keeps_a_file_with_two_names_whole(tmp_path):
    target = tmp_path / "a.ort"
    run("place", "save", "51", "7", str(target))
    os.link(target, tmp_path / "b.ort")
    limited = subprocess.run(["prlimit", "--fsize=20", CLI, "export", "2005-06-21", "51", "7", str(target)],
                             capture_output=True)
    assert limited.returncode == 1
    assert target.read_bytes() == PLACE_51_7 and (tmp_path / "b.ort").read_bytes() == PLACE_51_7


def test_qt_never_sees_the_arguments(tmp_path):
    for qt_argument in ["-platform", "-style", "-reverse"]:
        call = run("chart", "year", "2005", "51", "7", str(tmp_path / "y.png"), qt_argument, "xcb")
        assert call.returncode == 2 and call.stderr.startswith(b"tagvaroskop-cli: Erwartet:")


def test_without_proc_no_program_of_the_current_folder_runs(tmp_path):
    helper = tmp_path / "tagvaroskop-cli-charts"
    helper.write_text("#!/bin/sh\necho fremd\n")
    helper.chmod(0o755)
    namespace = ["unshare", "-m", "--propagation", "private"]
    if subprocess.run(namespace + ["umount", "-l", "/proc"], capture_output=True).returncode != 0:
        pytest.skip("no private mount namespace here")
    script = f"umount -l /proc && cp {CLI} ./tagvaroskop-cli && ./tagvaroskop-cli chart year 2005 51 7 y.png"
    call = subprocess.run(namespace + ["sh", "-c", script], cwd=tmp_path, capture_output=True)
    assert call.returncode == 1 and b"fremd" not in call.stdout and b"/proc" in call.stderr


def test_names_and_files_that_are_no_place(tmp_path):
    shown = run("place", "show", str(tmp_path / "a\nb\x1b[31m.ort"))
    assert shown.stderr.decode() == f"tagvaroskop-cli: {tmp_path}/a\\nb\\x1b[31m.ort wurde nicht gefunden.\n"
    (tmp_path / "nan.ort").write_bytes(b"\x00\x00\xc0\x7f" + PLACE_51_7[4:])
    nan = run("place", "show", str(tmp_path / "nan.ort"), "--format", "json")
    assert (nan.returncode, nan.stdout) == (1, b"")
    assert nan.stderr.decode() == f"tagvaroskop-cli: {tmp_path}/nan.ort ist keine Ortsdatei.\n"
