"""A blind user's way through the program with Orca, checked in what Orca says."""

import re
import sys

import screenreader
import scenario
from accessibility import Accessibility
from scenario import Scenario

COUNTDOWN = re.compile(r"(?:Logging out|Shutdown) in \d+ \w+")


def countdown_texts(phrases):
    """The countdown texts in the phrases, in the order they were said."""
    return [text for phrase in phrases for text in COUNTDOWN.findall(phrase)]


class ScreenReaderTest(Scenario):
    TIME_LIMIT = 150

    def assert_counts_aloud(self, phrases, start, first_announced):
        """The countdown was read as it came, with the time left (a busy
        machine may read it a tick or two late, never as late as the first
        announcement), then told at least once more, never twice the same
        in a row."""
        told = countdown_texts(phrases)
        self.assertTrue(told and told[0].startswith(start), phrases)
        self.assertGreater(int(told[0].split()[-2]), first_announced, phrases)
        self.assertGreaterEqual(len(told), 2, phrases)
        self.assertEqual([a for a, b in zip(told, told[1:]) if a == b], [], phrases)

    def test_every_countdown_heard_and_the_timer_reached(self):
        desktop = self.desktop()
        a11y = desktop.accessibility
        self.assertTrue(a11y.say("ScreenReaderEnabled", True))
        orca = screenreader.Orca(desktop)
        self.addCleanup(self.print_transcript, orca)
        program = self.start(desktop)
        self.wait_chooser(desktop, program, keyboard=True)
        chooser = orca.wait_said("the chooser", lambda p: any("Logout push button" in s for s in p))
        self.assertIn("End the session", " ".join(chooser))

        # The confirmation, from the focused Logout button: what will happen
        # and when, then the count as it runs; Escape goes back.
        desktop.key("Return")
        confirmation = orca.wait_said(
            "the confirmation's count told twice", lambda p: len(set(countdown_texts(p))) >= 2
        )
        self.assertIn("Confirm: Logout", " ".join(confirmation))
        self.assert_counts_aloud(confirmation, "Logging out in", 5)
        # Orca's title request names the confirmation alone: the chooser it
        # covers is no second dialog.
        desktop.key("Insert+KP_Enter")
        title = orca.wait_said("the title", lambda p: "Confirm: Logout" in p)
        self.assertNotIn("dialog", " ".join(title))
        desktop.key("Escape")
        orca.wait_said("the chooser again", lambda p: any("Logout push button" in s for s in p))

        # The timer dialog says its question once, and each entry its unit once.
        desktop.key("t")
        timer = orca.wait_said("the timer dialog", lambda p: any("spin button" in s for s in p))
        question = "Set shutdown time in hours and/or minutes:"
        self.assertEqual(" ".join(timer).count(question), 1, timer)
        entry = next(s for s in timer if "spin button" in s)
        self.assertEqual(entry.count("Hours"), 1, timer)

        # Ok: the countdown is a window that comes to the user with the time
        # left, and counts aloud; "Cancel timer" ends it.
        desktop.key("Return")
        countdown = orca.wait_said(
            "the countdown told twice", lambda p: len(set(countdown_texts(p))) >= 2, timeout=30
        )
        self.assertIn("Shutdown countdown", " ".join(countdown))
        self.assert_counts_aloud(countdown, "Shutdown in", 50)
        a11y.do(program, a11y.window(program, "Shutdown countdown").find("Cancel timer"))
        self.assert_ends_quietly(program)
        # Only countdowns are told as notifications.
        notifications = [p for p in orca.spoken() if p.startswith("notification")]
        self.assertEqual([p for p in notifications if not COUNTDOWN.search(p)], [], orca.spoken())

    def print_transcript(self, orca):
        print("What Orca said:", file=sys.stderr)
        for phrase in orca.spoken():
            print("  " + phrase, file=sys.stderr)


if __name__ == "__main__":
    missing = Accessibility.missing_packages() | screenreader.missing_packages()
    if missing:
        print("skipped: install the packages %s" % " ".join(sorted(missing)), file=sys.stderr)
        sys.exit(77)
    scenario.main()
