"""A private X desktop for the end-to-end tests and the demo.

Desktop starts a private X server (xserver.py: Xvfb; two monitors side by
side through a nested Xephyr with Xinerama) and a real window manager with
its panel and system tray (windowmanagers.py; fluxbox also without the tray
of its toolbar), with an accessibility bus (accessibility.py) unless told
otherwise, and tears all of it down again. It is an X client of its display
too (xclient.py): the tests look at it and act on it through the desktop.

Its folder, fluxbox's configuration and the logs live in the private home
that with-home.sh gives the process, never in a real one. Needs the Debian
packages xvfb, xserver-xephyr (two monitors), fluxbox, xdotool and x11-utils
(xdpyinfo, for the marker commands), python3-xlib and python3-pil.
"""

import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile

import windowmanagers
import xserver
from accessibility import Accessibility
from waiting import wait_for
from xclient import Client

TESTING = os.path.dirname(os.path.abspath(__file__))
SOURCE_ROOT = os.path.dirname(TESTING)

# Where scripts/build.sh test builds the program and the tests.
TEST_BUILD = os.path.join(SOURCE_ROOT, "build-test")


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


class Desktop(xserver.Started, Client):
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
        self.watches = None  # until connected
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

    # The X clients of the marker commands, and the Debian packages that have them.
    TOOLS = {"xdotool": "xdotool", "xdpyinfo": "x11-utils"}

    def check_tools(self):
        needed = dict(self.TOOLS, **self.wm.programs)
        missing = {package for tool, package in needed.items() if not shutil.which(tool)}
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
        self.connect_x(self.server.name, self.server.authority)
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
        return self.property(self.root.id, "_NET_SUPPORTING_WM_CHECK") is not None

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
        if self.watches is not None:
            self.disconnect_x()
        if self.server:
            self.server.stop()
        shutil.rmtree(self.workdir, ignore_errors=True)

    def x(self, *argv, check=True):
        """Runs an X client on this display; returns its standard output."""
        result = subprocess.run(list(argv), env=self.env(), capture_output=True, text=True, timeout=20)
        if check and result.returncode != 0:
            raise RuntimeError("%s failed: %s" % (" ".join(argv), result.stderr.strip()))
        return result.stdout

    def resize_screen(self, width, height):
        """A resizable desktop's one monitor in another size (see xserver.Display.resize)."""
        self.server.resize(width, height)
        self.monitors = self.server.monitors
