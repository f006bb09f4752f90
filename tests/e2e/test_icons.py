"""Icons on the chooser and the timer dialog: on a desktop that names no icon
theme (Qt then has only the program's own set) and on one where Qt takes Adwaita."""

import os
from unittest import mock

import xdesktop
from xdesktop import Scenario

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
        if far(image.pixel(x, y), background)
    ]


class IconTest(Scenario):
    TIME_LIMIT = 50

    def button_icons(self, image, chooser):
        """For each button of the chooser, what is drawn in the square left of its text where the icon goes.

        Returns {text: rows that differ from the button} and the left edge of the buttons.
        """
        w = chooser.window
        dialog = image.pixel(w.x + 4, w.y + 4)
        height = (w.height - 2 * 15 - 6 * 5) / 7.0
        found = {}
        for text in xdesktop.Chooser.BUTTONS:
            right, middle = chooser.button(text)
            # Two rows below the button's top edge nothing is drawn but the
            # button: walk left there to its frame.
            row = int(middle - height / 2) + 2
            left = right
            while image.pixel(left - 1, row) != dialog:
                left -= 1
            pixels = far_pixels(image, left + 2, middle - ICON // 2, ICON + 2, ICON, image.pixel(right, row))
            found[text] = len({y for _, y in pixels})
        return found, left

    def check_chooser_and_timer_dialog(self):
        desktop = self.desktop()
        program = self.start(desktop)
        chooser = self.wait_chooser(desktop, program)
        image = desktop.screenshot()
        rows, column = self.button_icons(image, chooser)
        self.assertEqual([t for t, n in rows.items() if n < ICON_ROWS], [], "buttons without an icon: %r" % rows)
        w = chooser.window
        dialog = image.pixel(w.x + 4, w.y + 4)
        picture = len(far_pixels(image, w.x + 15, w.y + 15, column - 20 - w.x - 15, w.height - 30, dialog))
        self.assertGreater(picture, 400, "no picture left of the buttons")

        desktop.click(*chooser.button("Timer"))
        timerwin = desktop.wait_dialog("the timer dialog", predicate=lambda d: d.wid != w.wid)
        image = desktop.screenshot()
        t = timerwin
        # The 96-pixel clock heads the dialog's left column.
        clock = len(far_pixels(image, t.x + 15, t.y + 15, 96, 96, image.pixel(t.x + 4, t.y + 4)))
        self.assertGreater(clock, 400, "no clock in %r" % t)
        self.assertIn("_NET_WM_ICON(CARDINAL) = ", desktop.x("xprop", "-id", t.wid, "_NET_WM_ICON"))
        xdesktop.click_bottom_button(desktop, timerwin, 1)  # Ok, Cancel
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
    xdesktop.main()
