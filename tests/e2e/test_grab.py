"""The keys belong to the program while the screen is dark, and the keyboard
grab only while it darkens.

A key typed the moment the first window of the program that can be seen is
mapped (the screen darkens) must reach the chooser; the first click on the
chooser must count; a screen locker locks a second later; the keys come back
from wherever the focus went; no command runs, and no countdown waits in the
tray, while the program still holds the keyboard.

$FAREWELLDESK_E2E_RUNS sets how often the racing scenarios are repeated
(default 10); each prints how many runs passed.
"""

import os
import subprocess
import sys
import time

import scenario
import Xlib.X as X
from scenario import Scenario
from waiting import wait_for

XKEYS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "xkeys.py")
RUNS = int(os.environ.get("FAREWELLDESK_E2E_RUNS", "10"))
# How long a screen locker tries to take the keyboard (slock, the least patient).
LOCKER_PATIENCE = 0.75


def can_grab_command():
    return "%s %s can-grab" % (sys.executable, XKEYS)


class GrabTest(Scenario):
    TIME_LIMIT = 40 + 12 * RUNS

    def key_at_first_map(self, desktop, key):
        """Starts a watcher that types key when the first window that can be seen is mapped."""
        watcher = desktop.spawn(
            [sys.executable, XKEYS, "key-at-first-map", key], stdout=subprocess.PIPE, text=True
        )
        self.assertEqual(watcher.stdout.readline().strip(), "ready")
        return watcher

    def ended_by_itself(self, program, timeout=5):
        """Whether the program ended by itself; if not, it is killed."""
        try:
            program.process.wait(timeout=timeout)
            return True
        except subprocess.TimeoutExpired:
            program.process.kill()
            program.process.wait()
            return False

    def report(self, what, passed):
        print("%s: %d/%d" % (what, passed, RUNS), file=sys.stderr)

    def test_escape_at_the_first_map_cancels(self):
        desktop = self.desktop()
        passed = 0
        for _ in range(RUNS):
            watcher = self.key_at_first_map(desktop, "Escape")
            program = self.start(desktop)
            self.assertTrue(watcher.stdout.readline().startswith("sent Escape"))
            watcher.wait()
            if self.ended_by_itself(program):
                self.assertEqual(program.process.returncode, 0, program.output())
                passed += 1
            self.assertEqual(self.markers.lines(), [])
        self.report("Escape at the first map", passed)
        self.assertEqual(passed, RUNS)

    def test_first_click_on_cancel_counts(self):
        desktop = self.desktop()
        passed = 0
        for _ in range(RUNS):
            program = self.start(desktop)
            chooser = self.wait_chooser(desktop, program)
            desktop.click(*chooser.button("Cancel"))
            if self.ended_by_itself(program):
                self.assertEqual(program.process.returncode, 0, program.output())
                passed += 1
        self.report("first click on Cancel", passed)
        self.assertEqual(passed, RUNS)

    def test_chooser_is_mapped_where_it_stays(self):
        """Moved after it was mapped, it would be elsewhere for a moment, and a
        click aimed at it then would land on the backdrop."""
        desktop = self.desktop()
        watch = desktop.watch()
        program = self.start(desktop)
        chooser = self.wait_chooser(desktop, program).window

        def chooser_events():
            """The events of the chooser's window, once its map is among them."""
            events = [e for e in watch.until_now() if e.window.id == chooser.wid]
            return events if any(e.type == X.MapNotify for e in events) else None

        events = wait_for("the chooser's map", chooser_events)
        # Where each event puts it; a map carries no place: it is mapped
        # where the event before it put it.
        places = []
        for event in events:
            places.append((event.x, event.y) if hasattr(event, "x") else places[-1])
        mapped = next(i for i, event in enumerate(events) if event.type == X.MapNotify)
        self.assertEqual(set(places[mapped:]), {(chooser.x, chooser.y)}, events)

    def test_a_locker_locks_a_second_after_the_chooser_and_no_popup_takes_the_keys(self):
        desktop = self.desktop()
        program = self.start(desktop)
        chooser = self.wait_chooser(desktop, program)
        # The user's moment (a lid closed right after the chooser appeared),
        # not a wait for the program; the locker then tries as long as slock.
        time.sleep(1)
        self.assertEqual(self.can_grab(desktop, LOCKER_PATIENCE), "grab: success")
        desktop.wait_focus(chooser.window)
        desktop.click(*chooser.button("Timer"))
        timer = desktop.accessibility.window(program, "Shutdown timer")
        minutes = [n for n in timer.walk() if n.role == "spin button"][1]  # after the hours
        desktop.key("Menu")  # in the hours box, which has the focus
        desktop.click(*minutes.centre, button=3)
        desktop.key("Escape")  # leaves the timer dialog: no popup is open that it would close
        back = self.wait_chooser(desktop, program, keyboard=True)
        self.assertEqual(back.window.place, chooser.window.place)
        desktop.key("Escape")
        self.assert_ends_quietly(program)

    def test_keys_come_back_from_a_window_under_the_backdrop(self):
        """Alt+Tab, or another program, gives a window under the backdrop the
        focus; a click on the backdrop may take it away too. The keys come back."""
        desktop = self.desktop()
        desktop.spawn(["xmessage", "-title", "underneath", "a window under the backdrop"])
        underneath = desktop.wait_named("underneath")
        program = self.start(desktop)
        chooser = self.wait_chooser(desktop, program, keyboard=True)
        watch = desktop.watch()
        watch.follow_focus(chooser.window)
        desktop.activate(underneath)  # as Alt+Tab does
        # Some window managers only call it active; others give it the focus,
        # which the program may take back before a look at the state.
        wait_for(
            "the window manager to activate it",
            lambda: watch.focus_left(chooser.window) or underneath.wid == desktop.active_window(),
        )
        desktop.wait_focus(chooser.window)
        desktop.click(5, 5)
        desktop.wait_focus(chooser.window)
        desktop.key("Escape")
        self.assert_ends_quietly(program)

    def can_grab(self, desktop, patience=0):
        return desktop.x(sys.executable, XKEYS, "can-grab", str(patience), check=False).strip()

    def test_keyboard_is_free_while_the_command_runs(self):
        desktop = self.desktop()
        command = "%s >> '%s'" % (can_grab_command(), self.markers.path)
        program = self.start(desktop, lock=command)
        self.wait_chooser(desktop, program)
        desktop.key(*["Tab"] * 4 + ["space"])  # Lock screen
        wait_for("the confirmation", lambda: len(desktop.dialogs()) == 2)
        desktop.key("Return")
        self.assertEqual(program.wait(), 0, program.output())
        self.assertEqual(self.markers.lines(), ["grab: success"])

    def test_keyboard_is_free_while_the_countdown_is_in_the_tray(self):
        desktop = self.desktop()
        program = self.start(desktop)
        chooser = self.wait_chooser(desktop, program)
        desktop.click(*chooser.button("Timer"))
        desktop.wait_dialog("the timer dialog", predicate=lambda w: w.wid != chooser.window.wid)
        # The timer dialog has the keyboard too: Return is its OK.
        desktop.key("Return")
        wait_for("the backdrop to go", lambda: not desktop.backdrops() and not desktop.dialogs())
        if desktop.wm.tray == "dbus":
            wait_for("the program's item in the D-Bus tray", desktop.status_notifier_items)
        else:
            wait_for("a tray icon", lambda: [w for w in desktop.windows() if w.width <= 64])
        self.assertEqual(self.can_grab(desktop), "grab: success")
        self.assertTrue(program.running())


if __name__ == "__main__":
    scenario.main()
