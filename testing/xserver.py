"""Private X servers for the tests, the demo and the benchmarks.

A server chooses a free display number itself (-displayfd), so two runs started
together never pick the same one, and it accepts only clients that present its
cookie (-auth, with XAUTHORITY for the clients): a server that someone else
starts later on a reused number refuses our clients instead of serving them.

One monitor is an Xvfb. Two or more side by side are screens of an Xephyr with
Xinerama, nested in an Xvfb: Xvfb lays every Xinerama head at the origin and
has no RandR monitors to split a wide screen. Without RandR, Qt 5 takes the
Xinerama heads as its screens. Qt 6 reads only RandR: with
FAREWELLDESK_TEST_MONITORS=randr in the environment (the Qt 6 build's tests),
the monitors are RandR monitors that split one Xvfb instead.

A display may also have another colour depth than 24 bits, or lack the
MIT-SHM extension, as a remote display does. A resizable one is a single
monitor of an Xephyr whose window in the Xvfb around it changes its size, as
a monitor plugged in or a laptop docked changes the screen (RandR).

Standard library only; needs Xvfb (Debian xvfb) and, for more than one
monitor, Xephyr (xserver-xephyr).
"""

import os
import secrets
import select
import shutil
import signal
import socket
import struct
import subprocess
import tempfile
import time

START_TIMEOUT = 30  # seconds; a loaded machine starts a server in well under one


def parse_monitors(text):
    """[(width, height), ...] from "1920x1080,800x600"."""
    monitors = []
    for item in text.split(","):
        width, _, height = item.partition("x")
        monitors.append((int(width), int(height)))
    return monitors


def write_cookie_file(path):
    """An Xauthority file of one MIT-MAGIC-COOKIE-1 for any local display.

    The entries' display number is empty, so they fit whichever number the
    server chooses: one of FamilyWild, and one of FamilyLocal for this host,
    the only one python-xlib reads. The server itself reads only the cookie.
    """

    def counted(data):
        return struct.pack(">H", len(data)) + data

    cookie = counted(b"MIT-MAGIC-COOKIE-1") + counted(secrets.token_bytes(16))
    entries = b"".join(
        struct.pack(">H", family) + counted(address) + counted(b"") + cookie
        for family, address in [(0xFFFF, b""), (256, socket.gethostname().encode())]
    )
    fd = os.open(path, os.O_WRONLY | os.O_CREAT | os.O_EXCL, 0o600)
    with os.fdopen(fd, "wb") as f:
        f.write(entries)


class ServerError(RuntimeError):
    pass


class Started:
    """A context manager for what has start() and stop(): stop() also tidies
    up after a start() that failed halfway."""

    def __enter__(self):
        try:
            self.start()
        except BaseException:
            self.stop()
            raise
        return self

    def __exit__(self, *exc):
        self.stop()
        return False


class Display(Started):
    """Private X servers showing the given monitors, as a context manager.

    name is the display clients connect to; env() is an environment that
    reaches it. The servers' logs go to logdir (a temporary folder by default).
    depth is the bits a pixel of every screen; without MIT-SHM, the server
    that clients reach shares no memory with them.
    """

    # The largest size a resizable display takes.
    RESIZABLE_LIMIT = (4096, 2160)

    def __init__(self, monitors=((1024, 768),), logdir=None, depth=24, shared_memory=True, resizable=False):
        self.monitors = list(monitors)
        self.resizable = resizable
        self._host = None
        self.depth = depth
        self.shared_memory = shared_memory
        self.processes = []
        self.name = None
        self._scratch = tempfile.mkdtemp(prefix="farewelldesk-x.")
        self.logdir = logdir or self._scratch
        self.authority = os.path.join(self._scratch, "Xauthority")

    @property
    def randr_monitors(self):
        return len(self.monitors) > 1 and os.environ.get("FAREWELLDESK_TEST_MONITORS") == "randr"

    @property
    def size(self):
        return sum(w for w, _ in self.monitors), max(h for _, h in self.monitors)

    def env(self, base=None):
        env = dict(os.environ if base is None else base)
        env["DISPLAY"] = self.name
        env["XAUTHORITY"] = self.authority
        return env

    def missing_tools(self):
        tools = {"Xvfb": "xvfb"}
        if self.randr_monitors:
            tools["xrandr"] = "x11-xserver-utils"
        elif len(self.monitors) > 1 or self.resizable:
            tools["Xephyr"] = "xserver-xephyr"
        if self.resizable:
            tools.update(xdotool="xdotool", xrandr="x11-xserver-utils")
        return sorted(package for tool, package in tools.items() if not shutil.which(tool))

    def start(self):
        missing = self.missing_tools()
        if missing:
            raise ServerError("missing X servers; install the packages: " + " ".join(missing))
        write_cookie_file(self.authority)
        width, height = self.size
        client_args = [] if self.shared_memory else ["-extension", "MIT-SHM"]
        if self.resizable:
            width, height = self.RESIZABLE_LIMIT
        outer = ["Xvfb", "-screen", "0", "%dx%dx%d" % (width, height, self.depth)]
        if len(self.monitors) == 1 and not self.resizable:
            self.name = self._start_server(outer + client_args, self.env_without_display())
            return
        if self.randr_monitors:
            self.name = self._start_server(outer + client_args, self.env_without_display())
            self._split_into_monitors()
            return
        outer = self._start_server(outer, self.env_without_display())
        if self.resizable:
            argv = ["Xephyr", "-resizeable", "-br"] + client_args
        else:
            argv = ["Xephyr", "+xinerama", "-extension", "RANDR", "-br"] + client_args
        for w, h in self.monitors:
            argv += ["-screen", "%dx%dx%d" % (w, h, self.depth)]
        host = self.env_without_display()
        host["DISPLAY"] = outer
        self._host = host
        self.name = self._start_server(argv, host)

    def _split_into_monitors(self):
        """The Xvfb's one output becomes the first monitor; the others show no output."""
        left = 0
        for index, (w, h) in enumerate(self.monitors):
            # Sizes in millimetres at 96 dots an inch.
            geometry = "%d/%dx%d/%d+%d+0" % (w, w * 254 // 960, h, h * 254 // 960, left)
            output = "screen" if index == 0 else "none"
            subprocess.run(
                ["xrandr", "--setmonitor", "monitor-%d" % index, geometry, output],
                env=self.env(), check=True, capture_output=True, timeout=10,
            )
            left += w

    def resize(self, width, height):
        """Gives a resizable display's monitor another size, as RandR reports it."""
        assert self.resizable and (width, height) <= self.RESIZABLE_LIMIT
        # Xephyr's window is the only one on its Xvfb.
        subprocess.run(
            ["xdotool", "search", "--maxdepth", "1", "--name", "Xephyr", "windowsize", "%1", str(width), str(height)],
            env=self._host, check=True, timeout=10,
        )
        # Xephyr changes the root's size at once, and its monitor's (the CRTC)
        # when a client asks for the screen's resources, as a desktop's
        # monitor daemon or xrandr does after a hotplug.
        deadline = time.monotonic() + START_TIMEOUT
        monitor = " %dx%d+0+0 " % (width, height)
        while monitor not in subprocess.run(["xrandr"], env=self.env(), capture_output=True, text=True).stdout:
            if time.monotonic() > deadline:
                raise ServerError("the display did not take the size %dx%d" % (width, height))
            time.sleep(0.1)
        self.monitors = [(width, height)]

    def env_without_display(self):
        env = dict(os.environ, XAUTHORITY=self.authority)
        env.pop("DISPLAY", None)
        return env

    def _start_server(self, argv, env):
        """Starts one server; returns its display once it accepts clients.

        The server writes its display number to the pipe only when it is ready
        for connections.
        """
        reader, writer = os.pipe()
        argv = argv + ["-nolisten", "tcp", "-noreset", "-auth", self.authority, "-displayfd", str(writer)]
        log_path = os.path.join(self.logdir, "%s-%d.log" % (os.path.basename(argv[0]), len(self.processes)))
        try:
            with open(log_path, "wb") as log:
                process = subprocess.Popen(
                    argv, env=env, pass_fds=(writer,), stdin=subprocess.DEVNULL, stdout=log, stderr=log,
                    start_new_session=True,
                )
            self.processes.append(process)
        finally:
            os.close(writer)
        number = b""
        deadline = time.monotonic() + START_TIMEOUT
        try:
            while not number.endswith(b"\n"):
                left = deadline - time.monotonic()
                ready, _, _ = select.select([reader], [], [], max(left, 0))
                chunk = os.read(reader, 16) if ready else b""
                if not chunk:  # the server ended, or the time is up
                    raise ServerError("%s did not start (see %s)" % (argv[0], log_path))
                number += chunk
        finally:
            os.close(reader)
        return ":" + number.decode().strip()

    def stop(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
        for process in reversed(self.processes):
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        self.processes = []
        shutil.rmtree(self._scratch, ignore_errors=True)


def run_on_display(monitors, argv, **options):
    """Runs argv on a private display (Display's options); returns its exit status.

    SIGINT and SIGTERM end the command and the servers at once.
    """
    with Display(monitors, **options) as display:
        child = subprocess.Popen(argv, env=display.env())

        def forward(signum, frame):
            child.send_signal(signum)
            raise SystemExit(128 + signum)

        signal.signal(signal.SIGINT, forward)
        signal.signal(signal.SIGTERM, forward)
        status = child.wait()
        signal.signal(signal.SIGINT, signal.SIG_DFL)
        signal.signal(signal.SIGTERM, signal.SIG_DFL)
        return status if status >= 0 else 128 - status
