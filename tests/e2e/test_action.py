"""The chooser over the dimmed desktop, an action confirmed with the mouse."""

import scenario
from scenario import Scenario
from waiting import wait_for

BACKGROUND = (0xC0, 0x80, 0x40)
DIMMED = (0x30, 0x20, 0x10)  # a quarter of the background
PROBES = [(20, 20), (1000, 20), (300, 600)]  # clear of the chooser and the toolbar


class ActionTest(Scenario):
    TIME_LIMIT = 40

    def painted_desktop(self):
        desktop = self.desktop()
        desktop.paint_root("#c08040")
        wait_for("the painted root", lambda: desktop.pixel(*PROBES[0]) == BACKGROUND)
        return desktop

    def choose_shutdown(self, desktop, program):
        """Clicks Shutdown system, then the countdown's action button."""
        chooser = self.wait_chooser(desktop, program)
        desktop.click(*chooser.button("Shutdown system"))
        self.click_button(desktop, program, "Confirm: Shutdown system", "Shutdown system")

    def test_dims_then_runs_shutdown_once_after_uncovering(self):
        desktop = self.painted_desktop()
        program = self.start(desktop)
        chooser = self.wait_chooser(desktop, program)

        shot = desktop.screenshot()
        self.assertEqual([shot.getpixel((x, y)) for x, y in PROBES], [DIMMED] * len(PROBES))
        w = chooser.window
        self.assertTrue(w.centred_on(0, 0, 1024, 768), "chooser not centred: %r" % w)

        desktop.click(*chooser.button("Shutdown system"))
        delay = desktop.wait_dialog("the countdown over the chooser", predicate=lambda d: d.wid != w.wid)
        # It lies over the chooser: the same centre (to the pixel that an odd
        # width rounds away), nothing of the chooser left out.
        self.assertTrue(delay.centred_on(*w.place), (delay, w))
        self.assertTrue(
            delay.x <= w.x and delay.y <= w.y
            and delay.x + delay.width >= w.x + w.width and delay.y + delay.height >= w.y + w.height,
            "the chooser shows beside the countdown: %r, %r" % (delay, w),
        )
        self.assertEqual(self.markers.lines(), [], "ran before it was confirmed")

        self.click_button(desktop, program, "Confirm: Shutdown system", "Shutdown system")
        self.assertEqual(program.wait(), 0, program.output())
        # Exactly once, and no window of the program was mapped while it ran.
        self.assertEqual(self.markers.lines(), ["shutdown windows=0"])
        self.assertEqual(desktop.pixel(*PROBES[0]), BACKGROUND)

    def test_failing_command_shows_error_box_and_ends_with_1(self):
        desktop = self.painted_desktop()
        program = self.start(desktop, shutdown="false")
        self.choose_shutdown(desktop, program)

        box = desktop.wait_named("Error")
        self.assertEqual(desktop.backdrops(), [], "the backdrop is still up under the error box")
        self.assertEqual(desktop.pixel(*PROBES[0]), BACKGROUND)
        self.assertTrue(program.running())
        desktop.wait_focus(box)
        desktop.key("Return")
        self.assertEqual(program.wait(), 1, program.output())
        wait_for("the error box to go", lambda: desktop.windows() == [])
        self.assertEqual(self.markers.lines(), [])


if __name__ == "__main__":
    scenario.main()
