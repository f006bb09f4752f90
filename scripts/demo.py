#!/usr/bin/env python3
"""Runs build/farewelldesk (scripts/build.sh run builds it) safely: every command only prints what would have run.

    scripts/demo.py [OPTIONS...]        options go to the program
    scripts/demo.py --readme-shots DIR  writes DIR/chooser.png, DIR/panel.png and DIR/countdown.png

With an X display the program runs there. Without one it runs on a private
virtual display (Xvfb with fluxbox): the demo waits for the chooser, saves a
screenshot of what a user would see, closes the chooser with Escape and ends.
Nothing is left running, and fluxbox's settings stay in a temporary folder.
"""

import os
import shlex
import subprocess
import sys
import tempfile

TOP = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(TOP, "testing"))
import scenario  # noqa: E402 (the end-to-end tests' private desktop and program)
import xdesktop  # noqa: E402
from waiting import only, wait_for  # noqa: E402

PROGRAM = os.environ.get("FAREWELLDESK_BIN", os.path.join(TOP, "build", "farewelldesk"))
SCREENSHOT = os.path.join(os.path.dirname(PROGRAM), "farewelldesk-demo.png")

# The built-in defaults, printed instead of run.
DEFAULTS = [
    ("-L", "metalock"),
    ("-l", "fluxbox exit"),
    ("-s", "shutdown -p now"),
    ("-r", "shutdown -r now"),
    ("-S", "acpiconf -s 3"),
]


def harmless_options():
    argv = []
    for option, command in DEFAULTS:
        argv += [option, "echo " + shlex.quote("would run: " + command)]
    return argv


def start(desktop, extra=()):
    os.environ["FAREWELLDESK_BIN"] = PROGRAM
    return scenario.Program(desktop, harmless_options() + list(extra))


def wait_chooser(desktop, program):
    def ready():
        if not program.running():
            status, output = program.process.returncode, program.output()
            raise RuntimeError("farewelldesk ended early (status %s):\n%s" % (status, output))
        return desktop.backdrops() and only(desktop.dialogs())

    return wait_for("the chooser", ready, timeout=20)


def drawn(desktop, window):
    """Waits until window looks the same in two screenshots in a row."""
    last = []

    def same():
        now = desktop.looks(window, 0, window.height)
        unchanged = last == [now]
        last[:] = [now]
        return unchanged

    wait_for("%r to be drawn" % window, same, timeout=10)


def close_chooser(desktop, program, chooser):
    """Escape, as a user would; Cancel when the key went astray."""
    try:
        desktop.wait_focus(chooser, timeout=3)
    except AssertionError:
        pass
    desktop.key("Escape")
    try:
        return program.wait(timeout=3)
    except AssertionError:
        print("demo: Escape did not reach the chooser; ending it", file=sys.stderr)
        program.process.terminate()
        return program.wait(timeout=5)


def runtime_dir(scratch):
    """Qt warns on standard error when a session has no runtime directory, as
    a login on a bare machine may not: the private display gets one."""
    if not os.environ.get("XDG_RUNTIME_DIR"):
        path = os.path.join(scratch, "run")
        os.mkdir(path, 0o700)
        os.environ["XDG_RUNTIME_DIR"] = path


def run_on_private_display(extra):
    with tempfile.TemporaryDirectory(prefix="farewelldesk-demo.") as scratch:
        runtime_dir(scratch)
        # The accessibility bus is for the tests: no test tools needed here.
        with xdesktop.Desktop(home_dir=scratch, accessible=False) as desktop:
            desktop.paint_root("#3a6ea5")  # so that the dimming shows
            program = start(desktop, extra)
            chooser = wait_chooser(desktop, program)
            desktop.wait_focus(chooser)
            drawn(desktop, chooser)
            desktop.screenshot().save(SCREENSHOT)
            print("Screenshot of the chooser over the dimmed desktop: %s" % SCREENSHOT)
            status = close_chooser(desktop, program, chooser)
            print(program.output(), end="")
            return status


def furnish(desktop):
    """Something on the desktop for the dimming to show."""
    desktop.paint_root("#3a6ea5")
    desktop.spawn(["xclock", "-geometry", "180x180+40+40", "-update", "1"])
    desktop.spawn(["xeyes", "-geometry", "160x110+600+60"])
    desktop.spawn(["xmessage", "-geometry", "+420+380", "-buttons", "", "Goodbye for today"])
    for name in ("xclock", "xeyes"):
        desktop.wait_named(name)
    drawn(desktop, desktop.wait_named("xmessage"))


def chooser_shot(desktop, path):
    program = start(desktop)
    chooser = wait_chooser(desktop, program)
    desktop.wait_focus(chooser)
    drawn(desktop, chooser)
    desktop.screenshot().save(path)
    close_chooser(desktop, program, chooser)


def readme_shots(folder):
    """The README's pictures: the chooser over a desktop with something on it,
    also on a desktop with a panel, and the countdown with its tray icon."""
    os.makedirs(folder, exist_ok=True)
    paths = [os.path.join(folder, name) for name in ("chooser.png", "panel.png", "countdown.png")]
    with tempfile.TemporaryDirectory(prefix="farewelldesk-shots.") as scratch:
        runtime_dir(scratch)
        with xdesktop.Desktop(monitors=[(800, 600)], home_dir=scratch, wm="xfce") as desktop:
            furnish(desktop)
            chooser_shot(desktop, paths[1])
        with xdesktop.Desktop(monitors=[(800, 600)], home_dir=scratch) as desktop:
            furnish(desktop)
            chooser_shot(desktop, paths[0])

            program = start(desktop)
            wait_chooser(desktop, program)
            a11y = desktop.accessibility
            a11y.do(program, a11y.window(program, "End the session").find("Timer"))
            a11y.do(program, a11y.window(program, "Shutdown timer").find("Ok"))
            icon = wait_for(
                "the tray icon", lambda: [w for w in desktop.windows() if w.width <= 64 and w.height <= 64]
            )[0]
            desktop.click(*icon.centre)
            window = desktop.wait_dialog("the countdown window")
            drawn(desktop, window)
            desktop.screenshot().save(paths[2])
            a11y.do(program, a11y.window(program, "Shutdown countdown").find("Cancel timer"))
            program.wait(timeout=5)
    print("Wrote " + ", ".join(paths))
    return 0


def like_a_configured_desktop():
    """A bare fluxbox session gives Qt no icon theme; most desktops name one,
    and Qt picks Adwaita for one that says it is Xfce."""
    os.environ.setdefault("XDG_CURRENT_DESKTOP", "XFCE")


def main(argv):
    if not os.path.exists(PROGRAM):
        sys.exit("demo: %s is not built yet" % PROGRAM)
    if os.environ.get("DISPLAY") and argv[:1] != ["--readme-shots"]:
        return subprocess.call([PROGRAM] + harmless_options() + argv)
    like_a_configured_desktop()
    if argv[:1] == ["--readme-shots"] and len(argv) == 2:
        return readme_shots(argv[1])
    return run_on_private_display(argv)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
