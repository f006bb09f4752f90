"""The tests' X client: windows, their properties, input and pixels.

Client, mixed into xdesktop.Desktop, speaks to the desktop's display through
python-xlib (Debian python3-xlib) and acts as a user would: clicks and keys
through XTest to whatever the pointer or the focus is on, and pixels read
from the root window into Pillow images (python3-pil). Watch records what
happens to the windows on the root from its start on.
"""

import ctypes
import ctypes.util
import dataclasses
import os
import time
from unittest import mock

import Xlib.display
import Xlib.error
import Xlib.protocol.event
import Xlib.X as X
import Xlib.XK
import Xlib.Xatom
import Xlib.Xutil
from PIL import Image
from Xlib.ext import xtest

from waiting import only, wait_for, wait_settled

PROGRAM_CLASS = "farewelldesk"
# xdotool's names of the modifiers in a chord such as "ctrl+alt+Delete".
MODIFIERS = {"ctrl": "Control_L", "alt": "Alt_L", "shift": "Shift_L", "super": "Super_L", "meta": "Meta_L"}
MARK = "FAREWELLDESK_TEST_MARK"
# A hand's pace: xdotool's time after each key or button event, in seconds.
HAND = 0.006


def connect(name, cookies):
    """A python-xlib connection to display name, which wants a cookie of the file cookies."""
    with mock.patch.dict(os.environ, XAUTHORITY=cookies):
        return Xlib.display.Display(name)


def widen(value, bits):
    """A channel of fewer bits than 8 as X widens it: its top bits repeat below it."""
    return (value << (8 - bits)) | (value >> (2 * bits - 8)) if bits < 8 else value


def to_x_colours(image, masks):
    """image, decoded by Pillow from 16-bit pixels of these masks, in X's 8-bit
    values: Pillow widens a channel of n bits v to v * 255 // (2**n - 1)."""
    table = []
    for bits in [bin(mask).count("1") for mask in masks]:
        top = (1 << bits) - 1
        table += [widen(-(-value * top // 255), bits) for value in range(256)]
    return image.point(table)


@dataclasses.dataclass
class Window:
    wid: int
    x: int
    y: int
    width: int
    height: int
    name: str

    @property
    def place(self):
        """(x, y, width, height): a dialog shown again keeps it; Qt 6 may give it another X window."""
        return self.x, self.y, self.width, self.height

    @property
    def centre(self):
        return self.x + self.width // 2, self.y + self.height // 2

    def centred_on(self, x, y, width, height, slack=1):
        """Whether its centre is that of the area, to the pixel an odd size rounds away."""
        off = (2 * (self.x - x) + self.width - width, 2 * (self.y - y) + self.height - height)
        return max(map(abs, off)) <= slack


class Watch:
    """Records the events of the root window's children (maps, moves) from its
    start on, on a connection of its own."""

    def __init__(self, name, authority):
        self.display = connect(name, authority)
        self.root = self.display.screen().root
        self.root.change_attributes(event_mask=X.SubstructureNotifyMask | X.PropertyChangeMask)
        self.display.sync()  # it listens from here on
        self.mark = self.display.intern_atom(MARK)
        self.events = []

    def until_now(self):
        """Every event so far. Marks the root and reads up to the mark, so
        everything the server did before is in."""
        self.root.change_property(self.mark, Xlib.Xatom.STRING, 8, b"mark")
        while True:
            event = self.display.next_event()
            if event.type == X.PropertyNotify and event.atom == self.mark:
                return self.events
            self.events.append(event)

    def follow_focus(self, window):
        """Records from now on the focus reaching and leaving window too."""
        self.display.create_resource_object("window", window.wid).change_attributes(event_mask=X.FocusChangeMask)
        self.display.sync()

    def focus_left(self, window):
        """Whether the focus has gone from window to another since follow_focus()
        (a keyboard grab's start does not count), however soon it came back."""
        return any(
            event.type == X.FocusOut
            and event.window.id == window.wid
            and event.mode != X.NotifyGrab
            and event.detail not in (X.NotifyInferior, X.NotifyPointer)
            for event in self.until_now()
        )

    def mapped(self):
        """The windows mapped so far. Call it after the event after which a
        window would have been mapped (a program's end, say)."""
        return [event.window.id for event in self.until_now() if event.type == X.MapNotify]


class Client:
    """What the tests see of a display and do on it. connect_x() opens the
    connection; self.monitors, set by the desktop, tells backdrops from dialogs."""

    def connect_x(self, name, authority):
        self.display_name, self.authority = name, authority
        self.xdisplay = connect(name, authority)
        self.root = self.xdisplay.screen().root
        self.watches = []

    def disconnect_x(self):
        for connection in [self.xdisplay] + [watch.display for watch in self.watches]:
            connection.close()
        self.watches = None

    def atom(self, name):
        return self.xdisplay.intern_atom(name)

    def property(self, wid, name):
        """The value of a window's property (a list of numbers, or bytes), or None."""
        try:
            found = self.xdisplay.create_resource_object("window", wid).get_full_property(
                self.atom(name), X.AnyPropertyType
            )
        except Xlib.error.XError:
            return None  # the window is gone
        return list(found.value) if found and found.format != 8 else found and found.value

    # --- looking -----------------------------------------------------------

    def screenshot(self, x=0, y=0, width=None, height=None):
        """The root window's pixels (or a rectangle's) as an RGB image;
        info["masks"] has the red, green and blue masks of the server's pixels."""
        geometry = self.root.get_geometry()
        size = (width or geometry.width - x, height or geometry.height - y)
        pixels = self.root.get_image(x, y, size[0], size[1], X.ZPixmap, 0xFFFFFFFF)
        visual = self.xdisplay.screen().root_visual
        found = [v for d in self.xdisplay.screen().allowed_depths for v in d.visuals if v.visual_id == visual]
        masks = (found[0].red_mask, found[0].green_mask, found[0].blue_mask)
        if pixels.depth == 16:
            image = to_x_colours(Image.frombytes("RGB", size, pixels.data, "raw", "BGR;16"), masks)
        else:
            image = Image.frombytes("RGB", size, pixels.data, "raw", "BGRX")
        image.info["masks"] = masks
        return image

    def pixel(self, x, y):
        return self.screenshot(x, y, 1, 1).getpixel((0, 0))

    def window(self, wid):
        """The window with that id as it is now, or None when it is gone."""
        window = self.xdisplay.create_resource_object("window", wid)
        try:
            geometry = window.get_geometry()
            # The outer corner, as xwininfo gives it: the client's own, not
            # its frame's, for a managed window.
            corner = self.root.translate_coords(window, -geometry.border_width, -geometry.border_width)
            name = window.get_full_property(self.atom("_NET_WM_NAME"), self.atom("UTF8_STRING"))
            name = name.value.decode() if name else window.get_wm_name() or ""
        except Xlib.error.XError:
            return None
        return Window(wid, corner.x, corner.y, geometry.width, geometry.height, name)

    def windows(self, name=None):
        """The program's mapped windows (by WM_CLASS), or the mapped windows titled name."""
        found, parents = [], [self.root]
        while parents:
            try:
                children = parents.pop().query_tree().children
            except Xlib.error.XError:
                continue  # gone meanwhile
            for child in children:
                try:
                    if child.get_attributes().map_state != X.IsViewable:
                        continue
                    parents.append(child)
                    if name is None and PROGRAM_CLASS not in [part.lower() for part in child.get_wm_class() or ()]:
                        continue
                    window = self.window(child.id)
                    found += [window] if window and name in (None, window.name) else []
                except Xlib.error.XError:
                    pass  # gone meanwhile
        return found

    def backdrops(self):
        """The visible windows that cover a whole monitor."""
        sizes = set(self.monitors)
        return [w for w in self.windows() if (w.width, w.height) in sizes]

    def dialogs(self):
        sizes = set(self.monitors)
        return [w for w in self.windows() if (w.width, w.height) not in sizes and w.width > 64]

    def wait_dialog(self, what, timeout=20, predicate=lambda w: True):
        try:
            return wait_settled(what, lambda: only([w for w in self.dialogs() if predicate(w)]), timeout=timeout)
        except AssertionError as error:
            raise AssertionError("%s; the dialogs are %r" % (error, self.dialogs())) from None

    def wait_named(self, name, timeout=20):
        """The one visible window titled name."""
        return wait_settled("a window named %r" % name, lambda: only(self.windows(name=name)), timeout=timeout)

    def focus(self):
        focus = self.xdisplay.get_input_focus().focus
        return getattr(focus, "id", focus)

    def wait_focus(self, window, timeout=5):
        """Waits until window has the keyboard focus: keys typed before would go elsewhere."""
        try:
            wait_for("the keyboard focus on %r" % window, lambda: self.focus() == window.wid, timeout)
        except AssertionError as error:
            raise AssertionError("%s; it stays on %r" % (error, self.window(self.focus()))) from None

    def active_window(self):
        """The window that the window manager calls active, or None."""
        return (self.property(self.root.id, "_NET_ACTIVE_WINDOW") or [None])[0]

    def iconic(self, window):
        return (self.property(window.wid, "WM_STATE") or [None])[0] == Xlib.Xutil.IconicState

    def looks(self, window, top, bottom):
        """The pixels of window's rows top to bottom (from its top edge)."""
        return self.screenshot(window.x, window.y + top, window.width, bottom - top).tobytes()

    # --- acting ------------------------------------------------------------

    def click(self, x, y, button=1):
        """Clicks once the pointer is there, at a hand's pace as xdotool does.
        The caller waits for what the click does."""
        for event, detail in [(X.MotionNotify, 0), (X.ButtonPress, button), (X.ButtonRelease, button)]:
            xtest.fake_input(self.xdisplay, event, detail, x=x, y=y)
            self.xdisplay.sync()
            time.sleep(HAND)

    def keycodes(self, chord):
        """The keys of a chord in xdotool's words ("ctrl+alt+Delete")."""
        keysyms = [Xlib.XK.string_to_keysym(MODIFIERS.get(name, name)) for name in chord.split("+")]
        codes = [self.xdisplay.keysym_to_keycode(keysym) for keysym in keysyms]
        if 0 in codes:
            raise ValueError("no key types all of %r" % chord)
        return codes

    def press(self, chord, down=True):
        """Presses (or releases) the keys of chord, and no more, at a hand's pace."""
        for code in self.keycodes(chord) if down else reversed(self.keycodes(chord)):
            xtest.fake_input(self.xdisplay, X.KeyPress if down else X.KeyRelease, code)
            self.xdisplay.sync()
            time.sleep(HAND)

    def key(self, *chords):
        """Chords to no particular window: they go where the focus is, in order.

        The caller makes sure of the focus first (wait_focus) and waits for
        what the keys do afterwards.
        """
        for chord in chords:
            self.press(chord)
            self.press(chord, down=False)

    def type_in_group(self, group, keysym):
        """Types the key that has keysym in any group of the layout, with
        group (counted from 0) active: the key's place, whatever the group
        makes of it. python-xlib has no XKB: libX11 locks the group."""
        xlib = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
        xlib.XOpenDisplay.restype = ctypes.c_void_p
        xlib.XkbLockGroup.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_uint]
        xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
        with mock.patch.dict(os.environ, XAUTHORITY=self.authority):
            connection = xlib.XOpenDisplay(self.display_name.encode())
        if not connection:
            raise RuntimeError("libX11 cannot open %s" % self.display_name)
        xlib.XkbLockGroup(connection, 0x100, group)  # the core keyboard
        xlib.XCloseDisplay(connection)  # which waits for the server to take it
        self.key(keysym)

    def key_handled(self, window, key):
        """Presses key, then Tab; returns once Tab has moved the focus in the bottom row.

        The program takes its keys in order, so key has been handled by then:
        a test can look for what key must not have done.
        """
        rows = (window.height - 45, window.height - 12)  # the bottom row of buttons
        before = self.looks(window, *rows)
        self.key(key, "Tab")
        wait_for("Tab after %s to move the focus" % key, lambda: self.looks(window, *rows) != before, timeout=10)

    def activate(self, window):
        """Asks the window manager to activate window, as a pager or Alt+Tab does."""
        event = Xlib.protocol.event.ClientMessage(
            window=window.wid, client_type=self.atom("_NET_ACTIVE_WINDOW"), data=(32, [2, X.CurrentTime, 0, 0, 0])
        )
        self.root.send_event(event, event_mask=X.SubstructureRedirectMask | X.SubstructureNotifyMask)
        self.xdisplay.sync()

    def paint_root(self, colour):
        """The root window in colour ("#rrggbb"), as xsetroot -solid paints it."""
        pixel = self.xdisplay.screen().default_colormap.alloc_named_color(colour).pixel
        self.root.change_attributes(background_pixel=pixel)
        self.root.clear_area()
        self.xdisplay.sync()

    def watch(self):
        """A Watch from now on, closed with the desktop."""
        self.watches.append(Watch(self.display_name, self.authority))
        return self.watches[-1]
