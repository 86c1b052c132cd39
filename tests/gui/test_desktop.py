"""The desktop program as people and screen readers meet it: the real program on an X server with
openbox, at scales 1 to 2 on 1280x800 and 1366x768 screens, and on Wayland in a headless sway,
read through AT-SPI (pyatspi) and xprop. Run inside a D-Bus session (dbus-run-session), as make
test does."""
import contextlib
import io
import os
import pathlib
import shutil
import subprocess
import tempfile
import time

import pytest

pyatspi = pytest.importorskip("pyatspi")
Image = pytest.importorskip("PIL.Image")
PROGRAM = os.environ.get("TAGVAROSKOP", "build/tagvaroskop")
NAMES = pathlib.Path(__file__).resolve().parents[1] / "data/gui/accessible_names.txt"


@pytest.fixture(scope="module", params=["1280x800", "1366x768"])
def screen(request):
    if not (shutil.which("Xvfb") and shutil.which("openbox") and os.environ.get("DBUS_SESSION_BUS_ADDRESS")):
        pytest.skip("needs Xvfb, openbox and a D-Bus session")
    read, write = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", f"{request.param}x24", "-nolisten",
                               "tcp"], pass_fds=[write], stderr=subprocess.DEVNULL)
    os.close(write)
    display = ":" + os.read(read, 16).decode().strip()
    os.environ["DISPLAY"] = display
    manager = subprocess.Popen(["openbox"], stderr=subprocess.DEVNULL)
    time.sleep(1)
    yield tuple(int(n) for n in request.param.split("x"))
    manager.kill(), server.kill()


@contextlib.contextmanager
def running(environment):
    program = subprocess.Popen([PROGRAM], env={**os.environ, "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1", **environment},
                               stderr=subprocess.DEVNULL)
    try:
        yield
    finally:
        program.kill(), program.wait()


def until(find, seconds=15):
    for _ in range(int(seconds / 0.1)):
        found = find()
        if found:
            return found
        time.sleep(0.1)
    raise AssertionError("never came")


def nodes(node):
    yield node
    for i in range(node.childCount):
        yield from nodes(node.getChildAtIndex(i))


def window(title):
    """The X window with the title, its frame included: (x, y, width, height)."""
    def shown():  # a window of a program that just ended may linger for a moment
        for wid in subprocess.run(["xdotool", "search", "--onlyvisible", "--name", title], capture_output=True,
                                  text=True).stdout.split():
            info = subprocess.run(["xwininfo", "-id", wid], capture_output=True, text=True).stdout
            if "Absolute upper-left X" in info:
                return wid, info
        return None

    wid, info = until(shown)
    value = {line.split(":")[0].strip(): line.split(":")[1] for line in info.splitlines() if ":" in line}
    x, y = int(value["Absolute upper-left X"]), int(value["Absolute upper-left Y"])
    extents = subprocess.run(["xprop", "-id", wid, "_NET_FRAME_EXTENTS"], capture_output=True, text=True).stdout
    left, right, top, bottom = (int(n) for n in extents.split("=")[1].split(",")) if "=" in extents else (0,) * 4
    return wid, (x - left, y - top, int(value["Width"]) + left + right, int(value["Height"]) + top + bottom)


def fits(frame, screen):
    x, y, width, height = frame
    return x >= 0 and y >= 0 and x + width <= screen[0] and y + height <= screen[1]


def icon_sizes(wid):
    out = subprocess.run(["xprop", "-id", wid, "-notype", "32c", "_NET_WM_ICON"], capture_output=True, text=True)
    values, sizes = [int(v) for v in out.stdout.split("=", 1)[1].replace(",", " ").split()], []
    while values:
        sizes.append((values[0], values[1]))
        values = values[2 + values[0] * values[1]:]
    return sizes


def borders_whole(field, scale):
    """Every side of the field's frame in a screenshot: a line within 3 device pixels of where
    the field lies, and at scales other than 1 (where the fields keep the dialog's tight look) no
    ink of its number on it or on the pixel inside it."""
    x, y, width, height = (round(v * scale) for v in field.queryComponent().getExtents(pyatspi.DESKTOP_COORDS))
    shot = Image.open(io.BytesIO(subprocess.run(["import", "-window", "root", "png:-"], capture_output=True).stdout))
    gray = shot.convert("L").load()

    def line(outside, inward, along):  # the first line from outside in that is not background nor base
        for k in range(7):
            at = outside + k * inward
            if sum(gray[p] < 230 for p in along(at)) >= 0.9 * len(along(at)):
                return at
        return None

    rows = lambda c: [(c, y + i) for i in range(4, height - 4)]  # noqa: E731
    columns = lambda r: [(x + i, r) for i in range(4, width - 4)]  # noqa: E731
    left, right = line(x - 3, 1, rows), line(x + width + 2, -1, rows)
    top, bottom = line(y - 3, 1, columns), line(y + height + 2, -1, columns)
    if None in (left, right, top, bottom):
        return False
    thick = max(1, int(scale))
    return scale == 1 or all(gray[c, r] > 110 for c in (left + thick, right - thick) for r in range(top + 3, bottom - 2))


@pytest.mark.parametrize("scale", [1, 1.25, 1.5, 2])
def test_windows_fit_and_show_every_field_whole(screen, scale):
    with running({"QT_QPA_PLATFORM": "xcb", "QT_SCALE_FACTOR": str(scale)}):
        main, frame = window("Tagvaroskop im Verlauf")
        assert fits(frame, screen), frame
        assert icon_sizes(main) == [(16, 16), (32, 32), (48, 48), (256, 256)]
        app = main_window()[0]
        fields = {n.name: n for n in nodes(app) if n.getRoleName() == "text"}
        for name, text in (("Höhe", "-61.6206"), ("Azimut", "359.996"), ("Breite (Grad)", "-43.2803")):
            fields[name].queryEditableText().setTextContents(text)
        time.sleep(0.5)
        assert [name for name, field in fields.items() if not borders_whole(field, scale)] == []
        buttons = {n.name: n for n in nodes(app) if n.getRoleName() == "push button"}
        for opens, title in (("Jahresverlauf", "Tageslänge im"), ("Öffnen", "")):
            buttons[opens].queryAction().doAction(0)
            time.sleep(1.5)
            active = ["xdotool", "getactivewindow", "getwindowname"]  # the file dialog's title
            _, frame = window(title or subprocess.run(active, capture_output=True, text=True).stdout.strip())
            assert fits(frame, screen), (opens, frame)
            subprocess.run(["xdotool", "key", "Escape"])
            time.sleep(0.5)


def test_a_screen_reader_reads_every_control_and_the_charts(screen):
    if screen != (1280, 800):
        pytest.skip("once")
    with running({"QT_QPA_PLATFORM": "xcb"}):
        app, main = main_window()
        named = sorted(f"{n.getRoleName()}: {n.name}" for n in nodes(main) if n.getRoleName() in ("text", "push button"))
        chart = next(n for n in nodes(main) if n.name == "Tagesverlauf der Sonne")
        texts = {n.name: n.queryText().getText(0, -1) for n in nodes(main) if n.getRoleName() == "text"}
        assert f"Sonne über Horizont {texts['Sonne über Horizont (Std)']} Std {texts['Sonne über Horizont (min)']} min" \
            in chart.description
        wid, _ = window("Tagvaroskop im Verlauf")

        def leave_and_return():  # another X window takes the focus and gives it back
            other = subprocess.Popen(["xmessage", "anderes Fenster"])
            window("xmessage"), time.sleep(0.5), other.kill()
            subprocess.run(["xdotool", "windowactivate", "--sync", wid])
        assert typed_on_after_leaving(main, lambda *keys: subprocess.run(["xdotool", "key", "--delay", "100", *keys]),
                                      leave_and_return) == "7.52"
        said = heard_after(lambda: next(n for n in nodes(main) if n.name == "Berechnen").queryAction().doAction(0))
        sunshine = [n.queryText().getText(0, -1) for n in nodes(main) if n.name.startswith("Sonne über Horizont (")]
        height = round(float(next(n for n in nodes(main) if n.name == "Höhe").queryText().getText(0, -1)), 1)
        assert f"notification: Höhe {height:.1f} Grad".replace(".", ",") in said[-1], said
        assert said[-1].endswith(f"Sonne über Horizont {sunshine[0]} Std {sunshine[1]} min"), said
        next(n for n in nodes(main) if n.name == "Jahresverlauf").queryAction().doAction(0)
        year = until(lambda: next((n for n in nodes(app) if n.getRoleName() == "dialog" and "Jahresverlauf" in n.name),
                                  None))
        wid, _ = window("Tageslänge im")
        subprocess.run(["xdotool", "mousemove", "--window", wid, "150", "200", "click", "1"])
        time.sleep(1)
        named += sorted(f"{n.getRoleName()}: {n.name}" for n in nodes(year) if n.getRoleName() in ("text", "push button"))
        assert named == NAMES.read_text(encoding="utf-8").splitlines()
        picked = next(n for n in nodes(year) if n.name == "Tageslängen im Jahresverlauf").description
        sun = {n.name: n.queryText().getText(0, -1) for n in nodes(year) if n.getRoleName() == "text"}
        assert f"gewählter Tag: Sonnenschein {sun['Sonnenschein (Std)']} Std {sun['Sonnenschein (min)']} min" in picked


def main_window():
    app = until(lambda: next((a for a in pyatspi.Registry.getDesktop(0) if a and a.name == "tagvaroskop" and a.childCount),
                             None))
    return app, until(lambda: next((n for n in nodes(app) if n.getRoleName() == "dialog"
                                    and n.getState().contains(pyatspi.STATE_ACTIVE)), None))


def typed_on_after_leaving(main, press, leave_and_return):
    """What "Länge (Grad)" (7) reads after End, ".5", the window left and regained, and "2"."""
    longitude = next(n for n in nodes(main) if n.name == "Länge (Grad)")
    longitude.queryComponent().grabFocus()
    press("End", "period", "5"), leave_and_return(), press("2"), time.sleep(0.5)
    return longitude.queryText().getText(0, -1)


@pytest.fixture
def sway():
    """A headless sway and its clients' environment; as nobody where we are root, which sway refuses."""
    plugin = "/usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqwayland-generic.so"
    if not (shutil.which("sway") and shutil.which("wtype") and os.path.exists(plugin)
            and os.environ.get("DBUS_SESSION_BUS_ADDRESS")):
        pytest.skip("needs sway, wtype, Qt's Wayland plugin (qt6-wayland) and a D-Bus session")
    runtime, user = pathlib.Path(tempfile.mkdtemp()), []
    if os.getuid() == 0:
        shutil.chown(runtime, "nobody", "nogroup")
        user = ["setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"]
    env = dict(os.environ, XDG_RUNTIME_DIR=str(runtime), WLR_BACKENDS="headless", WLR_LIBINPUT_NO_DEVICES="1",
               WLR_RENDERER="pixman")
    server = subprocess.Popen([*user, "sway", "-c", "/dev/null"], env=env, stderr=subprocess.DEVNULL)
    socket, display = until(lambda: (both := [*runtime.glob("sway-ipc.*"), *runtime.glob("wayland-?")])[1:] and both)
    yield dict(env, WAYLAND_DISPLAY=display.name, SWAYSOCK=str(socket))
    server.kill(), server.wait(), shutil.rmtree(runtime)


def test_typing_goes_on_after_the_window_was_left_on_wayland(sway):
    with running({**sway, "QT_QPA_PLATFORM": "wayland"}):
        def leave_and_return():  # to an empty workspace and back
            for workspace in "21":
                subprocess.run(["swaymsg", "workspace", workspace], env=sway, capture_output=True, check=True)
                time.sleep(0.5)
        # Each wtype is a new virtual keyboard: keys sent before its keymap has reached the program are lost.
        press = lambda *keys: subprocess.run(["wtype", "-s", "300", *(a for k in keys for a in ("-k", k, "-d", "100"))],
                                             env=sway)
        assert typed_on_after_leaving(main_window()[1], press, leave_and_return) == "7.52"


def heard_after(act, seconds=2):
    """What the bus carried as shown while `act` ran: "role: name" of each object shown."""
    from gi.repository import GLib
    heard = []
    def on(event):
        if event.detail1:
            heard.append(f"{event.source.getRoleName()}: {event.source.name}")
    pyatspi.Registry.registerEventListener(on, "object:state-changed:showing")
    act()
    for _ in range(int(seconds / 0.01)):
        GLib.MainContext.default().iteration(False)
        time.sleep(0.01)
    pyatspi.Registry.deregisterEventListener(on, "object:state-changed:showing")
    return heard


def luminance(rgb):  # relative luminance, as WCAG defines it
    def linear(c):
        c /= 255
        return c / 12.92 if c <= 0.03928 else ((c + 0.055) / 1.055) ** 2.4
    r, g, b = rgb[:3]
    return 0.2126 * linear(r) + 0.7152 * linear(g) + 0.0722 * linear(b)


def contrast_in(shot, box):
    """The greatest contrast of a colour in the box against its commonest one (its background)."""
    colours = shot.crop(box).getcolors(1 << 16)
    base = luminance(max(colours)[1])
    return max((max(base, luminance(c)) + 0.05) / (min(base, luminance(c)) + 0.05) for _, c in colours)


DARK_THEMES = {  # a dark GTK theme through Qt's gtk3 platform theme, and qt6ct's dark scheme
    "gtk3": {"GTK_THEME": "Adwaita:dark", "XDG_CURRENT_DESKTOP": "GNOME"},
    "qt6ct": {"XDG_CONFIG_HOME": "{home}"}}


@pytest.mark.parametrize("theme", DARK_THEMES)
def test_every_text_is_readable_under_a_dark_theme(screen, theme, tmp_path):
    if screen != (1280, 800):
        pytest.skip("one screen is enough")
    plugins = pathlib.Path("/usr/lib/x86_64-linux-gnu/qt6/plugins/platformthemes")
    if not (plugins / f"lib{'q' if theme == 'gtk3' else ''}{theme}.so").exists() or not shutil.which("import"):
        pytest.skip(f"needs Qt's {theme} platform theme (qt6-gtk-platformtheme, qt6ct) and ImageMagick")
    (tmp_path / "qt6ct").mkdir()
    (tmp_path / "qt6ct/qt6ct.conf").write_text("[Appearance]\ncustom_palette=true\nstyle=Fusion\n"
                                               "color_scheme_path=/usr/share/qt6ct/colors/darker.conf\n")
    with running({"QT_QPA_PLATFORMTHEME": theme, "QT_QPA_PLATFORM": "xcb",
                  **{key: value.format(home=tmp_path) for key, value in DARK_THEMES[theme].items()}}):
        window("Tagvaroskop im Verlauf")
        time.sleep(2)  # the theme's start, then the accessible tree as it stands
        app = next(a for a in pyatspi.Registry.getDesktop(0) if a and a.name == "tagvaroskop" and a.childCount)
        texts = [n for n in nodes(app) if n.getRoleName() in ("label", "push button", "text") and n.name]
        shot = Image.open(io.BytesIO(subprocess.run(["import", "-window", "root", "png:-"], capture_output=True,
                                                    check=True).stdout)).convert("RGB")
        assert len(texts) > 20, [(n.getRoleName(), n.name) for n in nodes(app)]
        shown = [(n.name, n.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)) for n in texts]
        assert [name for name, e in shown if e.width > 2 and e.height > 2
                and contrast_in(shot, (e.x, e.y, e.x + e.width, e.y + e.height)) < 4.5] == []
