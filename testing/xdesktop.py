"""A private X desktop for end-to-end tests, driven from the outside.

Desktop starts a private X server (testing/xserver.py: Xvfb; two monitors
side by side through a nested Xephyr with Xinerama) and a real window manager
with its panel and system tray (windowmanagers.py; fluxbox also without the
tray of its toolbar), and tears all of it down again. Program runs farewelldesk
on it with harmless commands that only append a marker line to a file in the
private home. The helpers act like a user would: xdotool clicks at screen
positions and keys sent to whatever has the focus, and pixels read from a dump
of the root window. Each step waits for what the user would see happen, never
for a fixed time.

The end-to-end tests in tests/e2e/ and scripts/demo.py import it from here
(CTest puts this folder on PYTHONPATH; to run a test by hand:
PYTHONPATH=testing python3 tests/e2e/test_action.py).

Standard library only; the X side needs the Debian packages xvfb,
xserver-xephyr (two monitors), fluxbox, xdotool, x11-utils (xwininfo, xev,
xprop, xdpyinfo), x11-xserver-utils (xsetroot) and x11-apps (xwd) or
imagemagick (import).
"""

import json
import os
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import unittest
import zlib

import windowmanagers

import xserver

TESTING = os.path.dirname(os.path.abspath(__file__))
SOURCE_ROOT = os.path.dirname(TESTING)

PROGRAM_CLASS = "farewelldesk"
# Where scripts/build.sh test builds the program and the tests.
TEST_BUILD = os.path.join(SOURCE_ROOT, "build-test")


def program_path():
    return os.environ.get("FAREWELLDESK_BIN", os.path.join(TEST_BUILD, "farewelldesk"))


def trayprobe_path():
    return os.environ.get("FAREWELLDESK_TRAYPROBE", os.path.join(TEST_BUILD, "tests", "e2e", "trayprobe"))


def ensure_private_home():
    """Re-runs the calling script under with-home.sh unless it already is.

    The program takes its home from the password database, so only nss_wrapper
    keeps it (and fluxbox, and the markers) out of the real home.
    """
    if os.environ.get("FAREWELLDESK_TEST_HOME"):
        return
    script = os.path.join(TESTING, "with-home.sh")
    os.execv(script, [script, sys.executable] + sys.argv)


def home():
    return os.environ["FAREWELLDESK_TEST_HOME"]


def wait_for(what, predicate, timeout=20.0, interval=0.1):
    """Polls predicate until it returns something true; returns that value."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError("timed out after %.1f s waiting for %s" % (timeout, what))
        time.sleep(interval)


class Image:
    """Pixels of an X window dump (xwd's format, ZPixmap, 16, 24 or 32 bits a pixel)."""

    def __init__(self, data):
        fields = struct.unpack(">25I", data[:100])
        header_size, _, pixmap_format = fields[0:3]
        self.width, self.height = fields[4], fields[5]
        self.lsb_first = fields[7] == 0
        bits_per_pixel, self.stride = fields[11], fields[12]
        masks = fields[14:17]
        ncolors = fields[19]
        if pixmap_format != 2 or bits_per_pixel not in (16, 24, 32):
            raise ValueError("unexpected window dump: format %d, %d bits" % (pixmap_format, bits_per_pixel))
        self.bytes_per_pixel = bits_per_pixel // 8
        self.shifts = [(m & -m).bit_length() - 1 for m in masks]
        self.masks = masks
        # Channels of fewer bits (16-bit colour) widen to 8 as X widens colours:
        # their top bits repeat below them.
        self.bits = [bin(m).count("1") for m in masks]
        self.pixels = data[header_size + 12 * ncolors :]

    @property
    def byte_order(self):
        return "little" if self.lsb_first else "big"

    def row(self, y):
        """Row y as it is stored, padding included."""
        return self.pixels[y * self.stride : (y + 1) * self.stride]

    def pixel(self, x, y):
        """(red, green, blue) at x, y, each from 0 to 255."""
        at = y * self.stride + x * self.bytes_per_pixel
        value = int.from_bytes(self.pixels[at : at + self.bytes_per_pixel], self.byte_order)
        channels = [((value & m) >> s, bits) for m, s, bits in zip(self.masks, self.shifts, self.bits)]
        return tuple((c << (8 - bits)) | (c >> (2 * bits - 8)) for c, bits in channels)

    def rows(self):
        for y in range(self.height):
            yield bytes(c for x in range(self.width) for c in self.pixel(x, y))

    def save_png(self, path):
        width, height = self.width, self.height
        raw = b"".join(b"\0" + row for row in self.rows())

        def chunk(kind, body):
            return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

        png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
        png += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
        with open(path, "wb") as out:
            out.write(png)


class Window:
    def __init__(self, wid, x, y, width, height, name):
        self.wid, self.x, self.y, self.width, self.height, self.name = wid, x, y, width, height, name

    def __eq__(self, other):
        return isinstance(other, Window) and vars(self) == vars(other)

    @property
    def place(self):
        """(x, y, width, height): a dialog shown again keeps it; Qt 6 may give it another X window."""
        return self.x, self.y, self.width, self.height

    @property
    def centre(self):
        return self.x + self.width // 2, self.y + self.height // 2

    def __repr__(self):
        return "Window(%s %r %dx%d+%d+%d)" % (self.wid, self.name, self.width, self.height, self.x, self.y)


class Desktop(xserver.Started):
    """A private X server with a window manager, as a context manager.

    monitors: list of (width, height); more than one gives side-by-side
    Xinerama heads, the first being the primary one.
    tray: whether fluxbox's toolbar has its system tray.
    accessible: whether the session has an accessibility bus, switched on,
    through which the tests find and drive the program's windows
    (Accessibility).
    wm: a name from windowmanagers.WINDOW_MANAGERS; by default
    $FAREWELLDESK_E2E_WM, or fluxbox.
    """

    def __init__(self, monitors=((1024, 768),), tray=True, home_dir=None, wm=None, accessible=True, resizable=False):
        # $FAREWELLDESK_E2E_DEPTH bits a pixel (24 by default); MIT-SHM left
        # out, as on a remote display, when $FAREWELLDESK_E2E_NO_SHM is set.
        self.depth = int(os.environ.get("FAREWELLDESK_E2E_DEPTH", "24"))
        self.shared_memory = not os.environ.get("FAREWELLDESK_E2E_NO_SHM")
        self.monitors = list(monitors)
        self.resizable = resizable
        self.tray = tray
        self.accessible = accessible
        self.accessibility = None
        self.wm = windowmanagers.WINDOW_MANAGERS[wm or os.environ.get("FAREWELLDESK_E2E_WM", "fluxbox")]
        # What the window manager's session adds for every client (a session bus).
        self.session_env = {}
        self.processes = []
        self.server = None
        self.display = None
        # fluxbox's configuration and the logs live here, never in a real home.
        self.home = home_dir or home()
        self.workdir = tempfile.mkdtemp(prefix="e2e-desktop.", dir=self.home)

    def env(self):
        env = self.server.env()
        env.pop("QT_QPA_PLATFORM", None)  # the real xcb platform, not offscreen
        env.pop("WAYLAND_DISPLAY", None)
        # A bus that cannot be reached, unless the desktop has one: with none
        # named, libdbus would launch a bus of its own that outlives the test.
        env["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=" + os.path.join(self.workdir, "no-bus")
        env.update(self.session_env)
        return env

    def spawn(self, argv, env=None, **kwargs):
        """Starts a process in its own process group, torn down by stop()."""
        kwargs.setdefault("stdin", subprocess.DEVNULL)
        process = subprocess.Popen(argv, env=env or self.env(), start_new_session=True, **kwargs)
        self.processes.append(process)
        return process

    # The X clients used here, and the Debian packages that have them.
    TOOLS = {
        "xdotool": "xdotool",
        "xwininfo": "x11-utils",
        "xev": "x11-utils",
        "xprop": "x11-utils",
        "xdpyinfo": "x11-utils",
        "xsetroot": "x11-xserver-utils",
    }

    def check_tools(self):
        needed = dict(self.TOOLS, **self.wm.programs)
        missing = {package for tool, package in needed.items() if not shutil.which(tool)}
        if not self.screenshot_command():
            missing.add("x11-apps")
        if self.accessible:
            missing.update(Accessibility.missing_packages())
        missing = sorted(missing)
        if missing:
            raise RuntimeError("missing X tools; install the packages: " + " ".join(missing))

    def start(self):
        self.check_tools()
        self.server = xserver.Display(
            self.monitors,
            logdir=self.workdir,
            depth=self.depth,
            shared_memory=self.shared_memory,
            resizable=self.resizable,
        )
        self.server.start()
        self.display = self.server.name
        self.wm.start(self)
        if self.accessible:
            self.accessibility = Accessibility(self)
        self._wait_for_desktop()

    def _wait_for_desktop(self):
        if not os.path.exists(trayprobe_path()):
            self.wait_wm()
        elif self.tray:
            wait_for("the window manager's system tray", self.tray_available, timeout=15, interval=0.2)
        else:
            self.wait_wm()
            if self.tray_available():
                raise RuntimeError("%s has a system tray although it should not" % self.wm.name)

    def wait_wm(self):
        wait_for("the window manager", self.wm_running, timeout=15, interval=0.2)

    def wm_running(self):
        return "window id #" in self.x("xprop", "-root", "_NET_SUPPORTING_WM_CHECK", check=False)

    def probe(self):
        """What Qt sees of this display (trayprobe's report), or "" when the probe failed."""
        probe = subprocess.run([trayprobe_path()], env=self.env(), capture_output=True, text=True, timeout=10)
        return probe.stdout if probe.returncode == 0 else ""

    def tray_available(self):
        return "tray 1" in self.probe()

    def status_notifier_items(self):
        """The items registered with the D-Bus tray's watcher, as "service/path"."""
        argv = ["gdbus", "call", "--session", "--dest", "org.kde.StatusNotifierWatcher"]
        argv += ["--object-path", "/StatusNotifierWatcher", "--method", "org.freedesktop.DBus.Properties.Get"]
        argv += ["org.kde.StatusNotifierWatcher", "RegisteredStatusNotifierItems"]
        return re.findall(r"'([^']+)'", self.x(*argv, check=False))

    def qt_screens(self):
        """The screens as Qt sees them: list of (x, y, width, height, primary)."""
        screens = []
        for m in re.finditer(r"^screen (-?\d+),(-?\d+) (\d+)x(\d+)( primary)?$", self.probe(), re.M):
            screens.append(tuple(int(v) for v in m.groups()[:4]) + (bool(m.group(5)),))
        return screens

    def stop(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                try:
                    os.killpg(process.pid, signal.SIGTERM)
                except ProcessLookupError:
                    pass
        for process in reversed(self.processes):
            try:
                process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                os.killpg(process.pid, signal.SIGKILL)
                process.wait()
            for pipe in (process.stdin, process.stdout):
                if pipe:
                    pipe.close()
        self.processes = []
        if self.server:
            self.server.stop()
        shutil.rmtree(self.workdir, ignore_errors=True)

    # --- looking -----------------------------------------------------------

    def x(self, *argv, check=True):
        """Runs an X client on this display; returns its standard output."""
        result = subprocess.run(list(argv), env=self.env(), capture_output=True, text=True, timeout=20)
        if check and result.returncode != 0:
            raise RuntimeError("%s failed: %s" % (" ".join(argv), result.stderr.strip()))
        return result.stdout

    @staticmethod
    def screenshot_command():
        """A dump of the root window in xwd's format: xwd, or ImageMagick's import."""
        if shutil.which("xwd"):
            return ["xwd", "-root", "-silent"]
        if shutil.which("import"):
            return ["import", "-silent", "-window", "root", "xwd:-"]
        return None

    def screenshot(self):
        command = self.screenshot_command()
        return Image(subprocess.run(command, env=self.env(), capture_output=True, timeout=20, check=True).stdout)

    def pixel(self, x, y):
        return self.screenshot().pixel(x, y)

    def window(self, wid):
        # xwininfo's absolute position is the client's own; xdotool's is off
        # by the frame of a managed window.
        info = self.x("xwininfo", "-id", wid, check=False)
        fields = dict(re.findall(r"^\s*(Absolute upper-left [XY]|Width|Height):\s*(-?\d+)$", info, re.M))
        if len(fields) < 4:
            return None  # gone meanwhile
        name = re.search(r'^xwininfo: Window id: \S+ (?:"(.*)"|\(has no name\))$', info, re.M)
        return Window(
            wid,
            int(fields["Absolute upper-left X"]),
            int(fields["Absolute upper-left Y"]),
            int(fields["Width"]),
            int(fields["Height"]),
            (name.group(1) or "") if name else "",
        )

    def windows(self, name=None):
        """The program's mapped windows (by WM_CLASS), or the mapped windows with a title matching name."""
        argv = ["xdotool", "search", "--onlyvisible"]
        if name is not None:
            argv += ["--name", name]
        else:
            argv += ["--class", PROGRAM_CLASS]
        found = [self.window(wid) for wid in self.x(*argv, check=False).split()]
        return [w for w in found if w is not None]

    def backdrops(self):
        """The visible windows that cover a whole monitor."""
        sizes = set(self.monitors)
        return [w for w in self.windows() if (w.width, w.height) in sizes]

    def dialogs(self):
        sizes = set(self.monitors)
        return [w for w in self.windows() if (w.width, w.height) not in sizes and w.width > 64]

    def wait_dialog(self, what, timeout=20, predicate=lambda w: True):
        def find():
            found = [w for w in self.dialogs() if predicate(w)]
            return found[0] if len(found) == 1 else None

        return wait_for(what, find, timeout=timeout)

    def wait_named(self, name, timeout=20):
        """The one visible window whose title matches name exactly."""

        def find():
            found = self.windows(name="^%s$" % re.escape(name))
            return found[0] if len(found) == 1 else None

        return wait_for("a window named %r" % name, find, timeout=timeout)

    def focus(self):
        return self.x("xdotool", "getwindowfocus", check=False).strip()

    def wait_focus(self, window, timeout=5):
        """Waits until window has the keyboard focus: keys typed before would go elsewhere."""
        try:
            wait_for("the keyboard focus on %r" % window, lambda: self.focus() == window.wid, timeout)
        except AssertionError as error:
            raise AssertionError("%s; it stays on %r" % (error, self.window(self.focus()))) from None

    # --- acting ------------------------------------------------------------

    def click(self, x, y):
        """Clicks once the pointer is there. The caller waits for what the click does."""
        # --sync waits for the pointer to move, and long when it is there already.
        if self.x("xdotool", "getmouselocation", "--shell").split()[:2] != ["X=%d" % x, "Y=%d" % y]:
            self.x("xdotool", "mousemove", "--sync", str(x), str(y))
        self.x("xdotool", "click", "1")

    def key(self, *keys):
        """Keys to no particular window: they go where the focus is, in order.

        The caller makes sure of the focus first (wait_focus) and waits for
        what the keys do afterwards.
        """
        self.x("xdotool", "key", *keys)

    def looks(self, window, top, bottom):
        """The pixels of window's rows top to bottom (from its top edge)."""
        image = self.screenshot()
        columns = range(window.x, window.x + window.width)
        return [image.pixel(x, window.y + y) for y in range(top, bottom) for x in columns]

    def key_handled(self, window, key):
        """Presses key, then Tab; returns once Tab has moved the focus in the bottom row.

        The program takes its keys in order, so key has been handled by then:
        a test can look for what key must not have done.
        """
        rows = (window.height - 45, window.height - 12)  # the bottom row of buttons
        before = self.looks(window, *rows)
        self.key(key, "Tab")
        wait_for("Tab after %s to move the focus" % key, lambda: self.looks(window, *rows) != before, timeout=10)

    def resize_screen(self, width, height):
        """A resizable desktop's one monitor in another size (see xserver.Display.resize)."""
        self.server.resize(width, height)
        self.monitors = self.server.monitors

    def paint_root(self, colour):
        self.x("xsetroot", "-solid", colour)

    MARK = "FAREWELLDESK_TEST_MARK"

    def watch_maps(self):
        """Starts recording top-level windows mapped from now on; see mapped()."""
        with open(os.path.join(self.workdir, "xev-%d.log" % len(self.processes)), "wb") as log:
            self.spawn(
                ["xev", "-root", "-event", "substructure", "-event", "property"],
                stdout=log,
                stderr=subprocess.DEVNULL,
            )
        self._mark(log.name)  # xev reports a change made after it started: it listens
        return log.name

    def mapped(self, watch):
        """The MapNotify lines recorded so far. Call it after the event after
        which a window would have been mapped (a program's end, say): it marks
        the display afresh and reads the record up to that mark, so everything
        the server did before is in it."""
        return [line for line in self._mark(watch) if line.startswith("MapNotify")]

    def _mark(self, watch):
        """Changes a property of the root window and waits until watch has
        recorded it; returns the record's lines up to there."""

        def marks():
            with open(watch, errors="replace") as log:
                lines = log.read().splitlines()
            return lines, sum(1 for line in lines if "(%s)" % self.MARK in line)

        _, seen = marks()

        def recorded():
            lines, count = marks()
            if count > seen:
                return lines
            # Again, while a watch just started may not listen yet.
            self.x("xprop", "-root", "-f", self.MARK, "8s", "-set", self.MARK, "mark")
            return None

        return wait_for("the watch to record the mark", recorded, timeout=10, interval=0.05)


class Node:
    """One accessible object of the program as AT-SPI shows it, from a snapshot
    of its tree: role, name, description, extents (x, y, width, height),
    states, value, actions, children; path leads to it from the application."""

    def __init__(self, fields, path=()):
        self.__dict__.update(fields)
        self.path = list(path)
        self.children = [Node(child, self.path + [i]) for i, child in enumerate(fields["children"])]

    @property
    def centre(self):
        """Where the object's centre is on the screen. Qt tells AT-SPI its
        own pixels, which $QT_SCALE_FACTOR makes larger than the screen's."""
        x, y, width, height = self.extents
        scale = float(os.environ.get("QT_SCALE_FACTOR", "1"))
        return round((x + width / 2) * scale), round((y + height / 2) * scale)

    def walk(self):
        yield self
        for child in self.children:
            yield from child.walk()

    def find(self, name, role="push button"):
        """The one object below this one (or this one) with that role and name."""
        found = [n for n in self.walk() if n.role == role and n.name == name]
        if len(found) != 1:
            raise AssertionError("%d %ss named %r in %r" % (len(found), role, name, self.name))
        return found[0]

    def outline(self, indent=""):
        """The tree as a screen reader reads it: role and name, one object a line."""
        line = "%s%s %r" % (indent, self.role, self.name) + (" (%s)" % self.description if self.description else "")
        return "\n".join([line] + [child.outline(indent + "  ") for child in self.children])

    def __repr__(self):
        return "Node(%s %r)" % (self.role, self.name)


class Accessibility:
    """The desktop's accessibility bus with assistive technology switched on,
    and a client that reads and drives programs over it (atspi_client.py).

    The bus launcher runs on the program's session bus (a private one unless
    the window manager's session has one) and keeps its socket in a folder of
    this desktop.
    """

    LAUNCHERS = ["/usr/libexec/at-spi-bus-launcher", "/usr/local/libexec/at-spi-bus-launcher"]
    CLIENT = os.path.join(TESTING, "atspi_client.py")

    @classmethod
    def launcher(cls):
        return next((path for path in cls.LAUNCHERS if os.path.exists(path)), None)

    @classmethod
    def client_python(cls):
        """A Python that has the AT-SPI client: Debian's own, or the one running."""
        for python in dict.fromkeys(["/usr/bin/python3", sys.executable]):
            probe = [python, "-c", "import gi; gi.require_version('Atspi', '2.0')"]
            if os.path.exists(python) and subprocess.run(probe, capture_output=True).returncode == 0:
                return python
        return None

    @classmethod
    def missing_packages(cls):
        missing = {"at-spi2-core"} if not cls.launcher() else set()
        if not cls.client_python():
            missing.add("python3-pyatspi")
        if not shutil.which("dbus-daemon"):
            missing.add("dbus-daemon")
        return missing

    def __init__(self, desktop):
        env = desktop.env()
        if not desktop.session_env.get("DBUS_SESSION_BUS_ADDRESS"):
            desktop.session_env["DBUS_SESSION_BUS_ADDRESS"] = windowmanagers.start_session_bus(desktop, env)
        env = desktop.env()
        env["XDG_RUNTIME_DIR"] = os.path.join(desktop.workdir, "run")
        os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)
        # Without DISPLAY the launcher leaves the X server alone: programs
        # learn the accessibility bus's address from the session bus only.
        launcher_env = dict(env)
        launcher_env.pop("DISPLAY")
        # The launcher keeps IsEnabled and ScreenReaderEnabled in GSettings,
        # which would read a developer's own settings and store the test's:
        # in memory, with a home of this desktop's, they stay the test's.
        launcher_home = os.path.join(desktop.workdir, "a11y-home")
        launcher_env.update(
            GSETTINGS_BACKEND="memory", HOME=launcher_home, XDG_CONFIG_HOME=os.path.join(launcher_home, ".config")
        )
        desktop.spawn([self.launcher(), "--launch-immediately"], env=launcher_env, stderr=subprocess.DEVNULL)
        self.env = env
        # A call to the bus's name before the launcher owns it would have the
        # session bus start a second launcher, with the session's settings.
        wait_for("the accessibility bus launcher", self.launcher_running)
        if not self.say("IsEnabled", True):
            raise RuntimeError("the accessibility bus launcher refused IsEnabled")
        self.client = desktop.spawn(
            [self.client_python(), self.CLIENT], env=env, stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True
        )

    def launcher_running(self):
        argv = ["gdbus", "call", "--session", "--dest", "org.freedesktop.DBus"]
        argv += ["--object-path", "/org/freedesktop/DBus", "--method", "org.freedesktop.DBus.NameHasOwner", "org.a11y.Bus"]
        return subprocess.run(argv, env=self.env, capture_output=True, text=True).stdout.strip() == "(true,)"

    def say(self, flag, value):
        """Sets a flag of the session's accessibility status (IsEnabled,
        ScreenReaderEnabled), as a screen reader's session does; True when
        the launcher took it."""
        argv = ["gdbus", "call", "--session", "--dest", "org.a11y.Bus", "--object-path", "/org/a11y/bus"]
        argv += ["--method", "org.freedesktop.DBus.Properties.Set", "org.a11y.Status"]
        argv += [flag, "<%s>" % str(value).lower()]
        return subprocess.run(argv, env=self.env, capture_output=True).returncode == 0

    def ask(self, request):
        self.client.stdin.write(json.dumps(request) + "\n")
        self.client.stdin.flush()
        return json.loads(self.client.stdout.readline())

    def tree(self, program):
        """The program's application as a Node, or None while it is not on the bus."""
        fields = self.ask({"tree": program.process.pid})
        return Node(fields) if fields else None

    def window(self, program, name, timeout=20):
        """The program's showing window of that name, once it is there and
        stays in one place (a window manager may move it as it maps it)."""
        last = []

        def find():
            app = self.tree(program)
            found = [w for w in app.children if w.name == name and "showing" in w.states] if app else []
            window = found[0] if len(found) == 1 else None
            settled = window and last and last[-1].extents == window.extents
            last[:] = [window] if window else []
            return window if settled else None

        return wait_for("the window %r on the accessibility bus" % name, find, timeout=timeout)

    def do(self, program, node, action="Press"):
        """Does node's action, as switch access or voice control would."""
        answer = self.ask({"act": program.process.pid, "path": node.path, "action": action})
        if "error" in answer:
            raise AssertionError("%s on %r: %s" % (action, node, answer["error"]))


class Markers:
    """The harmless commands and the file they append to."""

    ACTIONS = {"-L": "lock", "-S": "suspend", "-l": "logout", "-r": "reboot", "-s": "shutdown"}

    def __init__(self):
        self.path = os.path.join(home(), "e2e-markers")
        if os.path.exists(self.path):
            os.remove(self.path)

    def command(self, action):
        # Notes how many windows of the program are still mapped while the
        # command runs (the screens must be uncovered by then), or "none"
        # when the display cannot be reached.
        count = "(xdpyinfo >/dev/null && xdotool search --onlyvisible --class %s | wc -l) 2>/dev/null" % PROGRAM_CLASS
        return "printf '%%s windows=%%s\\n' %s \"$( %s || echo none)\" >> '%s'" % (action, count, self.path)

    def options(self, **overrides):
        """-L -S -l -r -s set to marker commands; overrides maps an action to its own command."""
        argv = []
        for option, action in self.ACTIONS.items():
            argv += [option, overrides.get(action, self.command(action))]
        return argv

    def lines(self):
        if not os.path.exists(self.path):
            return []
        with open(self.path) as f:
            return f.read().splitlines()


class Program:
    """One run of the real binary on a Desktop."""

    def __init__(self, desktop, args, env=None):
        self.desktop = desktop
        self.stderr_path = os.path.join(desktop.workdir, "program-%d.err" % len(desktop.processes))
        with open(self.stderr_path, "wb") as output:
            self.process = desktop.spawn([program_path()] + list(args), env=env, stdout=output, stderr=output)

    def wait(self, timeout=20):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError("the program did not end within %s s" % timeout)

    def running(self):
        return self.process.poll() is None

    def output(self):
        with open(self.stderr_path, errors="replace") as f:
            return f.read()


class Chooser:
    """The chooser: its X window, and its buttons as AT-SPI finds them, by name."""

    NAME = "End the session"

    def __init__(self, window, node):
        self.window = window
        self.node = node

    def button(self, text):
        """Where to click the button of that name."""
        return self.node.find(text).centre


class Scenario(unittest.TestCase):
    """A test case with a time limit per test; the desktop always goes away."""

    TIME_LIMIT = 60

    def setUp(self):
        def expire(signum, frame):
            raise TimeoutError("scenario took longer than %d s" % self.TIME_LIMIT)

        signal.signal(signal.SIGALRM, expire)
        signal.signal(signal.SIGTERM, lambda s, f: sys.exit("terminated"))
        signal.alarm(self.TIME_LIMIT)
        self.addCleanup(signal.alarm, 0)
        self.markers = Markers()

    def desktop(self, **kwargs):
        desktop = Desktop(**kwargs)
        desktop.__enter__()
        self.addCleanup(desktop.stop)
        self.addCleanup(self.keep_last_screen, desktop)
        return desktop

    def keep_last_screen(self, desktop):
        """With $FAREWELLDESK_E2E_SHOTS set, saves the screen as the test left it there."""
        folder = os.environ.get("FAREWELLDESK_E2E_SHOTS")
        if folder:
            os.makedirs(folder, exist_ok=True)
            desktop.screenshot().save_png(os.path.join(folder, self.id().split(".", 1)[-1] + ".png"))

    def start(self, desktop, *extra, **overrides):
        program = Program(desktop, self.markers.options(**overrides) + list(extra))

        def reap():
            if program.running():
                program.process.kill()
                program.process.wait()

        self.addCleanup(reap)
        return program

    def wait_chooser(self, desktop, program, timeout=20, keyboard=False, name=Chooser.NAME):
        """The chooser once it is shown over the backdrop; with keyboard, once
        it has the focus too. name is its accessible name in the program's language."""
        def ready():
            if not program.running():
                raise AssertionError(
                    "the program ended early, status %s: %s" % (program.process.returncode, program.output())
                )
            dialogs = desktop.dialogs()
            return dialogs[0] if desktop.backdrops() and len(dialogs) == 1 else None

        chooser = wait_for("the chooser over the backdrop", ready, timeout=timeout)
        if keyboard:
            desktop.wait_focus(chooser)
        return Chooser(chooser, desktop.accessibility.window(program, name))

    def click_button(self, desktop, program, window, button):
        """Clicks the button of that name in the program's window of that name."""
        desktop.click(*desktop.accessibility.window(program, window).find(button).centre)

    def start_one_minute(self, desktop):
        """Timer in the chooser, then OK on the preset of one minute."""
        program = self.start(desktop)
        chooser = self.wait_chooser(desktop, program)
        desktop.click(*chooser.button("Timer"))
        self.click_button(desktop, program, "Shutdown timer", "Ok")
        wait_for("the backdrop to go", lambda: not desktop.backdrops() and not desktop.dialogs())
        return program

    def tray_icon(self, desktop):
        """The program's window embedded in an XEmbed tray."""

        def find():
            icons = [w for w in desktop.windows() if w.width <= 64 and w.height <= 64]
            return icons[0] if len(icons) == 1 else None

        return wait_for("the tray icon", find, timeout=20)


def main():
    ensure_private_home()
    unittest.main(verbosity=2)
