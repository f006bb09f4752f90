"""Icons on the chooser and the timer dialog: on a desktop that names no icon
theme (Qt then has only the program's own set) and on one where Qt takes Adwaita."""

import os
from unittest import mock

import scenario
from scenario import Scenario

ICON = 16  # the buttons' icon size in Qt's styles
# Where a button has no icon, its first letters stand in the square and span
# 9 to 12 rows; the icons, ours or Adwaita's, span 15 or 16.
ICON_ROWS = 14


def far(a, b):
    return sum(abs(p - q) for p, q in zip(a, b)) > 60


def far_pixels(image, left, top, width, height, background):
    """The pixels of a rectangle that differ clearly from background, as (x, y)."""
    return [
        (x, y)
        for y in range(top, top + height)
        for x in range(left, left + width)
        if far(image.getpixel((x, y)), background)
    ]


class IconTest(Scenario):
    TIME_LIMIT = 50

    def button_icons(self, image, chooser):
        """For each button of the chooser, how many rows differ from the button in the square where the icon goes."""
        found = {}
        for button in chooser.node.walk():
            if button.role == "push button":
                x, y, _, height = button.extents
                middle = y + height // 2
                pixels = far_pixels(image, x + 2, middle - ICON // 2, ICON + 2, ICON, image.getpixel((x + 30, y + 2)))
                found[button.name] = len({y for _, y in pixels})
        return found

    def pictured(self, image, window, picture):
        """The pixels of the picture of that name that differ clearly from window's background."""
        background = image.getpixel((window.x + 4, window.y + 4))
        return len(far_pixels(image, *picture.extents, background))

    def check_chooser_and_timer_dialog(self):
        desktop = self.desktop()
        program = self.start(desktop)
        chooser = self.wait_chooser(desktop, program)
        image = desktop.screenshot()
        rows = self.button_icons(image, chooser)
        self.assertEqual(len(rows), 7, rows)
        self.assertEqual([t for t, n in rows.items() if n < ICON_ROWS], [], "buttons without an icon: %r" % rows)
        picture = chooser.node.find("Power symbol", role="image")
        self.assertGreater(self.pictured(image, chooser.window, picture), 400, "no picture left of the buttons")

        desktop.click(*chooser.button("Timer"))
        timerwin = desktop.wait_dialog("the timer dialog", predicate=lambda d: d.wid != chooser.window.wid)
        clock = desktop.accessibility.window(program, "Shutdown timer").find("Clock", role="image")
        self.assertEqual(clock.extents[2:], [96, 96])
        self.assertGreater(self.pictured(desktop.screenshot(), timerwin, clock), 400, "no clock in %r" % timerwin)
        self.assertTrue(desktop.property(timerwin.wid, "_NET_WM_ICON"))
        self.click_button(desktop, program, "Shutdown timer", "Cancel")
        desktop.click(*self.wait_chooser(desktop, program).button("Cancel"))
        self.assertEqual(program.wait(), 0, program.output())

    def test_without_an_icon_theme(self):
        self.check_chooser_and_timer_dialog()

    def test_with_adwaita(self):
        # Qt's generic desktop support takes Adwaita for XFCE; without it, as
        # in the other scenarios here, it names no theme but hicolor.
        with mock.patch.dict(os.environ, {"XDG_CURRENT_DESKTOP": "XFCE"}):
            self.check_chooser_and_timer_dialog()


if __name__ == "__main__":
    scenario.main()
