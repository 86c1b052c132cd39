"""Saves where the filesystem or the owner is less common, through the built programs: a full
filesystem without fallocate, a kill at every step of a save, a group member's shared file, a
writable file in a folder the user may not write; for place files, exports and charts."""
import os
import pathlib
import shutil
import subprocess
import tempfile

import pytest

CLI = os.environ.get("TAGVAROSKOP_CLI", "build/cli/tagvaroskop-cli")
SAVES = {"place": ["place", "save", "51", "7"], "export": ["export", "2005-06-21", "51", "7"],
         "chart": ["chart", "year", "2005", "51", "7"]}
OLD = bytes(range(256)) * 11  # 2,816 bytes, smaller than every new file
NOBODY = ["setpriv", "--reuid=65534", "--regid=65534", "--groups=100"]


def save(kind, target, prefix=(), cli=CLI, **options):
    return subprocess.run([*prefix, cli, *SAVES[kind], str(target)], capture_output=True, timeout=120, **options)


@pytest.fixture(scope="module")
def their_cli():
    """The programs where every user reaches them: the build may lie in a folder closed to others
    (a clone under /root, or in a mktemp -d folder)."""
    folder = pathlib.Path(tempfile.mkdtemp())
    folder.chmod(0o755)
    for name in ("tagvaroskop-cli", "tagvaroskop-cli-charts"):
        shutil.copy2(pathlib.Path(CLI).resolve().parent / name, folder / name)
    yield str(folder / "tagvaroskop-cli")
    shutil.rmtree(folder)


def new_content(kind, tmp_path):
    assert save(kind, tmp_path / "neu").returncode == 0
    return (tmp_path / "neu").read_bytes()


def two_names(folder):
    (folder / "t").write_bytes(OLD)
    os.link(folder / "t", folder / "zwei")
    return folder / "t"


def needs_strace():
    """strace fails or kills a save at a chosen call; under the sanitizers their own calls count too."""
    if not shutil.which("strace"):
        pytest.skip("strace is not installed")
    if os.environ.get("TAGVAROSKOP_SANITIZED") == "ON":
        pytest.skip("the sanitizers' runtimes make the same calls themselves")


@pytest.fixture
def ext2(tmp_path):
    """A filesystem without fallocate: a loop-mounted ext2 image of 2 MiB."""
    image, mount = tmp_path / "ext2.img", tmp_path / "mnt"
    mount.mkdir()
    with open(image, "wb") as f:
        f.truncate(2 << 20)
    made = subprocess.run(["mkfs.ext2", "-q", "-F", str(image)], capture_output=True)
    mounted = subprocess.run(["mount", "-o", "loop", str(image), str(mount)], capture_output=True)
    if made.returncode or mounted.returncode:
        pytest.skip(f"no loop-mounted ext2 here: {mounted.stderr.decode().strip()}")
    yield mount
    subprocess.run(["umount", str(mount)], check=True)


def fill(folder, free_kib):
    """Fills the filesystem, then frees about `free_kib` KiB."""
    filler = os.open(folder / "filler", os.O_WRONLY | os.O_CREAT)
    try:
        while os.write(filler, b"\0" * 1024):
            pass
    except OSError:
        pass
    os.close(filler)
    os.truncate(folder / "filler", max(0, os.path.getsize(folder / "filler") - free_kib * 1024))


# The room left: none (not even for the backup), 4 KiB (the backup, and a place file that is
# smaller than the old one, but not the part of a chart or an export beyond the old end), 1 MiB.
@pytest.mark.parametrize("kind, free_kib, saved", [(kind, free, free == 1024 or (free == 4 and kind == "place"))
                                                   for kind in SAVES for free in (0, 4, 1024)])
def test_a_full_disk_without_fallocate_keeps_the_old_content(ext2, tmp_path, kind, free_kib, saved):
    new = new_content(kind, tmp_path)
    target = two_names(ext2)
    fill(ext2, free_kib)
    done = save(kind, target)
    if saved:
        assert done.returncode == 0 and target.read_bytes() == new, done.stderr
    else:
        assert done.returncode == 1 and "voller Datenträger" in done.stderr.decode()
        assert target.read_bytes() == OLD
    assert (ext2 / "zwei").read_bytes() == target.read_bytes()
    assert sorted(os.listdir(ext2)) == ["filler", "lost+found", "t", "zwei"]  # no backup, nothing hidden


# The system calls of a save's steps; the process is killed at each call of each in turn.
STEPS = ["write", "lseek", "ftruncate", "fsync", "fallocate", "linkat", "rename", "unlink", "flock"]


@pytest.mark.parametrize("names", [1, 2])
@pytest.mark.parametrize("kind", SAVES)
def test_a_kill_at_any_step_leaves_each_file_whole(tmp_path, kind, names):
    needs_strace()
    new = new_content(kind, tmp_path)
    for step in STEPS:
        for when in range(1, 100):
            folder = tmp_path / f"{step}{when}"
            folder.mkdir()
            (folder / "t").write_bytes(OLD)
            if names == 2:
                os.link(folder / "t", folder / "zwei")
            killed = save(kind, folder / "t", ["strace", "-f", "-o", "/dev/null", "-e", f"trace={step}",
                                               "-e", f"inject={step}:signal=KILL:when={when}"])
            content, backup = (folder / "t").read_bytes(), folder / "t~"
            assert content in (OLD, new) or backup.read_bytes() == OLD, f"killed at {step} {when}"
            # Only a kill between naming the finished file and renaming it leaves it, under its name.
            left = set(os.listdir(folder)) - {"t", "zwei", "t~"}
            assert not left or step == "rename" and all(n.startswith(".tagvaroskop-") for n in left), step
            if killed.returncode == 0:  # no such call was left to kill at
                assert content == new and not backup.exists()
                break


# A failure at each call of the steps that overwrite a file in place (two names keep it in place):
# the write of the backup or of the new content, the truncation, the flush. The save fails, every
# name holds the old content whole, and the backup, no longer needed, is gone.
FAILURES = [("write", "ENOSPC"), ("ftruncate", "EIO"), ("fsync", "EIO"), ("lseek", "EIO")]


@pytest.mark.parametrize("kind", SAVES)
def test_a_failure_after_the_overwrite_began_puts_the_old_content_back(tmp_path, kind):
    needs_strace()
    new = new_content(kind, tmp_path)
    for call, error in FAILURES:
        for when in range(1, 60):
            folder = tmp_path / f"{call}{when}"
            folder.mkdir()
            target = two_names(folder)
            done = save(kind, target, ["strace", "-f", "-o", "/dev/null", "-e", f"trace={call}",
                                       "-e", f"inject={call}:error={error}:when={when}"])
            if done.returncode == 0:  # no such call was left to fail
                assert target.read_bytes() == new and (folder / "zwei").read_bytes() == new
                break
            assert done.returncode == 1, (call, when, done.stderr)
            assert target.read_bytes() == OLD and (folder / "zwei").read_bytes() == OLD, (call, when)
            assert sorted(os.listdir(folder)) == ["t", "zwei"], (call, when)
        else:
            pytest.fail(f"{kind}: {call} failed at every call up to the 59th")


@pytest.fixture
def nobody():
    """A folder that another user reaches, and how that user's save runs (a home of its own)."""
    if os.geteuid() != 0 or not shutil.which("setpriv"):
        pytest.skip("only root saves as another user")
    base = pathlib.Path(tempfile.mkdtemp())
    base.chmod(0o755)
    (base / "home").mkdir(mode=0o777)
    (base / "home").chmod(0o777)
    yield base, {"env": dict(os.environ, HOME=str(base / "home"), XDG_STATE_HOME="")}
    shutil.rmtree(base)


def test_a_group_members_save_keeps_the_shared_file(tmp_path, nobody, their_cli):
    base, options = nobody
    folder = base / "open"
    folder.mkdir()
    folder.chmod(0o777)
    shared = folder / "g"
    shared.write_bytes(OLD)
    os.chown(shared, 0, 100)
    shared.chmod(0o664)
    os.setxattr(shared, "user.note", b"geteilt")
    done = save("place", shared, NOBODY, cli=their_cli, **options)
    assert done.returncode == 0, done.stderr
    status = shared.stat()
    assert (status.st_uid, status.st_gid, status.st_mode & 0o7777) == (0, 100, 0o664)
    assert os.getxattr(shared, "user.note") == b"geteilt" and shared.read_bytes() == new_content("place", tmp_path)
    assert sorted(os.listdir(folder)) == ["g"]


@pytest.mark.parametrize("names", [1, 2])
def test_a_writable_file_in_a_closed_folder_is_saved_in_place(tmp_path, nobody, names, their_cli):
    base, options = nobody
    folder = base / "zu"
    folder.mkdir(mode=0o755)
    target = two_names(folder) if names == 2 else folder / "t"
    target.write_bytes(OLD)
    target.chmod(0o666)
    done = save("chart", target, NOBODY, cli=their_cli, **options)
    assert done.returncode == 0, done.stderr
    assert target.read_bytes() == new_content("chart", tmp_path) and target.stat().st_uid == 0
    backups = pathlib.Path(options["env"]["HOME"]) / ".local/state/tagvaroskop"
    assert sorted(os.listdir(folder)) == sorted(["t", "zwei"][:names]) and not list(backups.glob("*"))


VICTIM = ["setpriv", "--reuid=65533", "--regid=65533", "--clear-groups"]


@pytest.fixture
def sticky(their_cli):
    """A folder like the system's temporary one (mode 1777), where a user (65533, umask 077) and
    another one (nobody) both work; the user's own commands, and nobody's."""
    if os.geteuid() != 0 or not shutil.which("setpriv"):
        pytest.skip("only root acts as two other users")
    base = pathlib.Path(tempfile.mkdtemp())
    base.chmod(0o755)
    folder = base / "tmp"
    folder.mkdir()
    folder.chmod(0o1777)
    env = {"PATH": os.environ["PATH"]}

    def as_victim(*command, **options):
        return subprocess.run(VICTIM + ["sh", "-c", "umask 077; exec \"$@\"", "-", *command], env=env,
                              capture_output=True, timeout=60, **options)

    def as_other(*command):
        return subprocess.run(NOBODY + list(command), env=env, capture_output=True, timeout=60, check=True)

    yield folder, as_victim, as_other, their_cli
    shutil.rmtree(base)


def victims_notes(folder, as_victim):
    assert as_victim("sh", "-c", f"printf 'SECRET\\n' > {folder}/notes.ort && ln {folder}/notes.ort "
                     f"{folder}/notes-link.ort").returncode == 0


def test_a_backup_never_goes_into_another_users_file(sticky):
    folder, as_victim, as_other, cli = sticky
    victims_notes(folder, as_victim)
    as_other("sh", "-c", f"umask 0; : > {folder}/notes.ort~")
    done = as_victim(cli, "place", "save", "10", "20", str(folder / "notes.ort"))
    assert done.returncode == 0, done.stderr
    assert (folder / "notes.ort~").read_bytes() == b"" and (folder / "notes.ort~").stat().st_uid == 65534
    assert (folder / "notes-link.ort").read_bytes() == (folder / "notes.ort").read_bytes() != b"SECRET\n"
    assert sorted(os.listdir(folder)) == ["notes-link.ort", "notes.ort", "notes.ort~"]


def test_a_backup_never_goes_into_another_users_fifo(sticky):
    folder, as_victim, as_other, cli = sticky
    victims_notes(folder, as_victim)
    as_other("mkfifo", "-m", "666", str(folder / "notes.ort~"))
    reader = os.open(folder / "notes.ort~", os.O_RDONLY | os.O_NONBLOCK)  # a reader waiting on the other end
    try:
        done = as_victim(cli, "place", "save", "10", "20", str(folder / "notes.ort"))
        assert done.returncode == 0, done.stderr
        try:
            came = os.read(reader, 100)
        except BlockingIOError:
            came = b""
        assert came == b""  # nothing came through
    finally:
        os.close(reader)
    assert sorted(os.listdir(folder)) == ["notes-link.ort", "notes.ort", "notes.ort~"]


def test_a_planted_link_as_the_private_folder_changes_no_mode(sticky):
    folder, as_victim, as_other, cli = sticky
    own = folder.parent / "own"  # a folder of the user's that the link points to
    own.mkdir(mode=0o755)
    os.chown(own, 65533, 65533)
    closed = folder.parent / "closed"  # a folder that takes no new file: the backup goes elsewhere
    closed.mkdir(mode=0o755)
    target = closed / "t.ort"
    target.write_bytes(OLD)
    target.chmod(0o666)
    os.link(target, closed / "u.ort")
    as_other("ln", "-s", str(own), str(folder / "tagvaroskop-65533"))
    done = subprocess.run(VICTIM + ["env", "-u", "HOME", f"TMPDIR={folder}", cli, "place", "save", "1", "2", str(target)],
                          capture_output=True, timeout=60, env={"PATH": os.environ["PATH"]})
    assert done.returncode == 1 and "für den alten Inhalt fand sich kein Ort" in done.stderr.decode(), done.stderr
    assert own.stat().st_mode & 0o7777 == 0o755 and target.read_bytes() == OLD and not list(own.iterdir())


def test_an_editors_backup_beside_a_file_with_two_names_stays(tmp_path):
    target = two_names(tmp_path)
    (tmp_path / "t~").write_bytes(b"the editor's")
    done = save("place", target)
    assert done.returncode == 0, done.stderr
    assert (tmp_path / "t~").read_bytes() == b"the editor's"
    assert sorted(os.listdir(tmp_path)) == ["t", "t~", "zwei"]


@pytest.mark.parametrize("lock", ["lockf", "flock"])
def test_a_file_another_program_holds_locked_is_not_written(tmp_path, lock):
    target = two_names(tmp_path)
    holder = subprocess.Popen(["/usr/bin/python3", "-c", f"import fcntl, sys, time; f = open({str(target)!r}, 'r+'); "
                               f"fcntl.{lock}(f, fcntl.LOCK_EX); print('held', flush=True); time.sleep(30)"],
                              stdout=subprocess.PIPE)
    try:
        assert holder.stdout.readline() == b"held\n"
        done = save("place", target)
        assert done.returncode == 1 and "wird gerade von einem anderen Programm benutzt" in done.stderr.decode()
        assert target.read_bytes() == OLD and sorted(os.listdir(tmp_path)) == ["t", "zwei"]
    finally:
        holder.kill()
        holder.wait()


@pytest.mark.parametrize("kind", SAVES)
def test_old_content_that_cannot_be_put_back_stays_in_the_named_backup(tmp_path, kind):
    needs_strace()
    target = two_names(tmp_path)
    # The backup's write goes through, the next two fail: the new content and its undoing.
    done = save(kind, target, ["strace", "-f", "-o", "/dev/null", "-e", "trace=write",
                               "-e", "inject=write:error=ENOSPC:when=2..3"])
    assert done.returncode == 1
    assert f"er liegt in {tmp_path}/t~." in done.stderr.decode(), done.stderr
    assert (tmp_path / "t~").read_bytes() == OLD


# Names that are bytes but no UTF-8: a new file, a plain one and one with two names.
@pytest.mark.parametrize("name", [b"a\xffb.ort", b"\xff\xfe.ort", b"c\xc3.ort"])
@pytest.mark.parametrize("given", ["new", "plain", "two_names"])
def test_names_are_bytes(tmp_path, name, given):
    expected = new_content("place", pathlib.Path(tempfile.mkdtemp()))
    folder = os.fsencode(tmp_path)
    target = os.path.join(folder, name)
    if given != "new":
        with open(target, "wb") as f:
            f.write(OLD)
    if given == "two_names":
        os.link(target, os.path.join(folder, b"zwei"))
    done = subprocess.run([CLI, *SAVES["place"], target], capture_output=True, timeout=60)
    assert done.returncode == 0, done.stderr
    assert sorted(os.listdir(folder)) == sorted([name] + ([b"zwei"] if given == "two_names" else []))
    with open(target, "rb") as f:
        assert f.read() == expected
    shown = subprocess.run([CLI, "place", "show", os.path.join(folder, b"fehlt\xff")], capture_output=True)
    assert shown.returncode == 1 and b"fehlt\\xff wurde nicht gefunden." in shown.stderr


@pytest.mark.parametrize("closed", [True, False], ids=["unreachable", "missing"])
def test_the_chart_program_is_told_missing_or_unreachable(closed):
    if os.geteuid() != 0 or not shutil.which("setpriv"):
        pytest.skip("only root acts as another user")
    base = pathlib.Path(tempfile.mkdtemp())
    try:
        base.chmod(0o755)
        inner = base / "inner"
        inner.mkdir(mode=0o700 if closed else 0o755)
        shutil.copy2(CLI, base / "tagvaroskop-cli")  # reachable; the chart program in a closed folder, or none
        if closed:
            shutil.copy2(pathlib.Path(CLI).resolve().parent / "tagvaroskop-cli-charts", inner / "tagvaroskop-cli-charts")
            os.symlink(inner / "tagvaroskop-cli-charts", base / "tagvaroskop-cli-charts")
        done = subprocess.run(NOBODY + [str(base / "tagvaroskop-cli"), "chart", "year", "2005", "51", "7", "/dev/null"],
                              capture_output=True, timeout=60)
        assert done.returncode == 1
        assert ("nicht erreichbar" if closed else "fehlt neben") in done.stderr.decode(), done.stderr
    finally:
        shutil.rmtree(base)


def test_a_read_only_medium_is_named_as_such(tmp_path):
    mount = tmp_path / "ro"
    mount.mkdir()
    if subprocess.run(["mount", "-t", "tmpfs", "-o", "ro,size=1m", "tmpfs", str(mount)], capture_output=True).returncode:
        pytest.skip("no tmpfs can be mounted here")
    try:
        done = save("place", mount / "t")
        assert done.returncode == 1 and "liegt auf einem schreibgeschützten Datenträger" in done.stderr.decode()
    finally:
        subprocess.run(["umount", str(mount)], check=True)


@pytest.mark.parametrize("kind", ["btrfs", "xfs"])
def test_a_full_copy_on_write_disk_keeps_the_old_content(their_cli, kind):
    """A user's file in a folder the user may not write (so written in place, the backup in
    $XDG_STATE_HOME) on a nearly full copy-on-write filesystem: an overwrite there needs new blocks,
    so the save is refused before anything is overwritten, and the old content survives a remount."""
    if os.geteuid() != 0 or not shutil.which("setpriv") or not shutil.which(f"mkfs.{kind}"):
        pytest.skip(f"needs root, setpriv and mkfs.{kind}")
    base = pathlib.Path(tempfile.mkdtemp())
    base.chmod(0o755)
    image, mount, state = base / "image", base / "mnt", base / "state"
    mount.mkdir()
    state.mkdir(mode=0o700)
    os.chown(state, 65533, 65533)
    with open(image, "wb") as f:
        f.truncate(320 << 20)
    options = ["-m", "reflink=1"] if kind == "xfs" else []
    made = subprocess.run([f"mkfs.{kind}", "-q", "-f", *options, str(image)], capture_output=True)
    mounted = subprocess.run(["mount", "-o", "loop", str(image), str(mount)], capture_output=True)
    if made.returncode or mounted.returncode:
        shutil.rmtree(base)
        pytest.skip(f"no loop-mounted {kind} here: {(made.stderr or mounted.stderr).decode().strip()}")
    try:
        folder = mount / "zu"
        folder.mkdir(mode=0o755)
        target = folder / "export.txt"
        old = bytes(range(256)) * 188  # 48,128 bytes, about an export's size
        target.write_bytes(old)
        os.chown(target, 65533, 65533)
        fill(mount, 4)
        os.sync()
        done = subprocess.run(VICTIM + ["env", f"XDG_STATE_HOME={state}", their_cli, "export", "2024-06-21", "52.5",
                                        "13.4", str(target)], capture_output=True, timeout=60)
        assert done.returncode == 1 and "voller Datenträger" in done.stderr.decode(), done.stderr
        assert not list(state.rglob("*~"))  # nothing was overwritten: the backup went
        subprocess.run(["umount", str(mount)], check=True)
        subprocess.run(["mount", "-o", "loop", str(image), str(mount)], check=True)
        assert target.read_bytes() == old
    finally:
        subprocess.run(["umount", str(mount)], capture_output=True)
        shutil.rmtree(base)


def test_a_name_as_long_as_a_name_may_be_keeps_its_backup_elsewhere(tmp_path):
    # NAME~ would be one byte too long: the backup goes to the private folder, its name shortened.
    target = tmp_path / ("n" * 251 + ".ort")
    target.write_bytes(OLD)
    os.link(target, tmp_path / "zwei")
    home = tmp_path / "home"
    home.mkdir()
    done = save("place", target, env=dict(os.environ, HOME=str(home), XDG_STATE_HOME=""))
    assert done.returncode == 0, done.stderr
    assert target.read_bytes() == (tmp_path / "zwei").read_bytes() != OLD
    assert sorted(os.listdir(tmp_path)) == sorted(["home", target.name, "zwei"])
    assert not list(home.rglob("*~"))


@pytest.mark.parametrize("given", ["new", "plain", "two_names"])
def test_a_path_as_long_as_a_path_may_be_is_saved(tmp_path, given):
    # 4,095 bytes with a short name at the end: a temporary name beside it would not fit the path.
    folder = tmp_path
    while len(str(folder)) + 1 + 200 + 1 + 5 < 4095:
        folder = folder / ("d" * 200)
    folder = folder / ("e" * (4095 - len(str(folder)) - 1 - 5 - 1))
    folder.mkdir(parents=True)
    target = folder / "t.ort"
    assert len(os.fsencode(target)) == 4095
    if given != "new":
        target.write_bytes(OLD)
    if given == "two_names":
        os.link(target, folder / "zwei")
    done = save("place", target)
    assert done.returncode == 0, done.stderr
    assert target.read_bytes() == new_content("place", tmp_path)
    assert sorted(os.listdir(folder)) == sorted(["t.ort"] + (["zwei"] if given == "two_names" else []))
