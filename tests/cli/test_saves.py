"""Saves where the filesystem or the owner is less common, through the built programs: a full
filesystem with and without fallocate, a kill at every step of a save, a group member's shared
file, a writable file in a folder the user may not write; for place files, exports and charts."""
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
    # The programs where every user reaches them: the build may lie in a folder closed to others
    # (a clone under /root, or in a mktemp -d folder).
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
    # strace fails or kills a save at a chosen call; under the sanitizers their own calls count too.
    if not shutil.which("strace"):
        pytest.skip("strace is not installed")
    if os.environ.get("TAGVAROSKOP_SANITIZED") == "ON":
        pytest.skip("the sanitizers' runtimes make the same calls themselves")


@pytest.fixture(params=["ext2", "tmpfs"])
def small_disk(tmp_path, request):
    # A filesystem of 2 MiB without fallocate (a loop-mounted ext2 image) and with it (a tmpfs).
    _, mount = loop_mount(tmp_path, request.param, 2 << 20)
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
def test_a_full_disk_keeps_the_old_content(small_disk, tmp_path, kind, free_kib, saved):
    new = new_content(kind, tmp_path)
    target = two_names(small_disk)
    fill(small_disk, free_kib)
    done = save(kind, target)
    if saved:
        assert done.returncode == 0 and target.read_bytes() == new, done.stderr
    else:
        assert done.stderr.decode().endswith(f"Beim Zugriff auf {target} wurde ein voller Datenträger gemeldet.\n")
        assert done.returncode == 1 and target.read_bytes() == OLD
    assert (small_disk / "zwei").read_bytes() == target.read_bytes()
    assert set(os.listdir(small_disk)) - {"lost+found"} == {"filler", "t", "zwei"}  # no backup, nothing hidden


def each_call(kind, tmp_path, call, inject, names):
    """Saves once per call of `call`, the first, second, ... of them injected, until a save meets
    none; yields the folder, the target, the finished save and the new content."""
    needs_strace()
    new = new_content(kind, tmp_path)
    for when in range(1, 100):
        folder = tmp_path / f"{call}{when}"
        folder.mkdir()
        target = two_names(folder) if names == 2 else folder / "t"
        target.write_bytes(OLD)
        done = save(kind, target, ["strace", "-f", "-o", "/dev/null", "-e", f"trace={call}",
                                   "-e", f"inject={call}:{inject}:when={when}"])
        yield folder, target, done, new
        if done.returncode == 0:  # no such call was left
            assert [name.read_bytes() for name in sorted(folder.iterdir())] == [new] * names  # nothing else
            return
    pytest.fail(f"{kind}: {call} injected at every call up to the 99th")


# The process is killed at each call of each step of a save in turn.
@pytest.mark.parametrize("names", [1, 2])
@pytest.mark.parametrize("kind", SAVES)
@pytest.mark.parametrize("step", ["write", "lseek", "ftruncate", "fsync", "fallocate", "linkat", "rename", "unlink",
                                  "flock"])
def test_a_kill_at_any_step_leaves_each_file_whole(tmp_path, kind, names, step):
    for folder, target, _, new in each_call(kind, tmp_path, step, "signal=KILL", names):
        content, backup = target.read_bytes(), folder / "t~"
        assert content in (OLD, new) or backup.read_bytes() == OLD, f"killed at {folder.name}"
        # Only a kill between naming the finished file and renaming it leaves it, under its name.
        left = set(os.listdir(folder)) - {"t", "zwei", "t~"}
        assert not left or step == "rename" and all(n.startswith(".tagvaroskop-") for n in left), folder.name


# A failure at each call of the steps that overwrite a file in place (two names keep it in place):
# the write of the backup or of the new content, the truncation, the flush. The save fails, every
# name holds the old content whole, and the backup, no longer needed, is gone.
@pytest.mark.parametrize("kind", SAVES)
@pytest.mark.parametrize("call, error", [("write", "ENOSPC"), ("ftruncate", "EIO"), ("fsync", "EIO"), ("lseek", "EIO")])
def test_a_failure_after_the_overwrite_began_puts_the_old_content_back(tmp_path, kind, call, error):
    for folder, target, done, _ in each_call(kind, tmp_path, call, f"error={error}", 2):
        if done.returncode != 0:
            assert done.returncode == 1, (folder.name, done.stderr)
            assert target.read_bytes() == OLD and (folder / "zwei").read_bytes() == OLD, folder.name
            assert sorted(os.listdir(folder)) == ["t", "zwei"], folder.name


def others_base():
    # A new folder other users reach; acting as them needs root and setpriv.
    if os.geteuid() != 0 or not shutil.which("setpriv"):
        pytest.skip("only root acts as other users")
    base = pathlib.Path(tempfile.mkdtemp())
    base.chmod(0o755)
    return base


@pytest.fixture
def nobody():
    """A folder that another user reaches, and how that user's save runs (a home of its own)."""
    base = others_base()
    (base / "home").mkdir(mode=0o777)
    (base / "home").chmod(0o777)
    yield base, {"env": dict(os.environ, HOME=str(base / "home"), XDG_STATE_HOME="")}
    shutil.rmtree(base)


# A group member's save of a shared file (root's, group 100, mode 664, an extended attribute): in
# an open folder, and in a folder the member may not write (written in place, with one name or two).
# Owner, group, mode and attribute stay; nothing is left beside it or among the member's backups.
@pytest.mark.parametrize("folder_mode, names, kind", [(0o777, 1, "place"), (0o755, 1, "chart"), (0o755, 2, "chart")],
                         ids=["open_folder", "closed_folder", "closed_folder_two_names"])
def test_a_group_members_save_keeps_the_shared_file(tmp_path, nobody, their_cli, folder_mode, names, kind):
    base, options = nobody
    folder = base / "geteilt"
    folder.mkdir()
    folder.chmod(folder_mode)
    shared = two_names(folder) if names == 2 else folder / "t"
    shared.write_bytes(OLD)
    os.chown(shared, 0, 100)
    shared.chmod(0o664)
    os.setxattr(shared, "user.note", b"geteilt")
    done = save(kind, shared, NOBODY, cli=their_cli, **options)
    assert done.returncode == 0, done.stderr
    status = shared.stat()
    assert (status.st_uid, status.st_gid, status.st_mode & 0o7777) == (0, 100, 0o664)
    assert os.getxattr(shared, "user.note") == b"geteilt" and shared.read_bytes() == new_content(kind, tmp_path)
    backups = pathlib.Path(options["env"]["HOME"]) / ".local/state/tagvaroskop"
    assert sorted(os.listdir(folder)) == ["t", "zwei"][:names] and not list(backups.glob("*"))


VICTIM = ["setpriv", "--reuid=65533", "--regid=65533", "--clear-groups"]


def as_user(user, *command, env=None):
    return subprocess.run(user + list(command), env=env or {"PATH": os.environ["PATH"]}, capture_output=True,
                          timeout=60)


@pytest.fixture
def sticky(their_cli):
    # A folder like the system's temporary one (mode 1777) where a user (65533, umask 077) keeps
    # notes with two names, and another user (nobody) works too.
    base = others_base()
    folder = base / "tmp"
    folder.mkdir()
    folder.chmod(0o1777)
    notes = f"umask 077; printf 'SECRET\\n' > {folder}/notes.ort && ln {folder}/notes.ort {folder}/notes-link.ort"
    assert as_user(VICTIM, "sh", "-c", notes).returncode == 0
    yield folder, their_cli
    shutil.rmtree(base)


@pytest.mark.parametrize("planted", ["file", "fifo"])
def test_a_backup_never_goes_into_another_users_file(sticky, planted):
    folder, cli = sticky
    backup = folder / "notes.ort~"
    as_user(NOBODY, *(["mkfifo", "-m", "666", str(backup)] if planted == "fifo" else ["sh", "-c", f"umask 0; : > {backup}"]))
    reader = os.open(backup, os.O_RDONLY | os.O_NONBLOCK)  # for a FIFO, a reader waiting on the other end
    try:
        done = as_user(VICTIM, "sh", "-c", 'umask 077; exec "$@"', "-", cli, "place", "save", "10", "20",
                       str(folder / "notes.ort"))
        assert done.returncode == 0, done.stderr
        try:
            assert os.read(reader, 100) == b""  # nothing came through
        except BlockingIOError:
            pass
    finally:
        os.close(reader)
    assert backup.stat().st_uid == 65534
    assert (folder / "notes-link.ort").read_bytes() == (folder / "notes.ort").read_bytes() != b"SECRET\n"
    assert sorted(os.listdir(folder)) == ["notes-link.ort", "notes.ort", "notes.ort~"]


def test_a_planted_link_as_the_private_folder_changes_no_mode(sticky):
    folder, cli = sticky
    own, closed = folder.parent / "own", folder.parent / "closed"  # the link's target; a folder taking no new file
    own.mkdir(mode=0o755)
    os.chown(own, 65533, 65533)
    closed.mkdir(mode=0o755)
    target = two_names(closed)
    target.chmod(0o666)
    as_user(NOBODY, "ln", "-s", str(own), str(folder / "tagvaroskop-65533"))
    done = as_user(VICTIM, "env", "-u", "HOME", f"TMPDIR={folder}", cli, "place", "save", "1", "2", str(target))
    assert done.returncode == 1 and "für den alten Inhalt fand sich kein Ort" in done.stderr.decode(), done.stderr
    assert own.stat().st_mode & 0o7777 == 0o755 and target.read_bytes() == OLD and not list(own.iterdir())


@pytest.mark.parametrize("lock", ["lockf", "flock"])
def test_a_file_another_program_holds_locked_is_not_written(tmp_path, lock):
    target = two_names(tmp_path)
    holder = subprocess.Popen(["/usr/bin/python3", "-c", f"import fcntl, time; f = open({str(target)!r}, 'r+'); "
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
    assert done.returncode == 1 and f"er liegt in {tmp_path}/t~." in done.stderr.decode(), done.stderr
    assert (tmp_path / "t~").read_bytes() == OLD


def deep_folder(base):
    # A folder whose path leaves 5 bytes and a slash for a name in a path of 4,095 bytes.
    folder = base
    while len(str(folder)) + 207 < 4095:
        folder = folder / ("d" * 200)
    return folder / ("e" * (4095 - len(str(folder)) - 7))


# Odd names: bytes that are no UTF-8, a name as long as a name may be (NAME~ one too long: its
# backup goes to the private folder), a path as long as a path may be (a temporary name beside it
# would not fit); each new, plain and with two names. Nothing is left beside it or in the home.
@pytest.mark.parametrize("name", [b"a\xffb.ort", b"\xff\xfe.ort", b"c\xc3.ort", b"n" * 251 + b".ort", b"deep"])
@pytest.mark.parametrize("given", ["new", "plain", "two_names"])
def test_odd_names_are_saved_as_given(tmp_path, name, given):
    expected = new_content("place", pathlib.Path(tempfile.mkdtemp()))
    home = pathlib.Path(tempfile.mkdtemp())
    folder = os.fsencode(deep_folder(tmp_path) if name == b"deep" else tmp_path)
    os.makedirs(folder, exist_ok=True)
    target = os.path.join(folder, b"t.ort" if name == b"deep" else name)
    if given != "new":
        with open(target, "wb") as f:
            f.write(OLD)
    if given == "two_names":
        os.link(target, os.path.join(folder, b"zwei"))
    done = save("place", target.decode(errors="surrogateescape"), env=dict(os.environ, HOME=str(home), XDG_STATE_HOME=""))
    assert done.returncode == 0, done.stderr
    with open(target, "rb") as f:
        assert f.read() == expected
    assert sorted(os.listdir(folder)) == sorted([os.path.basename(target)] + [b"zwei"] * (given == "two_names"))
    assert not list(home.rglob("*~"))
    shown = subprocess.run([CLI, "place", "show", os.path.join(os.fsencode(tmp_path), b"fehlt\xff")], capture_output=True)
    assert shown.returncode == 1 and b"fehlt\\xff wurde nicht gefunden." in shown.stderr


@pytest.mark.parametrize("closed", [True, False], ids=["unreachable", "missing"])
def test_the_chart_program_is_told_missing_or_unreachable(tmp_path, closed):
    base = others_base()
    (base / "inner").mkdir(mode=0o700 if closed else 0o755)
    shutil.copy2(CLI, base / "tagvaroskop-cli")  # reachable; the chart program in a closed folder, or none
    if closed:
        shutil.copy2(pathlib.Path(CLI).resolve().parent / "tagvaroskop-cli-charts", base / "inner/tagvaroskop-cli-charts")
        os.symlink(base / "inner/tagvaroskop-cli-charts", base / "tagvaroskop-cli-charts")
    done = as_user(NOBODY, str(base / "tagvaroskop-cli"), "chart", "year", "2005", "51", "7", "/dev/null")
    shutil.rmtree(base)
    assert done.returncode == 1 and ("nicht erreichbar" if closed else "fehlt neben") in done.stderr.decode()


def loop_mount(folder, kind, size, *options):
    # A loop-mounted image of the filesystem kind (or a tmpfs of the size, with the mount options), or a skip.
    image, mount = folder / "image", folder / "mnt"
    mount.mkdir()
    if kind != "tmpfs" and not shutil.which(f"mkfs.{kind}"):
        pytest.skip(f"mkfs.{kind} is not installed")
    if kind == "tmpfs":
        mounted = subprocess.run(["mount", "-t", "tmpfs", "-o", ",".join([f"size={size}", *options]), "tmpfs",
                                  str(mount)], capture_output=True)
    else:
        with open(image, "wb") as f:
            f.truncate(size)
        made = subprocess.run([f"mkfs.{kind}", "-q", "-F" if kind == "ext2" else "-f", *options, str(image)],
                              capture_output=True)
        mounted = made if made.returncode else subprocess.run(["mount", "-o", "loop", str(image), str(mount)],
                                                              capture_output=True)
    if mounted.returncode:
        pytest.skip(f"no {kind} mounted here: {mounted.stderr.decode().strip()}")
    return image, mount


def test_a_read_only_medium_is_named_as_such(tmp_path):
    _, mount = loop_mount(tmp_path, "tmpfs", 1 << 20, "ro")
    try:
        done = save("place", mount / "t")
        assert done.returncode == 1 and "liegt auf einem schreibgeschützten Datenträger" in done.stderr.decode()
    finally:
        subprocess.run(["umount", str(mount)], check=True)


# A user's file in a folder the user may not write (so written in place, the backup in
# $XDG_STATE_HOME) on a nearly full copy-on-write filesystem: an overwrite there needs new blocks,
# so the save is refused before anything is overwritten, and the old content survives a remount.
@pytest.mark.parametrize("kind", ["btrfs", "xfs"])
def test_a_full_copy_on_write_disk_keeps_the_old_content(their_cli, kind):
    base = others_base()
    (base / "state").mkdir(mode=0o700)
    os.chown(base / "state", 65533, 65533)
    image, mount = loop_mount(base, kind, 320 << 20, *(["-m", "reflink=1"] if kind == "xfs" else []))
    try:
        (mount / "zu").mkdir(mode=0o755)
        target, old = mount / "zu/export.txt", bytes(range(256)) * 188  # 48,128 bytes, about an export's size
        target.write_bytes(old)
        os.chown(target, 65533, 65533)
        fill(mount, 4)
        os.sync()
        done = as_user(VICTIM, "env", f"XDG_STATE_HOME={base}/state", their_cli, "export", "2024-06-21", "52.5",
                       "13.4", str(target))
        assert done.returncode == 1 and "voller Datenträger" in done.stderr.decode(), done.stderr
        assert not list((base / "state").rglob("*~"))  # nothing was overwritten: the backup went
        subprocess.run(["umount", str(mount)], check=True)
        subprocess.run(["mount", "-o", "loop", str(image), str(mount)], check=True)
        assert target.read_bytes() == old
    finally:
        subprocess.run(["umount", str(mount)], capture_output=True)
        shutil.rmtree(base)
