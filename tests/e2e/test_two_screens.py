"""Two monitors side by side: both dimmed, the chooser on the primary one."""

import scenario
from scenario import Scenario
from waiting import wait_for

PRIMARY, SECOND = (1024, 768), (800, 600)
BACKGROUND = (0xC0, 0x80, 0x40)
DIMMED = (0x30, 0x20, 0x10)


class TwoScreensTest(Scenario):
    TIME_LIMIT = 60

    def test_both_dimmed_and_chooser_centred_on_primary(self):
        desktop = self.desktop(monitors=[PRIMARY, SECOND])
        self.assertEqual(
            [s[:4] for s in desktop.qt_screens()], [(0, 0) + PRIMARY, (PRIMARY[0], 0) + SECOND], "the test's own setup"
        )
        desktop.paint_root("#c08040")
        # Clear of the panels, which may sit at the bottom of either monitor.
        probes = [(20, 20), (PRIMARY[0] - 20, PRIMARY[1] - 60), (PRIMARY[0] + 20, 20), (PRIMARY[0] + 780, 500)]
        wait_for("the painted root", lambda: [desktop.pixel(x, y) for x, y in probes] == [BACKGROUND] * len(probes))

        program = self.start(desktop)
        chooser = self.wait_chooser(desktop, program)
        window = chooser.window
        wait_for("a backdrop on each monitor", lambda: len(desktop.backdrops()) == 2)
        self.assertEqual(
            sorted((w.x, w.y, w.width, w.height) for w in desktop.backdrops()),
            [(0, 0) + PRIMARY, (PRIMARY[0], 0) + SECOND],
        )
        shot = desktop.screenshot()
        self.assertEqual([shot.getpixel((x, y)) for x, y in probes], [DIMMED] * len(probes))
        self.assertTrue(window.centred_on(0, 0, *PRIMARY), window)

        desktop.click(*chooser.button("Cancel"))
        self.assertEqual(program.wait(), 0, program.output())
        wait_for("the program's windows to go", lambda: desktop.windows() == [])
        self.assertEqual(self.markers.lines(), [])


if __name__ == "__main__":
    scenario.main()
