"""Start-up seen from the outside: usage errors, a second instance, the configuration file."""

import os
import subprocess

import scenario
import xdesktop
from scenario import Program, Scenario

USAGE = (
    "Usage: farewelldesk [-L <lock command>] [-S <suspend command>]\n"
    "                    [-l <logout command>] [-r <reboot command>]\n"
    "                    [-s <shutdown command>]\n"
)


def config_path():
    return os.path.join(xdesktop.home(), ".config", "ZVL", "farewelldesk", "config")


def write_config(text):
    os.makedirs(os.path.dirname(config_path()), exist_ok=True)
    with open(config_path(), "w") as f:
        f.write(text)
    return config_path()


class StartupTest(Scenario):
    TIME_LIMIT = 40

    def setUp(self):
        super().setUp()
        self.addCleanup(lambda: os.path.exists(config_path()) and os.remove(config_path()))

    def test_usage_errors_print_usage_and_end_with_1_without_a_window(self):
        desktop = self.desktop()
        for name, args, diagnostic in [
            ("unknown option", ["-x"], "invalid option"),
            ("option without its argument", ["-l"], "requires an argument"),
        ]:
            with self.subTest(name):
                watch = desktop.watch()
                program = Program(desktop, args)
                self.assertEqual(program.wait(), 1)
                output = program.output()
                self.assertIn(diagnostic, output.splitlines()[0])
                self.assertTrue(output.endswith(USAGE), repr(output))
                self.assertEqual(output.count("Usage:"), 1)
                self.assertEqual(watch.mapped(), [])

    def test_second_instance_ends_at_once_without_a_window(self):
        desktop = self.desktop()
        first = self.start(desktop)
        self.wait_chooser(desktop, first)

        def shown():
            # Not the keyboard grab's pixel, which goes as the chooser settles.
            return sorted(w.wid for w in desktop.windows() if w.width > 1)

        before = shown()
        for name, args in [("same options", self.markers.options()), ("invalid options", ["-x"])]:
            with self.subTest(name):
                watch = desktop.watch()
                second = Program(desktop, args)
                self.assertEqual(second.wait(timeout=15), 0)
                self.assertEqual(second.output(), "")
                self.assertEqual(watch.mapped(), [])
        self.assertTrue(first.running())
        self.assertEqual(shown(), before)

        desktop.click(*self.wait_chooser(desktop, first).button("Cancel"))
        self.assertEqual(first.wait(), 0)
        self.assertEqual(self.markers.lines(), [])

    def test_broken_configuration_shows_error_box_and_ends_with_1(self):
        write_config('shutdown = "never closed\n')
        desktop = self.desktop()
        program = self.start(desktop)
        box = desktop.wait_named("Error")
        self.assertEqual([w.wid for w in desktop.windows()], [box.wid], "only the error box is shown")
        self.assertTrue(program.running())
        desktop.wait_focus(box)
        desktop.key("Return")
        self.assertEqual(program.wait(), 1, program.output())
        self.assertEqual(self.markers.lines(), [])

    def test_commands_come_from_the_configuration_file(self):
        # Only -s is left out, so the shutdown command is the file's.
        write_config('# written by the test\nshutdown = "echo from-config >> %s"\n' % self.markers.path)
        desktop = self.desktop()
        argv = self.markers.options()
        at = argv.index("-s")
        program = Program(desktop, argv[:at] + argv[at + 2 :])
        chooser = self.wait_chooser(desktop, program)
        desktop.click(*chooser.button("Shutdown system"))
        self.click_button(desktop, program, "Confirm: Shutdown system", "Shutdown system")
        self.assertEqual(program.wait(), 0, program.output())
        self.assertEqual(self.markers.lines(), ["from-config"])

    def test_x11_in_a_wayland_session_unless_the_user_chose(self):
        """Qt would try its Wayland platform there (and say so when its plugin is missing)."""
        desktop = self.desktop()
        for name, chosen, tried in [
            ("no platform chosen", None, False),
            ("the user's own list", "wayland;xcb", True),
        ]:
            with self.subTest(name):
                env = dict(desktop.env(), XDG_SESSION_TYPE="wayland")
                if chosen:
                    env["QT_QPA_PLATFORM"] = chosen
                program = Program(desktop, self.markers.options(), env=env)
                desktop.click(*self.wait_chooser(desktop, program).button("Cancel"))
                self.assertEqual(program.wait(), 0, program.output())
                self.assertEqual("wayland" in program.output(), tried, program.output())


def unserved_display():
    """A display name that no X server answers to."""
    number = next(n for n in range(60000, 61000) if not os.path.exists("/tmp/.X%d-lock" % n))
    return ":%d" % number


class MissingDisplayTest(Scenario):
    TIME_LIMIT = 30

    def run_program(self, display):
        env = dict(os.environ)
        for name in ("QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"):
            env.pop(name, None)
        if display is not None:
            env["DISPLAY"] = display
        argv = [scenario.program_path()] + self.markers.options()
        return subprocess.run(argv, env=env, capture_output=True, text=True, timeout=20)

    def test_one_line_and_status_1_without_a_display(self):
        lock = os.path.join(xdesktop.home(), ".farewelldesk.lock")
        if os.path.exists(lock):
            os.remove(lock)  # left by an earlier test
        display = unserved_display()
        for name, value, line in [
            ("a display nobody serves", display, "farewelldesk: cannot open display '%s'\n" % display),
            ("DISPLAY unset", None, "farewelldesk: cannot open display: DISPLAY is not set\n"),
        ]:
            with self.subTest(name):
                result = self.run_program(value)
                self.assertEqual((result.returncode, result.stderr, result.stdout), (1, line, ""))
                # It ended before start-up proper: not even the lock was taken.
                self.assertFalse(os.path.exists(lock))


if __name__ == "__main__":
    scenario.main()
