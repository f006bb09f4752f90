"""The shutdown timer: the chooser's Timer, the tray icon, the countdown window."""

import time

import windowmanagers
import scenario
from scenario import Scenario
from waiting import wait_for


class TimerTest(Scenario):
    TIME_LIMIT = 110

    def wait_tray_picture(self, desktop, icon):
        """Waits for a picture in the tray icon's window, which an empty slot never shows.

        An empty slot shows the tray's background, a gradient of one colour a
        row; a picture has a fifth of its pixels or more far from the
        commonest colour of their row.
        """

        def pictured():
            shot = desktop.screenshot()
            found = 0
            for y in range(icon.y, icon.y + icon.height):
                row = [shot.getpixel((x, y)) for x in range(icon.x, icon.x + icon.width)]
                common = max(set(row), key=row.count)
                found += sum(sum(abs(a - b) for a, b in zip(pixel, common)) > 60 for pixel in row)
            return found > icon.width * icon.height // 5

        wait_for("a picture in the tray icon %r" % icon, pictured, timeout=5)

    def test_tray_icon_shows_window_and_cancel_timer_ends_with_0(self):
        desktop = self.desktop()
        program = self.start_one_minute(desktop)
        icon = self.tray_icon(desktop)
        self.wait_tray_picture(desktop, icon)
        self.assertEqual(desktop.dialogs(), [], "the countdown window shows before a click")

        desktop.click(*icon.centre)
        # The window manager maps it somewhere first; the program then centres it.
        centred = lambda w: w.centred_on(0, 0, *desktop.monitors[0])  # noqa: E731
        window = desktop.wait_dialog("the countdown window centred", predicate=centred)
        desktop.click(*icon.centre)
        wait_for("the countdown window to hide", lambda: not desktop.dialogs())
        desktop.click(*icon.centre)  # at once: before Qt has seen the focus go
        again = self.wait_back(desktop, window)
        desktop.wait_focus(again)
        desktop.key_handled(again, "Escape")  # does nothing here; Tab shows the focus
        self.assertEqual(desktop.dialogs(), [again])
        self.assertTrue(program.running())

        self.click_button(desktop, program, "Shutdown countdown", "Ok")
        wait_for("Ok to hide the countdown window", lambda: not desktop.dialogs())
        desktop.click(*icon.centre)
        self.wait_back(desktop, window)
        self.click_button(desktop, program, "Shutdown countdown", "Cancel timer")
        self.assert_ends_quietly(program)
        self.assertNotIn("No Icon set", program.output())

    def test_cancelled_timer_dialog_brings_the_chooser_back(self):
        desktop = self.desktop()
        program = self.start(desktop)
        chooser = self.wait_chooser(desktop, program)
        desktop.click(*chooser.button("Timer"))
        self.click_button(desktop, program, "Shutdown timer", "Cancel")
        self.assertEqual(self.wait_chooser(desktop, program).window.place, chooser.window.place)
        self.assertEqual(len(desktop.backdrops()), 1)
        desktop.click(*chooser.button("Cancel"))
        self.assert_ends_quietly(program)

    def test_shutdown_runs_once_when_the_minute_has_passed(self):
        desktop = self.desktop()
        program = self.start_one_minute(desktop)
        started = time.monotonic()
        self.tray_icon(desktop)
        self.assertEqual(program.wait(timeout=90), 0, program.output())
        self.assertGreaterEqual(time.monotonic() - started, 55)
        lines = self.markers.lines()
        self.assertEqual(len(lines), 1, lines)
        self.assertTrue(lines[0].startswith("shutdown "), lines)

    def assert_tells_the_time(self, desktop, program):
        """The countdown window, as it is shown, says what time is left."""
        window = desktop.accessibility.window(program, "Shutdown countdown")
        texts = [n.name for n in window.walk() if n.role == "label"]
        self.assertRegex(" ".join(texts), r"^Shutdown in \d", "the countdown window tells no time")

    def test_without_a_tray_the_window_shows_after_probing_and_stays_reachable(self):
        desktop = self.desktop(tray=False)
        # Two minutes: the first tick, which would write the text, is a minute away.
        program = self.start(desktop)
        chooser = self.wait_chooser(desktop, program)
        desktop.click(*chooser.button("Timer"))
        desktop.accessibility.window(program, "Shutdown timer")
        desktop.key("Tab", "Up")  # from the hours to the minutes box, one up
        self.click_button(desktop, program, "Shutdown timer", "Ok")
        started = time.monotonic()
        window = desktop.wait_dialog("the countdown window", timeout=45)
        # 61 probes of half a second each.
        self.assertGreaterEqual(time.monotonic() - started, 28)
        self.assertEqual([w for w in desktop.windows() if w.width <= 64], [], "a tray icon without a tray")
        self.assert_tells_the_time(desktop, program)

        # Ok iconifies it; the window manager's list of windows brings it back.
        self.click_button(desktop, program, "Shutdown countdown", "Ok")
        wait_for("Ok to put the window away", lambda: not desktop.dialogs())
        self.assertTrue(desktop.iconic(window))
        desktop.activate(window)
        desktop.wait_dialog("the countdown window back")
        self.assert_tells_the_time(desktop, program)
        self.click_button(desktop, program, "Shutdown countdown", "Cancel timer")
        self.assert_ends_quietly(program)

    def test_a_tray_that_goes_away_and_comes_back(self):
        """The panel that holds the tray dies while the timer counts: the
        countdown shows itself at once, as without a tray; a new panel's tray
        takes it back."""
        desktop = self.desktop(wm="openbox")
        program = self.start(desktop)
        chooser = self.wait_chooser(desktop, program)
        desktop.click(*chooser.button("Timer"))
        desktop.accessibility.window(program, "Shutdown timer")
        desktop.key("Tab", "Up")  # two minutes
        self.click_button(desktop, program, "Shutdown timer", "Ok")
        self.tray_icon(desktop)
        self.assertEqual(desktop.dialogs(), [])

        panel = next(p for p in desktop.processes if p.args[0] == "tint2")
        panel.kill()
        panel.wait()
        window = desktop.wait_dialog("the countdown window, its tray gone", timeout=10)
        self.assert_tells_the_time(desktop, program)
        self.click_button(desktop, program, "Shutdown countdown", "Ok")
        wait_for("Ok to put the window away", lambda: not desktop.dialogs())
        self.assertTrue(desktop.iconic(window))

        windowmanagers.spawn_logged(desktop, panel.args, windowmanagers.private_env(desktop))
        icon = self.tray_icon(desktop)
        wait_for(
            "the window to leave the task list for the tray",
            lambda: not desktop.dialogs()
            and not desktop.iconic(window),
        )
        desktop.click(*icon.centre)
        desktop.wait_focus(self.wait_back(desktop, window))
        self.click_button(desktop, program, "Shutdown countdown", "Cancel timer")
        self.assert_ends_quietly(program)


if __name__ == "__main__":
    scenario.main()
