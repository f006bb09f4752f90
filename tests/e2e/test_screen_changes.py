"""A screen that grows and shrinks while the chooser waits (RandR, as when a
monitor is plugged in or a laptop docked): every pixel stays covered, the
chooser stays centred and wholly visible, and it still answers a click."""

import scenario
from scenario import Scenario
from waiting import wait_for

START, GROWN, SHRUNK = (1024, 768), (2048, 900), (800, 600)
STEP = 8  # every eighth pixel of every eighth row


def uncovered(before, after, chooser):
    """The sampled pixels of after, outside the chooser, that show neither before
    dimmed nor, where before had no pixel, black: the first (x, y), and how many."""
    first, count = None, 0
    for y in range(0, after.height, STEP):
        for x in range(0, after.width, STEP):
            if chooser.x <= x < chooser.x + chooser.width and chooser.y <= y < chooser.y + chooser.height:
                continue
            if x < before.width and y < before.height:
                expected = tuple(c >> 2 for c in before.getpixel((x, y)))
            else:
                expected = (0, 0, 0)
            if after.getpixel((x, y)) != expected:
                first = first or (x, y)
                count += 1
    return first, count


class ScreenChangesTest(Scenario):
    TIME_LIMIT = 90

    def test_growing_and_shrinking_screen_stays_covered_with_the_chooser_centred(self):
        desktop = self.desktop(monitors=[START], resizable=True)
        desktop.paint_root("#c08040")
        wait_for("the painted root", lambda: desktop.pixel(20, 20) == (0xC0, 0x80, 0x40))
        before = desktop.screenshot()
        program = self.start(desktop)
        self.wait_chooser(desktop, program)

        for size in (GROWN, SHRUNK):
            desktop.resize_screen(*size)
            shots = []

            def settled():
                dialogs = desktop.dialogs()
                if len(dialogs) != 1:
                    return False
                chooser = dialogs[0]
                shots.append((desktop.screenshot(), chooser))
                shot = shots[-1][0]
                return (shot.width, shot.height) == size and uncovered(before, shot, chooser)[1] == 0

            try:
                wait_for("%dx%d covered" % size, settled, timeout=15)
            except AssertionError:
                if not shots:
                    self.fail("at %dx%d the screen's backdrop was not remade: %r" % (size + (desktop.windows(),)))
                shot, chooser = shots[-1]
                first, count = uncovered(before, shot, chooser)
                self.fail("at %dx%d, %d sampled pixels uncovered, the first at %s" % (size + (count, first)))
            chooser = shots[-1][1]
            self.assertTrue(chooser.centred_on(0, 0, *size), chooser)
            self.assertGreaterEqual(min(chooser.x, chooser.y), 0, chooser)

        cancel = desktop.accessibility.window(program, scenario.Chooser.NAME).find("Cancel")
        desktop.click(*cancel.centre)
        self.assert_ends_quietly(program)


if __name__ == "__main__":
    scenario.main()
