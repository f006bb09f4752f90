"""Two small X clients for the keyboard scenarios, through python-xlib.

  xkeys.py key-at-first-map KEY   waits for the first window mapped on the
      root window from now on that can be seen (more than a pixel, on the
      screen: the moment the screen darkens) and types KEY then, with no other
      process in between; prints "ready" once it listens, then "sent KEY" and
      the window's id in hex once the key is on its way.
  xkeys.py can-grab [SECONDS]     tries to grab the keyboard itself, again
      and again for SECONDS (0 by default) as a screen locker does; prints
      "grab: success" and ends with 0 when it could, "grab: STATUS" and 1
      when another client holds it.

The display is $DISPLAY.
"""

import sys
import time

import Xlib.display
import Xlib.error
import Xlib.X as X
import Xlib.XK
from Xlib.ext import xtest

GRAB_STATUS = {0: "success", 1: "AlreadyGrabbed", 2: "GrabInvalidTime", 3: "GrabNotViewable", 4: "GrabFrozen"}


def can_be_seen(window):
    try:
        geometry = window.get_geometry()
    except Xlib.error.XError:
        return False  # gone again
    x, y, width, height = geometry.x, geometry.y, geometry.width, geometry.height
    return width > 1 and height > 1 and x + width > 0 and y + height > 0


def key_at_first_map(key):
    display = Xlib.display.Display()
    keycode = display.keysym_to_keycode(Xlib.XK.string_to_keysym(key))
    display.screen().root.change_attributes(event_mask=X.SubstructureNotifyMask)
    display.sync()
    print("ready", flush=True)
    while True:
        event = display.next_event()
        if event.type == X.MapNotify and can_be_seen(event.window):
            break
    xtest.fake_input(display, X.KeyPress, keycode)
    xtest.fake_input(display, X.KeyRelease, keycode)
    display.sync()
    print("sent %s 0x%x" % (key, event.window.id), flush=True)


def can_grab(patience):
    display = Xlib.display.Display()
    deadline = time.monotonic() + patience
    while True:
        status = display.screen().root.grab_keyboard(False, X.GrabModeAsync, X.GrabModeAsync, X.CurrentTime)
        if status == 0 or time.monotonic() >= deadline:
            break
        time.sleep(0.05)
    display.ungrab_keyboard(X.CurrentTime)
    display.sync()
    print("grab: %s" % GRAB_STATUS.get(status, status), flush=True)
    return 0 if status == 0 else 1


if __name__ == "__main__":
    if sys.argv[1:2] == ["key-at-first-map"] and len(sys.argv) == 3:
        key_at_first_map(sys.argv[2])
    elif sys.argv[1:2] == ["can-grab"] and len(sys.argv) <= 3:
        sys.exit(can_grab(float(sys.argv[2]) if len(sys.argv) == 3 else 0))
    else:
        sys.exit(__doc__)
