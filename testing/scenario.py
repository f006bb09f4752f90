"""The end-to-end scenarios' base: a unittest.TestCase with a time limit a
test, private desktops (xdesktop.py) that always go away, and the real
binary on them (Program) with commands that only append a marker line to a
file in the private home (Markers). CTest puts this folder on PYTHONPATH; by
hand: PYTHONPATH=testing python3 tests/e2e/test_action.py.
"""

import os
import signal
import subprocess
import sys
import unittest

import xdesktop
from waiting import only, wait_for, wait_settled
from xclient import PROGRAM_CLASS
from xdesktop import home


def program_path():
    return os.environ.get("FAREWELLDESK_BIN", os.path.join(xdesktop.TEST_BUILD, "farewelldesk"))


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
        desktop = xdesktop.Desktop(**kwargs)
        desktop.__enter__()
        self.addCleanup(desktop.stop)
        self.addCleanup(self.keep_last_screen, desktop)
        return desktop

    def keep_last_screen(self, desktop):
        """With $FAREWELLDESK_E2E_SHOTS set, saves the screen as the test left it there."""
        folder = os.environ.get("FAREWELLDESK_E2E_SHOTS")
        if folder:
            os.makedirs(folder, exist_ok=True)
            desktop.screenshot().save(os.path.join(folder, self.id().split(".", 1)[-1] + ".png"))

    def start(self, desktop, *extra, **overrides):
        """The program with the marker commands (overrides: see Markers.options),
        ended with the desktop if it still runs then."""
        return Program(desktop, self.markers.options(**overrides) + list(extra))

    def wait_chooser(self, desktop, program, timeout=20, keyboard=False, name=Chooser.NAME):
        """The chooser once it is shown over the backdrop; with keyboard, once
        it has the focus too. name is its accessible name in the program's language."""
        def ready():
            if not program.running():
                raise AssertionError(
                    "the program ended early, status %s: %s" % (program.process.returncode, program.output())
                )
            return desktop.backdrops() and only(desktop.dialogs())

        chooser = wait_settled("the chooser over the backdrop", ready, timeout=timeout)
        if keyboard:
            desktop.wait_focus(chooser)
        return Chooser(chooser, desktop.accessibility.window(program, name))

    def assert_ends_quietly(self, program):
        """The program ends with 0, and no command has run."""
        self.assertEqual(program.wait(), 0, program.output())
        self.assertEqual(self.markers.lines(), [])

    def click_button(self, desktop, program, window, button):
        """Clicks the button of that name in the program's window of that name."""
        desktop.click(*desktop.accessibility.window(program, window).find(button).centre)

    def wait_back(self, desktop, window, what="the countdown window back where it was"):
        """The dialog shown again once it is where window was: a window
        manager maps it somewhere first, and the program then puts it back."""
        return desktop.wait_dialog(what, predicate=lambda w: w.place == window.place)

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

        def icon():
            return only([w for w in desktop.windows() if w.width <= 64 and w.height <= 64])

        return wait_for("the tray icon", icon, timeout=20)


def main():
    xdesktop.ensure_private_home()
    unittest.main(verbosity=2)
