"""Cancelling, and the chooser driven by the keyboard alone."""

import os
import re
import time

import scenario
import xdesktop
from scenario import Scenario
from waiting import wait_for

# Keys pressed in the chooser right after it appears, then in the countdown
# (whose action button has the focus), and the action that must have run.
KEYBOARD_ROWS = [
    ("Tab to Lock screen, Space, Return", ["Tab"] * 4 + ["space"], ["Return"], "lock"),
    ("Down to Shutdown system, Return, Space", ["Down", "Down", "Return"], ["space"], "shutdown"),
    ("Down and Up to Reboot system, Return, Return", ["Down", "Down", "Up", "Return"], ["Return"], "reboot"),
    ("Tab to Suspend system, Return, the countdown runs out", ["Tab"] * 3 + ["Return"], [], "suspend"),
]

# A window manager's shortcuts (a terminal, a menu), which must press nothing.
CHORDS = ["alt+Return", "super+Return", "ctrl+alt+Return", "alt+shift+Return", "shift+Return", "ctrl+Return",
          "alt+space", "super+space", "ctrl+alt+KP_Enter"]


class KeyboardTest(Scenario):
    TIME_LIMIT = 60

    def countdown(self, desktop, chooser):
        return desktop.wait_dialog("the countdown", predicate=lambda w: w.wid != chooser.window.wid)

    def test_cancel_button_ends_with_0_and_runs_nothing(self):
        desktop = self.desktop()
        program = self.start(desktop)
        chooser = self.wait_chooser(desktop, program)
        desktop.click(*chooser.button("Cancel"))
        self.assert_ends_quietly(program)
        # The defaults live in memory only: nothing is written to the home.
        self.assertFalse(os.path.exists(os.path.join(xdesktop.home(), ".config", "ZVL", "farewelldesk", "config")))

    def test_escape_right_after_launch_cancels(self):
        desktop = self.desktop()
        program = self.start(desktop)
        self.wait_chooser(desktop, program, keyboard=True)
        desktop.key("Escape")
        self.assert_ends_quietly(program)

    def test_escape_in_countdown_returns_to_chooser(self):
        desktop = self.desktop()
        program = self.start(desktop)
        chooser = self.wait_chooser(desktop, program, keyboard=True)
        desktop.key("Return")  # Logout has the focus
        desktop.wait_focus(self.countdown(desktop, chooser))
        desktop.key("Escape")
        wait_for("the chooser alone", lambda: [w.wid for w in desktop.dialogs()] == [chooser.window.wid])
        self.assertTrue(program.running())
        desktop.wait_focus(chooser.window)
        desktop.key("Escape")
        self.assert_ends_quietly(program)

    def test_chords_press_no_button(self):
        """In the chooser and in the confirmation: pressed there, a chord would
        open a confirmation, or confirm, and Escape would not end the program."""
        desktop = self.desktop()
        program = self.start(desktop)
        chooser = self.wait_chooser(desktop, program, keyboard=True)
        desktop.key(*CHORDS)
        desktop.key("Return")  # Logout has the focus
        delay = self.countdown(desktop, chooser)
        desktop.wait_focus(delay)
        desktop.key(*CHORDS)
        desktop.key("alt+Escape")
        wait_for("the chooser alone", lambda: [w.wid for w in desktop.dialogs()] == [chooser.window.wid])
        desktop.wait_focus(chooser.window)
        desktop.key("Escape")
        self.assert_ends_quietly(program)

    def release_later(self, desktop, key):
        """Keeps key down past the server's auto-repeat delay, then releases it."""
        delay = int(re.search(r"auto repeat delay:\s*(\d+)", desktop.x("xset", "q")).group(1))
        time.sleep(delay / 1000 + 1)  # the user's hand, not a wait for the program: repeats come meanwhile
        desktop.press(key, down=False)

    def test_held_keys_act_once_at_most(self):
        """Return held since before the start (a launcher's), then held in the
        chooser and in its confirmation: only a fresh press acts, once."""
        desktop = self.desktop()
        desktop.x("xset", "r", "on")
        desktop.press("Return")
        program = self.start(desktop)
        chooser = self.wait_chooser(desktop, program)
        self.release_later(desktop, "Return")
        desktop.press("Return")  # a fresh one: Logout, whose confirmation its repeats reach
        self.release_later(desktop, "Return")
        delay = self.countdown(desktop, chooser)
        desktop.wait_focus(delay)
        desktop.key("Escape")
        wait_for("the chooser alone", lambda: [w.wid for w in desktop.dialogs()] == [chooser.window.wid])
        desktop.wait_focus(chooser.window)
        desktop.key("Escape")
        self.assert_ends_quietly(program)

    def test_keys_choose_and_confirm_without_a_click(self):
        for name, chooser_keys, delay_keys, action in KEYBOARD_ROWS:
            with self.subTest(name):
                desktop = xdesktop.Desktop()
                with desktop:
                    self.markers = scenario.Markers()
                    program = self.start(desktop)
                    chooser = self.wait_chooser(desktop, program, keyboard=True)
                    desktop.key(*chooser_keys)
                    desktop.wait_focus(self.countdown(desktop, chooser))
                    if delay_keys:
                        desktop.key(*delay_keys)
                    self.assertEqual(program.wait(timeout=20), 0, program.output())
                    self.assertEqual(self.markers.lines(), ["%s windows=0" % action])


if __name__ == "__main__":
    scenario.main()
