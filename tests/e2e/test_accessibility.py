"""The program as a screen reader sees and drives it, over the accessibility bus (AT-SPI)."""

import sys

import scenario
from accessibility import Accessibility
from scenario import Scenario
from waiting import wait_for

CHOOSER = """dialog 'End the session'
  image 'Power symbol'
  push button 'Logout' (Key: L)
  push button 'Reboot system' (Key: R)
  push button 'Shutdown system' (Key: S)
  push button 'Suspend system' (Key: U)
  push button 'Lock screen' (Key: K)
  push button 'Timer' (Key: T)
  push button 'Cancel'"""


class AccessibilityTest(Scenario):
    TIME_LIMIT = 150

    def changes(self, desktop, program, window, times=2):
        """The window's text as it changes, times after the first."""
        seen = []

        def changed():
            node = desktop.accessibility.window(program, window)
            labels = [n.name for n in node.walk() if n.role == "label"]
            self.assertEqual(len(labels), 1, node.outline())
            if not seen or seen[-1] != labels[0]:
                seen.append(labels[0])
            return len(seen) > times

        wait_for("%d changes of %r" % (times, window), changed, timeout=10, interval=0.2)
        return seen

    def test_named_and_driven_as_a_screen_reader_does(self):
        desktop = self.desktop()
        a11y = desktop.accessibility
        program = self.start(desktop)
        chooser = self.wait_chooser(desktop, program)
        print(a11y.tree(program).outline(), file=sys.stderr)
        self.assertEqual(chooser.node.outline(), CHOOSER)
        # The backdrop's pictures of the screens are no windows to tell of.
        self.assertEqual([w.name for w in a11y.tree(program).children], ["End the session"])
        self.assertTrue(all("Press" in b.actions for b in chooser.node.walk() if b.role == "push button"))

        # An action and its confirmation, pressed as switch access does; the
        # program answers while the confirmation counts.
        a11y.do(program, chooser.node.find("Logout"))
        seen = self.changes(desktop, program, "Confirm: Logout")
        self.assertEqual(seen[0].split()[:3], ["Logging", "out", "in"], seen)
        confirmation = a11y.window(program, "Confirm: Logout")
        print(confirmation.outline(), file=sys.stderr)
        self.assertEqual([n.name for n in confirmation.walk() if n.role == "push button"], ["Logout", "Cancel"])
        a11y.do(program, confirmation.find("Logout"))
        self.assertEqual(program.wait(), 0, program.output())
        self.assertEqual(self.markers.lines(), ["logout windows=0"])

        # With a screen reader the keyboard stays free; the timer dialog and
        # the countdown window are named, and answer while open.
        self.assertTrue(a11y.say("ScreenReaderEnabled", True))
        program = self.start(desktop)
        chooser = self.wait_chooser(desktop, program, keyboard=True)
        a11y.do(program, chooser.node.find("Timer"))
        timer = a11y.window(program, "Shutdown timer")
        print(timer.outline(), file=sys.stderr)
        timer.find("Set shutdown time in hours and/or minutes:", role="label")
        self.assertEqual([n.value for n in timer.walk() if n.role == "spin button"], [0.0, 1.0])
        timer.find("Clock", role="image")
        a11y.do(program, timer.find("Ok"))

        desktop.click(*self.tray_icon(desktop).centre)
        seen = self.changes(desktop, program, "Shutdown countdown")
        self.assertEqual(seen[0].split()[:2], ["Shutdown", "in"], seen)
        countdown = a11y.window(program, "Shutdown countdown")
        print(countdown.outline(), file=sys.stderr)
        countdown.find("Clock", role="image")
        a11y.do(program, countdown.find("Change timer"))
        change = a11y.window(program, "Shutdown timer")
        self.assertEqual(len([n for n in change.walk() if n.role == "spin button"]), 2, change.outline())
        a11y.do(program, change.find("Cancel"))
        # Cancelled, it hides the countdown window too: shown again, it is pressed there.
        wait_for("both windows to hide", lambda: not desktop.dialogs())
        desktop.click(*self.tray_icon(desktop).centre)
        a11y.do(program, a11y.window(program, "Shutdown countdown").find("Cancel timer"))
        self.assertEqual(program.wait(), 0, program.output())
        self.assertEqual(self.markers.lines(), ["logout windows=0"], "the timer ran a command")


if __name__ == "__main__":
    missing = Accessibility.missing_packages()
    if missing:
        print("skipped: install the packages %s" % " ".join(sorted(missing)), file=sys.stderr)
        sys.exit(77)
    scenario.main()
