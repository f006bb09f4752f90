"""Waiting for what a user would see happen, never for a fixed time."""

import time


def only(found):
    """The one item of found, or None when it has none or more."""
    return found[0] if len(found) == 1 else None


def wait_for(what, predicate, timeout=20.0, interval=0.1):
    """Polls predicate until it returns something true; returns that value."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError("timed out after %.1f s waiting for %s" % (timeout, what))
        time.sleep(interval)


def wait_settled(what, find, timeout=20.0):
    """Like wait_for, but returns find's value once two polls in a row give
    the same: a window manager may move a window as it maps it."""
    last = []

    def settled():
        value = find()
        same = value and last == [value]
        last[:] = [value]
        return value if same else None

    return wait_for(what, settled, timeout=timeout)
