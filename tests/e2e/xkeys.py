"""Two small X clients for the keyboard scenarios, through libX11 and libXtst.

  xkeys.py key-at-first-map KEY   waits for the first window mapped on the
      root window from now on that can be seen (more than a pixel, on the
      screen: the moment the screen darkens) and types KEY then, with no other
      process in between; prints "ready" once it listens, then "sent KEY" and
      the window's id in hex once the key is on its way.
  xkeys.py can-grab [SECONDS]     tries to grab the keyboard itself, again
      and again for SECONDS (0 by default) as a screen locker does; prints
      "grab: success" and ends with 0 when it could, "grab: STATUS" and 1
      when another client holds it.
  xkeys.py type GROUP KEYSYM      types the key that has KEYSYM in any group
      of the layout, with group GROUP (counted from 0) active: the key's
      place, whatever the active group makes of it.

The display is $DISPLAY. Standard library only (ctypes); the libraries come
with the X clients the harness needs anyway (xdotool uses both).
"""

import ctypes
import ctypes.util
import sys
import time

SUBSTRUCTURE_NOTIFY_MASK = 1 << 19
MAP_NOTIFY = 19
GRAB_MODE_ASYNC = 1
CURRENT_TIME = 0
USE_CORE_KEYBOARD = 0x100
GRAB_STATUS = {0: "success", 1: "AlreadyGrabbed", 2: "GrabInvalidTime", 3: "GrabNotViewable", 4: "GrabFrozen"}


class MapEvent(ctypes.Structure):
    _fields_ = [
        ("type", ctypes.c_int),
        ("serial", ctypes.c_ulong),
        ("send_event", ctypes.c_int),
        ("display", ctypes.c_void_p),
        ("event", ctypes.c_ulong),
        ("window", ctypes.c_ulong),
        ("override_redirect", ctypes.c_int),
    ]


class Event(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("xmap", MapEvent), ("pad", ctypes.c_long * 24)]


def load(name):
    path = ctypes.util.find_library(name) or "lib%s.so.6" % name
    return ctypes.CDLL(path)


xlib = load("X11")
xlib.XOpenDisplay.restype = ctypes.c_void_p
xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
xlib.XDefaultRootWindow.restype = ctypes.c_ulong
xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
xlib.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
xlib.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(Event)]
xlib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
xlib.XStringToKeysym.restype = ctypes.c_ulong
xlib.XStringToKeysym.argtypes = [ctypes.c_char_p]
xlib.XKeysymToKeycode.restype = ctypes.c_ubyte
xlib.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
xlib.XGetGeometry.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong)] + [
    ctypes.POINTER(ctypes.c_int)
] * 2 + [ctypes.POINTER(ctypes.c_uint)] * 4
xlib.XGrabKeyboard.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_int, ctypes.c_ulong]
xlib.XUngrabKeyboard.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
xlib.XkbLockGroup.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_uint]
xtst = load("Xtst")
xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]


def open_display():
    display = xlib.XOpenDisplay(None)
    if not display:
        sys.exit("cannot open the display")
    return display


def can_be_seen(display, window):
    root = ctypes.c_ulong()
    x, y = ctypes.c_int(), ctypes.c_int()
    width, height, border, depth = (ctypes.c_uint() for _ in range(4))
    if not xlib.XGetGeometry(display, window, root, x, y, width, height, border, depth):
        return False  # gone again
    return width.value > 1 and height.value > 1 and x.value + width.value > 0 and y.value + height.value > 0


def key_at_first_map(key):
    display = open_display()
    keycode = xlib.XKeysymToKeycode(display, xlib.XStringToKeysym(key.encode()))
    xlib.XSelectInput(display, xlib.XDefaultRootWindow(display), SUBSTRUCTURE_NOTIFY_MASK)
    xlib.XSync(display, 0)
    print("ready", flush=True)
    event = Event()
    while True:
        xlib.XNextEvent(display, ctypes.byref(event))
        if event.type == MAP_NOTIFY and can_be_seen(display, event.xmap.window):
            break
    xtst.XTestFakeKeyEvent(display, keycode, 1, 0)
    xtst.XTestFakeKeyEvent(display, keycode, 0, 0)
    xlib.XSync(display, 0)
    print("sent %s 0x%x" % (key, event.xmap.window), flush=True)


def can_grab(patience):
    display = open_display()
    deadline = time.monotonic() + patience
    while True:
        status = xlib.XGrabKeyboard(
            display, xlib.XDefaultRootWindow(display), 0, GRAB_MODE_ASYNC, GRAB_MODE_ASYNC, CURRENT_TIME
        )
        if status == 0 or time.monotonic() >= deadline:
            break
        time.sleep(0.05)
    xlib.XUngrabKeyboard(display, CURRENT_TIME)
    xlib.XSync(display, 0)
    print("grab: %s" % GRAB_STATUS.get(status, status), flush=True)
    return 0 if status == 0 else 1


def type_key(group, keysym):
    display = open_display()
    keycode = xlib.XKeysymToKeycode(display, xlib.XStringToKeysym(keysym.encode()))
    if not keycode:
        sys.exit("no key has %s" % keysym)
    xlib.XkbLockGroup(display, USE_CORE_KEYBOARD, group)
    xtst.XTestFakeKeyEvent(display, keycode, 1, 0)
    xtst.XTestFakeKeyEvent(display, keycode, 0, 0)
    xlib.XSync(display, 0)


if __name__ == "__main__":
    if sys.argv[1:2] == ["key-at-first-map"] and len(sys.argv) == 3:
        key_at_first_map(sys.argv[2])
    elif sys.argv[1:2] == ["can-grab"] and len(sys.argv) <= 3:
        sys.exit(can_grab(float(sys.argv[2]) if len(sys.argv) == 3 else 0))
    elif sys.argv[1:2] == ["type"] and len(sys.argv) == 4:
        type_key(int(sys.argv[2]), sys.argv[3])
    else:
        sys.exit(__doc__)
