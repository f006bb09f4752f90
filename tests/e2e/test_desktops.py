"""The program on each window manager with its panel and tray, at 1920x1080.

$FAREWELLDESK_E2E_WM names the window manager (windowmanagers.py; CTest runs
one test per window manager, side by side, and test_grab.py's races on each).
Tests print lines "measure: ..." that tests/e2e/release-matrix gathers into
its table.
"""

import functools
import os
import re
import sys

import scenario
from PIL import Image, ImageChops
from scenario import Scenario
from waiting import wait_for
from xclient import widen

SIZE = (1920, 1080)
BACKGROUND = (0xC6, 0x82, 0x42)  # as exact in 16-bit colour as in 24-bit
PANEL_ROWS = 48  # every panel here sits at the bottom, no higher than this


def measure(desktop, text):
    print("measure: %s: %s" % (desktop.wm.name, text), file=sys.stderr, flush=True)


def frame(desktop, window):
    """window's rectangle with the window manager's frame: (left, top, right, bottom), right and bottom excluded."""
    left, right, top, bottom = desktop.property(window.wid, "_NET_FRAME_EXTENTS") or [0, 0, 0, 0]
    return window.x - left, window.y - top, window.x + window.width + right, window.y + window.height + bottom


def dimmed(image):
    """image as the backdrop dims it: each channel a quarter, in the channel's own bits."""
    table = []
    for mask in image.info["masks"]:
        bits = bin(mask).count("1")
        table += [widen((value >> (8 - bits)) >> 2, bits) for value in range(256)]
    return image.point(table)


def differences(a, b):
    """An image of the pixels where a and b differ: 255 there, 0 elsewhere."""
    return functools.reduce(ImageChops.lighter, ImageChops.difference(a, b).split()).point(lambda v: 255 if v else 0)


def undimmed(before, after, hole):
    """Pixels of after (outside the rectangle hole) that are not before dimmed: the first (x, y), and how many."""
    wrong = differences(dimmed(before), after)
    left, top, right, bottom = hole
    wrong.paste(0, (max(left, 0), max(top, 0), min(right, wrong.width), min(bottom, wrong.height)))
    if not wrong.getbbox():
        return None, 0
    y = wrong.getbbox()[1]
    return (wrong.crop((0, y, wrong.width, y + 1)).getbbox()[0], y), wrong.histogram()[255]


def colours(image, left, top, right, bottom):
    return {colour for _, colour in image.crop((left, top, right, bottom)).getcolors(1 << 24)}


class DesktopTest(Scenario):
    TIME_LIMIT = 100

    def on_desktop(self):
        return self.desktop(monitors=[SIZE])

    def test_backdrop_dims_every_pixel_with_the_chooser_centred_on_top(self):
        desktop = self.on_desktop()
        desktop.paint_root("#c68242")
        wait_for("the painted root", lambda: desktop.pixel(20, 20) == BACKGROUND)
        before = desktop.screenshot()
        panel = colours(before, 0, SIZE[1] - PANEL_ROWS, SIZE[0], SIZE[1]) - {BACKGROUND}
        self.assertTrue(panel, "no panel at the bottom of the screen")

        program = self.start(desktop)
        chooser = self.wait_chooser(desktop, program)
        window = chooser.window
        hole = frame(desktop, window)
        # On top: what shows inside the chooser's rectangle is the chooser, not the backdrop.
        xs, ys = range(window.x, window.x + window.width, 7), range(window.y, window.y + window.height, 7)
        inside = [(x, y) for x in xs for y in ys]

        def covered(shot):
            return sum(shot.getpixel((x, y)) == tuple(c >> 2 for c in before.getpixel((x, y))) for x, y in inside)

        shots = []

        def painted():
            # A window is mapped before it is painted: the backdrop may still
            # be drawing when the chooser shows, and the chooser, until it has
            # drawn itself, shows the backdrop beneath it.
            shots.append(desktop.screenshot())
            return undimmed(before, shots[-1], hole)[1] == 0 and covered(shots[-1]) < len(inside) // 10

        try:
            wait_for("every pixel but the chooser's dimmed, the chooser drawn on top", painted, timeout=10)
        except AssertionError:
            first, count = undimmed(before, shots[-1], hole)
            self.assertEqual(count, 0, "%d pixels not dimmed, the first at %s" % (count, first))
            self.fail("the chooser is under the backdrop: %d of %d spots" % (covered(shots[-1]), len(inside)))
        # To the pixel that an odd size rounds away: a pixel of the scaled program.
        rounding = float(os.environ.get("QT_SCALE_FACTOR", "1"))
        self.assertTrue(window.centred_on(0, 0, *SIZE, slack=rounding), "not centred: %r" % window)
        geometry = "%dx%d+%d+%d" % (window.width, window.height, window.x, window.y)
        measure(desktop, "panel dimmed (%d colours), chooser centred %s" % (len(panel), geometry))

        desktop.click(*chooser.button("Cancel"))  # the first click counts
        self.assert_ends_quietly(program)

    def test_action_clicked_runs_once_with_no_window_left(self):
        desktop = self.on_desktop()
        program = self.start(desktop)
        chooser = self.wait_chooser(desktop, program)
        desktop.click(*chooser.button("Shutdown system"))
        self.click_button(desktop, program, "Confirm: Shutdown system", "Shutdown system")
        self.assertEqual(program.wait(), 0, program.output())
        self.assertEqual(self.markers.lines(), ["shutdown windows=0"])
        self.assertEqual(desktop.windows(), [])

    def test_keys_drive_the_chooser(self):
        for name, keys, action in [
            ("Escape cancels", ["Escape"], None),
            ("Tab to Lock screen, Space, Return", ["Tab"] * 4 + ["space", "Return"], "lock"),
        ]:
            with self.subTest(name):
                desktop = self.on_desktop()
                self.markers = scenario.Markers()
                program = self.start(desktop)
                self.wait_chooser(desktop, program, keyboard=True)
                desktop.key(*keys)
                self.assertEqual(program.wait(), 0, program.output())
                self.assertEqual(self.markers.lines(), ["%s windows=0" % action] if action else [])

    def test_timer_icon_in_the_tray_toggles_the_countdown_in_place(self):
        desktop = self.on_desktop()
        before = desktop.screenshot()
        program = self.start_one_minute(desktop)
        dbus_icon = self.dbus_tray_icon(desktop, before) if desktop.wm.tray == "dbus" else None
        self.assertEqual(desktop.dialogs(), [], "the countdown window shows before a click")

        def drawn_icon():
            """The icon's rectangle and the colours in it that the panel around
            it does not have, once there are some: the tray makes a blank slot
            first, and an XEmbed tray may move it as it makes room."""
            if dbus_icon:
                left, top, right, bottom = dbus_icon
            else:
                icon = self.tray_icon(desktop)
                left, top, right, bottom = icon.x, icon.y, icon.x + icon.width, icon.y + icon.height
            own = colours(desktop.screenshot(), left, top, right, bottom) - colours(before, 0, top, SIZE[0], bottom)
            return ((left, top, right, bottom), own) if len(own) > 1 else None

        (left, top, right, bottom), drawn = wait_for("a picture in the tray icon", drawn_icon)
        measure(desktop, "tray icon %dx%d, %d colours of its own" % (right - left, bottom - top, len(drawn)))

        # Clicks 8 pixels apart, never a double click however fast they come.
        spots = [((left + right) // 2 + dx, (top + bottom) // 2) for dx in (-4, 4)]
        places = []
        for show in range(3):
            desktop.click(*spots[0])
            # Centred, and back where it was: a window manager maps it elsewhere first.
            places.append(
                desktop.wait_dialog(
                    "the countdown window centred, shown %d times" % (show + 1),
                    predicate=lambda w: w.centred_on(0, 0, *SIZE),
                )
            )
            desktop.click(*spots[1])
            wait_for("the countdown window to hide", lambda: not desktop.dialogs())
        measure(desktop, "countdown window at %s" % ", ".join("%d,%d" % (w.x, w.y) for w in places))
        self.assertEqual([(w.x, w.y) for w in places], [(places[0].x, places[0].y)] * 3)

        desktop.click(*spots[0])
        self.wait_back(desktop, places[0])
        self.click_button(desktop, program, "Shutdown countdown", "Cancel timer")
        self.assert_ends_quietly(program)

    def dbus_tray_icon(self, desktop, before):
        """The rectangle where the panel draws the program's StatusNotifierItem.

        The item's own pixmap must have colours too: the panel draws the
        pixmap, or looks the item's icon name up in its own theme.
        """
        items = wait_for("the program's StatusNotifierItem", desktop.status_notifier_items)
        service, _, path = items[0].partition("/")
        item = ["gdbus", "call", "--session", "--dest", service, "--object-path", "/" + path]
        item += ["--method", "org.freedesktop.DBus.Properties.Get", "org.kde.StatusNotifierItem"]
        name = re.search(r"'(.*)'", desktop.x(*item, "IconName")).group(1)
        pixmap = desktop.x(*item, "IconPixmap")
        argb = re.findall(r"0x([0-9a-f]{2})", pixmap)
        pixels = {tuple(argb[i : i + 4]) for i in range(0, len(argb) - 3, 4)}
        measure(desktop, 'StatusNotifierItem IconName "%s", IconPixmap of %d colours' % (name, len(pixels)))

        def changed():
            # The tray is the panel's last plugin: the item is the rightmost
            # change (the rest of the panel moves aside to make room).
            top = SIZE[1] - PANEL_ROWS
            spots = differences(before.crop((0, top) + SIZE), desktop.screenshot(0, top))
            # A column with a spot averages to more than 0.
            columns = [x for x, value in enumerate(spots.resize((SIZE[0], 1), Image.BOX).getdata()) if value]
            if not columns:
                return None
            left = columns[-1]
            while left - 1 in columns or left - 2 in columns:
                left -= 1 if left - 1 in columns else 2
            _, first, _, last = spots.crop((left, 0, SIZE[0], PANEL_ROWS)).getbbox()
            return left, top + first, columns[-1] + 1, top + last

        return wait_for("the item in the panel", changed)


if __name__ == "__main__":
    scenario.main()
